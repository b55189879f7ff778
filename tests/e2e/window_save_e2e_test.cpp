// The zelkin binary in a window (SDL's dummy video driver): what the player is told
// about saves goes through the window's own error report.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "run_zelkin.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"

namespace zk::test {
namespace {

// The start room saves `saves` times into slot 1, then the game ends itself.
GameBuilder savingGame(int saves) {
    GameBuilder b = GameBuilder::minimal();
    EventView entry = b.addTemplate("notary").event(0);
    entry.setName("onroomenter");
    for (int k = 0; k < saves; ++k) setCommand(entry, k, "savegame", "", "", 1);
    setCommand(entry, saves, "exitgame");
    b.place(*b.findRoom("hall"), "notary", 10, 10);
    return b;
}

ZelkinRun runWindow(const TempDir& dir, const std::string& saveDir) {
    return runZelkinArgs("--save-dir " + shellQuote(saveDir) + " " + shellQuote(dir.file("g.tgp")),
                         dir.file("stderr.txt"));
}

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(WindowSaves, EveryFailedSaveIsReported) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    TempDir dir;
    savingGame(3).write(dir.file("g.tgp"));
    // A folder inside the package file cannot be made.
    ZelkinRun run = runWindow(dir, dir.file("g.tgp") + "/saves");
    EXPECT_EQ(run.status, 0) << run.stderrText;
    EXPECT_EQ(count(run.stderrText, "Error: Cannot save the game to"), 3u) << run.stderrText;
}

TEST(WindowSaves, AWindowStartedWithoutContinueSaysThatItResumesTheAutosave) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    TempDir dir;
    savingGame(1).write(dir.file("g.tgp"));
    ZelkinRun first = runWindow(dir, dir.file("saves"));
    EXPECT_EQ(first.status, 0) << first.stderrText;
    EXPECT_EQ(count(first.stderrText, "--continue"), 0u) << "no autosave yet";
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "saves" / "autosave.sav"))
        << "the game's own end is not the player quitting";

    std::filesystem::copy_file(dir.path() / "saves" / "slot1.sav",
                               dir.path() / "saves" / "autosave.sav");
    ZelkinRun second = runWindow(dir, dir.file("saves"));
    EXPECT_EQ(count(second.stderrText, "start with --continue to resume it"), 1u)
        << second.stderrText;
}

}  // namespace
}  // namespace zk::test
