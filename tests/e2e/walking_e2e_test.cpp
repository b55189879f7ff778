// The zelkin binary, headless, walks the hero through a floor click, a zone exit with a
// fade into another room and a pick-up, as a player would click them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "support/game_builder.h"
#include "support/temp_dir.h"
#include "walking_json.h"

namespace zk::test {
namespace {

// "hall": the hero at (400, 400) and an exit zone on the right that fades into
// "cellar" at the entrance "stairs". "cellar": the entrance at (100, 300) with its walk-in
// point (160, 300), and a key lying at (400, 300).
GameBuilder walkingGame() {
    GameBuilder b = GameBuilder::minimal();
    b.addTemplate("key", "subject");
    ZoneView exit = b.findRoom("hall")->zone(0);
    exit.setEnabled(1);
    exit.setFade(1);
    exit.setLeft(700);
    exit.setTop(300);
    exit.setRight(790);
    exit.setBottom(500);
    exit.setWalkX(740);
    exit.setWalkY(400);
    exit.setTargetRoom("cellar");
    exit.setTargetEntrance("stairs");
    StoredRoomRecord& cellar = b.addRoom("cellar");
    b.place(cellar, "hero", 50, 50);
    b.place(cellar, "key", 400, 300);
    EntranceView stairs = cellar.entrance(0);
    stairs.setName("stairs");
    stairs.setFacing("<right>");
    stairs.setX(100);
    stairs.setY(300);
    stairs.setWalkX(160);
    stairs.setWalkY(300);
    b.prefs.setStartRoomOverride("hall");
    // The interface sounds: taking an item plays sound 0.
    for (const char* name : {"take", "drop", "combine"}) {
        WaveItem& sound = b.sounds.items.emplace_back();
        sound.name = name;
        sound.wave.format = pcmFormat(1, 22050, 16);
        sound.wave.samples.assign(441 * 2, 0);
    }
    return b;
}

struct RunResult {
    int status = -1;
    std::string stderrText;
};

RunResult runZelkin(const TempDir& dir, const std::string& script) {
    { std::ofstream(dir.file("input.txt")) << script; }
    const std::string command = std::string("'") + ZELKIN_BINARY + "' '" + dir.file("game.tgp") +
                                "' --headless --seed 7 --input '" + dir.file("input.txt") +
                                "' --out '" + dir.file("out") + "' --save-dir '" +
                                dir.file("saves") + "' 2>'" + dir.file("stderr.txt") + "'";
    RunResult run;
    int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream err(dir.file("stderr.txt"));
    run.stderrText.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    return run;
}

const Json& roomNamed(const Json& state, const std::string& name) {
    for (const Json& r : state["rooms"].items())
        if (r["name"].string() == name) return r;
    throw std::runtime_error("no room " + name);
}

const Json& objectNamed(const Json& room, const std::string& name) {
    for (const Json& o : room["objects"].items())
        if (o["name"].string() == name) return o;
    throw std::runtime_error("no object " + name);
}

std::pair<int64_t, int64_t> point(const Json& pair) {
    return {pair[0].integer(), pair[1].integer()};
}

TEST(WalkingE2E, FloorClickZoneExitAndPickUp) {
    TempDir dir;
    walkingGame().write(dir.file("game.tgp"));
    // The cursor is moved onto its target a few frames before each press, so that the
    // hover update has found what lies under it.
    const RunResult run = runZelkin(dir, R"(wait 2
move 300 450
wait 2
click
wait 1
state started
wait 40
state floor
move 750 350
wait 2
click
wait 140
state cellar
move 400 285
wait 2
click
wait 60
state pickup
)");
    ASSERT_EQ(run.status, 0) << run.stderrText;

    // The floor click: a walk from where the hero stood to the clicked point.
    const Json started = Json::parseFile(dir.file("out/started.json"));
    ASSERT_TRUE(started["walk"]["walking"].boolean());
    EXPECT_EQ(point(started["walk"]["target"]), std::make_pair(int64_t{300}, int64_t{450}));
    const Json& firstPath = started["walk"]["path"];
    ASSERT_GE(firstPath.size(), 3u);
    EXPECT_EQ(point(firstPath[0]), std::make_pair(int64_t{400}, int64_t{400}));
    EXPECT_EQ(point(firstPath[firstPath.size() - 1]), std::make_pair(int64_t{300}, int64_t{450}));

    const Json floor = Json::parseFile(dir.file("out/floor.json"));
    EXPECT_FALSE(floor["walk"]["walking"].boolean());
    const Json& hallHero = objectNamed(roomNamed(floor, "hall"), "hero");
    EXPECT_EQ(hallHero["x"].integer(), 300);
    EXPECT_EQ(hallHero["y"].integer(), 450);
    EXPECT_EQ(hallHero["spriteFile"].string().rfind("stand", 0), 0u)
        << hallHero["spriteFile"].string();

    // The zone: walk to its walk point, fade, enter the cellar at "stairs", walk in.
    const Json cellar = Json::parseFile(dir.file("out/cellar.json"));
    EXPECT_EQ(cellar["currentRoom"].string(), "cellar");
    EXPECT_EQ(objectNamed(roomNamed(cellar, "hall"), "hero")["x"].integer(), 740);
    EXPECT_FALSE(cellar["walk"]["walking"].boolean());
    EXPECT_EQ(point(cellar["walk"]["target"]), std::make_pair(int64_t{160}, int64_t{300}));
    EXPECT_EQ(point(cellar["walk"]["path"][0]), std::make_pair(int64_t{100}, int64_t{300}));
    const Json& cellarHero = objectNamed(roomNamed(cellar, "cellar"), "hero");
    EXPECT_EQ(cellarHero["x"].integer(), 160);
    EXPECT_EQ(cellarHero["y"].integer(), 300);
    EXPECT_EQ(cellarHero["spriteFile"].string(), "standright.dxg");
    EXPECT_FALSE(cellar["screenFaded"].boolean());

    // The pick-up: the walk to the odd pixel ends beside it, then the key is taken.
    const Json pickup = Json::parseFile(dir.file("out/pickup.json"));
    EXPECT_EQ(pickup["heldItem"].string(), "key");
    EXPECT_EQ(point(pickup["walk"]["target"]), std::make_pair(int64_t{400}, int64_t{285}));
    const Json& room = roomNamed(pickup, "cellar");
    const Json& hero = objectNamed(room, "hero");
    EXPECT_EQ(hero["x"].integer(), 400);
    EXPECT_EQ(hero["y"].integer(), 284);
    for (const Json& o : room["objects"].items()) EXPECT_NE(o["name"].string(), "key");
    EXPECT_EQ(pickup["queue"].size(), 0u);
    for (const Json& e : pickup["errors"].items()) ADD_FAILURE() << "error: " << e.string();
}

}  // namespace
}  // namespace zk::test
