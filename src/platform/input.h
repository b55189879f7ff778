#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace zk {

// The five logical keys the game reads, by key number.
enum LogicalKey : int { KeySpace = 0, KeyEnter = 1, KeyEscape = 2, KeyF4 = 3, KeyF10 = 4 };
inline constexpr int kLogicalKeys = 5;

enum MouseButton : int { ButtonLeft = 1, ButtonRight = 2 };

// Keys of the engine itself, never passed to the game: the engine menu's key (F1),
// the arrows that move through the menu, and the key that turns speech on and off.
enum EngineKey : int {
    EngineMenuKey = 0,
    EngineUp = 1,
    EngineDown = 2,
    EngineLeft = 3,
    EngineRight = 4,
    EngineSpeech = 5
};
inline constexpr int kEngineKeys = 6;

// Gamepad buttons in the standard layout (SDL's game controller names them so):
// the face buttons A B X Y, Start, Back, the D-pad, the shoulders, the two stick
// clicks, and the triggers (read as buttons when pulled past half way).
enum PadButton : int {
    PadA,
    PadB,
    PadX,
    PadY,
    PadStart,
    PadBack,
    PadUp,
    PadDown,
    PadLeft,
    PadRight,
    PadLeftShoulder,
    PadRightShoulder,
    PadLeftStick,
    PadRightStick,
    PadLeftTrigger,
    PadRightTrigger,
};
inline constexpr int kPadButtons = 16;
// The left stick's axes are given in -kStickRange..kStickRange.
inline constexpr int kStickRange = 1000;

// Keys beyond the game's five that the engine reads to play without a mouse: the
// keyboard cursor (moves, clicks), Tab (next interactive thing; with Shift the
// previous), Shift (slower cursor), and the key that reveals the interactive things.
// Which physical keys they are is the player's choice (bindKeys).
enum DeviceKey : int {
    DeviceCursorUp,
    DeviceCursorDown,
    DeviceCursorLeft,
    DeviceCursorRight,
    DeviceClick,
    DeviceRightClick,
    DeviceNext,
    DeviceSlow,
    DeviceHotspots,
};
inline constexpr int kDeviceKeys = 9;
// Key names for bindKeys, by DeviceKey; an empty name binds no key.
using DeviceKeyNames = std::array<std::string, kDeviceKeys>;

// A finger on a touch screen, in game pixels.
struct TouchEvent {
    enum class Kind { Down, Move, Up };
    Kind kind = Kind::Down;
    long long finger = 0;
    int x = 0;
    int y = 0;
};

struct DeviceReading;

// Turns a reading of every device into the one the game reads: the gamepad, the
// keyboard cursor and touches become mouse motion, buttons and keys. An input
// hands each reading to its translator before it answers from it.
class ReadingTranslator {
  public:
    virtual ~ReadingTranslator() = default;
    virtual void translate(DeviceReading& reading) = 0;
};

// Keyboard and mouse as the frame loop reads them: refresh() takes a new reading
// from the device; the other calls answer from that reading.
class Input {
  public:
    virtual ~Input() = default;
    virtual void refresh() = 0;
    // Relative mouse motion reported by the last refresh (since the one before).
    virtual int motionX() const = 0;
    virtual int motionY() const = 0;
    // Button 1 (left) or 2 (right) down at the last refresh; false for others.
    virtual bool buttonDown(int button) const = 0;
    // True while key k (0..4) is down and not released by releaseKey; false for
    // any other k.
    virtual bool keyPressed(int key) const = 0;
    // Clears key k so that the same press is not seen again: it reads as up until
    // the device reports a new press (the key let go and pressed again).
    virtual void releaseKey(int key) = 0;
    // Engine key k went down since the refresh before the last one.
    virtual bool engineKeyPressed(int key) const = 0;
    // From the next refresh on, readings pass through `translator` (null: none). It
    // must outlive its use.
    virtual void setTranslator(ReadingTranslator* translator) { (void)translator; }
    // Which keys are the DeviceKeys, by key name (as SDL names keys: "Left Ctrl").
    virtual void bindKeys(const DeviceKeyNames& names) { (void)names; }
};

// The gamepad part of a reading: buttons held, buttons pressed since the previous
// reading (they may be up again), and the left stick.
struct PadReading {
    bool connected = false;
    std::array<bool, kPadButtons> held{};
    std::array<bool, kPadButtons> presses{};
    int stickX = 0;
    int stickY = 0;
};

// One reading of a device.
struct DeviceReading {
    int dx = 0;
    int dy = 0;
    std::array<bool, 2> buttons{};  // left, right
    std::array<bool, kLogicalKeys> keys{};
    // A key went down since the previous reading (it may be up again by now).
    std::array<bool, kLogicalKeys> keyPresses{};
    std::array<bool, kEngineKeys> enginePresses{};
    // The devices that the translator turns into the fields above.
    PadReading pad;
    std::array<bool, kDeviceKeys> deviceKeys{};
    std::array<bool, kDeviceKeys> deviceKeyPresses{};
    std::vector<TouchEvent> touches;  // since the previous reading, in order
};

// The input state shared by the backends: they gather a DeviceReading and hand it
// to apply() in their refresh(), so windowed and headless runs behave alike.
class DeviceInput : public Input {
  public:
    int motionX() const override { return reading_.dx; }
    int motionY() const override { return reading_.dy; }
    bool buttonDown(int button) const override;
    bool keyPressed(int key) const override;
    void releaseKey(int key) override;
    bool engineKeyPressed(int key) const override {
        return key >= 0 && key < kEngineKeys &&
               reading_.enginePresses[static_cast<std::size_t>(key)];
    }
    void setTranslator(ReadingTranslator* translator) override { translator_ = translator; }

  protected:
    // Takes `reading` (through the translator) as the one the calls answer from.
    void apply(DeviceReading reading);

  private:
    ReadingTranslator* translator_ = nullptr;
    DeviceReading reading_;
    std::array<bool, kLogicalKeys> released_{};
};

// total + delta, held at the ends of the int range instead of overflowing.
int saturatingAdd(int total, int delta);

}  // namespace zk
