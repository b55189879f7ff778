#include "app/main_window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/error.h"
#include "logic/cursor.h"
#include "logic/loader.h"
#include "logic/room_entry.h"
#include "package/package_writer.h"
#include "platform/headless/headless_platform.h"
#include "save/saved_games.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"

namespace zk {
namespace {

using test::GameBuilder;
using test::TempDir;

struct Started {
    HeadlessPlatform headless;
    Platform platform = headless.platform();
    std::unique_ptr<MainWindow> window;

    explicit Started(WindowOptions options) {
        window = std::make_unique<MainWindow>(platform, std::move(options));
    }
};

TEST(FormCreate, UsesThePackageGivenOrTheOneBesideTheExecutable) {
    TempDir dir;
    GameBuilder game = GameBuilder::minimal();
    game.prefs.setTitle("Given");
    game.write(dir.file("given.tgp"));
    game.prefs.setTitle("Default");
    game.write(dir.file("Tolvan.tgp"));

    Started given({.packagePath = dir.file("given.tgp"), .executableDir = "/nonexistent"});
    given.window->FormCreate();
    EXPECT_EQ(given.headless.display.caption(), "Given");

    Started beside({.executableDir = dir.path()});
    EXPECT_EQ(beside.headless.display.caption(), "Zelkin engine v 0.9");
    beside.window->FormCreate();
    EXPECT_EQ(beside.headless.display.caption(), "Default");
    EXPECT_EQ(beside.window->game().session.packagePath, dir.file("Tolvan.tgp"));
}

TEST(FormCreate, SizesTheDisplayFromThePreferences) {
    TempDir dir;
    GameBuilder game = GameBuilder::minimal();
    game.prefs.setDisplayWidth(640);
    game.prefs.setDisplayHeight(480);
    game.write(dir.file("g.tgp"));
    Started s({.packagePath = dir.file("g.tgp")});
    s.window->FormCreate();
    EXPECT_EQ(s.headless.display.back().width, 640);
    EXPECT_EQ(s.headless.display.back().height, 480);
    EXPECT_FALSE(s.headless.display.isFullScreen());
    EXPECT_TRUE(s.window->loaderPending());
}

TEST(FormCreate, StartFullScreenTogglesOnceAndTheCommandLineOverrides) {
    TempDir dir;
    GameBuilder game = GameBuilder::minimal();
    game.prefs.setStartFullScreen(1);
    game.write(dir.file("g.tgp"));
    Started full({.packagePath = dir.file("g.tgp")});
    full.window->FormCreate();
    EXPECT_TRUE(full.headless.display.isFullScreen());
    Started windowed({.packagePath = dir.file("g.tgp"), .fullScreen = false});
    windowed.window->FormCreate();
    EXPECT_FALSE(windowed.headless.display.isFullScreen());
}

TEST(FormCreate, MissingPackageOrPreferencesAreErrorsNamingTheFile) {
    TempDir dir;
    Started missing({.packagePath = dir.file("none.tgp")});
    try {
        missing.window->FormCreate();
        FAIL();
    } catch (const DataError& e) {
        EXPECT_NE(std::string(e.what()).find("none.tgp"), std::string::npos);
    }
    EXPECT_FALSE(missing.window->loaderPending());

    PackageWriter w;
    w.addText("rooms.dat", "x");
    w.write(dir.file("noprefs.tgp"));
    Started noPrefs({.packagePath = dir.file("noprefs.tgp")});
    try {
        noPrefs.window->FormCreate();
        FAIL();
    } catch (const DataError& e) {
        EXPECT_NE(std::string(e.what()).find("prefs.dat"), std::string::npos);
    }
}

TEST(Loader, FirstTickShowsTheWaitingMessageThenTheGameLoads) {
    TempDir dir;
    GameBuilder::minimal().write(dir.file("g.tgp"));
    Started s({.packagePath = dir.file("g.tgp")});
    s.window->FormCreate();
    s.window->Timer2Timer();
    const Surface& shown = s.headless.display.lastFrame();
    ASSERT_EQ(s.headless.display.flips(), 1u);
    // White text on black starting at (100, 100); nothing above or left of it.
    int lit = 0;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x) {
            uint32_t p = shown.pixels[static_cast<size_t>(y) * shown.width + x];
            if (p == 0) continue;
            EXPECT_GE(x, 100);
            EXPECT_GE(y, 100);
            EXPECT_LT(y, 130);
            ++lit;
        }
    EXPECT_GT(lit, 100);
    EXPECT_FALSE(s.window->game().session.gameLoaded);
    s.window->Timer2Timer();
    EXPECT_TRUE(s.window->game().session.gameLoaded);
    EXPECT_FALSE(s.window->loaderPending());
    EXPECT_EQ(s.window->game().room().name(), "hall");
    EXPECT_FALSE(s.headless.display.systemCursorVisible());
}

TEST(Loader, NoStartRoomShowsTheMessageAndEndsTheGame) {
    TempDir dir;
    GameBuilder game = GameBuilder::minimal();
    game.rooms[0].placement(0).setName("");
    game.write(dir.file("g.tgp"));
    Started s({.packagePath = dir.file("g.tgp")});
    s.window->FormCreate();
    s.window->Timer2Timer();
    s.window->Timer2Timer();
    ASSERT_EQ(s.headless.messageBox.shown.size(), 1u);
    EXPECT_EQ(s.headless.messageBox.shown[0].caption, "No game startroom found");
    EXPECT_TRUE(s.window->finished());
    EXPECT_EQ(s.window->exitStatus(), 1);
}

TEST(Loader, StartRoomOverride) {
    TempDir dir;
    GameBuilder game = GameBuilder::minimal();
    game.addRoom("menu", false);
    game.addRoom("menu", false);
    auto startIn = [&](const std::string& over) {
        game.prefs.setStartRoomOverride(over);
        game.write(dir.file("g.tgp"));
        Started s({.packagePath = dir.file("g.tgp")});
        s.window->FormCreate();
        s.window->Timer2Timer();
        s.window->Timer2Timer();
        return s.window->game().scene.currentRoom;
    };
    EXPECT_EQ(startIn("<none>"), 0);
    EXPECT_EQ(startIn("menu"), 2);  // the later of two rooms of that name
    EXPECT_EQ(startIn("nowhere"), 0);
}

// ---- Save folders, autosave, --continue --------------------------------------------

namespace fs = std::filesystem;

// XDG_DATA_HOME pointed at a scratch folder for the life of the object.
struct ScratchDataHome {
    TempDir dir;
    std::string kept;
    bool had = false;
    ScratchDataHome() {
        if (const char* v = std::getenv("XDG_DATA_HOME")) kept = v, had = true;
        setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
    }
    ~ScratchDataHome() {
        if (had)
            setenv("XDG_DATA_HOME", kept.c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
    }
};

// A started game (loader run) of the package at `package`.
std::unique_ptr<Started> start(WindowOptions options) {
    auto s = std::make_unique<Started>(std::move(options));
    s->window->FormCreate();
    s->window->Timer2Timer();
    s->window->Timer2Timer();
    return s;
}

TEST(SaveFolders, ThePlayersFolderPerGamePortableModeAndPrivateRuns) {
    ScratchDataHome data;
    TempDir dir;
    GameBuilder::minimal().write(dir.file("g.tgp"));
    const fs::path exe = dir.path() / "bin";
    fs::create_directories(exe);
    WindowOptions o{.packagePath = dir.file("g.tgp"), .executableDir = exe};
    o.playerSaveFolder = true;

    auto player = start(o);
    EXPECT_EQ(player->window->game().session.saveFolder,
              (data.dir.path() / "zelkin" / "Test game" / "saves").string() + "/");
    EXPECT_TRUE(fs::is_directory(player->window->game().session.saveFolder));
    EXPECT_FALSE(fs::exists(exe / "saves")) << "nothing beside the executable";

    std::ofstream(exe / "portable").put('\n');
    EXPECT_EQ(start(o)->window->game().session.saveFolder,
              (exe / "saves" / "Test game").string() + "/");

    // --save-dir is used exactly as given; start-up clears what killed saves left there.
    WindowOptions given = o;
    given.saveDir = dir.path() / "mine";
    fs::create_directories(given.saveDir);
    std::ofstream(given.saveDir / ".slot2.sav.x1Y2z3") << "cut off";
    fs::last_write_time(given.saveDir / ".slot2.sav.x1Y2z3",
                        fs::file_time_type::clock::now() - std::chrono::minutes(5));
    EXPECT_EQ(start(given)->window->game().session.saveFolder, dir.file("mine") + "/");
    EXPECT_FALSE(fs::exists(given.saveDir / ".slot2.sav.x1Y2z3"));

    // A run that may not touch the player's saves gets a folder of its own, gone at its end.
    WindowOptions isolated{.packagePath = dir.file("g.tgp"), .executableDir = exe};
    auto run = start(isolated);
    const std::string own = run->window->game().session.saveFolder;
    EXPECT_TRUE(fs::is_directory(own));
    EXPECT_EQ(own.find(data.dir.path().string()), std::string::npos);
    EXPECT_EQ(own.find(exe.string()), std::string::npos);
    run->window->FormClose();
    EXPECT_FALSE(fs::exists(own));
}

TEST(SaveFolders, TheFirstStartCopiesThisGamesOldSlotsOnceAndSaysSo) {
    ScratchDataHome data;
    TempDir dir;
    GameBuilder::minimal().write(dir.file("g.tgp"));
    const fs::path exe = dir.path() / "bin";
    WindowOptions old{.packagePath = dir.file("g.tgp"), .executableDir = exe};
    old.saveDir = exe / "saves";  // where earlier engines kept every game's slots
    auto earlier = start(old);
    earlier->window->game().scene.returnRoom = 0;
    ASSERT_TRUE(saveGame(earlier->window->game(), 4));

    std::ostringstream notes;
    WindowOptions o{.packagePath = dir.file("g.tgp"), .executableDir = exe};
    o.playerSaveFolder = true;
    o.copyOldSaves = true;
    o.notes = &notes;
    auto first = start(o);
    const fs::path folder = first->window->game().session.saveFolder;
    EXPECT_TRUE(fs::exists(folder / "slot4.sav"));
    EXPECT_TRUE(fs::exists(exe / "saves" / "slot4.sav")) << "the old slot stays";
    EXPECT_EQ(notes.str(), "zelkin: copied 1 saved game of this game from " +
                               (exe / "saves").string() + " into " +
                               (data.dir.path() / "zelkin" / "Test game" / "saves").string() +
                               " (the old files stay where they were)\n");
    EXPECT_TRUE(loadGame(first->window->game(), 4));

    std::ostringstream again;
    o.notes = &again;
    start(o);
    EXPECT_EQ(again.str(), "");
}

TEST(Autosave, QuittingInAPlayRoomSavesAndContinueResumesIt) {
    TempDir dir;
    GameBuilder game = GameBuilder::minimal();
    game.addTemplate("key", "subject");
    game.addRoom("menu", false);
    game.write(dir.file("g.tgp"));
    WindowOptions o{.packagePath = dir.file("g.tgp"), .saveDir = dir.path() / "saves"};
    o.autosave = true;

    auto played = start(o);
    GameState& g = played->window->game();
    g.ui.hitPoints = 42;
    g.tables.inventory.slot(3).setItem("key");
    g.tables.rooms[0].objects[0].setNumVar(1, 7);
    g.tables.rooms[0].objects[0].setX(123);
    holdItem(g, "key");
    played->window->FormClose();
    ASSERT_TRUE(fs::exists(dir.path() / "saves" / "autosave.sav"));

    WindowOptions resume = o;
    resume.continueGame = true;
    auto resumed = start(resume);
    const GameState& r = resumed->window->game();
    EXPECT_EQ(r.ui.hitPoints, 42);
    EXPECT_EQ(r.tables.inventory.slot(3).item(), "key");
    EXPECT_EQ(r.tables.rooms[0].objects[0].numVar(1), 7);
    EXPECT_EQ(r.tables.rooms[0].objects[0].x(), 123);
    EXPECT_EQ(r.cursor.heldItem, "key");
    EXPECT_TRUE(resumed->headless.errorReport.messages.empty());

    // Quitting in a menu room leaves the autosave as it was; so does a run without it.
    fs::remove(dir.path() / "saves" / "autosave.sav");
    auto menu = start(o);
    enterRoom(menu->window->game(), 1);
    menu->window->FormClose();
    WindowOptions off = o;
    off.autosave = false;
    start(off)->window->FormClose();
    EXPECT_FALSE(fs::exists(dir.path() / "saves" / "autosave.sav"));

    // Every few minutes of play in a play room.
    auto playing = start(o);
    playing->window->DXTimer1Timer();
    EXPECT_FALSE(fs::exists(dir.path() / "saves" / "autosave.sav"));
    playing->window->game().scripts.playTimeMs += kAutosaveIntervalMs;
    playing->window->DXTimer1Timer();
    EXPECT_TRUE(fs::exists(dir.path() / "saves" / "autosave.sav"));
}

}  // namespace
}  // namespace zk
