#pragma once
#include <string>
#include <string_view>

#include "platform/surface.h"

namespace zk {

// The largest display side initialize accepts; sizes come from game data.
inline constexpr int kMaxDisplaySide = 8192;

// The game's display: a 32-bit back surface that everything is drawn into in
// software, shown by flip. back() is the same Surface object for the display's
// whole life (initialize only resizes it), so a Canvas may keep a reference to it.
class Display {
  public:
    virtual ~Display() = default;

    // Sets the size (1 .. kMaxDisplaySide each, else PlatformError) and the mode;
    // may be called again to change them. A new size clears the back surface.
    virtual void initialize(int width, int height, bool fullScreen) = 0;
    virtual void finalize() = 0;
    // False before initialize, after finalize, or while the screen cannot be drawn on.
    virtual bool canDraw() const = 0;
    virtual Surface& back() = 0;
    // Shows the back surface (waiting for the vertical blank where there is one).
    virtual void flip() = 0;
    virtual bool isFullScreen() const = 0;

    // UTF-8 window caption.
    virtual std::string caption() const = 0;
    virtual void setCaption(std::string_view utf8) = 0;
    // The game draws its own cursor and hides the system's.
    virtual void showSystemCursor(bool visible) = 0;
};

// Throws PlatformError unless both sides lie in 1 .. kMaxDisplaySide.
void checkDisplaySize(int width, int height);

}  // namespace zk
