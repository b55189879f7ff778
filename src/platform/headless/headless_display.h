#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/display.h"

namespace zk {

// A display in memory. flip() copies the back surface to lastFrame(), counts the
// flip and hands the frame to onFlip (the runner's screenshots).
class HeadlessDisplay : public Display {
  public:
    void initialize(int width, int height, bool fullScreen) override;
    void finalize() override { ready_ = false; }
    bool canDraw() const override { return ready_; }
    Surface& back() override { return back_; }
    void flip() override;
    bool isFullScreen() const override { return fullScreen_; }
    std::string caption() const override { return caption_; }
    void setCaption(std::string_view utf8) override { caption_ = std::string(utf8); }
    void showSystemCursor(bool visible) override { systemCursorVisible_ = visible; }

    const Surface& lastFrame() const { return lastFrame_; }
    uint64_t flips() const { return flips_; }
    bool systemCursorVisible() const { return systemCursorVisible_; }

    std::function<void(const Surface&)> onFlip;

  private:
    Surface back_;
    Surface lastFrame_;
    uint64_t flips_ = 0;
    bool ready_ = false;
    bool fullScreen_ = false;
    bool systemCursorVisible_ = true;
    std::string caption_;
};

}  // namespace zk
