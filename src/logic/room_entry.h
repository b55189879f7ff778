#pragma once
// Game flow: room entry and what it loads, the cursor and the held item, and the
// lookups of rooms and objects by name.
#include <string>
#include <string_view>

#include "data/error_log.h"
#include "data/game_state.h"

namespace zk {

// Loads the picture list `entry` of the game package into `list`. A missing entry
// leaves the list empty and reports an error naming it; a damaged one reports the
// reader's error. Returns whether the list was loaded.
bool loadPictureList(GameState& g, const std::string& entry, PictureList& list);

// Last room named `name` ("<actual>": the current room's name), -1 if none.
int findRoom(const GameState& g, std::string_view name);
// Last object named `name` in room `room`, -1 if none (or no such room).
int findRoomObject(const GameState& g, std::string_view name, int room);

// Loads the pictures of the object at `position` of room `room` into its image slots.
void loadObjectPictures(GameState& g, int position, int room);

// Loads picture 0 of "inv.dxg" as the inventory bar picture.
void loadInventoryPanel(GameState& g);

// Keeps slot i's picture and label in step with its item (enabled slots holding an
// item only). An item without a template keeps the slot's old picture and label.
void refreshSlotPicture(GameState& g, int i);

// Makes room `index` the current scene. An index that names no room changes nothing.
void enterRoom(GameState& g, int index);

// Sets the object timers of the current room's objects from their "ontimer" events;
// objects at positions 30 and above have no timers.
void resetObjectTimers(GameState& g);
void setObjectTimersFrom(GameState& g, int position);

}  // namespace zk
