// The zelkin binary, headless: a player clicks the scripted objects of a small game, and
// the state dumps show what their scripts did (variables and conditions, objects added
// and removed, a sleep, an unknown verb, a flooded event queue, room-entry and timer
// events).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/game_builder.h"
#include "support/temp_dir.h"
#include "walking_json.h"

namespace zk::test {
namespace {

struct Step {
    std::string verb;
    std::string p1;
    std::string p2;
    std::string p3;
    std::string p4;
    std::string text;
    int num1 = 0;
    int num2 = 0;
};

EventView script(ObjectRecord& o, int index, const std::string& name,
                 const std::vector<Step>& steps) {
    EventView e = o.event(index);
    e.setName(name);
    for (size_t k = 0; k < steps.size(); ++k) {
        CommandView c = e.command(static_cast<int>(k));
        c.setVerb(steps[k].verb);
        c.setP1(steps[k].p1);
        c.setP2(steps[k].p2);
        c.setP3(steps[k].p3);
        c.setP4(steps[k].p4);
        c.setText(steps[k].text);
        c.setNum1(steps[k].num1);
        c.setNum2(steps[k].num2);
    }
    return e;
}

// The hall: the hero at (400, 400) and a row of scripted objects at y = 300, each a
// 20 x 40 figure standing on its point.
GameBuilder scriptedGame() {
    GameBuilder b = GameBuilder::minimal();
    StoredRoomRecord& hall = *b.findRoom("hall");

    // Counts its clicks; the second one lights a lamp beside it.
    script(
        b.addTemplate("lever"), 0, "onclick",
        {{.verb = "changevar", .p1 = "<self>", .p2 = "<actual>", .p3 = "true", .text = "1"},
         {.verb = "ifvar", .p1 = "<self>", .p2 = "<actual>", .text = "2", .num2 = 0},
         {.verb = "begin"},
         {.verb = "addobj", .p1 = "lamp", .p2 = "<actual>", .p3 = "true", .p4 = "room", .num1 = 50},
         {.verb = "showhint", .p1 = "<self>", .p2 = "false", .text = "Light!"},
         {.verb = "end"}});
    b.addTemplate("lamp");
    b.place(hall, "lever", 100, 300);

    // Costs ten hit points a click, and breaks once they are below 75.
    script(b.addTemplate("chest"), 0, "onclick",
           {{.verb = "sethp", .p1 = "true", .num1 = -10},
            {.verb = "ifhp", .num1 = 75, .num2 = 2},
            {.verb = "deleteobj", .p1 = "<self>", .p2 = "<actual>"}});
    b.place(hall, "chest", 200, 300);

    // Falls silent 100 ms after a click.
    script(b.addTemplate("bell"), 0, "onclick",
           {{.verb = "sleep", .num1 = 100}, {.verb = "setinactive", .p1 = "<self>", .p2 = "hall"}});
    b.place(hall, "bell", 300, 300);

    // Its script starts with a verb no engine knows.
    script(
        b.addTemplate("statue"), 0, "onclick",
        {{.verb = "dance"}, {.verb = "changevar", .p1 = "<self>", .p2 = "<actual>", .text = "7"}});
    b.place(hall, "statue", 600, 300);

    // Calls nineteen never-ending events at once.
    ObjectRecord& horn = b.addTemplate("horn");
    script(horn, 0, "onclick", std::vector<Step>(19, Step{.verb = "callevent", .num1 = 1}));
    script(horn, 1, "onecho", {{.verb = "waitforanim", .p1 = "nobody"}});
    b.place(hall, "horn", 500, 300);

    // Marks the room entry, and counts its timer's firings every 250 ms.
    script(b.addTemplate("banner"), 0, "onroomenter",
           {{.verb = "changevar", .p1 = "<self>", .p2 = "hall", .text = "3"}});
    b.place(hall, "banner", 700, 100);
    EventView timer =
        script(b.addTemplate("clock"), 3, "ontimer",
               {{.verb = "changevar", .p1 = "<self>", .p2 = "hall", .p3 = "true", .text = "1"}});
    timer.setNumber(2);
    timer.setPeriod(250);
    b.place(hall, "clock", 750, 100);
    return b;
}

struct RunResult {
    int status = -1;
    std::string stderrText;
};

RunResult runZelkin(const TempDir& dir, const std::string& input) {
    { std::ofstream(dir.file("input.txt")) << input; }
    const std::string command = std::string("'") + ZELKIN_BINARY + "' '" + dir.file("game.tgp") +
                                "' --headless --input '" + dir.file("input.txt") + "' --out '" +
                                dir.file("out") + "' --save-dir '" + dir.file("saves") + "' 2>'" +
                                dir.file("stderr.txt") + "'";
    RunResult run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream err(dir.file("stderr.txt"));
    run.stderrText.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    return run;
}

const Json* findObject(const Json& state, const std::string& name) {
    for (const Json& o : state["rooms"][0]["objects"].items())
        if (o["name"].string() == name) return &o;
    return nullptr;
}

const Json& object(const Json& state, const std::string& name) {
    const Json* o = findObject(state, name);
    if (!o) throw std::runtime_error("no object " + name);
    return *o;
}

int64_t var0(const Json& state, const std::string& name) {
    return object(state, name)["numVars"][0].integer();
}

TEST(CommandsE2E, ClickedScriptsChangeTheGame) {
    TempDir dir;
    scriptedGame().write(dir.file("game.tgp"));
    // The cursor rests on each object a few frames before it is pressed, so that the
    // hover update has found the object; a click's script runs in the next frame's tick.
    const RunResult run = runZelkin(dir, R"(wait 2
state entered
move 100 280
wait 2
click
wait 2
state lever1
click
state lever2
move 200 280
wait 2
click
click
state chest2
click
state chest3
move 300 280
wait 2
click
state bell1
wait 3
state bell4
wait 1
state bell5
move 600 280
wait 2
click
move 500 280
wait 2
click
state flooded
)");
    ASSERT_EQ(run.status, 0) << run.stderrText;

    const Json entered = Json::parseFile(dir.file("out/entered.json"));
    EXPECT_EQ(var0(entered, "banner"), 3);

    // The lever: one click counts, the second adds the lamp 50 pixels to its right.
    const Json lever1 = Json::parseFile(dir.file("out/lever1.json"));
    EXPECT_EQ(var0(lever1, "lever"), 1);
    EXPECT_EQ(findObject(lever1, "lamp"), nullptr);
    const Json lever2 = Json::parseFile(dir.file("out/lever2.json"));
    EXPECT_EQ(var0(lever2, "lever"), 2);
    const Json& lamp = object(lever2, "lamp");
    EXPECT_EQ(lamp["x"].integer(), 150);
    EXPECT_EQ(lamp["y"].integer(), 300);
    EXPECT_EQ(object(lever2, "lever")["displayName"].string(), "Light!");
    EXPECT_GT(object(lever2, "lever")["hintTimer"].integer(), 0);

    // The chest: 100 - 10 - 10 leaves it; the third click breaks it.
    const Json chest2 = Json::parseFile(dir.file("out/chest2.json"));
    EXPECT_EQ(chest2["hitPoints"].integer(), 80);
    EXPECT_NE(findObject(chest2, "chest"), nullptr);
    const Json chest3 = Json::parseFile(dir.file("out/chest3.json"));
    EXPECT_EQ(chest3["hitPoints"].integer(), 70);
    EXPECT_EQ(findObject(chest3, "chest"), nullptr);

    // The bell sleeps four ticks, then goes inactive in the fifth.
    const Json bell1 = Json::parseFile(dir.file("out/bell1.json"));
    EXPECT_TRUE(object(bell1, "bell")["active"].boolean());
    ASSERT_EQ(bell1["queue"].size(), 1u);
    EXPECT_EQ(bell1["queue"][0]["commands"][0]["verb"].string(), "sleep");
    EXPECT_EQ(bell1["queue"][0]["commands"][0]["num1"].integer(), 75);
    EXPECT_TRUE(object(Json::parseFile(dir.file("out/bell4.json")), "bell")["active"].boolean());
    const Json bell5 = Json::parseFile(dir.file("out/bell5.json"));
    EXPECT_FALSE(object(bell5, "bell")["active"].boolean());
    EXPECT_EQ(bell5["queue"].size(), 0u);

    // The statue's unknown verb keeps its script, passed over, in the queue; the horn's
    // calls fill the queue and the last one overflows.
    const Json flooded = Json::parseFile(dir.file("out/flooded.json"));
    EXPECT_EQ(var0(flooded, "statue"), 7);
    // The statue's script and the eighteen echoes that found a slot; the horn's own
    // script ended in the tick it ran.
    EXPECT_EQ(flooded["queue"].size(), 19u);
    const Json& statueScript = flooded["queue"][0];
    EXPECT_EQ(statueScript["name"].string(), "onclick");
    EXPECT_EQ(statueScript["commands"][0]["verb"].string(), "dance");
    EXPECT_EQ(statueScript["commands"][1]["verb"].string(), "");
    ASSERT_GE(flooded["messages"].size(), 1u);
    for (const Json& m : flooded["messages"].items()) {
        EXPECT_EQ(m["caption"].string(), "Event queue overflow");
        EXPECT_EQ(m["text"].string(), "");
    }

    // The clock's timer fired once every ten ticks, one tick a frame.
    for (const Json* s : {&entered, &lever1, &chest3, &bell5})
        EXPECT_EQ(var0(*s, "clock"), (*s)["frame"].integer() / 10) << (*s)["frame"].integer();
    EXPECT_EQ(flooded["errors"].size(), 0u);
}

}  // namespace
}  // namespace zk::test
