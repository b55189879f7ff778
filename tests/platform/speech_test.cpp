// The voices: the urgency rule, spoken message boxes, and the espeak-ng program as a
// voice (skipped where espeak-ng or sox is missing).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/espeak_speech.h"
#include "platform/headless/headless_platform.h"
#include "support/temp_dir.h"

namespace zk {
namespace {

TEST(Speech, OffDropsEveryTextAndASpokenMessageBoxIsStillShown) {
    HeadlessPlatform hp;
    Platform p = hp.platform();
    p.messageBox.show("Message", "No game in progress");
    p.speech.say("Hall", SpeechUrgency::RoomTitle);
    EXPECT_TRUE(hp.speech.spoken.empty());

    p.speech.setOn(true);
    p.messageBox.show("Message", "No game in progress");
    p.messageBox.show("", "Saved");
    p.speech.say("", SpeechUrgency::Hover);
    EXPECT_EQ(hp.speech.spoken,
              (std::vector<std::string>{"Message. No game in progress", "Saved"}));
    EXPECT_EQ(hp.messageBox.shown.size(), 3u);
}

// What sox says of a WAV file: its length and its RMS amplitude; -1 each when it
// cannot read it.
struct Wave {
    double seconds = -1;
    double rms = -1;
};
Wave measure(const std::string& file) {
    Wave w;
    FILE* out = popen(("sox '" + file + "' -n stat 2>&1").c_str(), "r");
    if (!out) return w;
    char line[256];
    while (std::fgets(line, sizeof line, out)) {
        std::sscanf(line, "Length (seconds): %lf", &w.seconds);
        std::sscanf(line, "RMS amplitude: %lf", &w.rms);
    }
    pclose(out);
    return w;
}

class EspeakVoice : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!EspeakSpeech::available()) GTEST_SKIP() << "no espeak-ng";
        if (std::system("command -v sox >/dev/null 2>&1") != 0) GTEST_SKIP() << "no sox";
        voice.setOn(true);
    }
    // Waits for the program to end (writing a file is faster than speaking).
    void finish() {
        for (int i = 0; i < 400 && voice.speaking(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        ASSERT_FALSE(voice.speaking()) << "espeak-ng did not end";
    }

    test::TempDir dir;
    std::string wav = dir.file("said.wav");
    EspeakSpeech voice{"espeak-ng", wav};
};

TEST_F(EspeakVoice, SpeaksATextThatLooksLikeAnOptionAsText) {
    // As an option, "-v xx" would name a voice that does not exist: nothing written.
    voice.say("-v xx is what the sign says", SpeechUrgency::Hint);
    finish();
    EXPECT_FALSE(voice.failed());
    const Wave w = measure(wav);
    EXPECT_GT(w.seconds, 0.5);
    EXPECT_GT(w.rms, 0.01) << "the file is silent";
}

TEST_F(EspeakVoice, ATextCutsOffOneAsUrgentAndALessUrgentOneIsDroppedMeanwhile) {
    const std::string longText =
        "The ship comes at twelve, and the lighthouse is dark. I must light the lamp again "
        "before the storm grows, or the ship will find the rocks instead of the harbour.";
    voice.say(longText, SpeechUrgency::Hover);
    voice.say("Harbour", SpeechUrgency::Hover);
    finish();
    const double cut = measure(wav).seconds;
    EXPECT_GT(cut, 0.1);
    EXPECT_LT(cut, 2.0) << "the long text was not cut off";

    voice.say(longText, SpeechUrgency::Dialogue);
    voice.say("Harbour", SpeechUrgency::Hover);  // dropped: the question goes on
    finish();
    EXPECT_GT(measure(wav).seconds, 5.0);
}

TEST(EspeakArguments, RateVoiceAndTheTextAfterTheEndOfOptions) {
    EspeakSpeech voice;
    voice.setVoice({.language = "de", .voice = "", .ratePercent = 200});
    EXPECT_EQ(voice.arguments("-x"), (std::vector<std::string>{"espeak-ng", "-b", "1", "-s", "350",
                                                               "-v", "de", "--", "-x"}));
    // A named voice wins over the language; the rate stays in what espeak-ng takes.
    voice.setVoice({.language = "de", .voice = "en-us", .ratePercent = 25});
    EXPECT_EQ(voice.arguments("a"), (std::vector<std::string>{"espeak-ng", "-b", "1", "-s", "80",
                                                              "-v", "en-us", "--", "a"}));
}

TEST(EspeakArguments, AMissingProgramFailsWithoutStoppingTheGame) {
    EXPECT_FALSE(EspeakSpeech::available("zelkin-no-such-voice"));
    EspeakSpeech voice("zelkin-no-such-voice");
    voice.setOn(true);
    voice.say("Hello", SpeechUrgency::Hint);
    EXPECT_TRUE(voice.failed());
    EXPECT_FALSE(voice.speaking());
}

}  // namespace
}  // namespace zk
