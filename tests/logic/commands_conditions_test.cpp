// Variables, hit points and the conditions that skip the next command.
#include "logic/commands_fixture.h"

namespace zk::test {
namespace {

// Runs "<condition>, sethp 1" with hit points `hp` and says whether "sethp" ran.
bool holds(ScriptGame& game, const C& condition, int hp = 0) {
    game.g.ui.hitPoints = hp;
    game.run({condition, {.verb = "sethp", .num1 = 1}}, "door");
    game.tick();
    return game.g.ui.hitPoints == 1;
}

TEST(CommandConditions, IfvarAndIfhpCompareInOppositeSenses) {
    ScriptGame game(scriptTestGame());
    game.object("door").setNumVar(2, 4);
    auto ifvar = [](const char* text, int comparison) {
        return C{.verb = "ifvar",
                 .p1 = "<self>",
                 .p2 = "<actual>",
                 .text = text,
                 .num1 = 2,
                 .num2 = comparison};
    };
    // "ifvar" 1: variable below the value; 2: above.
    EXPECT_TRUE(holds(game, ifvar("5", 1)));
    EXPECT_FALSE(holds(game, ifvar("4", 1)));
    EXPECT_TRUE(holds(game, ifvar("3", 2)));
    EXPECT_FALSE(holds(game, ifvar("5", 2)));
    EXPECT_TRUE(holds(game, ifvar("4", 0)));
    EXPECT_TRUE(holds(game, ifvar(" -7 ", 9)));  // other comparisons always hold
    EXPECT_FALSE(holds(game, ifvar("-4", 0)));

    // "ifhp" 1: hit points above the value; 2: below.
    auto ifhp = [](int value, int comparison) {
        return C{.verb = "ifhp", .num1 = value, .num2 = comparison};
    };
    EXPECT_TRUE(holds(game, ifhp(5, 1), 6));
    EXPECT_FALSE(holds(game, ifhp(5, 1), 5));
    EXPECT_TRUE(holds(game, ifhp(5, 2), 4));
    EXPECT_FALSE(holds(game, ifhp(5, 2), 6));
    EXPECT_TRUE(holds(game, ifhp(5, 0), 5));
    EXPECT_FALSE(holds(game, ifhp(5, 0), 6));
    EXPECT_TRUE(holds(game, ifhp(5, -1), 6));
    EXPECT_TRUE(game.errors().empty());
}

TEST(CommandConditions, VariablesWrapAsSignedBytesAndTextVariablesHoldText) {
    ScriptGame game(scriptTestGame());
    game.run(
        {{.verb = "changevar", .p1 = "door", .p2 = "hall", .text = "127", .num1 = 0},
         {.verb = "changevar", .p1 = "door", .p2 = "hall", .p3 = "true", .text = "1", .num1 = 0},
         {.verb = "changevar", .p1 = "door", .p2 = "hall", .p3 = "TRUE", .text = "$10", .num1 = 1},
         {.verb = "changevar", .p1 = "door", .p2 = "hall", .text = "open", .num1 = 7},
         {.verb = "changevar", .p1 = "door", .p2 = "hall", .text = "x", .num1 = 10},
         {.verb = "changevar", .p1 = "ghost", .p2 = "hall", .text = "x", .num1 = 0}});
    game.tick();
    ObjectRecord& door = game.object("door");
    EXPECT_EQ(door.numVar(0), -128);
    EXPECT_EQ(door.numVar(1), 16);  // not relative: the flag is exactly "true"
    // Added values at the 32-bit limits wrap in the byte like any other.
    game.run({{.verb = "changevar",
               .p1 = "door",
               .p2 = "hall",
               .p3 = "true",
               .text = "2147483647",
               .num1 = 1},
              {.verb = "changevar",
               .p1 = "door",
               .p2 = "hall",
               .p3 = "true",
               .text = "-2147483648",
               .num1 = 1}});
    game.tick();
    EXPECT_EQ(door.numVar(1), 15);  // 16 - 1 + 0
    EXPECT_EQ(door.textVar(2), "open");
    EXPECT_TRUE(
        holds(game, {.verb = "ifvar", .p1 = "door", .p2 = "hall", .text = "open", .num1 = 7}));
    EXPECT_FALSE(
        holds(game, {.verb = "ifvar", .p1 = "door", .p2 = "hall", .text = "Open", .num1 = 7}));
    EXPECT_EQ(game.slotsInUse(), 0);
    EXPECT_TRUE(game.errors().empty());
}

TEST(CommandConditions, ANonIntegerValueIsReportedOnceAndEndsTheTick) {
    ScriptGame game(scriptTestGame());
    GameState& g = game.g;
    int s =
        game.run({{.verb = "changevar", .p1 = "<self>", .p2 = "hall", .text = "lots", .num1 = 0},
                  {.verb = "sethp", .num1 = 1}},
                 "door", "onclick");
    game.run({{.verb = "sethp", .p1 = "true", .num1 = 10}});
    game.tick();
    ASSERT_EQ(game.errors().size(), 1u);
    const std::string& e = game.errors()[0];
    EXPECT_NE(e.find("lots"), std::string::npos) << e;
    EXPECT_NE(e.find("door"), std::string::npos) << e;
    EXPECT_NE(e.find("onclick"), std::string::npos) << e;
    EXPECT_EQ(g.ui.hitPoints, 100);  // neither the rest of the script nor the next slot ran
    EXPECT_EQ(game.verbs(s)[0], "");
    // The command is done; the next tick goes on after it.
    game.tick();
    EXPECT_EQ(g.ui.hitPoints, 11);
    EXPECT_EQ(game.slotsInUse(), 0);

    // The same fault in "ifvar" skips nothing, and an error seen before is not repeated.
    game.run({{.verb = "ifvar", .p1 = "<self>", .p2 = "hall", .text = "2000000000000", .num1 = 1},
              {.verb = "sethp", .num1 = 2}},
             "door");
    game.tick(2);
    EXPECT_EQ(g.ui.hitPoints, 2);
    EXPECT_EQ(game.errors().size(), 2u);
    game.run({{.verb = "changevar", .p1 = "<self>", .p2 = "hall", .text = "lots"}}, "door");
    game.tick();
    EXPECT_EQ(game.errors().size(), 2u);
}

TEST(CommandConditions, InventoryProgressAndHitPointConditions) {
    ScriptGame game(scriptTestGame());
    GameState& g = game.g;
    SlotView slot = g.tables.inventory.slot(4);
    slot.setItem("key");
    EXPECT_FALSE(holds(game, {.verb = "ifinvsubj", .p1 = "key"}));  // slot not enabled
    slot.setEnabled(1);
    EXPECT_TRUE(holds(game, {.verb = "ifinvsubj", .p1 = "key"}));
    g.cursor.heldItem = "lamp";
    EXPECT_FALSE(holds(game, {.verb = "ifinvsubj", .p1 = "lamp"}));  // held does not count

    EXPECT_TRUE(holds(game, {.verb = "ifprogress"}));
    game.run({{.verb = "clearinprogress"}});
    game.tick();
    EXPECT_EQ(g.scene.returnRoom, -1);
    EXPECT_FALSE(holds(game, {.verb = "ifprogress"}));

    game.run({{.verb = "sethp", .num1 = 30},
              {.verb = "sethp", .p1 = "true", .num1 = -45},
              {.verb = "freezgame", .num1 = 0},
              {.verb = "unfreezgame"}});
    game.tick();
    EXPECT_EQ(g.ui.hitPoints, -15);
    EXPECT_FALSE(g.scripts.frozen);
    EXPECT_EQ(g.scripts.freezeMode, "wholegame");
}

}  // namespace
}  // namespace zk::test
