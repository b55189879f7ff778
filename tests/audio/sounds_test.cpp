#include <gtest/gtest.h>

#include <set>

#include "audio_game.h"

namespace zk {
namespace {

using test::AudioGame;
using test::waveItem;

// The interface list: 0 a 1 s sound with no limit, 1 one that may play twice, 2 a loop.
test::GameBuilder soundGame() {
    test::GameBuilder b = test::GameBuilder::minimal();
    b.sounds.items = {waveItem("take", 1000), waveItem("drop", 1000, false, 2),
                      waveItem("rain", 500, true)};
    WaveList bell;
    bell.items = {waveItem("Ding", 300), waveItem("dong", 400), waveItem("DING", 700)};
    b.files["objects\\bell\\waves.dxw"] = writeWaveList(bell);
    WaveList clock;
    clock.items = {waveItem("tick", 200, true)};
    b.files["objects\\clock\\waves.dxw"] = writeWaveList(clock);
    return b;
}

std::vector<SoundId> startedIds(const RecordingSoundMixer& m) {
    std::vector<SoundId> ids;
    for (const auto& s : m.started) ids.push_back(s.id);
    return ids;
}

TEST(Sounds, ALimitedSoundReusesItsOldestCopyAndAFreeCopyIsTakenFirst) {
    AudioGame a;
    a.load(soundGame());
    RecordingSoundMixer& m = a.hp.mixer;
    for (int i = 0; i < 3; ++i) playSound(a.g, 1);
    const std::vector<SoundId> ids = startedIds(m);
    ASSERT_EQ(ids.size(), 3u);
    EXPECT_NE(ids[0], ids[1]);
    EXPECT_EQ(ids[2], ids[0]);  // the first copy was cut short and started again
    ASSERT_EQ(a.g.audio.soundLog.size(), 3u);
    EXPECT_EQ(a.g.audio.soundLog[0].copy, 0);
    EXPECT_EQ(a.g.audio.soundLog[0].copies, 1);
    EXPECT_EQ(a.g.audio.soundLog[1].copy, 1);
    EXPECT_EQ(a.g.audio.soundLog[2].copy, 1);  // moved to the end of the list
    EXPECT_EQ(a.g.audio.soundLog[2].copies, 2);
    EXPECT_EQ(a.g.audio.soundLog[2].index, 1);
    EXPECT_FALSE(a.g.audio.soundLog[2].fromObject);

    // Cut short again: the oldest copy is now the second one made.
    a.hp.clock.advance(600);  // both copies play until 1000
    playSound(a.g, 1);
    EXPECT_EQ(m.started.back().id, ids[1]);
    // A copy that has ended is taken before any is cut short, wherever it stands.
    a.hp.clock.advance(600);  // ids[0] has ended, ids[1] plays until 1600
    playSound(a.g, 1);
    EXPECT_EQ(m.started.back().id, ids[0]);
    EXPECT_EQ(a.g.audio.soundLog.back().copy, 0);
    a.hp.clock.advance(500);  // ids[1] has ended, ids[0] plays until 2200
    playSound(a.g, 1);
    EXPECT_EQ(m.started.back().id, ids[1]);
    EXPECT_EQ(a.g.audio.soundLog.back().copy, 1);
    EXPECT_EQ(a.g.audio.soundLog.back().copies, 2);
}

TEST(Sounds, AnUnlimitedSoundPlaysEveryStartTogetherAndReusesEndedCopies) {
    AudioGame a;
    a.load(soundGame());
    RecordingSoundMixer& m = a.hp.mixer;
    for (int i = 0; i < 5; ++i) playSound(a.g, 0);
    const std::vector<SoundId> ids = startedIds(m);
    EXPECT_EQ(std::set<SoundId>(ids.begin(), ids.end()).size(), 5u);
    for (SoundId id : ids) EXPECT_TRUE(m.isPlaying(id));
    EXPECT_EQ(a.g.audio.soundLog.back().copy, 4);
    EXPECT_EQ(a.g.audio.soundLog.back().copies, 5);

    a.hp.clock.advance(1000);
    playSound(a.g, 0);
    EXPECT_EQ(m.started.back().id, ids[0]);
    EXPECT_EQ(a.g.audio.soundLog.back().copy, 0);
    EXPECT_EQ(a.g.audio.soundLog.back().copies, 5);
}

TEST(Sounds, ALoopedSoundHasOneCopyRestartedFromTheBeginning) {
    AudioGame a;
    a.load(soundGame());
    RecordingSoundMixer& m = a.hp.mixer;
    playSound(a.g, 2);
    a.hp.clock.advance(1250);
    const RecordingSoundMixer::Buffer* b = m.buffer(m.started[0].id);
    ASSERT_NE(b, nullptr);
    playSound(a.g, 2);
    ASSERT_EQ(m.started.size(), 2u);
    EXPECT_EQ(m.started[1].id, m.started[0].id);
    EXPECT_TRUE(m.started[1].looped);
    EXPECT_EQ(b->startMs, 0u);  // from the beginning, not from 250 ms in
    a.hp.clock.advance(60000);
    EXPECT_TRUE(m.isPlaying(m.started[0].id));
    EXPECT_EQ(a.g.audio.soundLog.back().copy, 0);
    EXPECT_EQ(a.g.audio.soundLog.back().copies, 1);
}

TEST(Sounds, PlaysndFindsNamesInAnyCaseTheLaterOfTwoAndReportsUnknownOnes) {
    AudioGame a;
    a.load(soundGame());
    RecordingSoundMixer& m = a.hp.mixer;
    playObjectSound(a.g, "bell", "ding");
    ASSERT_EQ(m.started.size(), 1u);
    EXPECT_EQ(m.buffer(m.started[0].id)->lengthMs, 700u);  // "DING", not "Ding"
    playObjectSound(a.g, "bell", "DONG");
    EXPECT_EQ(m.buffer(m.started[1].id)->lengthMs, 400u);
    ASSERT_EQ(a.g.audio.soundLog.size(), 2u);
    EXPECT_TRUE(a.g.audio.soundLog[1].fromObject);
    EXPECT_EQ(a.g.audio.soundLog[1].object, "bell");
    EXPECT_EQ(a.g.audio.soundLog[1].sound, "DONG");
    EXPECT_EQ(a.g.audio.waveList1.count(), 3);

    playObjectSound(a.g, "bell", "x");
    playObjectSound(a.g, "bell", "x");
    playObjectSound(a.g, "bell", "din");
    EXPECT_EQ(a.errors(), (std::vector<std::string>{"Wave 'x' not found", "Wave 'din' not found"}));
    EXPECT_EQ(m.started.size(), 2u);
    EXPECT_EQ(a.g.audio.soundLog.size(), 2u);
}

TEST(Sounds, ANewObjectListStopsThePreviousObjectsSounds) {
    AudioGame a;
    a.load(soundGame());
    RecordingSoundMixer& m = a.hp.mixer;
    playObjectSound(a.g, "clock", "tick");
    const SoundId tick = m.started.back().id;
    EXPECT_TRUE(m.isPlaying(tick));
    playObjectSound(a.g, "bell", "dong");
    EXPECT_FALSE(m.isPlaying(tick));
    EXPECT_EQ(m.buffer(tick), nullptr);
    EXPECT_EQ(a.g.audio.waveList1.count(), 3);

    // A missing list: reported, nothing plays, the old sounds are gone as well.
    const SoundId dong = m.started.back().id;
    playObjectSound(a.g, "door", "creak");
    EXPECT_EQ(m.buffer(dong), nullptr);
    EXPECT_EQ(a.g.audio.waveList1.count(), 0);
    EXPECT_EQ(a.errors(),
              std::vector<std::string>{
                  "Wave list 'objects\\door\\waves.dxw' is missing from the game package"});
    // The interface sounds are not touched by any of it.
    playSound(a.g, 2);
    playObjectSound(a.g, "bell", "dong");
    EXPECT_TRUE(m.isPlaying(m.started[m.started.size() - 2].id));
}

TEST(Sounds, WithoutADeviceNothingPlaysAndNothingIsReported) {
    AudioGame a;
    a.hp.mixer.deviceReady = false;
    a.load(soundGame());
    for (int i = 0; i < 3; ++i) playSound(a.g, i);
    playObjectSound(a.g, "bell", "ding");
    EXPECT_TRUE(a.hp.mixer.started.empty());
    EXPECT_EQ(a.hp.mixer.bufferCount(), 0u);
    EXPECT_TRUE(a.g.audio.soundLog.empty());
    EXPECT_TRUE(a.errors().empty());
}

TEST(Sounds, MissingAndUnplayableSoundsAreReportedOnce) {
    test::GameBuilder b = soundGame();
    WaveItem broken = waveItem("broken", 100);
    broken.wave.format.resize(10);  // too short to say how to play it
    b.sounds.items.push_back(broken);
    AudioGame a;
    a.load(b);
    playSound(a.g, 3);
    playSound(a.g, 3);
    playSound(a.g, 7);
    playSound(a.g, 7);
    EXPECT_EQ(a.errors(),
              (std::vector<std::string>{
                  "Wave 'broken' cannot be played: its format is not one the sound device plays",
                  "Interface sound 7 is missing from 'sounds.dxw'"}));
    EXPECT_TRUE(a.g.audio.soundLog.empty());
    playSound(a.g, 0);  // the others still play
    EXPECT_EQ(a.g.audio.soundLog.size(), 1u);

    // A game without interface sounds was told so when they failed to load.
    AudioGame quiet;
    quiet.load(test::GameBuilder::minimal());
    const size_t before = quiet.errors().size();
    playSound(quiet.g, 0);
    EXPECT_EQ(quiet.errors().size(), before);
}

}  // namespace
}  // namespace zk
