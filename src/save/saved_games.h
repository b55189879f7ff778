#pragma once
#include "data/game_state.h"

namespace zk {

// Writes the whole changeable game state into save slot `slot`.
void saveGame(GameState& g, int slot);
// Restores save slot `slot` if it exists; a broken slot changes nothing.
void loadGame(GameState& g, int slot);
// "savelastgs": captures the displayed screen as the next save's thumbnail.
void captureThumbnail(GameState& g, int width, int height);
// "setslotspr": shows the thumbnail of slot `slot` as the picture of object `object`.
void showSlotThumbnail(GameState& g, int object, int slot);

}  // namespace zk
