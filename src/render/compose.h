#pragma once
#include "data/game_state.h"

namespace zk {

// Draws one complete frame of the current room into the back surface (no flip).
void composeScene(GameState& g);

}  // namespace zk
