#pragma once
// Game start-up (the loader's steps) and the restoring of a saved game.
#include "data/game_state.h"

namespace zk {

enum class LoadOutcome { Loaded, NoStartRoom };

// Reads the preferences record from the package into g.prefs (extracted to the
// extraction folder first). Throws DataError naming the file when it cannot.
void loadPreferencesFromPackage(GameState& g);

// The loader's main work: extracts and reads every data file, creates the image slot
// table, loads the interface pictures, sounds and language table, resets the play
// state and enters the start room, then sets gameLoaded. Throws DataError for a file
// that cannot be read. Without a start room nothing is entered and NoStartRoom returns.
LoadOutcome loadGame(GameState& g);

// Restores save slot `slot` ("loadgame") and enters the saved room. A missing slot
// does nothing. Every member is read and checked before the game is touched: a broken
// slot reports one error and changes nothing. Returns whether a slot was loaded.
bool loadGame(GameState& g, int slot);
// Resumes the game from its autosave ("--continue"), the item in hand included, in
// place of the new game the loader started. Without an autosave nothing changes; a
// broken one (or another game's) reports one error and changes nothing. Returns
// whether the autosave was loaded.
bool continueFromAutosave(GameState& g);

// Reads "inv.dat" again with the inventory bar picture and empty slot pictures.
void loadInventoryRecord(GameState& g, const std::string& fileName);
// Rebuilds the room table from "rooms.dat".
void reloadRooms(GameState& g);

}  // namespace zk
