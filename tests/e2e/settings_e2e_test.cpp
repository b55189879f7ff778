// The zelkin binary, headless, with player settings (--settings FILE): what they
// change, and that a file with a bad line still applies the rest.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

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
