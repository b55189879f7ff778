// The --debug overlay: the room list over the frame, and its double-click room jump.
#include <gtest/gtest.h>

#include "app/debug_overlay.h"
#include "logic/frame_fixture.h"

namespace zk::test {
namespace {

GameBuilder twoRooms() {
    GameBuilder b = GameBuilder::minimal();
    StoredRoomRecord& yard = b.addRoom("yard");
    yard.entrance(0).setName("gate");
    return b;
}

int listLineHeight(RunningGame& game) {
    Canvas& c = game.hp.canvas;
    const std::string font = c.fontName();
    const int points = c.fontSize();
    c.setFont("Lucida console", 12);
    const int h = c.textHeight("a");
    c.setFont(font, points);
    return h;
}

TEST(FrameDebug, ADoubleClickOnARoomNameJumpsThere) {
    RunningGame game(twoRooms(), true);
    GameState& g = game.g();
    ASSERT_NE(game.window->debugOverlay(), nullptr);
    const int lh = listLineHeight(game);
    const int x = 800 - DebugOverlay::kListWidth + 20;
    const int yardRow = 2 * lh + lh / 2;  // heading, "hall", "yard"

    game.press(x, yardRow);
    EXPECT_EQ(game.window->debugOverlay()->selectedRoom(), 1);
    EXPECT_TRUE(game.queued().empty()) << "the list keeps its clicks from the game";
    game.frame();
    game.press(x, yardRow);
    ASSERT_EQ(game.queued(), std::vector<std::string>{"ondebugmode"});
    EXPECT_EQ(g.scripts.queue.slot(0).command(0).p1(), "yard");
    EXPECT_EQ(g.scripts.queue.slot(0).command(0).p2(), "gate");

    // Presses too far apart are two single clicks.
    g.scripts.queue.clear();
    game.press(x, lh + 2);
    game.frames(30);
    game.press(x, lh + 2);
    EXPECT_TRUE(game.queued().empty());
    // Below the last room the click goes to the game.
    game.press(x, 10 * lh);
    EXPECT_EQ(game.queued(), std::vector<std::string>{"onfloor"});
}

TEST(FrameDebug, TheListIsDrawnOnlyInADebugRun) {
    for (bool debug : {false, true}) {
        RunningGame game(twoRooms(), debug);
        game.moveTo(100, 100);
        game.frame();
        const int lh = listLineHeight(game);
        const uint32_t corner = game.hp.display.lastFrame().pixel(795, 3 * lh - 1);
        EXPECT_EQ(corner, debug ? 0u : 0x606060u) << debug;
        // Below the list the room shows.
        EXPECT_EQ(game.hp.display.lastFrame().pixel(795, 3 * lh + 1), 0x606060u) << debug;
        if (!debug) {
            EXPECT_EQ(game.window->debugOverlay(), nullptr);
            game.press(700, 20);
            EXPECT_EQ(game.queued(), std::vector<std::string>{"onfloor"});
        }
    }
}

TEST(FrameDebug, ALongListTurnsPagesAtItsHeading) {
    GameBuilder b = GameBuilder::minimal();
    for (int i = 0; i < 60; ++i) b.addRoom("room" + std::to_string(i));
    RunningGame game(b, true);
    const int lh = listLineHeight(game);
    const int perPage = 600 / lh - 1;
    ASSERT_LT(perPage, 61);
    const int x = 800 - DebugOverlay::kListWidth + 20;
    game.press(x, 2);
    EXPECT_EQ(game.window->debugOverlay()->page(), 1);
    game.frame();
    game.press(x, lh + 2);
    game.frame();
    game.press(x, lh + 2);
    ASSERT_EQ(game.queued(), std::vector<std::string>{"ondebugmode"});
    EXPECT_EQ(game.g().scripts.queue.slot(0).command(0).p1(),
              game.g().tables.roomList[static_cast<size_t>(perPage)]);
}

}  // namespace
}  // namespace zk::test
