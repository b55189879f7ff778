#pragma once
// A source folder written in code for the authoring-tool tests, and the package the
// builder makes of it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "assets/image.h"
#include "assets/wave_list.h"
#include "media_files.h"
#include "pack.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"

namespace zk::test {

struct SourceTree {
    TempDir dir;

    std::filesystem::path path(const std::string& rel) const { return dir.path() / "game" / rel; }
    void text(const std::string& rel, const std::string& content) const {
        std::filesystem::create_directories(path(rel).parent_path());
        std::ofstream(path(rel), std::ios::binary) << content;
    }
    void png(const std::string& rel, const Image& image,
             const std::vector<uint8_t>* alpha = nullptr) const {
        std::filesystem::create_directories(path(rel).parent_path());
        tools::writePngFile(path(rel), image, alpha);
    }
    void bytes(const std::string& rel, const std::vector<uint8_t>& b) const {
        std::filesystem::create_directories(path(rel).parent_path());
        tools::writeFileBytes(path(rel), b);
    }
    void remove(const std::string& rel) const { std::filesystem::remove_all(path(rel)); }

    // The smallest game that starts: room "hall" with the main character "hero".
    void minimalGame() const {
        text("game.toml",
             "title = \"Test\"\nmainCharacterName = \"hero\"\nstartCursor = \"arrow\"\n");
        text("cursors.toml", "[[cursor]]\nname = \"arrow\"\nframeDelay = 100\n");
        text("inventory.toml", "barY = 540\n");
        png("interface/inv.png", solidImage(100, 60, 0x404040));
        png("interface/saving.png", solidImage(200, 50, 0x202080));
        png("cursors/arrow/sprite.png", solidImage(8, 8, 0xFFFFFF));
        text("objects/hero.toml",
             "kind = \"character\"\nspriteFile = \"stand.dxg\"\nstandRightSprite = \"stand.dxg\"\n"
             "anchorX = 10\nanchorY = 40\n");
        png("objects/hero/stand.png", solidImage(20, 40, 0xC02020));
        text("rooms/hall.toml",
             "background = \"background.dxg\"\nmaskFile = \"mask.dxg\"\n\n"
             "[[placement]]\nname = \"hero\"\nx = 400\ny = 400\n");
        png("rooms/hall/background.png", solidImage(800, 600, 0x607080));
        png("rooms/hall/mask.png", solidImage(800, 600, 0xFFFFFF));
    }

    // Builds the entries; the diagnostics are kept for the test to read.
    bool build(std::vector<tools::PackageEntry>& entries, tools::Diagnostics& diag) const {
        return tools::buildPackage(dir.path() / "game", entries, diag);
    }
    // Builds and writes the package, failing the test on any error.
    std::string pack() const {
        std::vector<tools::PackageEntry> entries;
        tools::Diagnostics diag;
        bool ok = build(entries, diag);
        std::string messages;
        for (const auto& d : diag.all()) messages += d.text() + "\n";
        EXPECT_TRUE(ok) << messages;
        const std::string out = dir.file("game.tgp");
        if (ok) tools::writePackage(entries, out);
        return out;
    }
};

inline const tools::PackageEntry* findEntry(const std::vector<tools::PackageEntry>& entries,
                                            const std::string& name) {
    for (const auto& e : entries)
        if (e.name == name) return &e;
    return nullptr;
}

// A short PCM wave whose bytes depend on `seed`.
inline Wave testWave(int seed, size_t samples = 400) {
    Wave w;
    w.format = pcmFormat(1, 8000, 16);
    w.samples.resize(samples);
    for (size_t i = 0; i < samples; ++i) w.samples[i] = static_cast<uint8_t>(i * seed + 3);
    return w;
}

// A small but complete game in source form: two rooms joined by a zone, a door with
// scripts, an item, music, sounds and a language table.
inline void writeDoorGame(const SourceTree& s) {
    s.minimalGame();
    s.text("game.toml", R"(title = "Door game"
mainCharacterName = "hero"
startCursor = "arrow"
language = 1
dialogImages = true
walkToPickUp = false
wrongSubjectTexts = ["No.", "Never."]
)");
    s.png("interface/dlg.png", solidImage(400, 200, 0x303030));
    s.bytes("interface/take.wav", tools::wavFile(testWave(1)));
    s.text("inventory.toml", R"(barY = 540
[[slot]]
rect = [10, 545, 60, 595]
item = "key"
)");
    s.text("music.toml", "[[music]]\nname = \"theme\"\nfile = \"theme.mid\"\n");
    s.bytes("music/theme.mid", {'M', 'T', 'h', 'd', 0, 0, 0, 6});
    s.text("languages.txt", "text=\"door\" lang1=\"Door\"\r\n");
    s.text("objects/door.toml", R"(displayNameKey = "door"
spriteFile = "door.dxg"
hoverCursor = "arrow"
depth = 5

[[event]]
name = "onclick"
script = '''
walkto hero <left> 580 400 1     # to the door
showhint <self> true "It's locked. \"Really\""
changeroom street gate
'''

[[event]]

[[event]]
name = "onusewith"
item = "key"
script = '''
playsnd <self> creak
deleteobj <self> <actual>
'''

[[event]]
name = "ontimer"
timer = 2
period = 500
)");
    s.png("objects/door/door.png", solidImage(30, 60, 0x805020));
    s.bytes("objects/door/creak.wav", tools::wavFile(testWave(2)));
    s.text("objects/key.toml", "kind = \"subject\"\niconFile = \"icon.dxg\"\ncursorHotX = 3\n");
    s.png("objects/key/icon.png", solidImage(16, 16, 0xE0E000));
    Image mask = solidImage(800, 600, 0xFFFFFF);
    for (int i = 0; i < 800 * 300; ++i) mask.pixels[size_t(i)] = 0;  // the upper half is wall
    s.png("rooms/hall/mask.png", mask);
    s.text("rooms/hall.toml", R"(titleKey = "hall"
background = "background.dxg"
maskFile = "mask.dxg"
music = "theme"

[[placement]]
name = "hero"
x = 400
y = 400

[[placement]]
name = "door"
x = 600
y = 400

[[zone]]
rect = [0, 300, 40, 600]
walkX = 20
walkY = 450
hintKey = "To the street"
targetRoom = "street"
targetEntrance = "gate"
)");
    s.text("rooms/street.toml", R"(background = "background.dxg"
maskFile = "mask.dxg"

[[entrance]]
name = "gate"
facing = "<right>"
x = 40
y = 450
walkX = 80
walkY = 450
)");
    s.png("rooms/street/background.png", solidImage(800, 600, 0x406040));
    s.png("rooms/street/mask.png", solidImage(800, 600, 0xFFFFFF));
}

// A source mistake for the checks' tests: what it is, how a tree is made to hold it, and
// where and how it must be reported.
struct Mistake {
    std::string what;
    std::function<void(const SourceTree&)> make;
    std::string file;
    int line;
    std::string message;  // a part of the message
};

}  // namespace zk::test
