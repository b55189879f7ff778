#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zk {

// The engine's command line: zelkin [PACKAGE] [OPTIONS].
struct CommandLine {
    std::string packagePath;  // empty: "Tolvan.tgp" beside the executable
    bool headless = false;
    std::string inputFile;
    std::optional<int64_t> frames;
    int frameMs = 25;
    std::string outDir = ".";
    std::optional<uint32_t> seed;
    std::string saveDir;
    std::optional<bool> fullScreen;  // --windowed / --fullscreen
    int scale = 0;                   // --scale N: window at N times the display size
    bool debug = false;
    bool continueGame = false;  // --continue: resume from this game's autosave
    std::string startRoom;      // --room NAME
    std::string startEntrance;  // --entrance NAME
    bool watch = false;         // --watch: a source folder is packed again when it changes
    std::string settingsFile;   // --settings FILE: the player settings to use
    bool version = false;
    bool help = false;
};

struct CommandLineResult {
    CommandLine options;
    std::string error;  // non-empty: a bad command line (exit status 2)
};

CommandLineResult parseCommandLine(const std::vector<std::string>& args);
std::string usageText();

}  // namespace zk
