#include "assets/wave_list.h"

#include <gtest/gtest.h>

#include "asset_fixtures.h"
#include "assets/component_stream.h"

namespace zk {
namespace {

using test::Bytes;
using test::chunk;
using test::errorOf;
using B = std::vector<uint8_t>;

const B kFmt = pcmFormat(1, 22050, 16);
const B kSamples = {1, 2, 3, 4, 5, 6};

TEST(Wave, ChunksAsTheyFollowEachOther) {
    Bytes c;
    chunk(c, "fmt ", kFmt);
    chunk(c, "LIST", {'I', 'N', 'F', 'O', 'x', 'y'});
    chunk(c, "data", kSamples);
    Wave w = parseWave(test::riff(c.b));
    EXPECT_EQ(w.format, kFmt);
    EXPECT_EQ(w.samples, kSamples);

    B fmt18 = kFmt;
    fmt18.insert(fmt18.end(), {0, 0});
    Bytes c18;
    chunk(c18, "fmt ", fmt18);
    chunk(c18, "data", kSamples);
    EXPECT_EQ(parseWave(test::riff(c18.b)).format.size(), 18u);

    // Later "fmt " and "data" chunks replace earlier ones; no pad byte after odd chunks.
    Bytes later;
    chunk(later, "data", {9});
    chunk(later, "fmt ", {7, 7, 7});
    chunk(later, "data", kSamples);
    chunk(later, "fmt ", kFmt);
    w = parseWave(test::riff(later.b));
    EXPECT_EQ(w.format, kFmt);
    EXPECT_EQ(w.samples, kSamples);

    // Odd chunks are followed directly by the next one...
    Bytes direct;
    chunk(direct, "fmt ", kFmt);
    chunk(direct, "junk", {1, 2, 3});
    chunk(direct, "data", kSamples);
    EXPECT_EQ(parseWave(test::riff(direct.b)).samples, kSamples);
    // ...but a RIFF file's pad byte after one is skipped when reading from the pad
    // byte finds no data chunk (its identifier is not "data", its length runs past
    // the end), as long as both chunks are then found whole.
    Bytes padded;
    chunk(padded, "fmt ", kFmt);
    chunk(padded, "bext", {1, 2, 3}).u8({0});
    chunk(padded, "data", kSamples);
    w = parseWave(test::riff(padded.b));
    EXPECT_EQ(w.format, kFmt);
    EXPECT_EQ(w.samples, kSamples);
    Bytes padCut;
    chunk(padCut, "fmt ", kFmt);
    chunk(padCut, "bext", {1, 2, 3}).u8({0}).str("data").u32(100).add(kSamples);
    w = parseWave(test::riff(padCut.b));
    EXPECT_EQ(w.format, kFmt);
    EXPECT_TRUE(w.samples.empty());

    Bytes none;
    chunk(none, "LIST", {});
    w = parseWave(test::riff(none.b));
    EXPECT_TRUE(w.format.empty());
    EXPECT_TRUE(w.samples.empty());
}

TEST(Wave, Faults) {
    EXPECT_EQ(errorOf([] { parseWave(B{}); }), "Stream read error");
    EXPECT_EQ(errorOf([] {
                  parseWave(B{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V'});
              }),
              "Stream read error");
    Bytes notWave;
    notWave.str("RIFF").u32(4).str("AVI ");
    EXPECT_EQ(errorOf([&] { parseWave(notWave.b); }), "Wave is invalid");
    Bytes notRiff;
    notRiff.str("RIFX").u32(4).str("WAVE");
    EXPECT_EQ(errorOf([&] { parseWave(notRiff.b); }), "Wave is invalid");

    Bytes longData;
    chunk(longData, "fmt ", kFmt).str("data").u32(100).add(kSamples);
    EXPECT_EQ(errorOf([&] { parseWave(test::riff(longData.b)); }), "Stream read error");
    Bytes longFmt;
    longFmt.str("fmt ").u32(100).add(kFmt);
    EXPECT_EQ(errorOf([&] { parseWave(test::riff(longFmt.b)); }), "Stream read error");

    // A length that would be negative as a signed value skips forward, never back.
    Bytes backwards;
    chunk(backwards, "fmt ", kFmt).str("LIST").u32(0xFFFFFFF8u);
    EXPECT_EQ(parseWave(test::riff(backwards.b)).format, kFmt);
    // A cut-off header reads its missing bytes as zeros.
    Bytes cutHeader;
    chunk(cutHeader, "fmt ", kFmt).str("da");
    EXPECT_EQ(parseWave(test::riff(cutHeader.b)).format, kFmt);
}

TEST(WaveList, RoundTripAndDefaults) {
    WaveList list;
    list.items.push_back({"click", false, 3, {kFmt, kSamples}});
    list.items.push_back({"Rain", true, 0, {kFmt, {1, 2, 3}}});  // odd data gets a pad byte
    list.items.push_back({"", false, 0, {}});
    WaveList back = readWaveList(writeWaveList(list));
    ASSERT_EQ(back.count(), 3);
    EXPECT_EQ(back.item(0).name, "click");
    EXPECT_EQ(back.item(0).maxPlayingCount, 3);
    EXPECT_EQ(back.item(0).wave.samples, kSamples);
    EXPECT_TRUE(back.item(1).looped);
    EXPECT_EQ(back.item(1).wave.samples, (B{1, 2, 3}));
    EXPECT_EQ(back.item(2).name, "");
    EXPECT_TRUE(back.item(2).wave.format.empty());

    // Only "Name" and "Wave.WAVE": the other properties keep their defaults.
    MemoryStream s;
    ComponentWriter w(s, "AnyNameAtAll", "TWaveCollectionComponent");
    w.name("List");
    w.beginCollection();
    w.beginEntry();
    w.name("Wave.WAVE");
    w.binary(writeWave({kFmt, kSamples}));
    w.name("Name");
    w.string("door");
    w.end();
    w.beginEntry();
    w.name("MaxPlayingCount");
    w.integer(-5);
    w.name("Wave.WAVE");
    w.binary(writeWave({}));
    w.end();
    w.end();
    w.finish();
    back = readWaveList(s.data());
    ASSERT_EQ(back.count(), 2);
    EXPECT_EQ(back.item(0).name, "door");
    EXPECT_FALSE(back.item(0).looped);
    EXPECT_EQ(back.item(0).maxPlayingCount, 0);
    EXPECT_EQ(back.item(0).wave.format, kFmt);
    EXPECT_EQ(back.item(1).maxPlayingCount, 0);  // negative counts are stored as 0
}

TEST(WaveList, FaultsKeepTheItemsReadBefore) {
    auto listWith = [](const B& secondWave) {
        MemoryStream s;
        ComponentWriter w(s, "", "TWaveCollectionComponent");
        w.name("List");
        w.beginCollection();
        for (const B& wave : {writeWave({kFmt, kSamples}), secondWave}) {
            w.beginEntry();
            w.name("Wave.WAVE");
            w.binary(wave);
            w.end();
        }
        w.end();
        w.finish();
        return s.data();
    };
    for (auto [wave, message] :
         {std::pair{B{}, "Stream read error"},
          {B{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'X'}, "Wave is invalid"}}) {
        WaveList list;
        MemoryStream s(listWith(wave));
        EXPECT_EQ(errorOf([&] { list.loadFromStream(s); }), message);
        ASSERT_EQ(list.count(), 2);
        EXPECT_EQ(list.item(0).wave.samples, kSamples);
    }
    EXPECT_EQ(errorOf([] { readWaveList(B{'T', 'P', 'F', '0'}); }), "Invalid stream format");
}

TEST(WaveList, FindIgnoresCaseAndPrefersTheLaterSound) {
    WaveList list;
    for (auto name : {"Door", "step", "DOOR", "\xC9t\xE9"})
        list.items.push_back({name, false, 0, {}});
    EXPECT_EQ(list.find("door"), 2);
    EXPECT_EQ(list.find("STEP"), 1);
    EXPECT_EQ(list.find("\xE9T\xC9"), 3);  // accented letters fold too
    EXPECT_EQ(list.find("ste"), -1);
    EXPECT_EQ(errorOf([&] { list.item(4); }), "List index out of bounds (4)");
}

}  // namespace
}  // namespace zk
