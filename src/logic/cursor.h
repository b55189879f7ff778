#pragma once
#include <string>
#include <string_view>

#include "data/game_state.h"

// The cursor and the item it holds (the `cursor` part of the game state) change here
// only.
namespace zk {

// Loads cursor `name` unless it is empty or already shown.
void setCursor(GameState& g, std::string_view name);
// Takes the item onto the cursor (its template's icon pictures and hot spot).
void holdItem(GameState& g, std::string_view name);
// The item taken from inventory slot `slot` becomes the cursor, showing the slot's
// picture of it.
void takeOntoCursor(GameState& g, int slot, const std::string& item);
// Advances the cursor's animation by one logic tick.
void animateCursor(GameState& g);

}  // namespace zk
