// The author's quick loop: a starter game from zelkin-pack --init, played straight from
// its source folder, started in a room of choice, and packed beside the folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "e2e/run_zelkin.h"
#include "support/temp_dir.h"

namespace zk {
namespace {

using test::runZelkinArgs;
using test::shellQuote;
using test::TempDir;
namespace fs = std::filesystem;

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int runPack(const std::string& args, const std::string& errFile) {
    const std::string command = shellQuote(ZELKIN_PACK_BINARY) + " " + args + " >" +
                                shellQuote(errFile + ".out") + " 2>" + shellQuote(errFile);
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST(QuickLoop, TheStarterGamePlaysItsTestScriptFromTheSourceFolder) {
    TempDir dir;
    const std::string game = dir.file("mygame");
    ASSERT_EQ(runPack("--init " + shellQuote(game), dir.file("init.txt")), 0)
        << readFile(dir.file("init.txt"));
    EXPECT_NE(runPack("--init " + shellQuote(game), dir.file("again.txt")), 0);  // not empty
    EXPECT_NE(readFile(dir.file("again.txt")).find("already exists"), std::string::npos);

    // Played straight from the folder, without a word from the checker.
    const auto run = runZelkinArgs(shellQuote(game) + " --headless --input " +
                                       shellQuote(game + "/tests/play.txt") + " --out " +
                                       shellQuote(dir.file("out")),
                                   dir.file("err.txt"));
    ASSERT_EQ(run.status, 0) << run.stderrText;
    EXPECT_EQ(run.stderrText, "");
    const std::string taken = readFile(dir.file("out/key-taken.json"));
    EXPECT_NE(taken.find("\"heldItem\": \"key\""), std::string::npos) << taken;
    const std::string garden = readFile(dir.file("out/garden.json"));
    EXPECT_NE(garden.find("\"currentRoom\": \"garden\""), std::string::npos) << garden;
    const std::string talk = readFile(dir.file("out/dialogue.json"));
    EXPECT_NE(talk.find("\"open\": true"), std::string::npos) << talk;
    EXPECT_NE(talk.find("\"warnings\": []"), std::string::npos) << talk;

    // Packed beside the folder when no -o is given.
    ASSERT_EQ(runPack(shellQuote(game + "/"), dir.file("pack.txt")), 0)
        << readFile(dir.file("pack.txt"));
    EXPECT_EQ(readFile(dir.file("pack.txt")), "");  // no warnings
    EXPECT_TRUE(fs::is_regular_file(dir.file("mygame.tgp")));
}

TEST(QuickLoop, RoomAndEntranceChooseTheStartAndNamesThatAreNotThereAreSaid) {
    TempDir dir;
    const std::string game = dir.file("g");
    ASSERT_EQ(runPack("--init " + shellQuote(game), dir.file("init.txt")), 0);
    std::ofstream(dir.file("s.txt")) << "state start\n";
    auto start = [&](const std::string& options) {
        return runZelkinArgs(shellQuote(game) + " --headless --input " +
                                 shellQuote(dir.file("s.txt")) + " --out " +
                                 shellQuote(dir.file("out")) + " " + options,
                             dir.file("err.txt"));
    };
    auto there = start("--room garden --entrance fromhall");
    ASSERT_EQ(there.status, 0) << there.stderrText;
    const std::string s = readFile(dir.file("out/start.json"));
    EXPECT_NE(s.find("\"currentRoom\": \"garden\""), std::string::npos);
    // The main character stands at the entrance and walks in from there.
    EXPECT_NE(s.find("{\"name\": \"hero\",\"kind\": \"character\",\"x\": 60,\"y\": 440"),
              std::string::npos)
        << s;

    auto noRoom = start("--room gardn");
    EXPECT_EQ(noRoom.status, 1);
    EXPECT_NE(noRoom.stderrText.find("--room: the game has no room 'gardn' (there are: garden, "
                                     "hall)"),
              std::string::npos)
        << noRoom.stderrText;
    auto noEntrance = start("--room garden --entrance door");
    EXPECT_EQ(noEntrance.status, 1);
    EXPECT_NE(noEntrance.stderrText.find("room 'garden' has no entrance 'door' (there are: "
                                         "fromhall)"),
              std::string::npos)
        << noEntrance.stderrText;

    // A source folder with an error is not played; the checker says why.
    std::ofstream(game + "/rooms/garden.toml", std::ios::app) << "bogus = 1\n";
    auto broken = start("");
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.stderrText.find("rooms/garden.toml:"), std::string::npos) << broken.stderrText;
    EXPECT_NE(broken.stderrText.find("not played"), std::string::npos);
}

}  // namespace
}  // namespace zk
