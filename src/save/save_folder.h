#pragma once
// Where a game's save slots live, and the care the folder needs at start-up.
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

// The identity of a game: its folder name for saves and the owner recorded in its
// slots. `metadataId` is the id the package's metadata gives, where it has one;
// otherwise (or when the id leaves nothing usable) the title (Windows-1252, as the
// preferences record holds it) made safe as a file name.
std::string gameIdentity(std::optional<std::string_view> metadataId, std::string_view title);

// UTF-8 text made usable as one file name: control characters and / \ : * ? " < > |
// become '_', leading and trailing blanks and dots go, at most 100 bytes are kept;
// empty when nothing is left.
std::string safeFileName(std::string_view utf8);

// The base folder of the player's data: $XDG_DATA_HOME when it is absolute, else
// $HOME/.local/share.
std::filesystem::path playerDataHome();

// In portable mode (a file named "portable" beside the executable: a game unpacked
// and played from its folder) saves stay beside the executable.
bool portableMode(const std::filesystem::path& executableDir);

// The player's save folder of game `identity`: executableDir/saves/GAME in portable
// mode, else dataHome/zelkin/GAME/saves.
std::filesystem::path playerSaveFolder(const std::filesystem::path& executableDir,
                                       const std::filesystem::path& dataHome,
                                       const std::string& identity);

// The folders that engines before per-game folders shared between all games, in the
// order they preferred them: "saves" beside the executable, dataHome/zelkin/saves.
std::vector<std::filesystem::path> sharedSaveFolders(const std::filesystem::path& executableDir,
                                                     const std::filesystem::path& dataHome);

// Whether `name` is a save slot's file name: "slot" + N + ".sav", or the autosave.
bool isSlotFileName(std::string_view name);

// Removes the temporary files of saves that never finished (killed or cut off by a
// power loss) from `folder`: hidden slot names with a random suffix, last changed
// before `now` less a minute, so a save running in another engine at the same time
// keeps its file. Finished slots are never touched. Returns how many were removed.
int removeStaleSaveTemporaries(const std::filesystem::path& folder, std::time_t now);

}  // namespace zk
