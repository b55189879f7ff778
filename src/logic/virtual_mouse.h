#pragma once
// Play without a mouse: the gamepad, the keyboard cursor and touches become the mouse
// motion, the two buttons and the five keys that the frame reads, so that games see
// no difference. With none of them used, every reading passes unchanged.
#include <array>
#include <cstdint>
#include <optional>

#include "data/game_state.h"
#include "data/settings.h"
#include "platform/input.h"

namespace zk {

enum class PadAction {
    Click,
    RightClick,
    Space,
    Enter,
    Escape,
    F4,
    F10,
    Menu,
    Previous,
    Next,
    Hotspots,
    Slow,
    Up,
    Down,
    Left,
    Right,
    None,
};

// What each gamepad button does and which devices are on, from the player's settings.
struct DeviceBindings {
    bool gamepad = true;
    std::array<PadAction, kPadButtons> pad{};
    bool keyboardCursor = true;
};
DeviceBindings deviceBindings(const Settings& s);
// The key names the input binds for the DeviceKeys, from the settings.
DeviceKeyNames deviceKeyNames(const Settings& s);

// How long a finger rests for a long press (a right click), and how far it may move
// meanwhile (display pixels) before the touch is a drag instead.
inline constexpr uint32_t kLongPressMs = 500;
inline constexpr int kTouchSlop = 12;

class VirtualMouse : public ReadingTranslator {
  public:
    explicit VirtualMouse(GameState& g) : g_(g) {}
    void setBindings(const DeviceBindings& b) { bindings_ = b; }
    // While the engine menu is open, the pad and the keys work its items instead.
    void setMenuOpen(bool open) { menuOpen_ = open; }
    void translate(DeviceReading& r) override;

  private:
    bool held(const DeviceReading& r, PadAction a) const;
    bool pressed(const DeviceReading& r, PadAction a) const;
    void moveBy(DeviceReading& r, double dx, double dy);
    void moveTo(DeviceReading& r, int x, int y);
    void steer(DeviceReading& r, uint32_t elapsedMs);
    void jump(DeviceReading& r, bool forward);
    void touches(DeviceReading& r, uint32_t now);
    void gameButtonsAndKeys(DeviceReading& r);
    void menuKeys(DeviceReading& r);

    GameState& g_;
    DeviceBindings bindings_;
    bool menuOpen_ = false;
    std::optional<uint32_t> lastTicks_;
    double carryX_ = 0;  // motion below a pixel, kept for the next reading
    double carryY_ = 0;
    uint32_t steeringMs_ = 0;  // how long the cursor has been steered without a pause
    // Where the cursor was last put by this translator; moves count from there.
    int cursorX_ = 0;
    int cursorY_ = 0;
    bool moved_ = false;  // put somewhere absolute in this reading

    struct Touch {
        bool down = false;
        long long finger = 0;
        int startX = 0;
        int startY = 0;
        uint32_t since = 0;
        bool dragging = false;
        bool longPressed = false;
        bool secondFinger = false;
    } touch_;
    // A click made by a touch: pressed in the reading after the cursor got there.
    int pendingButton_ = 0;  // 0 none, 1 left, 2 right
    int pressButton_ = 0;    // down in this reading only
};

}  // namespace zk
