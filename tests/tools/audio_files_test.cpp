// WAV and music files as sox writes them: what the sound device cannot play is
// converted to 16-bit PCM where that needs no decoder, and refused with the reason
// otherwise. Without sox the tests skip.
#include <gtest/gtest.h>

#include <cstdlib>

#include "assets/wave_list.h"
#include "core/bytes.h"
#include "media_files.h"
#include "source_fixture.h"

namespace zk::test {
namespace {

class AudioFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::system("command -v sox >/dev/null 2>&1") != 0) GTEST_SKIP() << "no sox";
        s.minimalGame();
    }
    // A file sox makes from a short tone, with these output options.
    std::vector<uint8_t> sox(const std::string& options) const {
        const std::string out = s.dir.file("sox.wav");
        const std::string cmd = "sox -D -n -r 8000 -c 1 " + options + " '" + out +
                                "' synth 0.1 sine 440 vol 0.5 2>/dev/null";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
        return *tools::readFileBytes(out);
    }
    bool build() {
        entries.clear();
        diag = {};
        return s.build(entries, diag);
    }
    std::string messages() const {
        std::string out;
        for (const auto& d : diag.all()) out += d.text() + "\n";
        return out;
    }
    const tools::PackageEntry* entry(const std::string& name) const {
        for (const auto& e : entries)
            if (e.name == name) return &e;
        return nullptr;
    }

    SourceTree s;
    std::vector<tools::PackageEntry> entries;
    tools::Diagnostics diag;
};

TEST_F(AudioFiles, SamplesTheDeviceLacksAreStoredAs16BitPcmOrRefusedWithTheReason) {
    const std::vector<uint8_t> f64 = sox("-e floating-point -b 64");
    const Wave reference = tools::readWavFile(sox("-e signed-integer -b 16"));
    s.bytes("interface/click.wav", f64);
    ASSERT_TRUE(build()) << messages();
    EXPECT_NE(messages().find("interface/click.wav: warning: is a WAV file the sound device "
                              "cannot play (floating-point 8000 Hz 64-bit mono, 0.10 s: "
                              "64-bit IEEE floating-point format not supported); stored as "
                              "16-bit PCM"),
              std::string::npos)
        << messages();
    const tools::PackageEntry* sounds = entry("sounds.dxw");
    ASSERT_TRUE(sounds);
    const WaveList list = readWaveList(sounds->bytes);
    ASSERT_EQ(list.count(), 1);
    const Wave& stored = list.item(0).wave;
    EXPECT_EQ(stored.format, reference.format);
    ASSERT_EQ(stored.samples.size(), reference.samples.size());
    int worst = 0;
    for (size_t i = 0; i + 1 < stored.samples.size(); i += 2)
        worst = std::max(worst, std::abs(getI16(stored.samples, i) - getI16(reference.samples, i)));
    EXPECT_LE(worst, 1);

    s.bytes("interface/click.wav", sox("-e gsm-full-rate"));
    EXPECT_FALSE(build());
    EXPECT_NE(messages().find("interface/click.wav: is a WAV file the sound device cannot play "
                              "(GSM 6.10 8000 Hz 0-bit mono"),
              std::string::npos)
        << messages();
    EXPECT_NE(messages().find("Unknown WAVE format tag: 0x0031); convert it to 16-bit PCM"),
              std::string::npos);

    // IMA ADPCM plays as a sound as it is.
    s.bytes("interface/click.wav", sox("-e ima-adpcm"));
    EXPECT_TRUE(build()) << messages();
    EXPECT_EQ(messages().find("click.wav"), std::string::npos) << messages();
}

TEST_F(AudioFiles, MusicThatCannotPlayIsAnError) {
    s.text("music.toml", "[[music]]\nname = \"theme\"\nfile = \"theme.wav\"\n");
    s.bytes("music/theme.wav", sox("-e ima-adpcm"));
    EXPECT_FALSE(build());
    EXPECT_NE(messages().find("music/theme.wav: cannot be played as music: it is a WAV file of "
                              "IMA ADPCM sound, which plays as a sound but not as music"),
              std::string::npos)
        << messages();
    s.text("music.toml", "[[music]]\nname = \"theme\"\nfile = \"theme.mp3\"\n");
    s.remove("music/theme.wav");
    s.text("music/theme.mp3", "placeholder\n");
    EXPECT_FALSE(build());
    EXPECT_NE(messages().find("music/theme.mp3: cannot be played as music: it is a text file"),
              std::string::npos)
        << messages();
    s.bytes("music/theme.mp3", sox("-e signed-integer -b 16"));  // a WAV by another name plays
    EXPECT_TRUE(build()) << messages();
}

}  // namespace
}  // namespace zk::test
