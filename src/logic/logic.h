#pragma once
#include "data/game_state.h"

namespace zk {

// One logic step (25 ms of game time).
void logicTick(GameState& g);
// The left-button press at (mouseX, mouseY).
void clickDispatch(GameState& g);
// Finds the object under the cursor and fires its enter and leave events.
void hoverUpdate(GameState& g);
// The right-button press: puts the held item back into the inventory.
void returnHeldItem(GameState& g);

}  // namespace zk
