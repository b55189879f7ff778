#pragma once
// A game made ready to hand to players: one folder (or tarball) that plays the game
// wherever it is unpacked and keeps its saves beside itself.
#include <filesystem>
#include <string>

namespace zk::tools {

struct BundleParts {
    std::filesystem::path package;  // the game package to ship
    std::filesystem::path engine;   // the zelkin binary to ship
    // The game's own icon (.svg or .png); empty: the engine's icon.
    std::filesystem::path icon;
};

// The name of the bundle's folder and files: the game's title (Windows-1252, as its
// preferences hold it, read in the package's code page) made a safe file name;
// "game" when nothing usable is left. Throws DataError for an unreadable package.
std::string bundleName(const std::filesystem::path& package);

// Writes OUTPUT/NAME/ with the engine, NAME.tgp, start.sh, NAME.desktop, the icon, the
// portable marker and README.txt; with an OUTPUT ending in ".tar.gz", that folder
// packed as the tarball instead. An existing NAME folder is replaced, all but its
// saves/. Returns the folder (or tarball) written. Throws DataError on failure.
std::filesystem::path writeBundle(const BundleParts& parts, const std::filesystem::path& output);

// The engine to ship: "zelkin" beside `toolDir` (a build folder or an installed bin/),
// else the first on PATH. Empty when there is none.
std::filesystem::path findEngine(const std::filesystem::path& toolDir);

// A game's own icon in its source folder (icon.svg or icon.png); empty when it has none.
std::filesystem::path sourceIcon(const std::filesystem::path& sourceFolder);

}  // namespace zk::tools
