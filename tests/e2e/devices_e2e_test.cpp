// The demo played with a gamepad and touches only, and the hotspot reveal in every room,
// by the zelkin binary, headless.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "run_zelkin.h"
#include "support/temp_dir.h"
#include "walking_json.h"

namespace zk::test {
namespace {

namespace fs = std::filesystem;

fs::path demoPackage() {
    return fs::path(ZELKIN_BINARY).parent_path() / "Tolvan.tgp";
}

// Runs the demo with an input script and reads the dump the script ends with.
class Demo {
  public:
    Json run(const std::string& script, const std::string& args = "") {
        const std::string n = std::to_string(++runs_);
        { std::ofstream(dir_.file("input" + n + ".txt")) << script << "state end\n"; }
        const ZelkinRun r =
            runZelkinArgs(shellQuote(demoPackage().string()) + " --headless --seed 11 --input " +
                              shellQuote(dir_.file("input" + n + ".txt")) + " --out " +
                              shellQuote(dir_.file("out" + n)) + " --save-dir " +
                              shellQuote(dir_.file("saves" + n)) + " " + args,
                          dir_.file("stderr.txt"));
        EXPECT_EQ(r.status, 0) << r.stderrText;
        return Json::parseFile(dir_.file("out" + n + "/end.json"));
    }
    // Dump `name` of the last run.
    Json last(const std::string& name) const {
        return Json::parseFile(dir_.file("out" + std::to_string(runs_) + "/" + name + ".json"));
    }
    // The room's interactive things as the reveal marks them after `script`.
    Json reveal(const std::string& script, const std::string& args = "") {
        return run(script + "hotspots on\nwait 1\n", args);
    }

  private:
    TempDir dir_;
    int runs_ = 0;
};

int indexNamed(const Json& hotspots, const std::string& name) {
    for (size_t i = 0; i < hotspots.size(); ++i)
        if (hotspots[i]["name"].string() == name) return static_cast<int>(i);
    return -1;
}

const Json& currentRoom(const Json& state) {
    for (const Json& r : state["rooms"].items())
        if (r["name"].string() == state["currentRoom"].string()) return r;
    throw std::runtime_error("no current room");
}

std::string hoveredName(const Json& state) {
    const int64_t h = state["hoveredObject"].integer();
    return h < 0 ? "" : currentRoom(state)["objects"][static_cast<size_t>(h)]["name"].string();
}

// Presses the right shoulder until the cursor rests on the thing named `name`: one
// press shows where the jumps start, and the revealed list how many more it takes.
void jumpTo(Demo& demo, std::string& script, const std::string& name) {
    const Json probe = demo.reveal(script + "pad rb\n");
    const Json& marks = probe["hotspots"];
    const int target = indexNamed(marks, name);
    ASSERT_GE(target, 0) << name << " is not revealed";
    int at = -1;
    for (size_t i = 0; i < marks.size(); ++i)
        if (marks[i]["x"].integer() == probe["mouse"][0].integer() &&
            marks[i]["y"].integer() == probe["mouse"][1].integer())
            at = static_cast<int>(i);
    ASSERT_GE(at, 0) << "a jump left the cursor on no revealed thing";
    const int n = static_cast<int>(marks.size());
    for (int p = 0; p < 1 + (target - at + n) % n; ++p) script += "pad rb\n";
}

bool holds(const Json& state, const std::string& item) {
    for (const Json& s : state["inventory"].items())
        if (s["item"].string() == item) return true;
    return false;
}

TEST(Devices, TheDemoToTheHarbourWithAGamepadOnly) {
    ASSERT_TRUE(fs::exists(demoPackage())) << demoPackage();
    Demo demo;
    // The intro, then the stick steers the cursor off the corner.
    std::string s = "wait 380\nstick 700 350\nwait 12\nstick 0 0\nwait 1\n";
    const Json steered = demo.run(s);
    EXPECT_GT(steered["mouse"][0].integer(), 20);
    EXPECT_GT(steered["mouse"][1].integer(), 10);

    jumpTo(demo, s, "matches");
    EXPECT_EQ(hoveredName(demo.run(s + "wait 1\n")), "matches");
    s += "pad a\nwait 120\npad b\nwait 2\n";
    jumpTo(demo, s, "empty lantern");
    s += "pad a\nwait 120\npad b\nwait 2\n";
    const Json taken = demo.run(s);
    EXPECT_TRUE(holds(taken, "matches"));
    EXPECT_TRUE(holds(taken, "lantern"));
    EXPECT_EQ(taken["heldItem"].string(), "");

    s += "pad x\nwait 30\n";  // X is the game's Space: Tove whistles
    bool whistled = false;
    const Json whistle = demo.run(s);
    for (const Json& snd : whistle["sounds"].items())
        whistled =
            whistled || (snd["list"].string() == "object" && snd["sound"].string() == "whistle");
    EXPECT_TRUE(whistled);

    jumpTo(demo, s, "Out to the harbour");
    s += "pad a\nwait 150\n";
    EXPECT_EQ(demo.run(s)["currentRoom"].string(), "harbour");
}

TEST(Devices, ATapPicksAnItemUpAndALongPressPutsItBack) {
    Demo demo;
    const std::string s = "wait 380\ntap 452 362\nwait 120\n";
    const Json taken = demo.run(s);
    EXPECT_EQ(taken["heldItem"].string(), "matches");
    EXPECT_FALSE(holds(taken, "matches"));
    const Json back = demo.run(s + "longpress 300 200\nwait 2\n");
    EXPECT_EQ(back["heldItem"].string(), "");
    EXPECT_TRUE(holds(back, "matches"));
    // A tap is one click: the matches are not taken twice or dropped again.
    EXPECT_EQ(back["mouse"][0].integer(), 300);
}

// In every room of the demo the reveal marks its things, each at a point that hovers it:
// an object is hovered there, an exit's point lies in an enabled zone with no object.
TEST(Devices, TheRevealMarksEveryRoomsThingsWherePointingFindsThem) {
    Demo demo;
    const Json start = demo.run("wait 1\n");
    int rooms = 0;
    for (const Json& room : start["rooms"].items()) {
        if (!room["isGameRoom"].boolean()) continue;
        ++rooms;
        const std::string name = room["name"].string();
        const std::string args = "--room " + name;
        const Json marked = demo.reveal("wait 40\n", args);
        ASSERT_EQ(marked["currentRoom"].string(), name);
        const Json& marks = marked["hotspots"];
        EXPECT_GT(marks.size(), 0u) << name;
        std::string visit = "wait 40\n";
        for (size_t i = 0; i < marks.size(); ++i)
            visit += "move " + std::to_string(marks[i]["x"].integer()) + " " +
                     std::to_string(marks[i]["y"].integer()) + "\nwait 1\nstate at" +
                     std::to_string(i) + "\n";
        demo.run(visit, args);
        const Json& objects = currentRoom(marked)["objects"];
        const Json& zones = currentRoom(marked)["zones"];
        std::vector<bool> found(objects.size(), false);
        for (size_t i = 0; i < marks.size(); ++i) {
            const std::string mark = marks[i]["name"].string();
            EXPECT_FALSE(mark.empty()) << name << ": a mark without a name";
            const Json at = demo.last("at" + std::to_string(i));
            const int64_t hovered = at["hoveredObject"].integer();
            if (hovered >= 0) {
                found[static_cast<size_t>(hovered)] = true;
                continue;
            }
            const int64_t x = at["mouse"][0].integer(), y = at["mouse"][1].integer();
            bool inZone = false;
            for (const Json& z : zones.items()) {
                const Json& r = z["rect"];
                inZone = inZone || (z["enabled"].boolean() && z["hint"].string() == mark &&
                                    x >= r[0].integer() && y >= r[1].integer() &&
                                    x <= r[2].integer() && y <= r[3].integer());
            }
            EXPECT_TRUE(inZone) << name << ": " << mark << " is neither an object nor an exit";
        }
        bool exits = false, exitMarked = false;
        for (size_t i = 0; i < objects.size(); ++i) {
            const Json& o = objects[i];
            if (o["name"].string().empty() || !o["active"].boolean() || o["hidden"].boolean())
                continue;
            EXPECT_TRUE(found[i]) << name << ": " << o["name"].string() << " is not revealed";
        }
        for (const Json& z : zones.items()) {
            if (!z["enabled"].boolean()) continue;
            exits = true;
            exitMarked = exitMarked || indexNamed(marks, z["hint"].string()) >= 0;
        }
        EXPECT_EQ(exitMarked, exits) << name;
    }
    EXPECT_GE(rooms, 4);
}

}  // namespace
}  // namespace zk::test
