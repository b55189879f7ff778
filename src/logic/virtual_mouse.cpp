#include "logic/virtual_mouse.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "logic/interactives.h"
#include "platform/platform.h"

namespace zk {
namespace {

// The cursor's speeds in display pixels a second: the stick at full tilt, and the
// D-pad or the keys; both start at kStartShare of it and reach it after kAccelerationMs
// of steering. The slow mode moves at kSlowShare.
constexpr double kStickSpeed = 1000;
constexpr double kDigitalSpeed = 450;
constexpr double kStartShare = 0.35;
constexpr double kAccelerationMs = 700;
constexpr double kSlowShare = 0.3;
// The part of the stick's range that is not read (a resting stick is rarely at 0).
constexpr double kDeadZone = 0.2;
// A longer pause between two readings (a stalled frame) is taken as this long.
constexpr uint32_t kMaxStepMs = 100;

PadAction actionNamed(const std::string& name) {
    for (size_t i = 0; i < kPadActions.size(); ++i)
        if (kPadActions[i] == name) return static_cast<PadAction>(i);
    return PadAction::None;
}

}  // namespace

DeviceBindings deviceBindings(const Settings& s) {
    DeviceBindings b;
    b.gamepad = s.gamepad;
    b.keyboardCursor = s.keyboardCursor;
    b.pad.fill(PadAction::None);
    for (size_t i = 0; i < kPadButtonNames.size(); ++i) {
        const auto it = s.gamepadButtons.find(std::string(kPadButtonNames[i]));
        if (it != s.gamepadButtons.end()) b.pad[i] = actionNamed(it->second);
    }
    return b;
}

DeviceKeyNames deviceKeyNames(const Settings& s) {
    DeviceKeyNames names;
    if (s.keyboardCursor) {
        names[DeviceCursorUp] = s.cursorKeys.up;
        names[DeviceCursorDown] = s.cursorKeys.down;
        names[DeviceCursorLeft] = s.cursorKeys.left;
        names[DeviceCursorRight] = s.cursorKeys.right;
        names[DeviceClick] = s.cursorKeys.click;
        names[DeviceRightClick] = s.cursorKeys.rightClick;
        names[DeviceNext] = "Tab";
        names[DeviceSlow] = "Left Shift";
    }
    names[DeviceHotspots] = s.hotspotKey;
    return names;
}

bool VirtualMouse::held(const DeviceReading& r, PadAction a) const {
    if (!bindings_.gamepad || !r.pad.connected) return false;
    for (size_t b = 0; b < bindings_.pad.size(); ++b)
        if (bindings_.pad[b] == a && (r.pad.held[b] || r.pad.presses[b])) return true;
    return false;
}

bool VirtualMouse::pressed(const DeviceReading& r, PadAction a) const {
    if (!bindings_.gamepad || !r.pad.connected) return false;
    for (size_t b = 0; b < bindings_.pad.size(); ++b)
        if (bindings_.pad[b] == a && r.pad.presses[b]) return true;
    return false;
}

void VirtualMouse::moveTo(DeviceReading& r, int x, int y) {
    (void)r;
    const int w = std::max(1, g_.tables.prefs.displayWidth());
    const int h = std::max(1, g_.tables.prefs.displayHeight());
    cursorX_ = std::clamp(x, 0, w - 1);
    cursorY_ = std::clamp(y, 0, h - 1);
    carryX_ = carryY_ = 0;
    moved_ = true;
}

void VirtualMouse::moveBy(DeviceReading& r, double dx, double dy) {
    carryX_ += dx;
    carryY_ += dy;
    const double stepX = std::trunc(carryX_);
    const double stepY = std::trunc(carryY_);
    carryX_ -= stepX;
    carryY_ -= stepY;
    if (stepX == 0 && stepY == 0) return;
    const double carryX = carryX_, carryY = carryY_;
    moveTo(r, static_cast<int>(cursorX_ + stepX), static_cast<int>(cursorY_ + stepY));
    carryX_ = carryX;
    carryY_ = carryY;
}

void VirtualMouse::steer(DeviceReading& r, uint32_t elapsedMs) {
    double vx = 0, vy = 0;
    const double sx = double(r.pad.stickX) / kStickRange;
    const double sy = double(r.pad.stickY) / kStickRange;
    const double m = std::hypot(sx, sy);
    if (bindings_.gamepad && r.pad.connected && m > kDeadZone) {
        // Past the dead zone the speed grows with the square of the tilt: fine steps
        // near the middle, fast sweeps at the rim.
        const double k = (std::min(m, 1.0) - kDeadZone) / (1 - kDeadZone);
        vx = sx / m * kStickSpeed * k * k;
        vy = sy / m * kStickSpeed * k * k;
    }
    if (!menuOpen_) {
        const bool keys = bindings_.keyboardCursor;
        auto on = [&](PadAction a, DeviceKey k) {
            return held(r, a) || (keys && r.deviceKeys[static_cast<size_t>(k)]);
        };
        const int dx = int(on(PadAction::Right, DeviceCursorRight)) -
                       int(on(PadAction::Left, DeviceCursorLeft));
        const int dy =
            int(on(PadAction::Down, DeviceCursorDown)) - int(on(PadAction::Up, DeviceCursorUp));
        if (dx != 0 || dy != 0) {
            const double n = std::hypot(double(dx), double(dy));
            vx += dx / n * kDigitalSpeed;
            vy += dy / n * kDigitalSpeed;
        }
    }
    if (vx == 0 && vy == 0) {
        steeringMs_ = 0;
        carryX_ = carryY_ = 0;
        return;
    }
    steeringMs_ += elapsedMs;
    double share = kStartShare + (1 - kStartShare) * std::min(1.0, steeringMs_ / kAccelerationMs);
    if (held(r, PadAction::Slow) ||
        (bindings_.keyboardCursor && r.deviceKeys[static_cast<size_t>(DeviceSlow)]))
        share *= kSlowShare;
    moveBy(r, vx * share * elapsedMs / 1000.0, vy * share * elapsedMs / 1000.0);
}

void VirtualMouse::jump(DeviceReading& r, bool forward) {
    const std::vector<Interactive> things = interactiveThings(g_);
    const int t = jumpTarget(things, cursorX_, cursorY_, forward);
    if (t < 0) return;
    moveTo(r, things[static_cast<size_t>(t)].x, things[static_cast<size_t>(t)].y);
}

void VirtualMouse::touches(DeviceReading& r, uint32_t now) {
    for (const TouchEvent& e : r.touches) {
        switch (e.kind) {
            case TouchEvent::Kind::Down:
                if (touch_.down) {
                    if (e.finger != touch_.finger) touch_.secondFinger = true;
                    break;
                }
                touch_ = Touch{
                    .down = true, .finger = e.finger, .startX = e.x, .startY = e.y, .since = now};
                moveTo(r, e.x, e.y);
                break;
            case TouchEvent::Kind::Move:
                if (!touch_.down || e.finger != touch_.finger || touch_.secondFinger) break;
                if (!touch_.dragging && std::abs(e.x - touch_.startX) <= kTouchSlop &&
                    std::abs(e.y - touch_.startY) <= kTouchSlop)
                    break;
                touch_.dragging = true;
                moveTo(r, e.x, e.y);
                break;
            case TouchEvent::Kind::Up: {
                if (!touch_.down) break;
                if (e.finger != touch_.finger && !touch_.secondFinger) break;
                // Two fingers tapped together are a right click; one finger let go
                // where it landed is a left click. A drag or a long press clicks no more.
                const int button = touch_.secondFinger ? 2 : 1;
                if (!touch_.dragging && !touch_.longPressed) {
                    // The click goes to what the cursor is on in an earlier frame.
                    if (moved_)
                        pendingButton_ = button;
                    else
                        pressButton_ = button;
                }
                touch_ = Touch{};
                break;
            }
        }
    }
    if (touch_.down && !touch_.dragging && !touch_.longPressed && !touch_.secondFinger &&
        now - touch_.since >= kLongPressMs) {
        touch_.longPressed = true;
        pressButton_ = 2;
    }
}

void VirtualMouse::gameButtonsAndKeys(DeviceReading& r) {
    const bool keys = bindings_.keyboardCursor;
    if (held(r, PadAction::Click) || (keys && r.deviceKeys[DeviceClick])) r.buttons[0] = true;
    if (held(r, PadAction::RightClick) || (keys && r.deviceKeys[DeviceRightClick]))
        r.buttons[1] = true;
    static constexpr std::array<std::pair<PadAction, int>, 5> kKeys = {{
        {PadAction::Space, KeySpace},
        {PadAction::Enter, KeyEnter},
        {PadAction::Escape, KeyEscape},
        {PadAction::F4, KeyF4},
        {PadAction::F10, KeyF10},
    }};
    for (auto [action, key] : kKeys) {
        const auto k = static_cast<size_t>(key);
        if (held(r, action)) r.keys[k] = true;
        if (pressed(r, action)) r.keyPresses[k] = r.keys[k] = true;
    }
    if (pressed(r, PadAction::Menu)) r.enginePresses[EngineMenuKey] = true;
}

void VirtualMouse::menuKeys(DeviceReading& r) {
    auto press = [&](PadAction a, int engineKey) {
        if (pressed(r, a)) r.enginePresses[static_cast<size_t>(engineKey)] = true;
    };
    press(PadAction::Up, EngineUp);
    press(PadAction::Down, EngineDown);
    press(PadAction::Left, EngineLeft);
    press(PadAction::Right, EngineRight);
    press(PadAction::Menu, EngineMenuKey);
    if (pressed(r, PadAction::Click)) r.keys[KeyEnter] = r.keyPresses[KeyEnter] = true;
    if (pressed(r, PadAction::RightClick) || pressed(r, PadAction::Escape))
        r.keys[KeyEscape] = r.keyPresses[KeyEscape] = true;
    if (bindings_.keyboardCursor && r.deviceKeys[DeviceClick]) r.buttons[0] = true;
}

void VirtualMouse::translate(DeviceReading& r) {
    const uint32_t now = g_.platform ? g_.platform->clock.ticks() : 0;
    const uint32_t elapsed = lastTicks_ ? std::min(now - *lastTicks_, kMaxStepMs) : 0;
    lastTicks_ = now;
    const int startX = g_.input.mouseX;
    const int startY = g_.input.mouseY;
    cursorX_ = saturatingAdd(startX, r.dx);
    cursorY_ = saturatingAdd(startY, r.dy);
    moved_ = false;
    pressButton_ = std::exchange(pendingButton_, 0);

    touches(r, now);
    steer(r, elapsed);
    if (!menuOpen_) {
        const bool keys = bindings_.keyboardCursor;
        const bool shift = keys && r.deviceKeys[DeviceSlow];
        if (pressed(r, PadAction::Next) || (keys && !shift && r.deviceKeyPresses[DeviceNext]))
            jump(r, true);
        if (pressed(r, PadAction::Previous) || (shift && r.deviceKeyPresses[DeviceNext]))
            jump(r, false);
        gameButtonsAndKeys(r);
    } else {
        menuKeys(r);
    }
    if (pressButton_ > 0) r.buttons[static_cast<size_t>(pressButton_ - 1)] = true;
    pressButton_ = 0;
    g_.input.revealHotspots =
        !menuOpen_ && (r.deviceKeys[DeviceHotspots] || held(r, PadAction::Hotspots));
    if (moved_) {
        r.dx = cursorX_ - startX;
        r.dy = cursorY_ - startY;
    }
}

}  // namespace zk
