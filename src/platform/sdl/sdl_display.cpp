#include "platform/sdl/sdl_display.h"

#include <SDL.h>

#include "platform/platform_error.h"
#include "platform/presentation.h"

namespace zk {
namespace {

[[noreturn]] void fail(const std::string& what) {
    throw PlatformError(what + ": " + SDL_GetError());
}

}  // namespace

void SdlDisplay::Deleter::operator()(SDL_Window* w) const {
    SDL_DestroyWindow(w);
}
void SdlDisplay::Deleter::operator()(SDL_Renderer* r) const {
    SDL_DestroyRenderer(r);
}
void SdlDisplay::Deleter::operator()(SDL_Texture* t) const {
    SDL_DestroyTexture(t);
}

SdlDisplay::SdlDisplay() : video_(SDL_INIT_VIDEO) {}

SdlDisplay::~SdlDisplay() {
    // The texture belongs to the renderer and the renderer to the window.
    texture_.reset();
    renderer_.reset();
    window_.reset();
}

void SdlDisplay::initialize(int width, int height, bool fullScreen) {
    checkDisplaySize(width, height);
    ready_ = false;
#ifdef __EMSCRIPTEN__
    // In a web page the window is the page's canvas, which follows the page's size;
    // full screen is the page's business (only a click or key of the player may ask
    // the browser for it). The software renderer's frames reach the canvas pixel for
    // pixel; with high-DPI output it would fill only part of a larger canvas.
    fullScreen = false;
    constexpr Uint32 kWindowFlags = SDL_WINDOW_RESIZABLE;
#else
    constexpr Uint32 kWindowFlags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
#endif
    const Uint32 fullFlag = fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0;
    if (!window_) {
        const int display = displayIndex_ < SDL_GetNumVideoDisplays() ? displayIndex_ : 0;
        int x = static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(display));
        int y = x;
        if (windowX_ && windowY_) {
            // A place remembered on a monitor that is gone would put the window out of
            // sight.
            for (int d = 0; d < SDL_GetNumVideoDisplays(); ++d) {
                SDL_Rect r;
                if (SDL_GetDisplayBounds(d, &r) == 0 && *windowX_ >= r.x && *windowY_ >= r.y &&
                    *windowX_ < r.x + r.w && *windowY_ < r.y + r.h) {
                    x = *windowX_;
                    y = *windowY_;
                }
            }
        }
        const bool sized = windowWidth_ > 0 && windowHeight_ > 0;
        window_.reset(SDL_CreateWindow(
            caption_.c_str(), x, y, sized ? windowWidth_ : width * windowScale_,
            sized ? windowHeight_ : height * windowScale_, kWindowFlags | fullFlag));
        if (!window_) fail("Cannot open the window");
    } else {
        if (SDL_SetWindowFullscreen(window_.get(), fullFlag) != 0)
            fail("Cannot change the display mode");
        if (!fullScreen && (width != back_.width || height != back_.height)) {
            SDL_SetWindowSize(window_.get(), width * windowScale_, height * windowScale_);
        }
    }
    fullScreen_ = fullScreen;
    back_.resize(width, height);
    if (!renderer_) createRenderer();
    createTexture();
    applyCursor();
    ready_ = true;
}

void SdlDisplay::createRenderer() {
#ifndef __EMSCRIPTEN__
    renderer_.reset(SDL_CreateRenderer(window_.get(), -1,
                                       SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC));
#endif
    if (!renderer_) renderer_.reset(SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_SOFTWARE));
    if (!renderer_) fail("Cannot draw in the window");
}

void SdlDisplay::createTexture() {
    texture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_RGB888,
                                     SDL_TEXTUREACCESS_STREAMING, back_.width, back_.height));
    if (!texture_) fail("Cannot create the display texture");
    SDL_SetTextureScaleMode(texture_.get(), smooth_ ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
}

void SdlDisplay::setWindowPlacement(int display, int width, int height, std::optional<int> x,
                                    std::optional<int> y) {
    displayIndex_ = display < 0 ? 0 : display;
    windowWidth_ = width;
    windowHeight_ = height;
    windowX_ = x;
    windowY_ = y;
}

void SdlDisplay::setPresentation(PictureScale scale, bool smooth) {
    scale_ = scale;
    if (smooth != smooth_) {
        smooth_ = smooth;
        if (texture_)
            SDL_SetTextureScaleMode(texture_.get(),
                                    smooth_ ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    }
}

bool SdlDisplay::windowPlacement(int& width, int& height, int& x, int& y) const {
    if (!window_) return false;
    SDL_GetWindowSize(window_.get(), &width, &height);
    SDL_GetWindowPosition(window_.get(), &x, &y);
    return true;
}

void SdlDisplay::finalize() {
    ready_ = false;
    texture_.reset();
    renderer_.reset();
}

void SdlDisplay::flip() {
    if (!ready_) return;
    const int pitch = back_.width * 4;
    if (SDL_UpdateTexture(texture_.get(), nullptr, back_.pixels.data(), pitch) != 0) {
        // A reset graphics device loses its textures; make a new one and try again.
        createTexture();
        if (SDL_UpdateTexture(texture_.get(), nullptr, back_.pixels.data(), pitch) != 0) return;
    }
    SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
    SDL_RenderClear(renderer_.get());
    int outW = 0, outH = 0;
    SDL_GetRendererOutputSize(renderer_.get(), &outW, &outH);
    const Rect r = presentationRect(outW, outH, back_.width, back_.height, scale_);
    const SDL_Rect dst{r.left, r.top, r.right - r.left, r.bottom - r.top};
    SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, &dst);
    SDL_RenderPresent(renderer_.get());
}

void SdlDisplay::setCaption(std::string_view utf8) {
    caption_ = std::string(utf8);
    if (window_) SDL_SetWindowTitle(window_.get(), caption_.c_str());
}

void SdlDisplay::showSystemCursor(bool visible) {
    cursorVisible_ = visible;
    applyCursor();
}

void SdlDisplay::setPointerOverGame(bool over) {
    if (over == pointerOverGame_) return;
    pointerOverGame_ = over;
    applyCursor();
}

void SdlDisplay::applyCursor() {
    const bool show = cursorVisible_ || !pointerOverGame_;
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

Point SdlDisplay::windowToGame(int x, int y) const {
    if (!window_ || !renderer_) return {x, y};
    int winW = 0, winH = 0, outW = 0, outH = 0;
    SDL_GetWindowSize(window_.get(), &winW, &winH);
    SDL_GetRendererOutputSize(renderer_.get(), &outW, &outH);
    // Mouse events come in window points; on high-DPI screens the output has more pixels.
    const int64_t ox = winW > 0 ? static_cast<int64_t>(x) * outW / winW : x;
    const int64_t oy = winH > 0 ? static_cast<int64_t>(y) * outH / winH : y;
    const Rect r = presentationRect(outW, outH, back_.width, back_.height, scale_);
    return outputToGame(static_cast<int>(ox), static_cast<int>(oy), r, back_.width, back_.height);
}

}  // namespace zk
