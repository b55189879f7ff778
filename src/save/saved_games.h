#pragma once
#include <filesystem>
#include <optional>
#include <vector>

#include "data/game_state.h"
#include "save/slot_format.h"

namespace zk {

// Save slot `slot` is the archive "slot" + slot + ".sav" in g.session.saveFolder.
std::filesystem::path slotPath(const GameState& g, int slot);
// The autosave is a slot of its own beside them, outside the game's numbered slots.
std::filesystem::path autosavePath(const GameState& g);

// Writes the whole changeable game state into save slot `slot` ("savegame"), showing
// the saving picture meanwhile. The slot is written beside its old file and renamed
// over it only when complete, so a failed save (one error reported, naming the file)
// leaves the old slot as it was. Returns whether the slot was written.
bool saveGame(GameState& g, int slot);

// Reads save slot `slot` and checks every member against the running game, which is
// not touched. A missing slot gives nothing; a broken one reports one error and gives
// nothing, and so does a slot another game wrote: "slot N belongs to another game
// ('TITLE')". A slot without "zelkin-meta.txt" is checked by its rooms and counts only.
std::optional<SavedGame> readSaveSlot(const GameState& g, int slot);

// Writes the autosave: like saveGame, without the saving picture, with a thumbnail of
// the last frame (the game's own thumbnail for its next save stays as it is) and the
// item in hand. A failure is reported every time.
bool writeAutosave(GameState& g);
// Whether the game may be autosaved now: loaded, in a play room, with no fade, no
// open dialogue and no script waiting in the queue; and, unless the player is
// quitting, no walk in progress.
bool autosaveAllowed(const GameState& g, bool quitting);
// Reads the autosave as readSaveSlot reads a slot.
std::optional<SavedGame> readAutosave(const GameState& g);

// Whether the slot at `path` was written by this game: its "zelkin-meta.txt" names
// it, or, without that member, its saved rooms are exactly the game's rooms. A slot
// that cannot be read is not.
bool isSlotOfGame(const GameState& g, const std::filesystem::path& path);

// At a game's first start (its save folder missing or empty), copies the slots of
// this game found in `sharedFolders` (earlier engines' folders shared by all games)
// into g.session.saveFolder; the first folder wins for a slot found in two. Nothing is removed
// from the shared folders. Returns the folders copied from, with the number of slots.
struct CopiedSlots {
    int count = 0;
    std::vector<std::filesystem::path> from;
};
CopiedSlots copySlotsFromSharedFolders(const GameState& g,
                                       const std::vector<std::filesystem::path>& sharedFolders);

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
