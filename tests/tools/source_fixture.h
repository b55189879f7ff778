#pragma once
// A source folder written in code for the authoring-tool tests, and the package the
// builder makes of it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

}  // namespace zk::test
