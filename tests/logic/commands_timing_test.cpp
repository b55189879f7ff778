// Scripts over whole logic ticks: hints, animations, object timers and room entry.
#include "logic/commands_fixture.h"

namespace zk::test {
namespace {

TEST(CommandTiming, AHintOfTenCharactersLastsSixtyFourTicksAndEndsInTheNext) {
    ScriptGame game(scriptTestGame());
    GameState& g = game.g;
    int s = game.run({{.verb = "showhint", .p1 = "<self>", .p2 = "true", .text = "0123456789"},
                      {.verb = "sethp", .num1 = 1}},
                     "door");
    game.logicTicks();
    ObjectRecord& door = game.object("door");
    EXPECT_EQ(door.displayName(), "0123456789");
    EXPECT_EQ(door.hintTimer(), 1600);
    EXPECT_EQ(game.verbs(s)[0], "waitforhint");
    game.logicTicks(64);
    EXPECT_EQ(door.hintTimer(), 0);
    EXPECT_EQ(g.ui.hitPoints, 100);
    game.logicTicks();
    EXPECT_EQ(door.hintTimer(), -30);
    EXPECT_EQ(door.displayName(), "door");
    EXPECT_EQ(g.ui.hitPoints, 1);  // the script went on in the tick the hint ended
    EXPECT_FALSE(g.scripts.queue.inUse(s));
}

TEST(CommandTiming, HintsAreTranslatedUnlessTheDialogueAlreadyDidIt) {
    GameBuilder b = scriptTestGame();
    b.prefs.setLanguage(1);
    b.languages = "text=\"hello\" lang1=\"hej\"\n";
    ScriptGame game(b);
    GameState& g = game.g;
    game.run({{.verb = "showhint", .p1 = "door", .text = "hello"}});
    game.tick();
    ObjectRecord& door = game.object("door");
    EXPECT_EQ(door.displayName(), "hej");
    EXPECT_EQ(door.hintTimer(), 60 * 3 + 1000);
    g.ui.hintPreTranslated = true;
    game.run({{.verb = "showhint", .p1 = "door", .text = "hello"},
              {.verb = "showhint", .p1 = "ghost", .text = "hello"}});
    game.tick();
    EXPECT_EQ(door.displayName(), "hello");
    EXPECT_FALSE(g.ui.hintPreTranslated);
    EXPECT_EQ(game.slotsInUse(), 0);
}

TEST(CommandTiming, PlayanimWithWaitPlaysOneCycleAndRestoresThePictures) {
    GameBuilder b = scriptTestGame();
    b.findTemplate("door")->setAnimating(1);
    ScriptGame game(b);
    GameState& g = game.g;
    int s = game.run({{.verb = "playanim",
                       .p1 = "<self>",
                       .p2 = "<self>",
                       .p3 = "open.dxg",
                       .p4 = "true",
                       .num1 = 50,
                       .num2 = 1,
                       .num3 = 0},
                      {.verb = "sethp", .num1 = 1}},
                     "door");
    game.logicTicks();
    ObjectRecord& door = game.object("door");
    EXPECT_EQ(door.spriteFile(), "open.dxg");
    EXPECT_EQ(door.frameDelay(), 50);
    EXPECT_EQ(g.scene.imageSlots[1][3].count(), 2);
    // Two pictures of 50 ms: the cycle ends four ticks later.
    game.logicTicks(3);
    EXPECT_EQ(door.spriteFile(), "open.dxg");
    EXPECT_EQ(door.frame(), 1);
    EXPECT_EQ(g.ui.hitPoints, 100);
    game.logicTicks();
    EXPECT_EQ(door.spriteFile(), "sprite.dxg");
    EXPECT_EQ(door.imageFolder(), "door");
    EXPECT_EQ(g.scene.imageSlots[1][3].count(), 1);
    EXPECT_EQ(g.ui.hitPoints, 1);
    EXPECT_FALSE(g.scripts.queue.inUse(s));
}

TEST(CommandTiming, AScriptWaitsForItsWalkAndStopcharEndsOne) {
    ScriptGame game(scriptTestGame());
    GameState& g = game.g;
    game.run({{.verb = "walkto", .p1 = "hero", .p4 = "<left>", .num1 = 440, .num2 = 400, .num3 = 1},
              {.verb = "sethp", .num1 = 1}});
    game.logicTicks();
    EXPECT_TRUE(g.walk.walking);
    // The walk puts the hero on the target at the end of one tick; the waiting script
    // goes on in the next.
    int arrived = 0;
    for (int tick = 2; tick < 100 && g.ui.hitPoints == 100; ++tick) {
        game.logicTicks();
        if (!arrived && g.objects()[0].x() == 440) arrived = tick;
        if (g.ui.hitPoints == 1) {
            EXPECT_EQ(tick, arrived + 1);
        }
    }
    EXPECT_EQ(g.ui.hitPoints, 1);
    EXPECT_GT(arrived, 2);

    game.run({{.verb = "walkto", .p1 = "<self>", .num1 = 100, .num2 = 400}, {.verb = "stopchar"}},
             "hero");
    game.logicTicks();
    EXPECT_FALSE(g.walk.walking);
    EXPECT_EQ(g.objects()[0].x(), 440);
}

// A hall clock whose timer 0 fires every 100 ms; a cellar lamp greets room entry.
GameBuilder timedGame() {
    GameBuilder b = scriptTestGame();
    ObjectRecord& clock = b.addTemplate("clock");
    EventView tick = addEvent(clock, 4, "ontimer", {{.verb = "sethp", .p1 = "true", .num1 = 1}});
    tick.setNumber(0);
    tick.setPeriod(100);
    b.place(*b.findRoom("hall"), "clock", 10, 10);
    ObjectRecord& lamp = b.addTemplate("lamp");
    addEvent(lamp, 0, "onroomenter", {{.verb = "sethp", .num1 = 42}});
    b.place(*b.findRoom("cellar"), "lamp", 10, 10);
    return b;
}

TEST(CommandTiming, ObjectTimersRunTheirScripts) {
    ScriptGame game(timedGame());
    GameState& g = game.g;
    game.logicTicks(3);
    EXPECT_EQ(g.ui.hitPoints, 100);
    game.logicTicks();
    EXPECT_EQ(g.ui.hitPoints, 101);
    game.logicTicks(4);
    EXPECT_EQ(g.ui.hitPoints, 102);
    EXPECT_EQ(game.slotsInUse(), 0);
}

TEST(CommandTiming, ARoomChangeStopsTimerScriptsAndQueuesTheRoomEntryEvents) {
    GameBuilder b = timedGame();
    // The clock's timer script leaves the room, then would change the hit points.
    addEvent(*b.findTemplate("clock"), 4, "ontimer",
             {{.verb = "changeroom", .p1 = "cellar", .p2 = "front"}, {.verb = "sethp", .num1 = 7}})
        .setPeriod(100);
    ScriptGame game(b);
    GameState& g = game.g;
    game.logicTicks(4);
    EXPECT_EQ(g.room().name(), "cellar");
    // The timer's slot was freed by the room entry and taken by the lamp's event,
    // which starts at its beginning in the next tick.
    EXPECT_EQ(g.ui.hitPoints, 100);
    EXPECT_EQ(g.scripts.queue.slot(0).name(), "onroomenter");
    game.logicTicks();
    EXPECT_EQ(g.ui.hitPoints, 42);
    game.logicTicks(8);
    EXPECT_EQ(g.ui.hitPoints, 42);  // the hall's clock no longer ticks
}

TEST(CommandTiming, CalleventRunsAnEventOfTheScriptsOwnObject) {
    GameBuilder b = timedGame();
    addEvent(*b.findTemplate("hero"), 6, "onwhistle", {{.verb = "sethp", .num1 = 5}});
    ScriptGame game(b);
    GameState& g = game.g;
    // "callevent" runs an event of the script's own object, found by its self name.
    game.run({{.verb = "callevent", .num1 = 6}}, "hero");
    game.run({{.verb = "callevent", .num1 = 6}}, "nobody");
    game.tick();
    EXPECT_EQ(g.ui.hitPoints, 5);
    EXPECT_EQ(game.slotsInUse(), 0);
}

}  // namespace
}  // namespace zk::test
