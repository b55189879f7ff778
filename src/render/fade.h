#pragma once
#include "data/game_state.h"

namespace zk {

// Darkens the screen to black in nine steps; the screen then stays faded.
void fadeOut(GameState& g);
// Brings the current frame back from black in nine steps.
void fadeIn(GameState& g);

}  // namespace zk
