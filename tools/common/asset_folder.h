#pragma once
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/code_page.h"
#include "diagnostics.h"

namespace zk::tools {

// What a picture list is for, which decides how PNG images are stored.
enum class PictureRole {
    Plain,       // colour-keyed bitmaps
    Background,  // opaque pictures are stored as JPEG unless told otherwise
    WalkMask,    // two-colour, white walkable: an 8-bit bitmap whose white is index 1
};

// One folder of pictures and sounds and where its lists go in the package.
struct AssetFolder {
    std::filesystem::path root;  // the source folder
    std::string rel;             // relative to it ("objects/door"); the folder is root / rel
    std::string
        entryPrefix;  // package folder with a trailing "\" ("objects\door\"), or "" (Windows-1252)
    std::string waveListName;  // "waves.dxw", "sounds.dxw"
    std::function<PictureRole(const std::string& listName)> role;
    CodePage codePage;  // of the game's texts and entry names
};

struct PackageEntry {
    std::string name;  // "objects\door\door.dxg"
    std::vector<uint8_t> bytes;
    bool compress = true;
};

// What the folders added to the package, for the reference checks.
struct AssetIndex {
    std::set<std::string> pictureLists;                      // lower-case entry names
    std::map<std::string, std::vector<std::string>> sounds;  // wave-list entry -> names
};

// Turns the images, sounds and ready-made lists of a folder into package entries.
void packAssetFolder(const AssetFolder& folder, Diagnostics& diag, std::vector<PackageEntry>& out,
                     AssetIndex& index);

// Entry names compare as the package compares them: "\" and "/" alike, letter case
// (in the game's code page) ignored.
std::string entryKey(const std::string& entryName, const CodePage& page = {});

}  // namespace zk::tools
