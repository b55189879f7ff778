#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "asset_folder.h"
#include "core/code_page.h"
#include "diagnostics.h"

namespace zk::tools {

// Checks of what a game means rather than how it is written: mistakes that pack
// without a word and show only when the game is played. They warn, since a game may
// mean some of them (a character parked off the floor on purpose).

struct SourceSpot {
    std::string file;
    int line = 0;
};

// The pictures a room stands on.
struct RoomPictures {
    std::string name;        // record text
    std::string background;  // picture-list names, record texts
    std::string mask;
    bool gameRoom = true;  // the main character walks in it
    SourceSpot maskAt;
};

// A point of a room where a character stands or walks to.
struct RoomPoint {
    std::string room;
    int x = 0;
    int y = 0;
    std::string what;  // how the message names it: "placement 0 (hero)"
    SourceSpot at;
};

// Warns of walk masks of another size than their background and of points off the
// walkable area, with the nearest walkable point. `assets` are the package entries made
// of the asset folders.
void checkRoomGeometry(const std::vector<RoomPictures>& rooms, const std::vector<RoomPoint>& points,
                       const std::vector<PackageEntry>& assets, const CodePage& page,
                       Diagnostics& diag);

// A text the game shows through the language table.
struct ShownText {
    std::string key;  // record text
    std::string what;
    SourceSpot at;
};

// Warns of shown texts without a line for a language the game uses (other than 0,
// which shows the keys themselves). `table` is "languages.txt" as packed.
void checkTranslations(const std::vector<ShownText>& texts,
                       const std::map<int, SourceSpot>& languages,
                       const std::vector<uint8_t>& table, const CodePage& page, Diagnostics& diag);

// Warns when "languages.txt" of a game without metadata, which is stored as it is and
// read in Windows-1252, is written in UTF-8.
void checkUntaggedLanguageFile(const std::vector<uint8_t>& file, Diagnostics& diag);

}  // namespace zk::tools
