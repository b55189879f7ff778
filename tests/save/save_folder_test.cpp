#include "save/save_folder.h"

#include <gtest/gtest.h>
#include <utime.h>

#include <fstream>

#include "support/temp_dir.h"

namespace zk {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

TEST(GameIdentity, TheMetadataIdWinsElseTheTitleMadeSafeAsAFileName) {
    EXPECT_EQ(gameIdentity("tolvan", "Tolvan"), "tolvan");
    EXPECT_EQ(gameIdentity(std::nullopt, "Tolvan"), "Tolvan");
    // Windows-1252 titles become UTF-8 names; separators and the like do not survive.
    EXPECT_EQ(gameIdentity(std::nullopt, "Caf\xE9: Chapter 1/2?"), "Caf\xC3\xA9_ Chapter 1_2_");
    EXPECT_EQ(gameIdentity(std::nullopt, "..\\..\\etc"), "_.._etc");
    EXPECT_EQ(gameIdentity("../../x", "T"), "_.._x");
    EXPECT_EQ(gameIdentity(std::nullopt, " .hidden. "), "hidden");
    EXPECT_EQ(gameIdentity(std::nullopt, std::string("a\nb\0c", 5)), "a_b_c");
    // Nothing usable: the title, else a fixed name.
    EXPECT_EQ(gameIdentity("..", "Title"), "Title");
    EXPECT_EQ(gameIdentity(std::nullopt, ""), "game");
    EXPECT_EQ(gameIdentity(std::nullopt, std::string(300, 'x')), std::string(100, 'x'));
    // A cut never splits a character: 99 bytes, then a two-byte one that does not fit.
    EXPECT_EQ(safeFileName(std::string(99, 'x') + "\xC3\xA9"), std::string(99, 'x'));
    EXPECT_EQ(safeFileName("\xFF"), "_");
}

TEST(SaveFolder, PerGameUnderTheDataHomeOrBesideThePortableExecutable) {
    TempDir dir;
    const fs::path exe = dir.path() / "bin";
    fs::create_directories(exe);
    EXPECT_FALSE(portableMode(exe));
    EXPECT_EQ(playerSaveFolder(exe, "/home/p/.local/share", "Tolvan"),
              fs::path("/home/p/.local/share/zelkin/Tolvan/saves"));
    std::ofstream(exe / "portable").put('\n');
    EXPECT_TRUE(portableMode(exe));
    EXPECT_EQ(playerSaveFolder(exe, "/home/p/.local/share", "Tolvan"), exe / "saves" / "Tolvan");
    EXPECT_EQ(sharedSaveFolders(exe, "/d"),
              (std::vector<fs::path>{exe / "saves", "/d/zelkin/saves"}));
}

TEST(SaveFolder, TheDataHomeIsAnAbsoluteXdgDataHomeElseHomeLocalShare) {
    const char* oldXdg = std::getenv("XDG_DATA_HOME");
    const std::string keptXdg = oldXdg ? oldXdg : "";
    const char* oldHome = std::getenv("HOME");
    const std::string keptHome = oldHome ? oldHome : "";
    setenv("HOME", "/home/player", 1);
    setenv("XDG_DATA_HOME", "/data", 1);
    EXPECT_EQ(playerDataHome(), fs::path("/data"));
    setenv("XDG_DATA_HOME", "relative/data", 1);
    EXPECT_EQ(playerDataHome(), fs::path("/home/player/.local/share"));
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(playerDataHome(), fs::path("/home/player/.local/share"));
    if (oldXdg) setenv("XDG_DATA_HOME", keptXdg.c_str(), 1);
    if (oldHome) setenv("HOME", keptHome.c_str(), 1);
}

TEST(SaveFolder, StaleTemporariesOfUnfinishedSavesGoFinishedSlotsStay) {
    TempDir dir;
    const std::time_t now = std::time(nullptr);
    auto make = [&](const std::string& name, std::time_t age) {
        std::ofstream(dir.path() / name) << "data";
        struct utimbuf t = {now - age, now - age};
        ::utime((dir.path() / name).c_str(), &t);
    };
    make(".slot1.sav.a1B2c3", 3600);
    make(".slot12.sav.zzzzzz", 61);
    make(".autosave.sav.Q9q9Q9", 7200);
    make(".slot2.sav.abc123", 10);  // a save running now in another engine
    make("slot1.sav", 3600);
    make("autosave.sav", 3600);
    make(".slot1.sav", 3600);
    make(".slotx.sav.abc123", 3600);
    make(".notes.txt.abc123", 3600);
    fs::create_directory(dir.path() / ".slot3.sav.folder");

    EXPECT_EQ(removeStaleSaveTemporaries(dir.path(), now), 3);
    std::set<std::string> left;
    for (const auto& e : fs::directory_iterator(dir.path())) left.insert(e.path().filename());
    EXPECT_EQ(left, (std::set<std::string>{".slot2.sav.abc123", "slot1.sav", "autosave.sav",
                                           ".slot1.sav", ".slotx.sav.abc123", ".notes.txt.abc123",
                                           ".slot3.sav.folder"}));
    EXPECT_EQ(removeStaleSaveTemporaries(dir.path() / "missing", now), 0);
}

}  // namespace
}  // namespace zk
