#pragma once
#include "data/game_state.h"

namespace zk {

// The inventory bar, its slots, the party, the slot label, room title and status.
void drawInterfacePass(GameState& g);
// Object texts, the zone hint and the dialogue box.
void drawTextsAndDialogue(GameState& g);

}  // namespace zk
