#pragma once
#include "data/game_state.h"

namespace zk {

// Advances every queued script by one tick: each slot in use, its commands in order.
void runQueue(GameState& g);

}  // namespace zk
