#pragma once
#include <string>

#include "data/game_state.h"

namespace zk {

// Rain streaks are drawn in this grey.
inline constexpr uint32_t kRainColor = 0x808080;

// The rain of the current room: each drop a grey streak of about 12 pixels downward
// from its point, two pixels wide for kind 0 and below; display coordinates.
void drawRain(const GameState& g);

// Draws one complete frame of the current room into the back surface (no flip):
// black, the background and the room objects, rain, the interface, texts and
// dialogue, and the cursor last. What it shows (the cursor picture, the dialogue
// layout, the objects' scales) was prepared before; drawing changes nothing of the game. A fault in
// one part (a missing picture) is reported once and the rest of the frame is still drawn.
void composeScene(const GameState& g);

}  // namespace zk
