#include "platform/headless/scripted_input.h"

#include <algorithm>

namespace zk {

void ScriptedInput::addMotion(int dx, int dy) {
    pending_.dx = saturatingAdd(pending_.dx, dx);
    pending_.dy = saturatingAdd(pending_.dy, dy);
}

void ScriptedInput::setButton(int button, bool down) {
    if (button < 1 || button > 2) return;
    pending_.buttons[button - 1] = down;
}

void ScriptedInput::setKey(int key, bool down) {
    if (key < 0 || key >= kLogicalKeys) return;
    if (down && !pending_.keys[key]) pending_.keyPresses[key] = true;
    pending_.keys[key] = down;
}

void ScriptedInput::pressEngineKey(int key) {
    if (key >= 0 && key < kEngineKeys) pending_.enginePresses[static_cast<std::size_t>(key)] = true;
}

void ScriptedInput::setPadButton(int button, bool down) {
    if (button < 0 || button >= kPadButtons) return;
    const auto b = static_cast<std::size_t>(button);
    pending_.pad.connected = true;
    if (down && !pending_.pad.held[b]) pending_.pad.presses[b] = true;
    pending_.pad.held[b] = down;
}

void ScriptedInput::setStick(int x, int y) {
    pending_.pad.connected = true;
    pending_.pad.stickX = std::clamp(x, -kStickRange, kStickRange);
    pending_.pad.stickY = std::clamp(y, -kStickRange, kStickRange);
}

void ScriptedInput::setDeviceKey(int key, bool down) {
    if (key < 0 || key >= kDeviceKeys) return;
    const auto k = static_cast<std::size_t>(key);
    if (down && !pending_.deviceKeys[k]) pending_.deviceKeyPresses[k] = true;
    pending_.deviceKeys[k] = down;
}

void ScriptedInput::addTouch(const TouchEvent& touch) {
    pending_.touches.push_back(touch);
}

void ScriptedInput::refresh() {
    apply(pending_);
    pending_.dx = 0;
    pending_.dy = 0;
    pending_.keyPresses = {};
    pending_.enginePresses = {};
    pending_.pad.presses = {};
    pending_.deviceKeyPresses = {};
    pending_.touches.clear();
}

}  // namespace zk
