#pragma once
#include <string>
#include <string_view>

#include "data/game_state.h"

namespace zk {

// After this many different problems, a damaged package has said enough: one more
// report says that further ones are not shown, and the rest are dropped (in a window
// each report is a message box).
inline constexpr size_t kMaxReportedErrors = 10;
inline constexpr std::string_view kMoreErrorsMessage =
    "There are more errors in the game data; they are not shown";

// Reports a problem with the game's data once: the same message is not repeated, and
// after kMaxReportedErrors different ones nothing more is reported.
void reportError(GameState& g, const std::string& message);
// Reports a problem the player caused now (a failed save or load), even when it was
// reported before or the data errors have reached their limit.
void reportErrorAgain(GameState& g, const std::string& message);

// Loads the picture list `entry` of the game package into `list`. A missing entry
// leaves the list empty and reports an error naming it; a damaged one reports the
// reader's error. Returns whether the list was loaded.
bool loadPictureList(GameState& g, const std::string& entry, PictureList& list);

// Last room named `name` ("<actual>": the current room's name), -1 if none.
int findRoom(const GameState& g, std::string_view name);
// Last object named `name` in room `room`, -1 if none (or no such room).
int findRoomObject(const GameState& g, std::string_view name, int room);

// Makes sure the image slot table has a row for object position `position`.
void ensureImageSlotRow(GameState& g, int position);
// Loads the pictures of the object at `position` of room `room` into its image slots.
void loadObjectPictures(GameState& g, int position, int room);

// Loads cursor `name` unless it is empty or already shown.
void setCursor(GameState& g, std::string_view name);
// Takes the item onto the cursor (its template's icon pictures and hot spot).
void holdItem(GameState& g, std::string_view name);

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
