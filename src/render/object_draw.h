#pragma once
#include "data/game_state.h"

namespace zk {

// Index of the room object under the cursor (mouseX, mouseY), -1 if none.
int objectUnderCursor(GameState& g);

}  // namespace zk
