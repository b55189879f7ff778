#include "app/main_window.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/error.h"
#include "package/package_writer.h"
#include "platform/headless/headless_platform.h"
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
    EXPECT_EQ(beside.window->game().packagePath, dir.file("Tolvan.tgp"));
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
    EXPECT_FALSE(s.window->game().gameLoaded);
    s.window->Timer2Timer();
    EXPECT_TRUE(s.window->game().gameLoaded);
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
        return s.window->game().currentRoom;
    };
    EXPECT_EQ(startIn("<none>"), 0);
    EXPECT_EQ(startIn("menu"), 2);  // the later of two rooms of that name
    EXPECT_EQ(startIn("nowhere"), 0);
}

}  // namespace
}  // namespace zk
