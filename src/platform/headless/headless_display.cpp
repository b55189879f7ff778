#include "platform/headless/headless_display.h"

namespace zk {

void HeadlessDisplay::initialize(int width, int height, bool fullScreen) {
    checkDisplaySize(width, height);
    back_.resize(width, height);
    fullScreen_ = fullScreen;
    ready_ = true;
}

void HeadlessDisplay::flip() {
    if (!ready_) return;
    lastFrame_ = back_;
    ++flips_;
    if (onFlip) onFlip(lastFrame_);
}

}  // namespace zk
