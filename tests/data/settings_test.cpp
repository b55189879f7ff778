// The player's settings: their TOML form, what a bad file does, and the files they are
// kept in.
#include "data/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "data/settings_store.h"
#include "support/temp_dir.h"

namespace zk::test {
namespace {

Settings changedEverywhere() {
    Settings s;
    s.musicVolume = 40;
    s.soundVolume = 0;
    s.muted = true;
    s.fullScreen = false;
    s.windowWidth = 1600;
    s.windowHeight = 1200;
    s.windowX = -20;
    s.windowY = 30;
    s.scaleMode = ScaleMode::Stretch;
    s.filter = ScaleFilter::Smooth;
    s.display = 1;
    s.textSpeed = 200;
    s.textSkip = TextSkip::Clicks;
    s.language = 2;
    s.autosave = false;
    s.gamepad = false;
    s.gamepadButtons["a"] = "rightClick";
    s.keyboardCursor = false;
    s.cursorKeys.click = "Return";
    s.hotspotKey = "Tab";
    s.speech = true;
    s.voice = "en \"us\"";
    s.speechRate = 150;
    s.speechKey = "F2";
    return s;
}

TEST(Settings, EverySettingSurvivesItsTomlAndOnlyChangesAreWritten) {
    const Settings s = changedEverywhere();
    SettingsRead back = readSettings(settingsToml(s), Settings{});
    EXPECT_TRUE(back.problems.empty()) << back.problems.front();
    EXPECT_EQ(back.settings, s);
    EXPECT_EQ(settingsToml(Settings{}), "") << "the defaults need no line";

    Settings louder;
    louder.musicVolume = 70;
    EXPECT_EQ(settingsToml(louder), "musicVolume = 70\n");
}

TEST(Settings, BadLinesAreReportedAndTheRestApplies) {
    SettingsRead r = readSettings(
        "musicVolume = 30\n"
        "textSpeed = fast\n"      // not TOML
        "soundVolume = 101\n"     // out of range
        "scaleMode = \"wide\"\n"  // not a mode
        "colour = \"red\"\n"      // unknown
        "gamepadButtons = { z = \"click\" }\n"
        "filter = \"smooth\"\n",
        Settings{});
    EXPECT_FALSE(r.damaged);
    EXPECT_EQ(r.settings.musicVolume, 30);
    EXPECT_EQ(r.settings.filter, ScaleFilter::Smooth);
    EXPECT_EQ(r.settings.textSpeed, 100);
    EXPECT_EQ(r.settings.soundVolume, 100);
    EXPECT_EQ(r.settings.scaleMode, ScaleMode::Auto);
    ASSERT_EQ(r.problems.size(), 5u);
    EXPECT_EQ(r.problems[0].rfind("line 2: ", 0), 0u) << r.problems[0];
    EXPECT_NE(r.problems[1].find("line 3: soundVolume must be a whole number from 0 to 100"),
              std::string::npos)
        << r.problems[1];
    EXPECT_NE(r.problems[3].find("unknown setting 'colour'"), std::string::npos) << r.problems[3];
}

TEST(Settings, ADamagedFileIsOneProblemAndLeavesTheBase) {
    Settings base;
    base.autosave = false;
    std::string garbage;
    for (int i = 0; i < 40; ++i) garbage += "\x01\x02 = = [\n";
    SettingsRead r = readSettings(garbage, base);
    EXPECT_TRUE(r.damaged);
    EXPECT_EQ(r.problems.size(), 1u);
    EXPECT_EQ(r.settings, base);
}

TEST(SettingsStore, TheGameFileGoesOverTheGlobalOneAndKeepsOnlyItsOwnChanges) {
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "zelkin");
    {
        std::ofstream(dir.path() / "zelkin" / "zelkin.toml")
            << "musicVolume = 20\ntextSpeed = 150\n";
    }
    { std::ofstream(dir.path() / "zelkin" / "tolvan.toml") << "textSpeed = 300\n"; }
    FileSettingsStore store = FileSettingsStore::forGame(dir.path(), "tolvan");
    std::vector<std::string> problems;
    Settings s = store.load(problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(s.musicVolume, 20);
    EXPECT_EQ(s.textSpeed, 300);

    s.muted = true;
    ASSERT_EQ(store.save(s), "");
    std::ifstream in(dir.path() / "zelkin" / "tolvan.toml");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.find("musicVolume"), std::string::npos) << "the global file's value: " << text;
    EXPECT_NE(text.find("textSpeed = 300"), std::string::npos) << text;
    EXPECT_NE(text.find("muted = true"), std::string::npos) << text;
    size_t entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path() / "zelkin")) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 2u) << "no temporary file is left behind";
    EXPECT_EQ(FileSettingsStore::forGame(dir.path(), "tolvan").load(problems), s);
}

TEST(SettingsStore, ARelativeConfigHomeIsIgnored) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    setenv("HOME", "/home/player", 1);
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(playerConfigHome(), std::filesystem::path("/home/player/.config"));
    setenv("XDG_CONFIG_HOME", "/etc/xdg-player", 1);
    EXPECT_EQ(playerConfigHome(), std::filesystem::path("/etc/xdg-player"));
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

TEST(SettingsStore, AFileThatCannotBeWrittenIsSaidSo) {
    TempDir dir;
    { std::ofstream(dir.file("blocker")) << "a file, not a folder"; }
    FileSettingsStore store({dir.path() / "blocker" / "settings.toml"});
    EXPECT_NE(store.save(changedEverywhere()), "");
}

TEST(Settings, GamepadButtonsTakeOnlyTheEnginesActions) {
    SettingsRead bad = readSettings("gamepadButtons = { lt = \"next\", a = \"jump\" }\n", {});
    ASSERT_EQ(bad.problems.size(), 1u);
    EXPECT_NE(bad.problems[0].find("gamepadButtons.a must be one of \"click\""), std::string::npos)
        << bad.problems[0];
    EXPECT_EQ(bad.settings.gamepadButtons, Settings{}.gamepadButtons);
    SettingsRead good = readSettings("gamepadButtons = { lt = \"next\", rt = \"none\" }\n", {});
    EXPECT_TRUE(good.problems.empty());
    EXPECT_EQ(good.settings.gamepadButtons.at("lt"), "next");
    EXPECT_EQ(good.settings.gamepadButtons.at("rt"), "none");
    EXPECT_EQ(good.settings.gamepadButtons.at("a"), "click");
}

}  // namespace
}  // namespace zk::test
