#pragma once
#include <string>

#include "data/game_state.h"

namespace zk {

// Runs the "walkto" command at `position` of queue slot `slot` (done at once).
void walkTo(GameState& g, int slot, int position);
// Runs the "waitforchar" command at `position` of queue slot `slot`; true when done.
bool waitForChar(GameState& g, int slot, int position);
// One step of the walk in progress (once per logic tick while walking).
void walkingStep(GameState& g);
// "stopchar": ends the walk where the walker stands.
void stopChar(GameState& g);
// "changeroom": enters `room` and places the main character at `entrance`.
void changeRoom(GameState& g, const std::string& room, const std::string& entrance);

}  // namespace zk
