#pragma once
#include "platform/surface.h"

namespace zk {

// Where the game picture goes in a window (or screen) of the given output size: centred,
// aspect kept, by the largest whole multiple that fits when that fills most of the
// space (sharp pixels), otherwise as large as fits. Never smaller than one pixel.
Rect presentationRect(int outputWidth, int outputHeight, int gameWidth, int gameHeight);

// The game pixel under output pixel (x, y) of a picture shown at `rect`. Outside the
// picture the result lies outside 0..gameWidth-1 / 0..gameHeight-1.
Point outputToGame(int x, int y, const Rect& rect, int gameWidth, int gameHeight);

}  // namespace zk
