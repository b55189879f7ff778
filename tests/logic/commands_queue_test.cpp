// How the queue runs scripts: order, waiting, blocks, unknown verbs, insertions and
// the queue's limits.
#include "data/script_vocabulary.h"
#include "logic/commands_fixture.h"

namespace zk::test {
namespace {

TEST(CommandQueue, WaitingHoldsOnlyItsOwnScript) {
    ScriptGame game(scriptTestGame());
    GameState& g = game.g;
    int a = game.run({{.verb = "sethp", .num1 = 5},
                      {.verb = "sleep", .num1 = 100},
                      {.verb = "sethp", .p1 = "true", .num1 = 1}});
    int b = game.run({{.verb = "freezgame", .num1 = 1}});
    game.tick();
    EXPECT_EQ(g.ui.hitPoints, 5);   // the sleep holds the rest of its script
    EXPECT_TRUE(g.scripts.frozen);  // while the next slot ran on
    EXPECT_EQ(g.scripts.freezeMode, "mainchar");
    EXPECT_TRUE(g.scripts.queue.inUse(a));
    EXPECT_FALSE(g.scripts.queue.inUse(b));
    // "sleep" 100: three more ticks held, done in the fourth, still holding it.
    game.tick(3);
    EXPECT_EQ(g.ui.hitPoints, 5);
    EXPECT_EQ(game.verbs(a)[1], "");
    game.tick();
    EXPECT_EQ(g.ui.hitPoints, 6);
    EXPECT_FALSE(g.scripts.queue.inUse(a));
}

TEST(CommandQueue, UnknownVerbIsPassedOverAndKeepsItsSlot) {
    ScriptGame game(scriptTestGame());
    int s = game.run({{.verb = "dance"}, {.verb = "sethp", .num1 = 9}, {.verb = "Sethp"}});
    game.tick(3);
    EXPECT_EQ(game.g.ui.hitPoints, 9);
    EXPECT_TRUE(game.g.scripts.queue.inUse(s));
    EXPECT_EQ(game.verbs(s)[0], "dance");
    EXPECT_EQ(game.verbs(s)[2], "Sethp");  // verbs compare exactly
    EXPECT_EQ(game.verbs(s)[1], "");
}

TEST(CommandQueue, EveryVerbOfTheVocabularyRunsAndNothingElseDoes) {
    // A verb that ran is done, has become another or holds its script; a command the
    // interpreter passes over stays as it is and lets the next one run.
    ScriptGame game(scriptTestGame());
    auto runs = [&game](std::string_view verb) {
        game.g.ui.hitPoints = 0;
        const int s = game.run({{.verb = std::string(verb)}, {.verb = "sethp", .num1 = 7}});
        runQueue(game.g);
        const bool ran = game.verbs(s)[0] != verb || game.g.ui.hitPoints != 7;
        game.g.scripts.queue.free(s);
        return ran;
    };
    for (const ScriptVerb& v : kScriptVerbs) EXPECT_TRUE(runs(v.name)) << v.name;
    EXPECT_FALSE(runs(""));  // a done command, never looked up
    EXPECT_FALSE(runs("stopchar "));
    EXPECT_FALSE(verbIndex(""));
    EXPECT_FALSE(verbIndex("dance"));
}

TEST(CommandQueue, FalseConditionSkipsTheWholeNestedBlock) {
    ScriptGame game(scriptTestGame());
    GameState& g = game.g;
    game.object("door").setNumVar(0, 3);
    game.run({{.verb = "ifvar", .p1 = "door", .p2 = "hall", .text = "4", .num1 = 0},
              {.verb = "begin"},
              {.verb = "sethp", .num1 = 1},
              {.verb = "begin"},
              {.verb = "sethp", .num1 = 2},
              {.verb = "end"},
              {.verb = "sethp", .num1 = 3},
              {.verb = "end"},
              {.verb = "sethp", .p1 = "true", .num1 = 50}});
    game.tick();
    EXPECT_EQ(g.ui.hitPoints, 150);
    EXPECT_EQ(game.slotsInUse(), 0);

    // True: the block runs, "begin" and "end" doing nothing themselves.
    game.run({{.verb = "ifvar", .p1 = "door", .p2 = "hall", .text = "3", .num1 = 0},
              {.verb = "begin"},
              {.verb = "sethp", .num1 = 7},
              {.verb = "end"}});
    game.tick();
    EXPECT_EQ(g.ui.hitPoints, 7);
}

TEST(CommandQueue, FalseConditionAtTheLastPositionSkipsNothing) {
    ScriptGame game(scriptTestGame());
    std::vector<C> script(kCommandsPerEvent, C{.verb = "begin"});
    script[19] = {.verb = "ifhp", .num1 = 1, .num2 = 0};
    int s = game.run(script);
    game.tick();
    EXPECT_FALSE(game.g.scripts.queue.inUse(s));
    EXPECT_TRUE(game.errors().empty());
}

TEST(CommandQueue, InsertedCommandsRunInTheSamePassAndAFullScriptLosesItsLast) {
    ScriptGame game(scriptTestGame());
    GameState& g = game.g;
    // "playanim" keeping its pictures inserts one picture change after itself; the
    // change runs in the same pass, and the script's last command falls off.
    std::vector<C> script(kCommandsPerEvent, C{.verb = "waitforanim", .p1 = "nobody"});
    script[0] = {
        .verb = "playanim", .p1 = "door", .p2 = "door", .p3 = "open.dxg", .num1 = 80, .num3 = 1};
    script[1] = {.verb = "sethp", .num1 = 11};
    script[19] = {.verb = "sethp", .num1 = 99};
    int s = game.run(script);
    game.tick();
    ObjectRecord& door = game.object("door");
    EXPECT_EQ(door.spriteFile(), "open.dxg");
    EXPECT_EQ(door.imageFolder(), "door");
    EXPECT_EQ(door.frameDelay(), 80);
    EXPECT_EQ(g.ui.hitPoints, 11);
    auto v = game.verbs(s);
    EXPECT_EQ(v[1], "");
    EXPECT_EQ(v[3], "waitforanim");
    EXPECT_EQ(v[19], "waitforanim");
    game.tick();
    EXPECT_EQ(g.ui.hitPoints, 11);
}

TEST(CommandQueue, TwentyWaitingScriptsFillTheQueueAndTheNextEventOverflows) {
    ScriptGame game(scriptTestGame());
    GameState& g = game.g;
    addEvent(game.object("hero"), 3, "onshout", {{.verb = "sethp", .num1 = 1}});
    for (int i = 0; i < kQueueSlots - 1; ++i) game.run({{.verb = "waitforanim", .p1 = "x"}});
    // The twentieth script waits a tick, then calls an event while all slots are in use.
    game.run({{.verb = "sleep", .num1 = 25}, {.verb = "callevent", .num1 = 3}});
    EXPECT_EQ(game.slotsInUse(), kQueueSlots);
    game.tick();
    EXPECT_TRUE(game.messages().empty());
    game.tick();
    ASSERT_EQ(game.messages().size(), 1u);
    EXPECT_EQ(game.messages()[0].caption, "Event queue overflow");
    EXPECT_EQ(game.messages()[0].text, "");
    EXPECT_EQ(g.ui.hitPoints, 100);  // the event was lost; the game goes on
    EXPECT_EQ(game.slotsInUse(), kQueueSlots - 1);
    // With a free slot the called event runs: in a later slot, in the same pass.
    g.scripts.queue.free(0);
    game.run({{.verb = "callevent", .num1 = 3}});
    game.tick();
    EXPECT_EQ(g.ui.hitPoints, 1);
}

TEST(CommandQueue, RewrittenVerbsAreHandledAtOnce) {
    ScriptGame game(scriptTestGame());
    GameState& g = game.g;
    int s = game.run({{.verb = "startdialog",
                       .p1 = "<self>",
                       .p3 = "Well?",
                       .text = "Yes#No#tail",
                       .num1 = 2,
                       .num2 = 1},
                      {.verb = "ifdlgresult", .num1 = 1},
                      {.verb = "sethp", .num1 = 3}});
    game.tick();
    EXPECT_EQ(game.verbs(s)[0], "waitfordlg");
    EXPECT_TRUE(g.dialogue.dialogueOpen);
    EXPECT_EQ(g.dialogue.dialogueLines, (std::vector<std::string>{"Well?", "Yes", "No"}));
    EXPECT_EQ(g.dialogue.dialogueSlot, s);
    EXPECT_EQ(g.dialogue.dialogueStyle, 2);
    EXPECT_EQ(g.dialogue.dialogueVoice, 1);
    game.tick(2);
    EXPECT_EQ(g.ui.hitPoints, 100);
    // The player picks the first choice: the result 0 differs from 1, so "sethp" is skipped.
    g.dialogue.dialogueOpen = false;
    g.dialogue.dialogueResult = 0;
    game.tick();
    EXPECT_EQ(g.ui.hitPoints, 100);
    EXPECT_FALSE(g.scripts.queue.inUse(s));
}

}  // namespace
}  // namespace zk::test
