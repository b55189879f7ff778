#pragma once
#include <memory>
#include <optional>
#include <string>

#include "platform/display.h"
#include "platform/presentation.h"
#include "platform/sdl/sdl_subsystem.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace zk {

// The display in a window. The back surface is drawn in software and uploaded to a
// streaming texture at flip, then shown scaled to the window with its aspect kept
// (black bars; whole multiples where they fill the window) and nearest-pixel
// scaling, waiting for the vertical blank; high-DPI screens draw at their full
// resolution. Full screen uses the desktop's mode. The window is made by the first
// initialize and kept until the display goes away; finalize releases only the
// renderer. The mouse is never grabbed: when the game hides the system pointer it
// is hidden only while it is over the game picture.
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

    // The first window opens at `factor` times the game's size (1 by default).
    void setWindowScale(int factor) { windowScale_ = factor < 1 ? 1 : factor; }
    // The first window opens on monitor `display` (the first when there is no such
    // one), `width` x `height` large when both are positive (else as the scale says), at
    // (x, y) when both are given and lie on a monitor (else centred).
    void setWindowPlacement(int display, int width, int height, std::optional<int> x,
                            std::optional<int> y);
    // How the picture is scaled into the window, and with which filter; at once.
    void setPresentation(PictureScale scale, bool smooth);
    // The window's size and place now, for the next start; false before it exists.
    bool windowPlacement(int& width, int& height, int& x, int& y) const;
    // The game pixel under window point (x, y), as mouse events report it; outside
    // the picture the result lies outside the game's size.
    Point windowToGame(int x, int y) const;
    // The pointer moved over (true) or off the game picture.
    void setPointerOverGame(bool over);

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
    bool pointerOverGame_ = false;
    int windowScale_ = 1;
    int displayIndex_ = 0;
    int windowWidth_ = 0;
    int windowHeight_ = 0;
    std::optional<int> windowX_;
    std::optional<int> windowY_;
    PictureScale scale_ = PictureScale::Auto;
    bool smooth_ = false;
};

}  // namespace zk
