// The default game Tolvan.tgp, played from start to end by the zelkin binary, headless,
// as a player would click it: items picked up and combined, Harald's dialogue, a zone
// exit into the rain, the menu's save, a change, a load, the other language, and the
// ending. The state is checked at every milestone of the story.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "walking_json.h"

namespace zk::test {
namespace {

namespace fs = std::filesystem;

// The demo is built beside the engine.
fs::path demoPackage() {
    return fs::path(ZELKIN_BINARY).parent_path() / "Tolvan.tgp";
}

// Where the player clicks: the demo's objects, zones and buttons as its rooms place them.
struct Point {
    int x;
    int y;
};
constexpr Point kMatches{452, 362};      // cottage: on the table
constexpr Point kLantern{520, 200};      // cottage: on its hook
constexpr Point kFire{685, 360};         // cottage: the fireplace
constexpr Point kCottageDoor{80, 300};   // cottage: the exit zone to the harbour
constexpr Point kHarald{510, 380};       // harbour: the fisherman
constexpr Point kOilCan{606, 470};       // harbour: where Harald puts the can down
constexpr Point kToTheCliffs{765, 360};  // harbour: the stairs, an exit zone
constexpr Point kGate{612, 262};         // cliff path: the top of the doorway
constexpr Point kLamp{400, 300};         // lamp room: the great lamp
constexpr Point kSave1{122, 336};        // menu buttons
constexpr Point kLoad1{198, 336};
constexpr Point kEnglish{220, 476};
constexpr Point kDeutsch{300, 476};
constexpr Point kResume{420, 476};
constexpr Point kAside{300, 200};  // nothing there that reacts to the right button
// Inventory slot i (inventory.toml: 60 x 60 pixels from x = 150 + 70 i, y = 530).
Point slot(int i) {
    return {180 + 70 * i, 560};
}

// An input script. The mouse rests on a place for two frames before a click, as a
// player's would: a click goes to the object found under the cursor in an earlier frame.
class Script {
  public:
    Script& wait(int frames) { return line("wait " + std::to_string(frames)); }
    Script& click(Point p) { return move(p).line("click"); }
    Script& rightClick() { return move(kAside).line("rclick"); }
    Script& key(const std::string& name) { return line("key " + name); }
    Script& state(const std::string& name) { return line("state " + name); }
    Script& rest(Point p, int frames) { return move(p).wait(frames); }
    // Takes the item of slot i onto the cursor and lays it on what is at p.
    Script& use(int slotIndex, Point p) { return click(slot(slotIndex)).wait(2).click(p); }
    const std::string& text() const { return text_; }

  private:
    Script& move(Point p) {
        return line("move " + std::to_string(p.x) + " " + std::to_string(p.y)).wait(2);
    }
    Script& line(const std::string& l) {
        text_ += l + "\n";
        return *this;
    }
    std::string text_;
};

struct Outcome {
    int status = -1;
    std::string errorText;
};

// `options`: more of the command line.
Outcome play(const TempDir& dir, const Script& script, const std::string& options = "") {
    { std::ofstream(dir.file("input.txt")) << script.text(); }
    const std::string cmd = std::string("'") + ZELKIN_BINARY + "' '" + demoPackage().string() +
                            "' --headless --seed 11 --input '" + dir.file("input.txt") +
                            "' --out '" + dir.file("out") + "' --save-dir '" + dir.file("saves") +
                            "' " + options + " 2>'" + dir.file("stderr.txt") + "'";
    Outcome run;
    const int raw = std::system(cmd.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream err(dir.file("stderr.txt"));
    run.errorText.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    return run;
}

Json dump(const TempDir& dir, const std::string& name) {
    return Json::parseFile((dir.path() / "out" / (name + ".json")).string());
}

const Json& room(const Json& state, const std::string& name) {
    for (const Json& r : state["rooms"].items())
        if (r["name"].string() == name) return r;
    throw std::runtime_error("no room " + name);
}

// The object of that name in a room, or null (removed objects keep an empty name).
const Json* object(const Json& roomState, const std::string& name) {
    for (const Json& o : roomState["objects"].items())
        if (o["name"].string() == name) return &o;
    return nullptr;
}

const Json& hero(const Json& state) {
    return room(state, state["currentRoom"].string())["objects"][0];
}

int slotOf(const Json& state, const std::string& item) {
    const auto& slots = state["inventory"].items();
    for (size_t i = 0; i < slots.size(); ++i)
        if (slots[i]["item"].string() == item) return static_cast<int>(i);
    return -1;
}

std::vector<std::string> inventory(const Json& state) {
    std::vector<std::string> items;
    for (const Json& s : state["inventory"].items())
        if (!s["item"].string().empty()) items.push_back(s["item"].string());
    std::sort(items.begin(), items.end());
    return items;
}

bool soundPlayed(const Json& state, const std::string& objectName, const std::string& sound) {
    for (const Json& s : state["sounds"].items())
        if (s["list"].string() == "object" && s["object"].string() == objectName &&
            s["sound"].string() == sound)
            return true;
    return false;
}

int interfaceSounds(const Json& state, int index) {
    int n = 0;
    for (const Json& s : state["sounds"].items())
        if (s["list"].string() == "sounds" && s["index"].integer() == index) ++n;
    return n;
}

// Everything until Harald's question is on the screen.
void toTheDialogue(Script& s) {
    s.wait(380).state("start");  // Tove tells why she must go out
    s.click(kMatches).wait(120).state("matches");
    s.click(kFire).wait(10).state("wrongUse");  // the matches are no use on the fire
    s.rightClick().wait(2);
    s.click(kLantern).wait(120).rightClick().wait(2).state("lantern");
    s.key("space").wait(30).state("whistle");
    s.click(kCottageDoor).wait(12).state("walking").wait(138).state("harbour");
    s.click(kHarald).wait(100).state("question");
}

TEST(DemoPlaythrough, FromTheCottageToTheEnding) {
    ASSERT_TRUE(fs::exists(demoPackage()))
        << demoPackage() << " is missing: the build makes it (target default_game)";

    // The choices of the dialogue are where the engine lays them out with its fonts;
    // a first run up to the question finds them.
    TempDir first;
    Script ask;
    toTheDialogue(ask);
    Outcome asked = play(first, ask);
    ASSERT_EQ(asked.status, 0) << asked.errorText;
    const Json question = dump(first, "question");
    const Json& dialogue = question["dialogue"];
    ASSERT_TRUE(dialogue["open"].boolean()) << "clicking Harald opened no dialogue";
    ASSERT_EQ(dialogue["lines"].size(), 4u);
    EXPECT_EQ(dialogue["lines"][0].string(), "Evening, Tove! What brings you out in this storm?");
    EXPECT_EQ(dialogue["lines"][2].string(), "Have you got some oil for my lantern?");
    ASSERT_EQ(dialogue["choices"].size(), 3u);
    auto choice = [&](int i) {
        const Json& r = dialogue["choices"][static_cast<size_t>(i)];
        return Point{static_cast<int>((r[0].integer() + r[2].integer()) / 2),
                     static_cast<int>((r[1].integer() + r[3].integer()) / 2)};
    };

    // Items return to the first free slot: the matches to 0, the lantern to 1, the key
    // to 2, the oil can to 3 (checked below).
    TempDir dir;
    Script s;
    toTheDialogue(s);
    // Asking for oil puts the can down; asking again about the ship gives the key.
    s.click(choice(1)).wait(360).state("oil");
    s.click(kHarald).wait(60).click(choice(0)).wait(500).state("key");
    s.rightClick().wait(2).click(kOilCan).wait(80).rightClick().wait(2).state("oilCan");
    // Lantern and oil can, then the matches with the oiled lantern.
    s.use(1, slot(3)).wait(2).state("oiled");
    s.use(0, slot(3)).wait(2).state("burning");
    // With the burning lantern in hand, Escape: the menu. Save there, look at the other
    // language, go back.
    s.click(slot(3)).wait(2).key("escape").wait(5).state("menu");
    s.click(kSave1).wait(10).state("saved");
    s.click(kDeutsch).wait(4).state("deutsch");
    s.click(kEnglish).wait(4);
    s.click(kResume).wait(5).state("resumed");
    // Play on: up to the cliffs, and the key opens the gate.
    s.rightClick().wait(2).click(kToTheCliffs).wait(150).state("cliff");
    s.use(2, kGate).wait(250).state("changed");
    // Load what was saved: the gate is locked again, the key back.
    s.key("escape").wait(5).click(kLoad1).wait(10).state("loaded");
    // And on to the end: the gate, the stairs, the lamp.
    s.rightClick().wait(2).click(kToTheCliffs).wait(150);
    s.use(2, kGate).wait(250).click(kGate).wait(220).state("lampRoom");
    s.use(0, kLamp).wait(60).state("lit");
    s.wait(200).state("ending");
    s.wait(400).state("epilogue");
    Outcome run = play(dir, s);
    ASSERT_EQ(run.status, 0) << run.errorText;

    EXPECT_EQ(dump(dir, "epilogue")["speech"].size(), 0u) << "speech is off by default";

    const Json start = dump(dir, "start");
    EXPECT_TRUE(start["gameLoaded"].boolean());
    EXPECT_EQ(start["caption"].string(), "Tolvan");
    EXPECT_EQ(start["currentRoom"].string(), "cottage");
    EXPECT_EQ(start["currentRoomTitle"].string(), "Cottage");
    EXPECT_EQ(start["language"].integer(), 1);
    EXPECT_EQ(start["music"]["file"].string(), "hearth.mid");
    EXPECT_TRUE(start["music"]["playing"].boolean());
    const Json* dog = object(room(start, "cottage"), "dog");
    ASSERT_NE(dog, nullptr) << "Pip is not in the party";
    EXPECT_TRUE((*dog)["inParty"].boolean());
    EXPECT_EQ(object(room(start, "cottage"), "clock")->operator[]("numVars")[0].integer(), 1)
        << "the clock's entry script did not tell the beginning";
    EXPECT_TRUE(soundPlayed(dump(dir, "whistle"), "clock", "cuckoo"))
        << "the clock's timer did not let the cuckoo out";

    const Json matches = dump(dir, "matches");
    EXPECT_EQ(matches["heldItem"].string(), "matches");
    EXPECT_EQ(object(room(matches, "cottage"), "matches"), nullptr);
    EXPECT_EQ(interfaceSounds(matches, 0), 1) << "taking an item plays sound 0";

    const Json wrongUse = dump(dir, "wrongUse");
    const std::string said = hero(wrongUse)["displayName"].string();
    EXPECT_TRUE(said == "That does not work." || said == "I can't use that here." ||
                said == "Hmm, no.")
        << said;

    const Json lantern = dump(dir, "lantern");
    EXPECT_EQ(inventory(lantern), (std::vector<std::string>{"lantern", "matches"}));
    EXPECT_EQ(lantern["heldItem"].string(), "");

    const Json whistle = dump(dir, "whistle");
    EXPECT_TRUE(soundPlayed(whistle, "hero", "whistle"));
    EXPECT_TRUE(soundPlayed(whistle, "dog", "bark")) << "Pip did not answer Space";
    EXPECT_EQ(object(room(whistle, "cottage"), "dog")->operator[]("displayName").string(),
              "Woof! Woof!");

    const Json walking = dump(dir, "walking");
    EXPECT_TRUE(walking["walk"]["walking"].boolean());
    EXPECT_EQ(hero(walking)["spriteFile"].string().rfind("walk", 0), 0u)
        << "Tove walks with a walking picture list, not " << hero(walking)["spriteFile"].string();

    const Json harbour = dump(dir, "harbour");
    EXPECT_EQ(harbour["currentRoom"].string(), "harbour");
    EXPECT_EQ(hero(harbour)["x"].integer(), 196) << "Tove walks in from the cottage door";
    EXPECT_EQ(hero(harbour)["y"].integer(), 452);
    EXPECT_GE(harbour["flips"].integer() - harbour["frame"].integer(),
              whistle["flips"].integer() - whistle["frame"].integer() + 18)
        << "the door is a zone with fades out and in";
    EXPECT_EQ(room(harbour, "harbour")["weather"].string(), "Rain");
    int moved = 0;
    for (size_t i = 0; i < harbour["rain"].size(); ++i)
        moved += harbour["rain"][i][1].integer() != question["rain"][i][1].integer();
    EXPECT_GT(moved, 50) << "the rain falls";
    ASSERT_NE(object(room(harbour, "harbour"), "dog"), nullptr) << "Pip follows Tove";
    EXPECT_EQ(harbour["music"]["file"].string(), "storm.mid");

    const Json oil = dump(dir, "oil");
    const Json& harald = *object(room(oil, "harbour"), "fisherman");
    EXPECT_EQ(oil["dialogue"]["result"].integer(), 1);
    EXPECT_EQ(harald["numVars"][1].integer(), 1) << "Harald did not give the oil";
    EXPECT_EQ(harald["numVars"][0].integer(), 0) << "nor the key yet";
    EXPECT_NE(object(room(oil, "harbour"), "oilcan"), nullptr) << "the can is by the barrel";

    const Json key = dump(dir, "key");
    EXPECT_EQ(key["heldItem"].string(), "key");
    EXPECT_EQ(object(room(key, "harbour"), "fisherman")->operator[]("numVars")[0].integer(), 1);

    const Json oilCan = dump(dir, "oilCan");
    EXPECT_EQ(inventory(oilCan), (std::vector<std::string>{"key", "lantern", "matches", "oilcan"}));

    EXPECT_EQ(slotOf(oilCan, "matches"), 0);
    EXPECT_EQ(slotOf(oilCan, "lantern"), 1);
    EXPECT_EQ(slotOf(oilCan, "key"), 2);
    EXPECT_EQ(slotOf(oilCan, "oilcan"), 3);
    const Json oiled = dump(dir, "oiled");
    EXPECT_EQ(inventory(oiled), (std::vector<std::string>{"key", "matches", "oillantern"}));
    EXPECT_EQ(oiled["heldItem"].string(), "");
    EXPECT_EQ(interfaceSounds(oiled, 2), 1) << "combining plays sound 2";
    const Json burning = dump(dir, "burning");
    EXPECT_EQ(inventory(burning), (std::vector<std::string>{"key", "litlantern"}));
    EXPECT_EQ(slotOf(burning, "litlantern"), 3);

    const Json menu = dump(dir, "menu");
    EXPECT_EQ(menu["currentRoom"].string(), "menu");
    EXPECT_EQ(menu["returnRoom"].integer(), harbour["currentRoomIndex"].integer());
    EXPECT_EQ(menu["stashedHeldItem"].string(), "litlantern");
    EXPECT_EQ(menu["heldItem"].string(), "");
    EXPECT_TRUE(fs::exists(dir.path() / "saves" / "slot1.sav")) << "the save button saved nothing";

    const Json deutsch = dump(dir, "deutsch");
    EXPECT_EQ(deutsch["language"].integer(), 2);
    EXPECT_EQ(deutsch["currentRoomTitle"].string(), "Men\xC3\xBC");
    EXPECT_EQ(room(deutsch, "harbour")["zones"][0]["hint"].string(), "In die H\xC3\xBCtte");
    EXPECT_EQ(deutsch["inventory"][static_cast<size_t>(slotOf(deutsch, "key"))]["label"].string(),
              "Torschl\xC3\xBCssel");

    const Json resumed = dump(dir, "resumed");
    EXPECT_EQ(resumed["currentRoom"].string(), "harbour");
    EXPECT_EQ(resumed["language"].integer(), 1);
    EXPECT_EQ(resumed["currentRoomTitle"].string(), "Harbour");
    EXPECT_EQ(resumed["heldItem"].string(), "litlantern") << "the menu gives the item back";

    const Json cliff = dump(dir, "cliff");
    EXPECT_EQ(cliff["currentRoom"].string(), "cliffpath");
    EXPECT_EQ(cliff["music"]["file"].string(), "storm.mid");
    EXPECT_EQ(cliff["music"]["opens"].integer(), resumed["music"]["opens"].integer())
        << "the harbour and the cliff path share their music: it plays on";

    const Json changed = dump(dir, "changed");
    // The cliff path's perspective: Tove is smaller up at the gate than down by the sea.
    EXPECT_GT(hero(cliff)["scale"].integer(), 80);
    EXPECT_LT(hero(changed)["scale"].integer(), 60);
    EXPECT_EQ(hero(changed)["spriteFile"].string(), "standup.dxg");
    const Json& openGate = *object(room(changed, "cliffpath"), "gate");
    EXPECT_EQ(openGate["numVars"][0].integer(), 1) << "the key did not open the gate";
    EXPECT_EQ(openGate["spriteFile"].string(), "open.dxg");
    EXPECT_EQ(slotOf(changed, "key"), -1);

    const Json loaded = dump(dir, "loaded");
    EXPECT_EQ(loaded["currentRoom"].string(), "harbour");
    const Json& lockedGate = *object(room(loaded, "cliffpath"), "gate");
    EXPECT_EQ(lockedGate["numVars"][0].integer(), 0);
    EXPECT_EQ(lockedGate["spriteFile"].string(), "closed.dxg");
    EXPECT_EQ(inventory(loaded), inventory(menu));
    EXPECT_EQ(loaded["heldItem"].string(), "litlantern");
    EXPECT_EQ(hero(loaded)["x"].integer(), hero(resumed)["x"].integer());

    const Json lampRoom = dump(dir, "lampRoom");
    EXPECT_EQ(lampRoom["currentRoom"].string(), "lighthouse");
    EXPECT_EQ(lampRoom["music"]["file"].string(), "lamp.mid");

    const Json lit = dump(dir, "lit");
    EXPECT_EQ(object(room(lit, "lighthouse"), "lamp")->operator[]("spriteFile").string(),
              "lit.dxg");
    EXPECT_TRUE(lit["frozen"].boolean()) << "the end plays without the player";
    EXPECT_EQ(lit["heldItem"].string(), "");
    EXPECT_TRUE(soundPlayed(lit, "lamp", "ignite"));

    const Json ending = dump(dir, "ending");
    EXPECT_EQ(ending["currentRoom"].string(), "ending");
    EXPECT_FALSE(ending["frozen"].boolean());
    EXPECT_EQ(ending["music"]["file"].string(), "dawn.mid");
    const Json epilogue = dump(dir, "epilogue");
    EXPECT_GT(object(room(epilogue, "ending"), "ship")->operator[]("x").integer(),
              object(room(ending, "ending"), "ship")->operator[]("x").integer())
        << "the ship sails on its timer";
    EXPECT_NE(object(room(epilogue, "ending"), "narrator")->operator[]("displayName").string(), "");

    for (const char* name : {"start", "matches", "harbour", "oil", "key", "menu", "resumed",
                             "changed", "loaded", "lampRoom", "ending", "epilogue"}) {
        const Json d = dump(dir, name);
        EXPECT_EQ(d["errors"].size(), 0u) << name;
        EXPECT_EQ(d["messages"].size(), 0u) << name;
    }
}

// Escape while Tove walks to an item or an exit opens the menu and nothing else: the
// pick-up or the room change planned behind the walk is dropped, not done in the menu.
TEST(DemoPlaythrough, EscapeDuringAWalkOnlyOpensTheMenu) {
    ASSERT_TRUE(fs::exists(demoPackage())) << demoPackage() << " is missing";
    TempDir dir;
    Script s;
    s.wait(380).click(kLantern).wait(5).key("escape").wait(40).state("lanternMenu");
    s.click(kResume).wait(5).state("back");
    s.click(kLantern).wait(120).state("taken");
    s.rightClick().wait(2).click(kCottageDoor).wait(5).key("escape").wait(40).state("doorMenu");
    Outcome run = play(dir, s);
    ASSERT_EQ(run.status, 0) << run.errorText;

    const Json lanternMenu = dump(dir, "lanternMenu");
    EXPECT_EQ(lanternMenu["currentRoom"].string(), "menu");
    EXPECT_EQ(lanternMenu["heldItem"].string(), "");
    EXPECT_EQ(lanternMenu["stashedHeldItem"].string(), "");
    EXPECT_NE(object(room(lanternMenu, "cottage"), "lantern"), nullptr);
    const Json back = dump(dir, "back");
    EXPECT_EQ(back["currentRoom"].string(), "cottage");
    EXPECT_EQ(hero(back)["spriteFile"].string(), "standdown.dxg") << "Tove stands still";
    const Json taken = dump(dir, "taken");
    EXPECT_EQ(taken["heldItem"].string(), "lantern") << "the lantern can be taken afterwards";
    const Json doorMenu = dump(dir, "doorMenu");
    EXPECT_EQ(doorMenu["currentRoom"].string(), "menu") << "the exit was not taken from the menu";
    EXPECT_EQ(slotOf(doorMenu, "lantern"), 0);
}

// With speech on, the way to Harald's question as a player hears it: each room's title
// on entering, the names the cursor rests on (once each), the texts said, the question
// and each choice as the cursor reaches it.
TEST(DemoPlaythrough, WithSpeechOnThePlayerHearsTheWayToHaraldsQuestion) {
    ASSERT_TRUE(fs::exists(demoPackage()));
    TempDir dir;
    { std::ofstream(dir.file("settings.toml")) << "speech = true\n"; }
    Script s;
    s.rest(kMatches, 40).wait(340);  // resting on the matches while Tove talks
    s.click(kMatches).wait(120).rightClick().wait(2);
    s.click(kCottageDoor).wait(150);
    s.click(kHarald).wait(100);
    // The two choices, where the engine lays them out (as in demo/tour.txt).
    const Point askForOil{156, 430};
    const Point askAboutTheShip{207, 414};
    s.rest(askAboutTheShip, 3).rest(askForOil, 3).rest(askAboutTheShip, 3).state("asked");
    const Outcome run = play(dir, s, "--settings '" + dir.file("settings.toml") + "'");
    ASSERT_EQ(run.status, 0) << run.errorText;

    const Json asked = dump(dir, "asked");
    std::vector<std::string> heard;
    for (const Json& said : asked["speech"].items()) heard.push_back(said["text"].string());
    EXPECT_EQ(heard, (std::vector<std::string>{
                         "Cottage",
                         "matches",  // once, though the cursor stays there
                         "What a storm! And look: the lighthouse is dark.",
                         "The ship comes at twelve. I must light the lamp again!",
                         "Tove",                // the cursor put aside rests on her
                         "Out to the harbour",  // the door's zone
                         "Harbour",
                         "Harald",
                         "Evening, Tove! What brings you out in this storm?",
                         "The lighthouse is dark, and the ship comes at twelve!",
                         "Have you got some oil for my lantern?",
                         "The lighthouse is dark, and the ship comes at twelve!",
                     }));
}

}  // namespace
}  // namespace zk::test
