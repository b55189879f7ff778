#pragma once
#include "data/game_state.h"

namespace zk {

class DebugOverlay;

// The cursor stays inside the window's design size, whatever the display size.
inline constexpr int kMouseMaxX = 799;
inline constexpr int kMouseMaxY = 599;
// Game time runs in steps of this many milliseconds, at most one per frame.
inline constexpr uint32_t kLogicTickMs = 25;

// One frame of the running game: music, logic tick, mouse, clicks, hover, compose,
// flip. With a debug overlay, it is drawn over the frame and takes the clicks that
// fall on it. A data error ends the frame (flip included) and is reported once; the
// next frame tries again.
void runFrame(GameState& g, DebugOverlay* debug = nullptr);

}  // namespace zk
