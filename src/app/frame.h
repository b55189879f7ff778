#pragma once
#include "data/game_state.h"

namespace zk {

// One frame of the running game: music, logic tick, mouse, clicks, hover, compose, flip.
void runFrame(GameState& g);

}  // namespace zk
