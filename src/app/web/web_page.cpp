#include "app/web/web_page.h"

#include <emscripten.h>

#include "platform/sdl/sdl_display.h"

namespace zk::web {
namespace {

EM_ASYNC_JS(void, awaitAnimationFrame, (), {
    await new Promise(function(resolve) { requestAnimationFrame(function() { resolve(); }); });
});

EM_JS(void, callPage, (const char* event), {
    if (Module.zelkinEvent) Module.zelkinEvent(UTF8ToString(event));
});

}  // namespace

void waitForBrowserFrame() {
    awaitAnimationFrame();
}

void tellPage(const char* event) {
    callPage(event);
}

CanvasView::CanvasView() : display_(std::make_unique<SdlDisplay>()) {}

CanvasView::~CanvasView() {
    // Closing the window would empty the canvas; the run's last frame stays on the
    // page instead, for the page's remaining life.
    static_cast<void>(display_.release());
}

void CanvasView::show(const Surface& frame) {
    Surface& back = display_->back();
    if (!display_->canDraw() || back.width != frame.width || back.height != frame.height)
        display_->initialize(frame.width, frame.height, false);
    display_->back().pixels = frame.pixels;
    display_->flip();
    waitForBrowserFrame();
}

}  // namespace zk::web
