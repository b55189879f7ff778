#pragma once
#include <filesystem>
#include <optional>

#include "data/game_state.h"
#include "save/slot_format.h"

namespace zk {

// Save slot `slot` is the archive "slot" + slot + ".sav" in g.saveFolder.
std::filesystem::path slotPath(const GameState& g, int slot);

// Writes the whole changeable game state into save slot `slot` ("savegame"), showing
// the saving picture meanwhile. The slot is written beside its old file and renamed
// over it only when complete, so a failed save (one error reported, naming the file)
// leaves the old slot as it was. Returns whether the slot was written.
bool saveGame(GameState& g, int slot);

// Reads save slot `slot` and checks every member against the running game, which is
// not touched. A missing slot gives nothing; a broken one reports one error and gives
// nothing.
std::optional<SavedGame> readSaveSlot(const GameState& g, int slot);

// "savelastgs": the thumbnail of the next save becomes `width` x `height` pixels
// sampled (nearest, truncated) from the last displayed frame. A size of 0 or less
// gives an empty thumbnail.
void captureThumbnail(GameState& g, int width, int height);

// "setslotspr": the thumbnail stored in slot `slot`, if the slot exists, becomes the
// sprite picture list (image slot 3) of the object at position `object` of the current
// room, its first picture drawn without transparency. A slot without a thumbnail
// leaves the object's picture as it was.
void showSlotThumbnail(GameState& g, int object, int slot);

}  // namespace zk
