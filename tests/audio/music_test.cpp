#include <gtest/gtest.h>

#include <algorithm>

#include "audio_game.h"

namespace zk {
namespace {

using test::AudioGame;
using test::musicGame;

int count(const std::vector<std::string>& calls, const std::string& call) {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

TEST(RoomMusic, RoomsSharingATrackKeepItPlayingAndSilentRoomsForgetIt) {
    AudioGame a;
    a.load(musicGame());
    RecordingMediaPlayer& m = a.hp.media;
    ASSERT_EQ(a.g.room().name(), "hall");
    EXPECT_EQ(m.fileName(), a.g.session.tempFolder + "music/theme.ogg");
    EXPECT_EQ(m.mode(), MediaMode::Playing);
    EXPECT_EQ(m.opens, 1);
    EXPECT_EQ(m.volume, 800);

    // The same music name: no stop, no new open.
    const size_t before = m.calls.size();
    a.enter("library");
    EXPECT_EQ(m.calls.size(), before);
    EXPECT_EQ(m.opens, 1);
    EXPECT_EQ(m.mode(), MediaMode::Playing);

    // No music: stopped and forgotten; the frame loop does not bring it back.
    a.enter("cellar");
    EXPECT_EQ(count(m.calls, "stop"), 1);
    EXPECT_EQ(m.fileName(), "");
    EXPECT_NE(m.mode(), MediaMode::Playing);
    restartMusicIfStopped(a.g);
    EXPECT_NE(m.mode(), MediaMode::Playing);

    // Back in a room with music, its track starts again from the beginning.
    a.enter("hall");
    EXPECT_EQ(m.opens, 2);
    EXPECT_EQ(m.mode(), MediaMode::Playing);
    const std::vector<std::string> tail(m.calls.end() - 3, m.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"open " + a.g.session.tempFolder + "music/theme.ogg",
                                              "play", "volume 800"}));

    // Another track: the playing one stops before the new file opens.
    a.enter("attic");
    EXPECT_EQ(m.opens, 3);
    EXPECT_EQ(m.fileName(), a.g.session.tempFolder + "music/storm.mid");
    EXPECT_EQ(count(m.calls, "stop"), 2);
    EXPECT_TRUE(a.errors().empty());
}

TEST(RoomMusic, AnEndedTrackStartsOverEveryTime) {
    AudioGame a;
    a.load(musicGame());
    RecordingMediaPlayer& m = a.hp.media;
    restartMusicIfStopped(a.g);  // playing: nothing to do
    EXPECT_EQ(count(m.calls, "seek"), 0);
    for (int round = 1; round <= 3; ++round) {
        m.finish();
        ASSERT_EQ(m.mode(), MediaMode::Stopped);
        restartMusicIfStopped(a.g);
        EXPECT_EQ(m.mode(), MediaMode::Playing);
        EXPECT_EQ(count(m.calls, "seek"), round);
        EXPECT_EQ(m.calls.back(), "play");
    }
    EXPECT_EQ(m.opens, 1);
}

TEST(RoomMusic, DisabledMusicNeverOpensAFile) {
    test::GameBuilder b = musicGame();
    b.prefs.setMusicEnabled(0);
    AudioGame a;
    a.load(b);
    for (const char* room : {"attic", "cellar", "library", "hall"}) {
        a.enter(room);
        restartMusicIfStopped(a.g);
    }
    EXPECT_EQ(a.hp.media.opens, 0);
    EXPECT_TRUE(a.hp.media.calls.empty());
}

TEST(RoomMusic, TheFirstRecordOfANameCountsAndNamesAreCaseSensitive) {
    test::GameBuilder b = musicGame();
    b.music.emplace_back().setName("theme");  // a later record of the same name
    b.music.back().setFile("other.ogg");
    b.files["music\\other.ogg"] = {7};
    b.music.emplace_back().setName("storm again");  // another name for a playing file
    b.music.back().setFile("storm.mid");
    b.addRoom("tower").setMusic("storm again");
    b.addRoom("crypt").setMusic("Theme");
    AudioGame a;
    a.load(b);
    RecordingMediaPlayer& m = a.hp.media;
    EXPECT_EQ(m.fileName(), a.g.session.tempFolder + "music/theme.ogg");

    // The file decides: another music name for the track that plays changes nothing.
    a.enter("attic");
    ASSERT_EQ(m.opens, 2);
    a.enter("tower");
    EXPECT_EQ(m.opens, 2);

    // "Theme" is no record: the music stops and the frame loop does not restart it.
    a.enter("crypt");
    EXPECT_EQ(m.fileName(), "");
    EXPECT_NE(m.mode(), MediaMode::Playing);
    restartMusicIfStopped(a.g);
    EXPECT_EQ(m.opens, 2);
    EXPECT_NE(m.mode(), MediaMode::Playing);
    EXPECT_EQ(a.errors(),
              std::vector<std::string>{"Music 'Theme' of room 'crypt' is not in the music table"});
}

TEST(RoomMusic, AFileThatCannotOpenIsReportedOnceAndTheGameGoesOn) {
    test::GameBuilder b = musicGame();
    b.files.erase("music\\storm.mid");
    AudioGame a;
    a.load(b);
    a.enter("attic");
    a.enter("hall");
    a.enter("attic");
    ASSERT_EQ(a.errors().size(), 1u);
    EXPECT_NE(a.errors()[0].find("storm.mid"), std::string::npos) << a.errors()[0];
    EXPECT_EQ(a.hp.media.mode(), MediaMode::NotOpen);
    restartMusicIfStopped(a.g);
    EXPECT_EQ(a.hp.media.mode(), MediaMode::NotOpen);
    a.enter("library");
    EXPECT_EQ(a.hp.media.mode(), MediaMode::Playing);
}

}  // namespace
}  // namespace zk

namespace zk {
namespace {

TEST(PlayerVolumes, ScaleTheGamesMusicAndReachTheMixerAndThePlayerAtOnce) {
    test::GameBuilder b = test::musicGame();
    b.prefs.setMusicVolume(800);
    test::AudioGame a;
    Settings s;
    s.musicVolume = 25;
    s.soundVolume = 60;
    a.g.settings = &s;
    a.load(b);
    applyPlayerVolumes(a.g);
    EXPECT_EQ(a.hp.media.volume, 200) << "the game's 800 at a quarter";
    EXPECT_EQ(a.hp.mixer.volume, 60);

    s.muted = true;
    applyPlayerVolumes(a.g);
    EXPECT_EQ(a.hp.media.volume, 0);
    EXPECT_EQ(a.hp.mixer.volume, 0);
    s.muted = false;
    s.musicVolume = 100;
    applyPlayerVolumes(a.g);
    EXPECT_EQ(a.hp.media.volume, 800) << "full: as the game sets it";
}

}  // namespace
}  // namespace zk
