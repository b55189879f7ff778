#include "platform/input.h"

#include <climits>
#include <cstdint>
#include <utility>

namespace zk {

bool DeviceInput::buttonDown(int button) const {
    if (button < 1 || button > 2) return false;
    return reading_.buttons[button - 1];
}

bool DeviceInput::keyPressed(int key) const {
    if (key < 0 || key >= kLogicalKeys) return false;
    return reading_.keys[key] && !released_[key];
}

void DeviceInput::releaseKey(int key) {
    if (key < 0 || key >= kLogicalKeys) return;
    released_[key] = true;
}

void DeviceInput::apply(DeviceReading reading) {
    if (translator_) translator_->translate(reading);
    reading_ = std::move(reading);
    for (int k = 0; k < kLogicalKeys; ++k) {
        if (!reading_.keys[k] || reading_.keyPresses[k]) released_[k] = false;
    }
}

int saturatingAdd(int total, int delta) {
    const int64_t sum = int64_t{total} + delta;
    if (sum > INT_MAX) return INT_MAX;
    if (sum < INT_MIN) return INT_MIN;
    return static_cast<int>(sum);
}

}  // namespace zk
