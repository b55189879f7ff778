#pragma once
#include <memory>

#include "platform/surface.h"

namespace zk {

class SdlDisplay;

namespace web {

// Gives the browser its turn and returns at its next animation frame: the page stays
// responsive, and a page in a background tab, which gets no frames, holds the game.
void waitForBrowserFrame();

// Tells the page's script (zelkin-page.js) that something happened: "shown" when the
// game's first room is on the canvas, "exit N" when the engine ended with status N.
void tellPage(const char* event);

// A canvas for headless runs in the page (`?script=`): every flipped frame is shown on
// it, and the run then waits for the browser's next frame. The last one stays there.
class CanvasView {
  public:
    CanvasView();
    ~CanvasView();
    void show(const Surface& frame);

  private:
    std::unique_ptr<SdlDisplay> display_;
};

}  // namespace web
}  // namespace zk
