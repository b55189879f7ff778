// The frame loop: tick pacing, the mouse, press edges and the right button.
#include "app/frame.h"

#include <gtest/gtest.h>

#include "logic/cursor.h"
#include "logic/frame_fixture.h"
#include "logic/logic.h"
#include "logic/room_entry.h"

namespace zk::test {
namespace {

TEST(Frame, TheCursorStaysInsideTheDesignSizeEvenOnALargerDisplay) {
    GameBuilder b = GameBuilder::minimal();
    b.prefs.setDisplayWidth(1024);
    b.prefs.setDisplayHeight(768);
    RunningGame game(b);
    GameState& g = game.g();
    game.hp.input.addMotion(-5000, -7000);
    game.frame();
    EXPECT_EQ(g.input.mouseX, 0);
    EXPECT_EQ(g.input.mouseY, 0);
    game.hp.input.addMotion(130, 70);
    game.frame();
    EXPECT_EQ(g.input.mouseX, 130);
    EXPECT_EQ(g.input.mouseY, 70);
    game.hp.input.addMotion(5000, 5000);
    game.frame();
    EXPECT_EQ(g.input.mouseX, 799);
    EXPECT_EQ(g.input.mouseY, 599);
    game.hp.input.addMotion(-10, -1);
    game.frame();
    EXPECT_EQ(g.input.mouseX, 789);
    EXPECT_EQ(g.input.mouseY, 598);
}

// Every tick counts the cursor's frame time up; a long frame delay keeps it counting.
TEST(Frame, FramesTenMillisecondsApartTickOnEveryThirdFrame) {
    GameBuilder b = GameBuilder::minimal();
    b.cursors[0].setFrameDelay(30000);
    RunningGame game(b);
    GameState& g = game.g();
    game.frame();  // one tick to start from
    std::vector<int> ticked;
    for (int f = 1; f <= 9; ++f) {
        const int before = g.cursor.cursorTicks;
        game.frame(10);
        ticked.push_back(g.cursor.cursorTicks - before);
    }
    EXPECT_EQ(ticked, (std::vector<int>{0, 0, 1, 0, 0, 1, 0, 0, 1}));
    // A slow frame still runs one tick only.
    const int before = g.cursor.cursorTicks;
    game.frame(200);
    EXPECT_EQ(g.cursor.cursorTicks - before, 1);
}

TEST(Frame, TickPacingSurvivesTheClockWrappingAround) {
    RunningGame game(GameBuilder::minimal());
    GameState& g = game.g();
    g.tables.cursors[static_cast<size_t>(g.cursor.cursorIndex)].setFrameDelay(30000);
    game.hp.clock.advance(0xFFFFFFFFu - 20 - game.hp.clock.ticks());
    game.frame(0);
    const int before = g.cursor.cursorTicks;
    EXPECT_EQ(g.scripts.lastTickTime, 0xFFFFFFFFu - 20);
    game.frame(30);  // the count wrapped to 9
    EXPECT_EQ(g.cursor.cursorTicks - before, 1);
    EXPECT_EQ(g.scripts.lastTickTime, 9u);
}

// With the queue full, every click dispatch that makes an event shows the overflow
// box once: a count of dispatches that does not depend on what the scripts do.
TEST(Frame, HoldingTheButtonDispatchesOneClickPerPress) {
    RunningGame game(GameBuilder::minimal());
    GameState& g = game.g();
    for (int i = 0; i < kQueueSlots; ++i) {
        EventRecord e;
        e.setName("busy");
        e.command(0).setVerb("marker");
        g.scripts.queue.enqueue(e);
    }
    auto& shown = game.hp.messageBox.shown;
    game.moveTo(300, 300);
    game.hp.input.setButton(ButtonLeft, true);
    game.frames(6);
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_TRUE(g.input.leftLatch);
    game.hp.input.setButton(ButtonLeft, false);
    game.frame();
    EXPECT_FALSE(g.input.leftLatch);
    game.hp.input.setButton(ButtonLeft, true);
    game.frames(2);
    EXPECT_EQ(shown.size(), 2u);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0].caption, "Event queue overflow");
    EXPECT_EQ(shown[0].text, "");
}

GameBuilder gameWithSlots() {
    GameBuilder b = GameBuilder::minimal();
    b.sounds.items = {silentWave("take"), silentWave("put"), silentWave("combine")};
    for (int i = 0; i < 3; ++i) b.enableSlot(i, 5 + 30 * i, 545, 5 + 30 * i + 20, 585);
    b.inventory.slot(0).setRight(9);  // too small for the 8 x 8 cursor: 4 wide
    b.inventory.slot(2).setItem("stone");
    b.addTemplate("rope", "subject");
    b.addTemplate("stone", "subject");
    return b;
}

TEST(Frame, RightClickPutsTheHeldItemIntoTheFirstFreeSlotItFits) {
    RunningGame game(gameWithSlots());
    GameState& g = game.g();
    holdItem(g, "rope");
    game.press(400, 100, ButtonRight);
    EXPECT_EQ(g.cursor.heldItem, "");
    EXPECT_EQ(g.tables.inventory.slot(0).item(), "");
    EXPECT_EQ(g.tables.inventory.slot(1).item(), "rope");
    EXPECT_EQ(g.ui.slotLabels[1], "rope");
    EXPECT_EQ(g.cursor.currentCursorName, "arrow");
    ASSERT_EQ(g.audio.soundLog.size(), 1u);
    EXPECT_EQ(g.audio.soundLog[0].index, 1);
    EXPECT_TRUE(game.queued().empty());
}

TEST(Frame, RightClickWithoutAFreeSlotOrWhileTheItemIsInUseDoesNothing) {
    RunningGame game(gameWithSlots());
    GameState& g = game.g();
    game.press(400, 100, ButtonRight);  // nothing held
    EXPECT_TRUE(g.audio.soundLog.empty());

    holdItem(g, "rope");
    EventRecord use;
    use.setName("onusewith");
    use.setParam1("rope");
    use.command(0).setVerb("marker");
    g.scripts.queue.enqueue(use);
    game.press(400, 100, ButtonRight);
    EXPECT_EQ(g.cursor.heldItem, "rope");
    EXPECT_EQ(g.tables.inventory.slot(1).item(), "");

    g.scripts.queue.clear();
    g.tables.inventory.slot(1).setItem("stone");
    game.press(400, 100, ButtonRight);
    EXPECT_EQ(g.cursor.heldItem, "rope");
    EXPECT_EQ(g.tables.inventory.slot(0).item(), "");
    EXPECT_TRUE(g.audio.soundLog.empty());
}

TEST(Frame, HoldingTheRightButtonReturnsOnlyOnce) {
    RunningGame game(gameWithSlots());
    GameState& g = game.g();
    g.tables.inventory.slot(2).setItem("");
    holdItem(g, "rope");
    game.moveTo(400, 100);
    game.hp.input.setButton(ButtonRight, true);
    game.frame();
    EXPECT_EQ(g.tables.inventory.slot(1).item(), "rope");
    holdItem(g, "stone");
    game.frames(3);
    EXPECT_EQ(g.cursor.heldItem, "stone");
    game.hp.input.setButton(ButtonRight, false);
    game.frame();
    game.hp.input.setButton(ButtonRight, true);
    game.frame();
    EXPECT_EQ(g.tables.inventory.slot(2).item(), "stone");
}

}  // namespace
}  // namespace zk::test
