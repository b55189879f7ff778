// The zelkin binary, headless: a game script saves, plays on (hit points, an object
// moved and changed, the language, another room), loads, and the game is back where
// it was saved in everything a slot holds.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "run_zelkin.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"

namespace zk::test {
namespace {

// "hall" holds the hero, a crate and a panel; "cellar" another panel. The panels' key
// events: Space saves into slot 1 (after capturing a thumbnail), Enter plays on, Escape
// loads slot 1.
GameBuilder saveGame() {
    GameBuilder b = GameBuilder::minimal();
    b.addTemplate("crate");
    ObjectRecord& panel = b.addTemplate("panel");
    EventView save = panel.event(0);
    save.setName("onkey");
    save.setNumber(0);
    setCommand(save, 0, "savelastgs", "", "", 80, 60);
    setCommand(save, 1, "savegame", "", "", 1);
    EventView play = panel.event(1);
    play.setName("onkey");
    play.setNumber(1);
    setCommand(play, 0, "sethp", "", "", 9);
    setCommand(play, 1, "changexy", "crate", "hall", 10, 20);
    setCommand(play, 2, "changevar", "crate", "hall", 5);
    play.command(2).setText("opened");
    setCommand(play, 3, "deleteobj", "crate", "cellar");
    setCommand(play, 4, "setlanguage", "", "", 1);
    setCommand(play, 5, "changeroom", "cellar", "");
    EventView load = panel.event(2);
    load.setName("onkey");
    load.setNumber(2);
    setCommand(load, 0, "loadgame", "", "", 1);

    StoredRoomRecord& hall = *b.findRoom("hall");
    b.place(hall, "crate", 200, 300);
    b.place(hall, "panel", 600, 100);
    StoredRoomRecord& cellar = b.addRoom("cellar");
    b.place(cellar, "panel", 600, 100);
    b.place(cellar, "crate", 300, 300);
    b.prefs.setStartRoomOverride("hall");
    b.languages = "text=\"hall\" lang1=\"Halle\"\r\ntext=\"cellar\" lang1=\"Keller\"\r\n";
    return b;
}

// Runs the game headless with `script`; `saves` is the --save-dir option (and any
// others), `environment` goes before the command.
int runZelkin(const TempDir& dir, const std::string& script,
              const std::string& saves = "--save-dir saves", const std::string& environment = "") {
    { std::ofstream(dir.file("input.txt")) << script; }
    const std::string cmd =
        "cd '" + dir.path().string() + "' && " + environment + " '" + ZELKIN_BINARY + "' '" +
        dir.file("game.tgp") + "' --headless --seed 3 --input '" + dir.file("input.txt") +
        "' --out '" + dir.file("out") + "' " + saves + " 2>'" + dir.file("stderr.txt") + "'";
    int raw = std::system(cmd.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// The top-level members of a state dump, each as its JSON text (the dump puts every
// top-level member on a line of its own).
std::map<std::string, std::string> dumpMembers(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::map<std::string, std::string> members;
    for (std::string line; std::getline(in, line);) {
        size_t start = line.find('"');
        size_t end = start == std::string::npos ? start : line.find("\":", start + 1);
        if (end == std::string::npos) continue;
        std::string value = line.substr(end + 2);
        while (!value.empty() && (value.back() == ',' || value.back() == ' ')) value.pop_back();
        while (!value.empty() && value.front() == ' ') value.erase(0, 1);
        members[line.substr(start + 1, end - start - 1)] = value;
    }
    return members;
}

TEST(SaveEndToEnd, ALoadBringsBackEverySavedPartOfTheGame) {
    TempDir dir;
    saveGame().write(dir.file("game.tgp"));
    ASSERT_EQ(runZelkin(dir,
                        "wait 2\n"
                        "key space\n"
                        "state saved\n"
                        "key enter\n"
                        "wait 2\n"
                        "state changed\n"
                        "key escape\n"
                        "wait 2\n"
                        "state loaded\n"),
              0);
    ASSERT_TRUE(std::filesystem::exists(dir.path() / "saves" / "slot1.sav"))
        << "the \"savegame\" command wrote no slot";
    auto saved = dumpMembers(dir.path() / "out" / "saved.json");
    auto changed = dumpMembers(dir.path() / "out" / "changed.json");
    auto loaded = dumpMembers(dir.path() / "out" / "loaded.json");
    ASSERT_TRUE(saved.count("rooms")) << "no state dump";

    // Playing on changed what a load must bring back ...
    for (const char* key : {"rooms", "hitPoints", "language", "currentRoom", "currentRoomIndex"})
        EXPECT_NE(changed[key], saved[key]) << key << " did not change between save and load";
    // ... and the load brought back every part of it.
    for (const char* key :
         {"rooms", "inventory", "hitPoints", "statusCounters", "language", "currentRoom",
          "currentRoomIndex", "returnRoom", "stashedHeldItem", "heldItem", "currentRoomTitle"})
        EXPECT_EQ(loaded[key], saved[key]) << key;
    EXPECT_EQ(loaded["errors"], "[]");
    EXPECT_EQ(saved["currentRoom"], "\"hall\"");
}

TEST(SaveEndToEnd, ContinueResumesTheAutosaveAndTheDumpNamesTheSaveFolder) {
    TempDir dir;
    saveGame().write(dir.file("game.tgp"));
    ASSERT_EQ(runZelkin(dir, "wait 2\nkey enter\nwait 2\nkey space\nstate saved\n"), 0);
    // An autosave is a slot by another name.
    std::filesystem::copy_file(dir.path() / "saves" / "slot1.sav",
                               dir.path() / "saves" / "autosave.sav");
    ASSERT_EQ(runZelkin(dir, "wait 2\nstate fresh\n"), 0);
    ASSERT_EQ(runZelkin(dir, "wait 2\nstate resumed\n", "--save-dir saves --continue"), 0);
    auto saved = dumpMembers(dir.path() / "out" / "saved.json");
    auto fresh = dumpMembers(dir.path() / "out" / "fresh.json");
    auto resumed = dumpMembers(dir.path() / "out" / "resumed.json");
    EXPECT_NE(fresh["currentRoom"], saved["currentRoom"]) << "a start without --continue is new";
    for (const char* key : {"rooms", "inventory", "hitPoints", "language", "currentRoom",
                            "returnRoom", "currentRoomTitle"})
        EXPECT_EQ(resumed[key], saved[key]) << key;
    EXPECT_EQ(resumed["errors"], "[]");
    EXPECT_EQ(resumed["saveFolder"], "\"" + dir.file("saves") + "\"");
}

TEST(SaveEndToEnd, WithoutASaveFolderARunNeverTouchesThePlayersSaves) {
    TempDir dir;
    saveGame().write(dir.file("game.tgp"));
    std::filesystem::create_directories(dir.path() / "home");
    const std::string environment =
        "HOME='" + dir.file("home") + "' XDG_DATA_HOME='" + dir.file("data") + "'";
    ASSERT_EQ(runZelkin(dir,
                        "wait 2\nkey space\nstate saved\nkey enter\nwait 2\nkey escape\n"
                        "wait 2\nstate loaded\n",
                        "", environment),
              0);
    auto saved = dumpMembers(dir.path() / "out" / "saved.json");
    auto loaded = dumpMembers(dir.path() / "out" / "loaded.json");
    EXPECT_EQ(loaded["rooms"], saved["rooms"]) << "saving and loading work within the run";
    EXPECT_EQ(loaded["errors"], "[]");
    const std::string folder = saved["saveFolder"];
    ASSERT_GT(folder.size(), 3u);
    EXPECT_EQ(folder[1], '/') << folder;
    EXPECT_FALSE(std::filesystem::exists(folder.substr(1, folder.size() - 2)))
        << "the run's own folder goes with it";
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "data"));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "home"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "saves"));
}

// A player unpacks the bundle's tarball into a folder with spaces in its name and runs
// its start script from another such folder: the game plays and saves beside itself.
TEST(SaveEndToEnd, ABundleUnpackedAnywherePlaysAndKeepsItsSavesBesideItself) {
    TempDir dir;
    GameBuilder game = saveGame();
    game.prefs.setTitle("Save: the game");
    game.write(dir.file("game.tgp"));
    const std::string tarball = dir.file("Save game.tar.gz");
    const std::string pack = shellQuote(ZELKIN_PACK_BINARY) + " --bundle " +
                             shellQuote(dir.file("game.tgp")) + " -o " + shellQuote(tarball);
    ASSERT_EQ(std::system((pack + " >/dev/null").c_str()), 0) << pack;
    const std::filesystem::path unpacked = dir.path() / "my games" / "it's here";
    const std::filesystem::path elsewhere = dir.path() / "some other place";
    std::filesystem::create_directories(unpacked);
    std::filesystem::create_directories(elsewhere);
    std::filesystem::create_directories(dir.path() / "home");
    ASSERT_EQ(
        std::system(
            ("tar -xzf " + shellQuote(tarball) + " -C " + shellQuote(unpacked.string())).c_str()),
        0);
    // The title made a file name: no ':' in it.
    const std::filesystem::path bundle = unpacked / "Save_ the game";
    for (const char* file : {"zelkin", "Save_ the game.tgp", "start.sh", "Save_ the game.desktop",
                             "Save_ the game.svg", "portable", "README.txt"})
        EXPECT_TRUE(std::filesystem::exists(bundle / file)) << file;

    { std::ofstream(elsewhere / "input.txt") << "wait 2\nkey space\nwait 2\nstate saved\n"; }
    // --continue (with no autosave yet) makes the headless run use the player's folder.
    const std::string run = "cd " + shellQuote(elsewhere.string()) +
                            " && HOME=" + shellQuote(dir.file("home")) +
                            " XDG_DATA_HOME= " + shellQuote((bundle / "start.sh").string()) +
                            " --headless --continue --input input.txt --out out 2>err.txt";
    ASSERT_EQ(std::system(run.c_str()), 0) << run;
    const std::filesystem::path saves = bundle / "saves" / "Save_ the game";
    EXPECT_TRUE(std::filesystem::exists(saves / "slot1.sav"));
    auto saved = dumpMembers(elsewhere / "out" / "saved.json");
    EXPECT_EQ(saved["saveFolder"], "\"" + saves.string() + "\"");
    EXPECT_EQ(saved["errors"], "[]");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "home"));

    // Bundled again over the played folder: new files, the saved game kept.
    std::filesystem::remove(bundle / "start.sh");
    const std::string again = shellQuote(ZELKIN_PACK_BINARY) + " --bundle " +
                              shellQuote(dir.file("game.tgp")) + " -o " +
                              shellQuote(unpacked.string()) + " >/dev/null";
    ASSERT_EQ(std::system(again.c_str()), 0) << again;
    EXPECT_TRUE(std::filesystem::exists(bundle / "start.sh"));
    EXPECT_TRUE(std::filesystem::exists(saves / "slot1.sav"));
}

}  // namespace
}  // namespace zk::test
