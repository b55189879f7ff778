#pragma once
#include <array>
#include <cstddef>

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

  protected:
    void apply(const DeviceReading& reading);

  private:
    DeviceReading reading_;
    std::array<bool, kLogicalKeys> released_{};
};

// total + delta, held at the ends of the int range instead of overflowing.
int saturatingAdd(int total, int delta);

}  // namespace zk
