#include "platform/headless/scripted_input.h"

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

void ScriptedInput::refresh() {
    apply(pending_);
    pending_.dx = 0;
    pending_.dy = 0;
    pending_.keyPresses = {};
    pending_.enginePresses = {};
}

}  // namespace zk
