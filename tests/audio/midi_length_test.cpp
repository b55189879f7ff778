#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/music_file.h"

namespace zk {
namespace {

using Bytes = std::vector<uint8_t>;

void big(Bytes& out, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

Bytes smf(uint16_t format, uint16_t division, const std::vector<Bytes>& tracks) {
    Bytes f = {'M', 'T', 'h', 'd'};
    big(f, 6, 4);
    big(f, format, 2);
    big(f, static_cast<uint32_t>(tracks.size()), 2);
    big(f, division, 2);
    for (const Bytes& t : tracks) {
        f.insert(f.end(), {'M', 'T', 'r', 'k'});
        big(f, static_cast<uint32_t>(t.size()), 4);
        f.insert(f.end(), t.begin(), t.end());
    }
    return f;
}

const Bytes kEnd = {0x00, 0xFF, 0x2F, 0x00};

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(MidiLength, FollowsTempoChangesAcrossTracksAndRunningStatus) {
    // 96 ticks per quarter; one beat is 500 ms at the default tempo. Two-byte delta
    // 0x81 0x40 is 192 ticks.
    const Bytes oneBeat = Bytes{0x00, 0x90, 0x3C, 0x64, 0x60, 0x3C, 0x00} + kEnd;
    EXPECT_EQ(midiLengthMs(smf(0, 96, {oneBeat})), 500u);

    // Track 0 holds the tempo map: 60 bpm, then 240 bpm from beat 2 on; track 1
    // plays for three beats: 1000 + 2 x 250 ms. Program changes carry one data byte,
    // and the note-off runs on the note-on's status.
    const Bytes tempoMap =
        Bytes{0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0x60, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90} +
        kEnd;
    const Bytes notes =
        Bytes{0x00, 0xC0, 0x05, 0x00, 0x90, 0x40, 0x64, 0x82, 0x20, 0x40, 0x00} + kEnd;
    EXPECT_EQ(midiLengthMs(smf(1, 96, {tempoMap, notes})), 1500u);

    // A system-exclusive message and text meta events are skipped by their lengths.
    const Bytes sysex = Bytes{0x00, 0xF0, 0x03, 0x7E, 0x7F, 0xF7, 0x00, 0xFF, 0x01,
                              0x02, 'h',  'i',  0x81, 0x40, 0xB0, 0x07, 0x64} +
                        kEnd;
    EXPECT_EQ(midiLengthMs(smf(0, 96, {sysex})), 1000u);

    // SMPTE time: 25 frames of 40 ticks make 1000 ticks a second.
    const Bytes smpte = Bytes{0x93, 0x4C, 0x90, 0x3C, 0x64} + kEnd;  // 2508 ticks
    EXPECT_EQ(midiLengthMs(smf(0, 0xE728, {smpte})), 2508u);
}

TEST(MidiLength, ReadsRiffWrappedFilesAndRefusesDamagedOnes) {
    const Bytes file = smf(0, 96, {Bytes{0x60, 0x90, 0x3C, 0x64} + kEnd});
    Bytes rmid = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'};
    const uint32_t size = static_cast<uint32_t>(file.size());
    for (int i = 0; i < 4; ++i) rmid.push_back(static_cast<uint8_t>(size >> (8 * i)));
    rmid = rmid + file;
    EXPECT_TRUE(isMidiFile(file));
    EXPECT_TRUE(isMidiFile(rmid));
    EXPECT_EQ(midiLengthMs(rmid), 500u);

    EXPECT_FALSE(isMidiFile(Bytes{'O', 'g', 'g', 'S', 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(midiLengthMs(Bytes{'O', 'g', 'g', 'S'}));
    // A delta time that runs off the end, and a data byte with no status before it.
    EXPECT_FALSE(midiLengthMs(smf(0, 96, {Bytes{0x81, 0x82}})));
    EXPECT_FALSE(midiLengthMs(smf(0, 96, {Bytes{0x00, 0x3C, 0x64} + kEnd})));
    EXPECT_FALSE(midiLengthMs(smf(0, 0, {kEnd})));
    Bytes cut = file;
    cut.resize(cut.size() - 3);
    EXPECT_FALSE(midiLengthMs(cut));
}

}  // namespace
}  // namespace zk

// The web page's build names each rendered track by `cksum`; the engine must agree.
TEST(MidiLength, ChecksumMatchesThePosixCksumTool) {
    auto sum = [](std::string_view text) {
        return zk::posixChecksum(
            std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    };
    EXPECT_EQ(sum(""), 4294967295u);
    EXPECT_EQ(sum("a"), 1220704766u);
    EXPECT_EQ(sum("123456789"), 930766865u);
    EXPECT_EQ(sum(std::string(1000, 'x')), 3999126958u);  // a length of two bytes
}
