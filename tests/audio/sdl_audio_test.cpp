// The SDL sound mixer and music player. CTest runs them with SDL_AUDIODRIVER=dummy,
// which mixes in real time without sound hardware; where SDL cannot open even that,
// the tests that need a device skip.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "audio_game.h"
#include "core/bytes.h"
#include "core/error.h"
#include "platform/headless/null_audio.h"
#include "platform/headless/virtual_clock.h"
#include "platform/sdl/sdl_media_player.h"
#include "platform/sdl/sdl_mixer.h"

namespace zk {
namespace {

using test::waveItem;

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// A standard MIDI file: one track, a piano note of `beats` quarter notes at 120 bpm.
std::vector<uint8_t> midiFile(int beats) {
    const int ticks = 96 * beats;
    std::vector<uint8_t> track = {0x00, 0xC0, 0x00, 0x00, 0x90, 0x3C, 0x64};
    track.push_back(static_cast<uint8_t>(0x80 | ((ticks >> 7) & 0x7F)));
    track.push_back(static_cast<uint8_t>(ticks & 0x7F));
    for (uint8_t b : {0x80, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00}) track.push_back(b);
    std::vector<uint8_t> f = {
        'M', 'T', 'h', 'd', 0,   0,   0,   6, 0, 0, 0,
        1,   0,   96,  'M', 'T', 'r', 'k', 0, 0, 0, static_cast<uint8_t>(track.size())};
    f.insert(f.end(), track.begin(), track.end());
    return f;
}

// Polls `done` for up to `ms` milliseconds of real time.
template <typename F>
bool within(int ms, F done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return done();
}

class SdlAudio : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!device.ready()) GTEST_SKIP() << "no sound device: " << device.failure();
    }
    std::ostringstream log;
    SdlAudioDevice device{log};
};

TEST(RiffWave, WrapsTheBlocksAsTheyAreCutToWholeFrames) {
    std::vector<uint8_t> format = pcmFormat(2, 11025, 16);  // 4-byte frames
    format.push_back(0);                                    // 17 bytes: a pad byte follows
    const std::vector<uint8_t> samples(10, 0x55);
    const std::vector<uint8_t> r = riffWave(format, samples);
    ASSERT_EQ(r.size(), 12u + 8 + 18 + 8 + 8);
    EXPECT_EQ(std::string(r.begin(), r.begin() + 4), "RIFF");
    EXPECT_EQ(getU32(r, 4), r.size() - 8);
    EXPECT_EQ(std::string(r.begin() + 8, r.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(getU32(r, 16), 17u);
    EXPECT_EQ(std::string(r.begin() + 38, r.begin() + 42), "data");
    EXPECT_EQ(getU32(r, 42), 8u);
    EXPECT_EQ(r.back(), 0x55);
}

TEST(SdlAudioDevice, WithoutAUsableDriverTheGamePlaysSilentlyAfterOneLine) {
    const char* old = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = old ? old : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    std::ostringstream log;
    {
        SdlAudioDevice device(log);
        if (old)
            setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
        else
            unsetenv("SDL_AUDIODRIVER");
        EXPECT_FALSE(device.ready());
        SdlSoundMixer mixer(device);
        EXPECT_FALSE(mixer.ready());
        const WaveItem w = waveItem("a", 100);
        EXPECT_EQ(mixer.create(w.wave.format, w.wave.samples), 0u);

        // The player keeps its state, so the room music rules run as usual.
        test::TempDir dir;
        writeFile(dir.file("a.ogg"), {1, 2, 3});
        SdlMediaPlayer player(device);
        EXPECT_THROW(player.open(dir.file("missing.ogg")), DataError);
        player.open(dir.file("a.ogg"));
        EXPECT_EQ(player.mode(), MediaMode::Stopped);
        player.play();
        EXPECT_EQ(player.mode(), MediaMode::Playing);
        player.stop();
        EXPECT_EQ(player.mode(), MediaMode::Stopped);
        player.close();
        EXPECT_EQ(player.mode(), MediaMode::NotOpen);
    }
    const std::string text = log.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
}

TEST_F(SdlAudio, BuffersPlayPauseRewindAndShareTheirSamples) {
    SdlSoundMixer mixer(device);
    ASSERT_TRUE(mixer.ready());
    const WaveItem w = waveItem("a", 2000);  // 8000 Hz mono, far from the device's format
    const SoundId master = mixer.create(w.wave.format, w.wave.samples);
    ASSERT_NE(master, 0u) << mixer.lastError();
    int rate = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    const double expected = 2.0 * rate * channels * SDL_AUDIO_BITSIZE(format) / 8;
    EXPECT_NEAR(static_cast<double>(mixer.sampleBytes(master)), expected, expected * 0.01);

    EXPECT_FALSE(mixer.isPlaying(master));
    mixer.play(master, false);
    EXPECT_TRUE(mixer.isPlaying(master));
    mixer.stop(master);
    EXPECT_FALSE(mixer.isPlaying(master));
    mixer.play(master, false);
    EXPECT_TRUE(mixer.isPlaying(master));
    mixer.rewind(master);  // goes on playing, from the start
    EXPECT_TRUE(mixer.isPlaying(master));

    const SoundId copy = mixer.duplicate(master);
    ASSERT_NE(copy, 0u);
    EXPECT_EQ(mixer.sampleBytes(copy), mixer.sampleBytes(master));
    EXPECT_FALSE(mixer.isPlaying(copy));
    mixer.release(master);  // the copy keeps the samples
    EXPECT_FALSE(mixer.isPlaying(master));
    mixer.play(copy, true);
    EXPECT_TRUE(mixer.isPlaying(copy));
    mixer.release(copy);
    EXPECT_FALSE(mixer.isPlaying(copy));

    std::vector<uint8_t> shortFormat = w.wave.format;
    shortFormat.resize(12);
    EXPECT_EQ(mixer.create(shortFormat, w.wave.samples), 0u);
    EXPECT_EQ(mixer.create({}, w.wave.samples), 0u);
}

TEST_F(SdlAudio, ShortAndEmptyWavesPlayOutEvenLooped) {
    SdlSoundMixer mixer(device);
    WaveItem empty = waveItem("empty", 0);
    const SoundId e = mixer.create(empty.wave.format, empty.wave.samples);
    ASSERT_NE(e, 0u) << mixer.lastError();
    mixer.play(e, true);  // a loop of nothing must not hang the mixer
    WaveItem tiny = waveItem("tiny", 20);
    tiny.wave.samples.push_back(1);  // half a frame too many
    const SoundId t = mixer.create(tiny.wave.format, tiny.wave.samples);
    ASSERT_NE(t, 0u) << mixer.lastError();
    mixer.play(t, false);
    EXPECT_TRUE(within(2000, [&] { return !mixer.isPlaying(t); }));
    EXPECT_TRUE(mixer.isPlaying(e));
    mixer.stop(e);
    EXPECT_FALSE(mixer.isPlaying(e));
}

TEST_F(SdlAudio, TheCopyRulesHoldOnTheRealMixer) {
    SdlSoundMixer mixer(device);
    RecordingMediaPlayer media;
    test::AudioGame a(mixer, media);
    test::GameBuilder b = test::GameBuilder::minimal();
    b.sounds.items = {waveItem("many", 3000), waveItem("two", 3000, false, 2),
                      waveItem("loop", 300, true)};
    WaveList bell;
    bell.items = {waveItem("Ding", 3000)};
    b.files["objects\\bell\\waves.dxw"] = writeWaveList(bell);
    a.load(b);

    // More copies at once than the mixer has channels at first.
    for (int i = 0; i < 20; ++i) playSound(a.g, 0);
    ASSERT_EQ(a.g.audio.soundLog.size(), 20u);
    EXPECT_EQ(a.g.audio.soundLog.back().copies, 20);
    for (SoundId c : a.g.audio.soundBuffers.sounds[0].copies) EXPECT_TRUE(mixer.isPlaying(c));

    for (int i = 0; i < 3; ++i) playSound(a.g, 1);
    const std::vector<uint32_t>& two = a.g.audio.soundBuffers.sounds[1].copies;
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(a.g.audio.soundLog.back().copy, 1);
    EXPECT_TRUE(mixer.isPlaying(two[0]) && mixer.isPlaying(two[1]));

    playSound(a.g, 2);
    playSound(a.g, 2);
    EXPECT_EQ(a.g.audio.soundLog.back().copies, 1);
    const uint32_t loop = a.g.audio.soundBuffers.sounds[2].master;
    std::this_thread::sleep_for(std::chrono::milliseconds(400));  // past its end
    EXPECT_TRUE(mixer.isPlaying(loop));

    playObjectSound(a.g, "bell", "dING");
    EXPECT_EQ(a.g.audio.soundLog.back().sound, "dING");
    EXPECT_TRUE(mixer.isPlaying(a.g.audio.waveBuffers1.sounds[0].copies[0]));
    EXPECT_TRUE(a.errors().empty());
}

// A format block: the WAVEFORMATEX fields, then the extension bytes.
std::vector<uint8_t> formatBlock(uint16_t tag, uint16_t channels, uint16_t bits, uint16_t align,
                                 std::vector<uint8_t> extension = {}) {
    std::vector<uint8_t> f(16);
    putI16(f, 0, tag);
    putI16(f, 2, channels);
    putU32(f, 4, 22050);
    putU32(f, 8, 22050u * align);
    putI16(f, 12, align);
    putI16(f, 14, bits);
    if (!extension.empty()) {
        f.resize(18);
        putI16(f, 16, static_cast<int32_t>(extension.size()));
        f.insert(f.end(), extension.begin(), extension.end());
    }
    return f;
}

std::vector<uint8_t> le16s(std::initializer_list<int> values) {
    std::vector<uint8_t> out;
    for (int v : values) {
        out.push_back(static_cast<uint8_t>(v & 0xFF));
        out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    }
    return out;
}

// The extensible header's 22 bytes for a sub-format tag; `other` spoils its GUID.
std::vector<uint8_t> extensible(uint16_t bits, uint16_t sub, bool other = false) {
    std::vector<uint8_t> e = le16s({bits, 0, 0, sub, 0, 0x0000, 0x0010});
    for (uint8_t b : {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}) e.push_back(b);
    if (other) e.back() = 0x72;
    return e;
}

TEST_F(SdlAudio, TheRecordingMixerRefusesWhatTheRealOneRefusesInItsWords) {
    const std::vector<uint8_t> msCoefficients =
        le16s({500, 7, 256, 0, 512, -256, 0, 0, 192, 64, 240, 0, 460, -208, 392, -232});
    std::vector<uint8_t> msWrong = msCoefficients;
    msWrong[10] ^= 1;
    const std::vector<std::pair<const char*, std::vector<uint8_t>>> formats = {
        {"PCM 8", formatBlock(1, 1, 8, 1)},
        {"PCM 16 stereo", formatBlock(1, 2, 16, 4)},
        {"PCM 24", formatBlock(1, 1, 24, 3)},
        {"PCM 32", formatBlock(1, 1, 32, 4)},
        {"PCM 12", formatBlock(1, 1, 12, 2)},
        {"PCM 64", formatBlock(1, 1, 64, 8)},
        {"PCM 24 in 4 bytes", formatBlock(1, 1, 24, 4)},
        {"PCM 10 channels", formatBlock(1, 10, 16, 20)},
        {"PCM 300 channels", formatBlock(1, 300, 8, 300)},
        {"float 32", formatBlock(3, 1, 32, 4)},
        {"float 64", formatBlock(3, 1, 64, 8)},
        {"A-law", formatBlock(6, 1, 8, 1, {0, 0})},
        {"mu-law 16", formatBlock(7, 1, 16, 2, {0, 0})},
        {"IMA ADPCM", formatBlock(0x11, 1, 4, 256, le16s({505}))},
        {"IMA ADPCM 3-bit", formatBlock(0x11, 1, 3, 256, le16s({505}))},
        {"IMA ADPCM block too small", formatBlock(0x11, 2, 4, 12, le16s({505}))},
        {"MS ADPCM", formatBlock(2, 1, 4, 256, msCoefficients)},
        {"MS ADPCM wrong coefficients", formatBlock(2, 1, 4, 256, msWrong)},
        {"MS ADPCM no coefficients", formatBlock(2, 1, 4, 256, le16s({500}))},
        {"MS ADPCM bad block", formatBlock(2, 1, 4, 256, msCoefficients)},
        {"GSM 6.10", formatBlock(0x31, 1, 0, 65, le16s({320}))},
        {"MP3", formatBlock(0x55, 1, 0, 1, std::vector<uint8_t>(12))},
        {"tag 0", formatBlock(0, 1, 16, 2)},
        {"bits 0", formatBlock(1, 1, 0, 1)},
        {"extensible PCM", formatBlock(0xFFFE, 1, 16, 2, extensible(16, 1))},
        {"extensible float 64", formatBlock(0xFFFE, 1, 64, 8, extensible(64, 3))},
        {"extensible MS ADPCM", formatBlock(0xFFFE, 1, 4, 256, extensible(4, 2))},
        {"extensible IMA ADPCM", formatBlock(0xFFFE, 1, 4, 256, extensible(505, 0x11))},
        {"extensible other GUID", formatBlock(0xFFFE, 1, 16, 2, extensible(16, 1, true))},
        {"extensible too small", formatBlock(0xFFFE, 1, 16, 2, le16s({16}))},
    };
    SdlSoundMixer real(device);
    VirtualClock clock;
    RecordingSoundMixer recorded(clock);
    std::vector<uint8_t> samples(2048, 0x01);
    std::vector<uint8_t> badIndex = samples;
    badIndex[256] = 8;  // the second block's coefficient index: past the seven
    int refused = 0;
    for (const auto& [what, format] : formats) {
        const std::vector<uint8_t>& data =
            std::string_view(what) == "MS ADPCM bad block" ? badIndex : samples;
        const SoundId r = real.create(format, data);
        const SoundId h = recorded.create(format, data);
        EXPECT_EQ(r != 0, h != 0) << what << ": " << real.lastError();
        EXPECT_EQ(real.lastError(), recorded.lastError()) << what;
        refused += r == 0;
        // A wave without samples plays a moment of silence whatever it says.
        EXPECT_NE(recorded.create(format, {}), 0u) << what;
    }
    EXPECT_GE(refused, 15);
}

TEST_F(SdlAudio, MusicPlaysPausesStartsOverAndEnds) {
    test::TempDir dir;
    WaveItem w = waveItem("song", 300);
    writeFile(dir.file("song.wav"), writeWave(w.wave));
    SdlMediaPlayer player(device);
    EXPECT_EQ(player.mode(), MediaMode::NotOpen);
    player.play();  // nothing open: nothing happens
    EXPECT_EQ(player.mode(), MediaMode::NotOpen);

    player.open(dir.file("song.wav"));
    EXPECT_EQ(player.fileName(), dir.file("song.wav"));
    EXPECT_EQ(player.mode(), MediaMode::Stopped);
    player.play();
    player.setVolume(800);
    EXPECT_EQ(player.mode(), MediaMode::Playing);
    EXPECT_EQ(Mix_VolumeMusic(-1), 102);
    player.stop();
    EXPECT_EQ(player.mode(), MediaMode::Stopped);
    player.play();
    EXPECT_EQ(player.mode(), MediaMode::Playing);
    player.seekToStart();
    EXPECT_EQ(player.mode(), MediaMode::Playing);
    EXPECT_TRUE(within(3000, [&] { return player.mode() == MediaMode::Stopped; }));
    // An ended track plays again after a seek, as the room music loop does.
    player.seekToStart();
    player.play();
    EXPECT_EQ(player.mode(), MediaMode::Playing);

    writeFile(dir.file("noise.ogg"), {'O', 'g', 'g', 'S', 1, 2, 3});
    try {
        player.open(dir.file("noise.ogg"));
        ADD_FAILURE() << "a damaged file opened";
    } catch (const DataError& e) {
        EXPECT_NE(std::string(e.what()).find("noise.ogg"), std::string::npos) << e.what();
    }
    EXPECT_EQ(player.mode(), MediaMode::NotOpen);
    EXPECT_EQ(player.fileName(), "");
    EXPECT_THROW(player.open(dir.file("missing.mp3")), DataError);
}

TEST_F(SdlAudio, MidiMusicPlaysWithTheMachinesSoundFont) {
    if (device.soundFont().empty()) GTEST_SKIP() << "no General MIDI sound font installed";
    test::TempDir dir;
    writeFile(dir.file("tune.mid"), midiFile(1));
    SdlMediaPlayer player(device);
    player.open(dir.file("tune.mid"));
    player.play();
    EXPECT_EQ(player.mode(), MediaMode::Playing);
    // One beat is 500 ms: the track ends then, not when the synthesiser has let the
    // note fade seconds later, so a looping track has no long silence.
    EXPECT_TRUE(within(2500, [&] { return player.mode() == MediaMode::Stopped; }));
    player.seekToStart();
    player.play();
    EXPECT_EQ(player.mode(), MediaMode::Playing);
    player.stop();
    EXPECT_EQ(player.mode(), MediaMode::Stopped);

    // The same tune in a RIFF "RMID" form, which the MIDI decoders do not read.
    std::vector<uint8_t> rmid = {'R', 'I', 'F', 'F', 0,   0,   0, 0, 'R', 'M',
                                 'I', 'D', 'd', 'a', 't', 'a', 0, 0, 0,   0};
    const std::vector<uint8_t> smf = midiFile(1);
    putU32(rmid, 16, static_cast<uint32_t>(smf.size()));
    rmid.insert(rmid.end(), smf.begin(), smf.end());
    putU32(rmid, 4, static_cast<uint32_t>(rmid.size() - 8));
    writeFile(dir.file("tune.rmi"), rmid);
    player.open(dir.file("tune.rmi"));
    player.play();
    EXPECT_EQ(player.mode(), MediaMode::Playing);
    EXPECT_TRUE(within(2500, [&] { return player.mode() == MediaMode::Stopped; }));
}

TEST_F(SdlAudio, MusicThatCannotPlayIsRefusedInPlainWords) {
    test::TempDir dir;
    Wave ima;
    ima.format = formatBlock(0x11, 1, 4, 256, le16s({505}));
    ima.samples.assign(2048, 0x42);
    writeFile(dir.file("ima.wav"), writeWave(ima));
    writeFile(dir.file("notes.mp3"), {'s', 'o', 'n', 'g', '\n'});
    writeFile(dir.file("empty.ogg"), {});
    auto refusal = [](MediaPlayer& p, const std::string& path) {
        try {
            p.open(path);
        } catch (const DataError& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    SdlMediaPlayer player(device);
    RecordingMediaPlayer recorded;
    // The same wave plays as a sound; music decodes fewer encodings.
    SdlSoundMixer mixer(device);
    EXPECT_NE(mixer.create(ima.format, ima.samples), 0u) << mixer.lastError();
    const std::string why = refusal(player, dir.file("ima.wav"));
    EXPECT_NE(why.find("ima.wav: it is a WAV file of IMA ADPCM sound, which plays as a sound but "
                       "not as music"),
              std::string::npos)
        << why;
    EXPECT_EQ(refusal(recorded, dir.file("ima.wav")), why);
    EXPECT_EQ(refusal(player, dir.file("notes.mp3")),
              "Cannot open music file " + dir.file("notes.mp3") + ": it is a text file, not music");
    EXPECT_EQ(refusal(player, dir.file("empty.ogg")),
              "Cannot open music file " + dir.file("empty.ogg") + ": the file is empty");
    // Test packages hold stand-ins for their music; headless runs play them on.
    EXPECT_EQ(refusal(recorded, dir.file("notes.mp3")), "");
    EXPECT_EQ(player.mode(), MediaMode::NotOpen);
}

TEST(MusicVolume, MapsTheGamesScaleLinearlyOntoTheMixersAndClamps) {
    EXPECT_EQ(mixerMusicVolume(0), 0);
    EXPECT_EQ(mixerMusicVolume(500), 64);
    EXPECT_EQ(mixerMusicVolume(1000), MIX_MAX_VOLUME);
    EXPECT_EQ(mixerMusicVolume(-20), 0);
    EXPECT_EQ(mixerMusicVolume(INT32_MAX), MIX_MAX_VOLUME);
}

}  // namespace
}  // namespace zk
