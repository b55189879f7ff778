// Self-voicing: what the narrator hands to the voice as a game is played, and the
// speech key and menu of the main window.
#include "logic/narrator.h"

#include <gtest/gtest.h>

#include "logic/frame_fixture.h"

namespace zk::test {
namespace {

using Said = std::vector<std::string>;

// "Great hall" holds a brass lamp at (200, 300) and a sage at (300, 300), and an exit
// zone at (600, 100)-(700, 300). Space makes the sage say a text, Enter asks a question.
GameBuilder talkingGame() {
    GameBuilder b = GameBuilder::minimal();
    b.findRoom("hall")->setTitleKey("Great hall");
    b.addTemplate("lamp").setDisplayNameKey("brass lamp");
    ObjectRecord& sage = b.addTemplate("sage");
    sage.setDisplayNameKey("sage");
    EventView talk = sage.event(0);
    talk.setName("onkey");
    talk.setNumber(KeySpace);
    setCommand(talk, 0, "showhint", "sage", "false");
    talk.command(0).setText("Hello#there");
    EventView ask = sage.event(1);
    ask.setName("onkey");
    ask.setNumber(KeyEnter);
    setCommand(ask, 0, "startdialog", "<self>");
    ask.command(0).setP3("Which way?");
    ask.command(0).setText("North#South#");
    b.place(*b.findRoom("hall"), "lamp", 200, 300);
    b.place(*b.findRoom("hall"), "sage", 300, 300);
    ZoneView z = b.findRoom("hall")->zone(0);
    z.setEnabled(1);
    z.setLeft(600);
    z.setTop(100);
    z.setRight(700);
    z.setBottom(300);
    z.setHintKey("To the yard");
    return b;
}

void press(RunningGame& game, int key) {
    game.hp.input.setKey(key, true);
    game.frame();
    game.hp.input.setKey(key, false);
    game.frame();
}

// A walk through the hall: rest on the lamp, sweep over the sage, rest on the zone,
// come back to the lamp; the sage's text; the question and its two choices.
void walkThrough(RunningGame& game) {
    game.frames(2);
    game.moveTo(200, 280);
    game.frames(kHoverPauseFrames + 20);
    game.moveTo(300, 280);  // passed over too quickly to be named
    game.frames(kHoverPauseFrames - 2);
    game.moveTo(650, 200);
    game.frames(kHoverPauseFrames);
    game.moveTo(500, 500);  // nothing there
    game.frames(2);
    game.moveTo(200, 280);
    game.frames(kHoverPauseFrames);
    game.moveTo(500, 500);
    press(game, KeySpace);
    game.frames(10);
    press(game, KeyEnter);
    game.frames(3);
    const std::vector<Box> boxes = game.g().dialogue.dialogueLayout.choiceBoxes;
    ASSERT_EQ(boxes.size(), 2u);
    for (int pass = 0; pass < 2; ++pass)
        for (const Box& b : boxes) {
            game.moveTo((b[0] + b[2]) / 2, (b[1] + b[3]) / 2);
            game.frames(3);
        }
}

TEST(Narrator, SpeaksEachTextOnceAsItAppearsAndNothingWithSpeechOff) {
    RunningGame quiet(talkingGame());
    walkThrough(quiet);
    EXPECT_TRUE(quiet.hp.speech.spoken.empty());

    RunningGame game(talkingGame());
    Settings s = game.window->settings();
    s.speech = true;
    game.window->changeSettings(s);
    walkThrough(game);
    EXPECT_EQ(game.hp.speech.spoken,
              (Said{"Great hall", "brass lamp", "To the yard", "brass lamp", "Hello there",
                    "Which way?", "North", "South", "North", "South"}));
}

TEST(Narrator, TheVoiceTakesTheLanguageOfTheColumnTheGameNames) {
    RunningGame game(talkingGame());
    GameState& g = game.g();
    Settings s = game.window->settings();
    s.speech = true;
    s.speechRate = 150;
    game.window->changeSettings(s);
    g.tables.metadata.voiceLanguage = "sv";
    g.tables.metadata.languages = {{"English", "en"}, {"Deutsch", "de"}, {"Plattdüütsch", ""}};
    game.frame();
    EXPECT_EQ(game.hp.speech.voice, (VoiceSettings{"en", "", 150}));
    g.ui.language = 1;
    game.frame();
    EXPECT_EQ(game.hp.speech.voice.language, "de");
    g.ui.language = 2;  // a column without a tag: the game's voice language
    game.frame();
    EXPECT_EQ(game.hp.speech.voice.language, "sv");
}

TEST(Narrator, AMessageBoxOfTheGameIsReadOut) {
    GameBuilder b = talkingGame();
    b.findRoom("hall")->setIsGameRoom(0);  // no game to go back to
    setCommand(b.findTemplate("sage")->event(0), 0, "backtogame");
    RunningGame game(b);
    Settings s = game.window->settings();
    s.speech = true;
    game.window->changeSettings(s);
    press(game, KeySpace);
    game.frame();
    ASSERT_EQ(game.hp.messageBox.shown.size(), 1u);
    EXPECT_EQ(game.hp.speech.spoken, (Said{"Great hall", "Message. No game in progress"}));
}

TEST(SpeechKey, TogglesSpeechAnnouncedByVoiceAndTheMenuReadsItsItems) {
    RunningGame game(talkingGame());
    game.hp.input.pressEngineKey(EngineSpeech);
    game.frames(2);
    EXPECT_TRUE(game.window->settings().speech);
    EXPECT_EQ(game.hp.speech.spoken, (Said{"Speech on", "Great hall"}));

    game.hp.input.pressEngineKey(EngineMenuKey);
    game.frame();
    game.hp.input.pressEngineKey(EngineDown);
    game.frames(2);
    const std::vector<MenuItem>& items = game.window->engineMenu().items();
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ(game.hp.speech.spoken,
              (Said{"Speech on", "Great hall", items[0].label, items[1].label}));

    game.hp.input.pressEngineKey(EngineSpeech);  // in the menu too
    game.frames(5);
    EXPECT_FALSE(game.window->settings().speech);
    EXPECT_EQ(game.hp.speech.spoken.back(), "Speech off");
}

}  // namespace
}  // namespace zk::test
