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
