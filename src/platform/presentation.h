#pragma once
#include "platform/surface.h"

namespace zk {

// How the picture fills the output: `Auto` a whole multiple when that fills most of
// it, else as large as fits; `Integer` only whole multiples (as large as fits when even
// 1 does not); `Fit` as large as fits; `Stretch` all of it, aspect not kept.
enum class PictureScale { Auto, Integer, Fit, Stretch };

// Where the game picture goes in a window (or screen) of the given output size:
// centred, aspect kept (except when stretched), scaled as `scale` says. Never smaller
// than one pixel.
Rect presentationRect(int outputWidth, int outputHeight, int gameWidth, int gameHeight,
                      PictureScale scale = PictureScale::Auto);

// The game pixel under output pixel (x, y) of a picture shown at `rect`. Outside the
// picture the result lies outside 0..gameWidth-1 / 0..gameHeight-1.
Point outputToGame(int x, int y, const Rect& rect, int gameWidth, int gameHeight);

}  // namespace zk
