// Commands that create, change and remove room objects.
#include <algorithm>

#include "logic/commands_fixture.h"

namespace zk::test {
namespace {

GameBuilder objectsGame() {
    GameBuilder b = scriptTestGame();
    ObjectRecord& key = b.addTemplate("key", "subject");
    key.setCursorHotX(3);
    key.setCursorHotY(4);
    ObjectRecord& clock = b.addTemplate("clock");
    EventView tick = addEvent(clock, 2, "ontimer", {{.verb = "sethp", .p1 = "true", .num1 = 1}});
    tick.setNumber(1);
    tick.setPeriod(50);
    b.addTemplate("guard", "character");
    return b;
}

TEST(CommandObjects, AddobjToTheCursorHoldsTheItem) {
    ScriptGame game(objectsGame());
    GameState& g = game.g;
    game.run({{.verb = "addobj", .p1 = "key", .p4 = "holdingsubj"}});
    game.tick();
    EXPECT_EQ(g.cursor.heldItem, "key");
    EXPECT_EQ(g.cursor.currentCursorName, "#");
    EXPECT_EQ(g.cursor.cursorIndex, kCursorRows - 1);
    EXPECT_EQ(g.tables.cursors[kCursorRows - 1].hotX(), 3);
    EXPECT_EQ(g.tables.cursors[kCursorRows - 1].hotY(), 4);
    EXPECT_GE(g.cursor.curImageList.count(), 1);
    // Dropping it gives the start cursor back, loaded again.
    game.run({{.verb = "delholdingsubj"}});
    game.tick();
    EXPECT_EQ(g.cursor.heldItem, "");
    EXPECT_EQ(g.cursor.currentCursorName, "arrow");
    EXPECT_EQ(g.cursor.cursorIndex, 0);
}

TEST(CommandObjects, AddobjIntoTheRoomOnScreenStartsItsTimersAndLoadsItsPictures) {
    ScriptGame game(objectsGame());
    GameState& g = game.g;
    game.run(
        {{.verb = "addobj", .p1 = "clock", .p2 = "<actual>", .p4 = "room", .num1 = 5, .num2 = 6},
         {.verb = "addobj",
          .p1 = "guard",
          .p2 = "hall",
          .p3 = "true",
          .p4 = "room",
          .num1 = 10,
          .num2 = -20}},
        "door");
    game.tick();
    ASSERT_EQ(g.objects().size(), 4u);
    ObjectRecord& clock = g.objects()[2];
    EXPECT_EQ(clock.name(), "clock");
    EXPECT_EQ(clock.x(), 5);
    EXPECT_EQ(clock.y(), 6);
    EXPECT_EQ(clock.scale(), 100);
    EXPECT_EQ(clock.event(5).command(7).self(), "clock");
    EXPECT_EQ(g.scripts.timers[2 * kTimersPerObject + 1].period, 50);
    EXPECT_EQ(g.scripts.timers[2 * kTimersPerObject + 1].ticks, 0);
    EXPECT_EQ(g.scene.imageSlots[2][3].count(), 1);
    // Relative to the script's own object (the door at 100, 300); a character stands
    // facing left.
    ObjectRecord& guard = g.objects()[3];
    EXPECT_EQ(guard.x(), 110);
    EXPECT_EQ(guard.y(), 280);
    EXPECT_EQ(guard.spriteFile(), "standleft.dxg");
    EXPECT_EQ(g.scene.imageSlots[3][8].count(), 1);

    // Positions past the image slot table get rows; from 30 on there are no timers.
    std::vector<C> many(kCommandsPerEvent,
                        C{.verb = "addobj", .p1 = "clock", .p2 = "hall", .p4 = "room"});
    for (int i = 0; i < 2; ++i) game.run(many);
    game.tick();
    ASSERT_EQ(g.objects().size(), 44u);
    EXPECT_GE(g.scene.imageSlots.size(), 44u);
    EXPECT_EQ(g.scene.imageSlots[43][3].count(), 1);
    EXPECT_EQ(g.scripts.timers[29 * kTimersPerObject + 1].period, 50);
    EXPECT_TRUE(game.errors().empty());
}

TEST(CommandObjects, AddobjIntoAnotherRoomLeavesTheTimersOnScreenAlone) {
    ScriptGame game(objectsGame());
    GameState& g = game.g;
    g.scripts.timers[2 * kTimersPerObject + 1] = {400, 3};  // someone's timer at position 2
    game.run({{.verb = "addobj", .p1 = "clock", .p2 = "cellar", .p4 = "room", .num1 = 1},
              {.verb = "addobj", .p1 = "nothing", .p2 = "cellar", .p4 = "room"},
              {.verb = "addobj", .p1 = "clock", .p2 = "attic", .p4 = "room"},
              {.verb = "addobj", .p1 = "nothing", .p4 = "holdingsubj"}});
    game.tick();
    const Room& cellar = g.tables.rooms[static_cast<size_t>(findRoom(g, "cellar"))];
    ASSERT_EQ(cellar.objects.size(), 2u);
    EXPECT_EQ(cellar.objects[1].name(), "clock");
    EXPECT_EQ(cellar.objects[1].x(), 1);
    EXPECT_EQ(g.scripts.timers[2 * kTimersPerObject + 1].period, 400);
    EXPECT_EQ(g.cursor.heldItem, "");
    EXPECT_EQ(g.objects().size(), 2u);
    // Entering the room starts the new object's timer.
    enterRoom(g, findRoom(g, "cellar"));
    EXPECT_EQ(g.scripts.timers[1 * kTimersPerObject + 1].period, 50);
}

TEST(CommandObjects, DeleteobjRemovesTheObjectAndStopsItsTimers) {
    GameBuilder b = objectsGame();
    b.place(*b.findRoom("hall"), "clock", 300, 300);
    b.place(*b.findRoom("cellar"), "key", 1, 1);
    b.place(*b.findRoom("cellar"), "key", 2, 2);
    ScriptGame game(b);
    GameState& g = game.g;
    ASSERT_EQ(g.objects()[2].name(), "clock");
    EXPECT_EQ(g.scripts.timers[2 * kTimersPerObject + 1].period, 50);
    // The cellar's second key sits at position 2 too, in a room not on screen.
    game.run({{.verb = "deleteobj", .p1 = "key", .p2 = "cellar"}});
    game.tick();
    const Room& cellar = g.tables.rooms[static_cast<size_t>(findRoom(g, "cellar"))];
    EXPECT_EQ(cellar.objects[2].name(), "");
    EXPECT_EQ(cellar.objects[1].name(), "key");
    EXPECT_EQ(g.scripts.timers[2 * kTimersPerObject + 1].period, 50);

    game.run({{.verb = "deleteobj", .p1 = "clock", .p2 = "<actual>"}});
    game.tick();
    EXPECT_EQ(g.objects().size(), 3u);  // the entry stays
    EXPECT_TRUE(g.objects()[2].isEmpty());
    EXPECT_EQ(g.scripts.timers[2 * kTimersPerObject + 1].period, -1);
    game.logicTicks(4);
    EXPECT_EQ(g.ui.hitPoints, 100);
}

TEST(CommandObjects, ChangingLooksPositionsAndFlags) {
    GameBuilder b = objectsGame();
    b.place(*b.findRoom("hall"), "guard", 500, 420);
    b.pictures["rooms\\hall\\night.dxg"] = singlePictureList(solidImage(800, 600, 0x000040));
    ScriptGame game(b);
    GameState& g = game.g;
    game.run(
        {{.verb = "changexy", .p1 = "<self>", .p2 = "hall", .p3 = "true", .num1 = -5, .num2 = 7},
         {.verb = "changexy", .p1 = "guard", .p2 = "hall", .num1 = 1, .num2 = 2},
         {.verb = "setinactive", .p1 = "<self>", .p2 = "<actual>"},
         {.verb = "changedepth",
          .p1 = "<self>",
          .p2 = "hall",
          .num1 = 0,
          .num2 = 3,
          .num3 = 4,
          .num4 = 5},
         {.verb = "setcharspr", .p1 = "hero", .p2 = "hall", .p3 = "<left>"},
         {.verb = "setcharspr", .p1 = "guard", .p2 = "hall", .p3 = "<sideways>"},
         {.verb = "deleteevent", .p1 = "door", .p2 = "hall", .num1 = 0},
         {.verb = "changebg", .p1 = "hall", .p2 = "night.dxg"},
         {.verb = "changecur", .p1 = "door", .p2 = "hall", .p3 = "hand"},
         {.verb = "changeobj", .p1 = "guard", .p2 = "hall", .p3 = "key"}},
        "door");
    addEvent(game.object("door"), 0, "onclick", {{.verb = "sethp"}});
    game.tick();
    ObjectRecord& door = game.object("door");
    EXPECT_EQ(door.x(), 95);
    EXPECT_EQ(door.y(), 307);
    EXPECT_EQ(door.active(), 0);
    EXPECT_EQ(door.fixedDepth(), 1);
    EXPECT_EQ(door.depth(), 3);
    EXPECT_EQ(door.depthBehind(), 4);
    EXPECT_EQ(door.depthInFront(), 5);
    EXPECT_EQ(door.event(0).name(), "");
    EXPECT_EQ(door.hoverCursor(), "hand");
    EXPECT_EQ(g.tables.rooms[0].background(), "night.dxg");
    EXPECT_EQ(g.scene.imageList1.items[2].image().pixel(0, 0), 0x000040u);
    EXPECT_EQ(g.objects()[0].spriteFile(), "standleft.dxg");
    // The guard moved, then became a key where it stood.
    ASSERT_EQ(g.objects()[2].name(), "key");
    EXPECT_EQ(g.objects()[2].x(), 1);
    EXPECT_EQ(g.objects()[2].y(), 2);
    EXPECT_EQ(g.objects()[2].kind(), "subject");
    EXPECT_EQ(g.scene.imageSlots[2][2].count(), 1);  // the key's icon loaded
    EXPECT_TRUE(game.errors().empty());

    // "changespr" of a script started by the cursor leaving an object works on the room
    // it left, whatever its room parameter says.
    int s = game.run(
        {{.verb = "changespr", .p1 = "door", .p2 = "<self>", .p3 = "cellar", .p4 = "open.dxg"}},
        "door", "onmouseleave");
    g.scripts.queue.slot(s).setOriginRoom("hall");
    door.setFrame(1);
    game.tick();
    EXPECT_EQ(door.spriteFile(), "open.dxg");
    EXPECT_EQ(door.imageFolder(), "door");
    EXPECT_EQ(door.frame(), 0);
    EXPECT_EQ(g.scene.imageSlots[1][3].count(), 2);
}

}  // namespace
}  // namespace zk::test

namespace zk::test {
namespace {

// Positions at the 32-bit limits moved by a script's (16-bit) numbers wrap like the
// games' integers instead of overflowing.
TEST(CommandObjects, RelativeMovesAtThe32BitLimitsWrap) {
    ScriptGame game(scriptTestGame());
    game.object("door").setX(INT32_MAX - 100);
    game.object("door").setY(INT32_MIN + 100);
    game.run(
        {{.verb = "changexy",
          .p1 = "door",
          .p2 = "hall",
          .p3 = "true",
          .num1 = 32767,
          .num2 = -32768},
         {.verb = "addobj", .p1 = "door", .p2 = "hall", .p3 = "true", .p4 = "room", .num1 = 1}},
        "door");
    game.tick();
    // The copy's addition may have moved the room's objects: the door is looked up anew
    // (the first of the two objects named so).
    const auto& objects = game.g.room().objects;
    const ObjectRecord& door = *std::find_if(
        objects.begin(), objects.end(), [](const ObjectRecord& o) { return o.name() == "door"; });
    EXPECT_EQ(door.x(), INT32_MIN + 32666);
    EXPECT_EQ(door.y(), INT32_MAX - 32667);
    const ObjectRecord& copy = game.g.room().objects.back();  // placed beside the door
    EXPECT_EQ(copy.x(), INT32_MIN + 32667);
    EXPECT_EQ(copy.y(), INT32_MAX - 32667);
}

}  // namespace
}  // namespace zk::test
