#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "e2e/run_zelkin.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"

namespace zk {
namespace {

using test::GameBuilder;
using test::runZelkinArgs;
using test::shellQuote;
using test::TempDir;
namespace fs = std::filesystem;

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A rainy room with a walk, so that randomness and movement both show in the results.
GameBuilder rainyGame() {
    GameBuilder b = GameBuilder::minimal();
    b.rooms[0].setWeather("Rain");
    b.addTemplate("lamp");
    b.place(b.rooms[0], "lamp", 200, 300);
    return b;
}

TEST(HeadlessRun, ScriptWritesItsFilesAndTwoRunsWithOneSeedAreIdentical) {
    TempDir dir;
    rainyGame().write(dir.file("game.tgp"));
    std::ofstream(dir.file("script.txt")) << "# walk, then look\n"
                                             "wait 3\n"
                                             "click 300 450\n"
                                             "shots walk\n"
                                             "wait 2\n"
                                             "shots off\n"
                                             "wait 10\n"
                                             "screenshot end\n"
                                             "state end\n";
    auto runInto = [&](const std::string& out) {
        return runZelkinArgs(shellQuote(dir.file("game.tgp")) + " --headless --seed 42 --input " +
                                 shellQuote(dir.file("script.txt")) + " --out " + shellQuote(out) +
                                 " --save-dir " + shellQuote(dir.file("saves")),
                             dir.file("err.txt"));
    };
    auto first = runInto(dir.file("one"));
    ASSERT_EQ(first.status, 0) << first.stderrText;
    auto second = runInto(dir.file("two"));
    ASSERT_EQ(second.status, 0) << second.stderrText;

    for (const char* name : {"end.png", "end.json", "walk-0001.png", "walk-0002.png"}) {
        ASSERT_TRUE(fs::exists(dir.path() / "one" / name)) << name;
        EXPECT_EQ(readFile(dir.path() / "one" / name), readFile(dir.path() / "two" / name)) << name;
    }
    EXPECT_FALSE(fs::exists(dir.path() / "one" / "walk-0003.png"));
    const std::string state = readFile(dir.path() / "one" / "end.json");
    EXPECT_NE(state.find("\"frame\": 17"), std::string::npos);
    EXPECT_NE(state.find("\"currentRoom\": \"hall\""), std::string::npos);
    EXPECT_NE(state.find("\"mouse\": [300,450]"), std::string::npos);

    // Another seed makes other rain.
    auto other = runZelkinArgs(shellQuote(dir.file("game.tgp")) + " --headless --seed 43 --input " +
                                   shellQuote(dir.file("script.txt")) + " --out " +
                                   shellQuote(dir.file("three")),
                               dir.file("err.txt"));
    ASSERT_EQ(other.status, 0);
    EXPECT_NE(readFile(dir.path() / "three" / "end.json"), state);
}

TEST(HeadlessRun, ExitStatusesNameTheProblem) {
    TempDir dir;
    auto missing =
        runZelkinArgs(shellQuote(dir.file("missing.tgp")) + " --headless", dir.file("err.txt"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.stderrText.find("missing.tgp"), std::string::npos);
    EXPECT_EQ(std::count(missing.stderrText.begin(), missing.stderrText.end(), '\n'), 1);

    GameBuilder::minimal().write(dir.file("game.tgp"));
    std::ofstream(dir.file("bad.txt")) << "wait 1\nclick 1 2 3\n";
    auto bad = runZelkinArgs(
        shellQuote(dir.file("game.tgp")) + " --headless --input " + shellQuote(dir.file("bad.txt")),
        dir.file("err.txt"));
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.stderrText.find("line 2"), std::string::npos);

    EXPECT_EQ(runZelkinArgs("--no-such-option", dir.file("err.txt")).status, 2);
    EXPECT_EQ(runZelkinArgs("--version", dir.file("err.txt")).status, 0);

    auto frames = runZelkinArgs(shellQuote(dir.file("game.tgp")) + " --headless --frames 5",
                                dir.file("err.txt"));
    EXPECT_EQ(frames.status, 0) << frames.stderrText;
    EXPECT_EQ(frames.stderrText, "");
}

TEST(HeadlessRun, NoStartRoomIsAMessageAndStatusOne) {
    TempDir dir;
    GameBuilder b = GameBuilder::minimal();
    b.rooms[0].placement(0).setName("");
    b.write(dir.file("game.tgp"));
    auto run = runZelkinArgs(shellQuote(dir.file("game.tgp")) + " --headless --frames 3",
                             dir.file("err.txt"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.stderrText.find("No game startroom found"), std::string::npos);
}

}  // namespace
}  // namespace zk
