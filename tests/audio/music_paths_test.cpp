// A music record's file name comes from the game's data; whatever folders it names,
// only the extracted music folder is opened (never a device or a file elsewhere, which
// could block or play anything).
#include <gtest/gtest.h>

#include "audio_game.h"

namespace zk {
namespace {

TEST(MusicPaths, OnlyTheFileNameOfAMusicRecordIsUsed) {
    test::GameBuilder b = test::musicGame();
    b.music[0].setFile("..\\..\\..\\..\\..\\..\\..\\dev\\stdin");
    b.music[1].setFile("sub/folder/storm.mid");
    test::AudioGame a;
    a.hp.media.requireFiles = false;
    a.load(b);
    EXPECT_EQ(a.hp.media.fileName(), a.g.session.tempFolder + "music/stdin");
    a.enter("attic");
    EXPECT_EQ(a.hp.media.fileName(), a.g.session.tempFolder + "music/storm.mid");
    for (const std::string& call : a.hp.media.calls)
        EXPECT_EQ(call.find(".."), std::string::npos) << call;
}

}  // namespace
}  // namespace zk
