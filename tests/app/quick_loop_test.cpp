// A source folder played and reloaded in one run, and the room's geometry drawn for the
// author.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/room_preview.h"
#include "app/source_game.h"
#include "platform/headless/headless_platform.h"
#include "render/geometry.h"
#include "starter_game.h"
#include "support/temp_dir.h"

namespace zk {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

void load(MainWindow& w) {
    w.FormCreate();
    w.Timer2Timer();
    w.Timer2Timer();
}

TEST(WatchedGame, AChangedFileIsPackedAndTheGameGoesOnInTheSameRoomAndPlace) {
    TempDir dir;
    const fs::path folder = dir.path() / "game";
    tools::writeStarterGame(folder);
    SourceGame source(folder);
    std::ostringstream log;
    ASSERT_TRUE(source.pack(log)) << log.str();
    EXPECT_EQ(log.str(), "");
    EXPECT_FALSE(source.changed());

    HeadlessPlatform headless;
    Platform platform = headless.platform();
    WatchedGame watched(platform, {.packagePath = source.package(), .startRoom = "garden"},
                        &source);
    load(watched.window());
    for (int i = 0; i < 30; ++i) watched.window().DXTimer1Timer();  // the walk in
    const ObjectRecord hero = watched.window().game().room().objects[0];
    EXPECT_EQ(watched.window().game().room().titleKey(), "Garden");
    EXPECT_FALSE(watched.reloadIfChanged(log));  // nothing changed

    // The author renames the room's title while the game runs.
    std::string room;
    {
        std::ifstream in(folder / "rooms/garden.toml");
        room.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    room.replace(room.find("\"Garden\""), 8, "\"The garden\"");
    std::ofstream(folder / "rooms/garden.toml") << room;
    EXPECT_TRUE(source.changed());
    ASSERT_TRUE(watched.reloadIfChanged(log)) << log.str();
    watched.window().Timer2Timer();
    watched.window().Timer2Timer();
    const GameState& g = watched.window().game();
    EXPECT_EQ(g.room().name(), "garden");
    EXPECT_EQ(g.room().titleKey(), "The garden");
    EXPECT_EQ(g.room().objects[0].x(), hero.x());
    EXPECT_EQ(g.room().objects[0].y(), hero.y());
    // The checker's warning of the text missing from languages.txt is printed.
    EXPECT_NE(log.str().find("rooms/garden.toml:1: warning: titleKey 'The garden' has no line"),
              std::string::npos)
        << log.str();

    // A mistake keeps the game that runs; the next good save is taken.
    std::ofstream(folder / "rooms/garden.toml", std::ios::app) << "bogus = 1\n";
    EXPECT_FALSE(watched.reloadIfChanged(log));
    EXPECT_EQ(&watched.window().game(), &g);
    EXPECT_FALSE(source.changed());
}

TEST(RoomPreview, DrawsTheMaskZonesEntrancesAndObjectsOverTheRoom) {
    TempDir dir;
    const fs::path folder = dir.path() / "game";
    tools::writeStarterGame(folder);
    SourceGame source(folder);
    std::ostringstream log;
    ASSERT_TRUE(source.pack(log)) << log.str();
    const Surface hall = roomPreview(source.package(), "hall");
    ASSERT_EQ(hall.width, 800);
    // The zone to the garden: its left edge at x 760 from row 300 down.
    EXPECT_EQ(hall.pixel(760, 400), 0xFFE000u);
    // The entrance's walk-in point is marked, from (740, 440) to (680, 440).
    EXPECT_EQ(hall.pixel(700, 440), 0x00E0FFu);
    // Walkable floor is tinted green, the wall above it red.
    const uint32_t floor = hall.pixel(300, 500), wall = hall.pixel(300, 100);
    EXPECT_GT((floor >> 8) & 0xFF, floor >> 16) << std::hex << floor;
    EXPECT_GT(wall >> 16, (wall >> 8) & 0xFF) << std::hex << wall;
    EXPECT_THROW(roomPreview(source.package(), "cellar"), DataError);
}

TEST(DebugOverlay, TheGeometryKeysSwitchTheirLayers) {
    DebugOverlay overlay;
    overlay.geometryKeys(1u | 2u);  // F5, F6
    EXPECT_EQ(overlay.geometry(), unsigned(kGeometryMask | kGeometryZones | kGeometryEntrances));
    overlay.geometryKeys(1u | 8u);  // F5 again, F8
    EXPECT_EQ(overlay.geometry(), unsigned(kGeometryZones | kGeometryEntrances | kGeometryPath));
}

}  // namespace
}  // namespace zk
