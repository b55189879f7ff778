// The zelkin binary, headless, with player settings (--settings FILE): what they
// change, and that a file with a bad line still applies the rest.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "run_zelkin.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"
#include "walking_json.h"

namespace zk::test {
namespace {

// "hall" holds the hero and a sage; Space makes the sage say a text that the script
// waits for, then sets the hit points to 7.
GameBuilder talkingGame() {
    GameBuilder b = GameBuilder::minimal();
    EventView talk = b.addTemplate("sage").event(0);
    talk.setName("onkey");
    talk.setNumber(0);
    setCommand(talk, 0, "showhint", "sage", "true");
    talk.command(0).setText("Hello there");
    setCommand(talk, 1, "sethp", "", "", 7);
    b.place(*b.findRoom("hall"), "sage", 300, 300);
    return b;
}

struct Played {
    ZelkinRun run;
    TempDir dir;
    Json state(const std::string& name) const {
        return Json::parseFile((dir.path() / "out" / (name + ".json")).string());
    }
};

// Plays `script`; with `settings` (TOML) as the --settings file when not empty.
void play(Played& r, const GameBuilder& game, const std::string& script,
          const std::string& settings = "") {
    game.write(r.dir.file("game.tgp"));
    { std::ofstream(r.dir.file("input.txt")) << script; }
    std::string args = shellQuote(r.dir.file("game.tgp")) + " --headless --input " +
                       shellQuote(r.dir.file("input.txt")) + " --out " +
                       shellQuote(r.dir.file("out"));
    if (!settings.empty()) {
        { std::ofstream(r.dir.file("settings.toml")) << settings; }
        args += " --settings " + shellQuote(r.dir.file("settings.toml"));
    }
    r.run = runZelkinArgs(args, r.dir.file("stderr.txt"));
}

// The line of a top-level member of a dump, as written.
std::string member(const Played& r, const std::string& dump, const std::string& key) {
    std::ifstream in(r.dir.path() / "out" / (dump + ".json"));
    for (std::string line; std::getline(in, line);)
        if (line.rfind("  " + key + ":", 0) == 0) return line;
    return "";
}

const Json& sage(const Json& state) {
    return state["rooms"][0]["objects"][1];
}

TEST(SettingsEndToEnd, TextSpeedScalesAHintsTimeAndClicksOnlyHoldsAnAwaitedOne) {
    const std::string script = "wait 2\nkey space\nstate said\nwait 100\nstate later\n";
    Played normal, slow, clicks;
    play(normal, talkingGame(), script);
    play(slow, talkingGame(), script, "textSpeed = 200\n");
    play(clicks, talkingGame(), script, "textSkip = \"clicks\"\n");
    ASSERT_EQ(normal.run.status, 0) << normal.run.stderrText;
    ASSERT_EQ(slow.run.status, 0) << slow.run.stderrText;
    ASSERT_EQ(clicks.run.status, 0) << clicks.run.stderrText;
    EXPECT_EQ(normal.state("said")["settings"]["textSpeed"].integer(), 100);

    // The game's time for 11 characters is 60 * 11 + 1000 ms; the same ticks passed.
    const int64_t full = 60 * 11 + 1000;
    const int64_t passed = full - sage(normal.state("said"))["hintTimer"].integer();
    EXPECT_EQ(sage(slow.state("said"))["hintTimer"].integer(), 2 * full - passed);

    // 100 frames later the game's hint is over and the script went on; the slow
    // reader's hint still shows, and so does the one that waits for a click.
    EXPECT_EQ(sage(normal.state("later"))["hintTimer"].integer(), -30);
    EXPECT_EQ(normal.state("later")["hitPoints"].integer(), 7);
    EXPECT_GT(sage(slow.state("later"))["hintTimer"].integer(), 0);
    EXPECT_EQ(sage(clicks.state("later"))["hintTimer"].integer(),
              sage(clicks.state("said"))["hintTimer"].integer());
    EXPECT_EQ(clicks.state("later")["hitPoints"].integer(), 100);
}

TEST(SettingsEndToEnd, AFileWithBadLinesIsReportedAndTheRestApplies) {
    Played r;
    play(r, talkingGame(), "state s\n",
         "musicVolume = 40\nsoundVolume = loud\ncolour = 3\nmuted = true\nscaleMode = \"fit\"\n");
    ASSERT_EQ(r.run.status, 0) << r.run.stderrText;
    EXPECT_NE(r.run.stderrText.find("settings.toml: line 2: "), std::string::npos)
        << r.run.stderrText;
    EXPECT_NE(r.run.stderrText.find("line 3: unknown setting 'colour'"), std::string::npos)
        << r.run.stderrText;
    const Json s = r.state("s")["settings"];
    EXPECT_EQ(s["musicVolume"].integer(), 40);
    EXPECT_EQ(s["soundVolume"].integer(), 100);
    EXPECT_TRUE(s["muted"].boolean());
    EXPECT_EQ(s["scaleMode"].string(), "fit");
}

TEST(SettingsEndToEnd, MusicPlaysAtTheGamesVolumeTimesThePlayers) {
    GameBuilder b = talkingGame();
    b.findRoom("hall")->setMusic("theme");
    b.music.emplace_back().setName("theme");
    b.music.back().setFile("theme.ogg");
    b.files["music\\theme.ogg"] = {1, 2, 3};
    b.prefs.setMusicVolume(900);
    Played full, third;
    play(full, b, "state s\n");
    play(third, b, "state s\n", "musicVolume = 33\n");
    EXPECT_EQ(full.state("s")["music"]["volume"].integer(), 900);
    EXPECT_EQ(third.state("s")["music"]["volume"].integer(), 297);
}

// The start room's panel: Space saves into slot 1 (the game's own "savegame"), Enter
// plays on (hit points, a move, another room).
GameBuilder savingGame() {
    GameBuilder b = talkingGame();
    ObjectRecord& panel = b.addTemplate("panel");
    EventView save = panel.event(0);
    save.setName("onkey");
    save.setNumber(2);
    setCommand(save, 0, "savegame", "", "", 1);
    EventView play = panel.event(1);
    play.setName("onkey");
    play.setNumber(1);
    setCommand(play, 0, "sethp", "", "", 9);
    setCommand(play, 1, "changexy", "sage", "hall", 10, 20);
    setCommand(play, 2, "changeroom", "cellar", "");
    EventView load = panel.event(2);
    load.setName("onkey");
    load.setNumber(3);
    setCommand(load, 0, "loadgame", "", "", 1);
    b.place(*b.findRoom("hall"), "panel", 600, 100);
    b.place(b.addRoom("cellar"), "panel", 600, 100);
    return b;
}

// Where the menu's items are on an 800 x 600 display: a title of 36 pixels over items
// of 26, centred. The centre of item i of n:
std::string item(int i, int n) {
    const int top = (600 - (36 + 26 * n)) / 2 + 36;
    return "400 " + std::to_string(top + 26 * i + 13);
}

TEST(EngineMenuEndToEnd, OpensOverAStandingGameAndClosesAgain) {
    Played r;
    play(r, talkingGame(),
         "wait 3\nkey space\nstate before\nmenu\nstate open\nwait 80\nstate later\n"
         "key escape\nstate closed\nwait 80\nstate after\n");
    ASSERT_EQ(r.run.status, 0) << r.run.stderrText;
    const Json open = r.state("open");
    EXPECT_TRUE(open["engineMenu"]["open"].boolean());
    std::vector<std::string> items;
    for (const Json& i : open["engineMenu"]["items"].items()) items.push_back(i.string());
    EXPECT_EQ(items,
              (std::vector<std::string>{"Resume", "Save", "Load", "Settings", "Controls", "Quit"}));
    // 80 frames with the menu open: the hint and the script waiting for it stand still.
    const Json later = r.state("later");
    EXPECT_EQ(sage(later)["hintTimer"].integer(), sage(open)["hintTimer"].integer());
    EXPECT_GT(sage(later)["hintTimer"].integer(), 0);
    EXPECT_EQ(later["hitPoints"].integer(), 100);
    // Escape closes it, and the game does not see that Escape.
    EXPECT_FALSE(r.state("closed")["engineMenu"]["open"].boolean());
    EXPECT_EQ(r.state("closed")["engineMenu"]["items"].size(), 0u);
    EXPECT_EQ(r.state("after")["hitPoints"].integer(), 7) << "the game went on after the menu";
}

TEST(EngineMenuEndToEnd, SavingAndLoadingThroughTheMenuIsTheGamesOwnSaveAndLoad) {
    Played r;
    play(r, savingGame(),
         "wait 2\nkey escape\nwait 2\n"  // the game saves slot 1
         "menu\nclick " +
             item(1, 6) + "\nclick " + item(1, 9) +
             "\n"  // the menu saves slot 2
             "wait 2\nstate saved\n"
             "key enter\nwait 3\nstate changed\n"
             "menu\nclick " +
             item(2, 6) + "\nclick " + item(1, 3) +
             "\n"  // load slot 2
             "wait 2\nstate menuLoaded\n"
             "key enter\nwait 3\nkey f4\nwait 2\nstate gameLoaded\n");
    ASSERT_EQ(r.run.status, 0) << r.run.stderrText;
    EXPECT_TRUE(std::filesystem::exists(r.dir.path() / "out" / "menuLoaded.json"));
    const Json saved = r.state("saved");
    const Json changed = r.state("changed");
    const Json loaded = r.state("menuLoaded");
    EXPECT_FALSE(loaded["engineMenu"]["open"].boolean());
    EXPECT_EQ(changed["currentRoom"].string(), "cellar");
    EXPECT_EQ(loaded["currentRoom"].string(), "hall");
    EXPECT_EQ(loaded["hitPoints"].integer(), saved["hitPoints"].integer());
    EXPECT_EQ(sage(loaded)["x"].integer(), sage(saved)["x"].integer());
    EXPECT_EQ(loaded["errors"].size(), 0u);
    // The game's own slot, loaded by the game, brings back the very same game.
    for (const char* key : {"\"rooms\"", "\"inventory\"", "\"hitPoints\"", "\"currentRoom\""})
        EXPECT_EQ(member(r, "menuLoaded", key), member(r, "gameLoaded", key)) << key;
    EXPECT_NE(member(r, "gameLoaded", "\"rooms\""), "");
}

TEST(WindowWithoutDisplay, EndsAtOnceSayingThatHeadlessRunsWithoutOne) {
    TempDir dir;
    talkingGame().write(dir.file("game.tgp"));
    // No display server, and no driver named: SDL would fall back on one that shows
    // nothing. `timeout` ends a window that runs on regardless.
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 10 " +
                                shellQuote(ZELKIN_BINARY) + " " + shellQuote(dir.file("game.tgp")) +
                                " 2>" + shellQuote(dir.file("stderr.txt"));
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    std::ifstream err(dir.file("stderr.txt"));
    const std::string text((std::istreambuf_iterator<char>(err)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("zelkin: no display found: a window needs a display"), std::string::npos)
        << text;
    EXPECT_NE(text.find("--headless"), std::string::npos) << text;
}

}  // namespace
}  // namespace zk::test
