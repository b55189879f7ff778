#pragma once
#include <memory>
#include <string>

#include "platform/display.h"
#include "platform/sdl/sdl_subsystem.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace zk {

// The display in a window. The back surface is drawn in software and uploaded to a
// streaming texture at flip, then shown scaled to the window with its aspect kept
// (black bars) and nearest-pixel scaling, waiting for the vertical blank. Full
// screen uses the desktop's mode. The window is made by the first initialize and
// kept until the display goes away; finalize releases only the renderer.
// Hiding the system cursor also switches the mouse to relative mode, so that the
// game's own cursor gets motion even at the screen edges.
class SdlDisplay : public Display {
  public:
    SdlDisplay();  // starts SDL video; throws PlatformError
    ~SdlDisplay() override;

    void initialize(int width, int height, bool fullScreen) override;
    void finalize() override;
    bool canDraw() const override { return ready_; }
    Surface& back() override { return back_; }
    void flip() override;
    bool isFullScreen() const override { return fullScreen_; }
    std::string caption() const override { return caption_; }
    void setCaption(std::string_view utf8) override;
    void showSystemCursor(bool visible) override;

    // Null until the first initialize.
    SDL_Window* window() const { return window_.get(); }

  private:
    struct Deleter {
        void operator()(SDL_Window* w) const;
        void operator()(SDL_Renderer* r) const;
        void operator()(SDL_Texture* t) const;
    };
    void createRenderer();
    void createTexture();
    void applyCursor();

    SdlSubsystem video_;
    std::unique_ptr<SDL_Window, Deleter> window_;
    std::unique_ptr<SDL_Renderer, Deleter> renderer_;
    std::unique_ptr<SDL_Texture, Deleter> texture_;
    Surface back_;
    std::string caption_;
    bool fullScreen_ = false;
    bool ready_ = false;
    bool cursorVisible_ = true;
};

}  // namespace zk
