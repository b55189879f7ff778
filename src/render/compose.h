#pragma once
#include <string>

#include "data/game_state.h"

namespace zk {

// Rain streaks are drawn in this grey.
inline constexpr uint32_t kRainColor = 0x808080;

// The cursor the scene asks for with nothing held and no dialogue open: the
// preferences' start cursor, over it the cursor of the last enabled zone under the
// mouse, over that the hover cursor of the hovered object while it is active.
std::string chooseCursor(const GameState& g);

// The rain of the current room: each drop a grey streak of about 12 pixels downward
// from its point, two pixels wide for kind 0 and below; display coordinates.
void drawRain(GameState& g);

// Draws one complete frame of the current room into the back surface (no flip):
// cursor choice, black, the background and the room objects, rain, the interface,
// texts and dialogue, and the cursor last. A fault in one part (a missing picture)
// is reported once and the rest of the frame is still drawn.
void composeScene(GameState& g);

}  // namespace zk
