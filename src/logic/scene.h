#pragma once
// What a frame shows is decided here, before it is drawn: the cursor, the dialogue
// layout and the objects' perspective scales. The renderer then only reads.
#include <string>

#include "data/game_state.h"

namespace zk {

// The cursor the scene asks for with nothing held and no dialogue open: the
// preferences' start cursor, over it the cursor of the last enabled zone under the
// mouse, over that the hover cursor of the hovered object while it is active.
std::string chooseCursor(const GameState& g);

// Lays out the open dialogue for this frame; the backgrounds drawn under the interface
// and the texts follow the box of the frame before.
void layoutDialogue(GameState& g);

// Sets the scale of every object of a draw pass (`party` 1: the interface pass, 0:
// the scene pass) whose `perspective` is 1 from its feet row.
void applyPerspectiveScales(GameState& g, uint8_t party);

// The hotspot reveal's marks: while the player holds its key, every interactive thing
// of the room (none on a faded screen); otherwise none.
void revealHotspots(GameState& g);

// Everything the next composed frame reads: with nothing held and no dialogue open the
// hover update and the cursor choice; the dialogue layout; the scales of the objects
// the frame draws (the scene's on an unfaded screen, the party's in a play room); the
// hotspot marks.
void prepareScene(GameState& g);

}  // namespace zk
