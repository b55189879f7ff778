#include "render/fade.h"

#include <gtest/gtest.h>

#include <vector>

#include "render/compose.h"
#include "render/overlays_fixture.h"

namespace zk {
namespace {

using test::singlePictureList;
using test::solidImage;

uint32_t grey(uint32_t level) {
    return level * 0x010101u;
}

class Fades : public test::OverlayFixture {
  protected:
    void SetUp() override {
        OverlayFixture::SetUp();
        g.tables.rooms[0].setIsGameRoom(0);
        watch(400, 300);
    }
    // Records the pixels at the watched points and the fading flag at every flip.
    void watch(int x, int y, int x2 = 50, int y2 = 570) {
        hp.display.onFlip = [=, this](const Surface& s) {
            seen.push_back(s.pixel(x, y));
            seenOther.push_back(s.pixel(x2, y2));
            fadingAtFlip.push_back(g.scene.fading);
        };
    }
    void setBackground(uint32_t color) {
        g.scene.imageList1.items[2] = singlePictureList(solidImage(800, 600, color)).items[0];
    }

    std::vector<uint32_t> seen;
    std::vector<uint32_t> seenOther;
    std::vector<bool> fadingAtFlip;
};

TEST_F(Fades, WhiteFrameFadesOutThroughTheDocumentedLevelsThenShowsBlack) {
    back().fill(0xFFFFFF);
    const uint32_t start = hp.clock.ticks();
    fadeOut(g);
    std::vector<uint32_t> expected;
    for (uint32_t level : {224, 168, 105, 53, 23, 11, 4, 4, 4}) expected.push_back(grey(level));
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(fadingAtFlip, std::vector<bool>(9, true));
    EXPECT_FALSE(g.scene.fading);
    EXPECT_TRUE(g.scene.screenFaded);
    EXPECT_EQ(hp.clock.ticks() - start, 9u * 12u);
    EXPECT_EQ(hp.display.flips(), 9u);

    // The frames after it show no room picture.
    setBackground(0xFFFFFF);
    composeScene(g);
    EXPECT_EQ(back().pixel(400, 300), 0u);
}

TEST_F(Fades, ChannelsDarkenEachOnItsOwnAndCompound) {
    back().fill(0x80FF10);
    fadeOut(g);
    ASSERT_EQ(seen.size(), 9u);
    // 0x80: 128 - 16 = 112; 0xFF: 224; 0x10: 16 - 2 = 14. Then 112 - 2 * 14 = 84, ...
    EXPECT_EQ(seen[0], 0x70E00Eu);
    EXPECT_EQ(seen[1], 0x54A80Cu);
    EXPECT_EQ(seen[8] & 0xFF, 5u);  // 14 -> 12 -> 9 -> 5 -> 5 ... never below 0
}

TEST_F(Fades, WhiteRoomFadesInFromSevenToFull) {
    setBackground(0xFFFFFF);
    g.scene.screenFaded = true;
    back().fill(0);
    fadeIn(g);
    std::vector<uint32_t> expected;
    for (uint32_t level : {7, 38, 69, 100, 131, 162, 193, 224, 255})
        expected.push_back(grey(level));
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(fadingAtFlip, std::vector<bool>(9, true));
    EXPECT_FALSE(g.scene.fading);
    EXPECT_FALSE(g.scene.screenFaded);
}

TEST_F(Fades, InterfaceKeepsFullBrightnessInAPlayRoom) {
    g.tables.rooms[0].setIsGameRoom(1);
    SlotView slot = g.tables.inventory.slot(0);
    slot.setLeft(40);
    slot.setTop(560);
    slot.setRight(70);
    slot.setBottom(590);
    slot.setEnabled(1);
    slot.setItem("key");
    g.ui.slotPictures = singlePictureList(solidImage(30, 30, 0xAA0000));
    // A party member at (700, 560).
    ObjectRecord& hero = g.tables.rooms[0].objects.emplace_back();
    hero.setName("hero");
    hero.setInParty(1);
    hero.setScale(100);
    hero.setAlpha(255);
    hero.setX(700);
    hero.setY(560);
    g.scene.imageSlots.resize(kMinImageSlotRows);
    g.scene.imageSlots[0][3] = singlePictureList(solidImage(20, 40, 0x00AA00));
    setBackground(0xFFFFFF);

    watch(400, 300, 50, 570);
    std::vector<uint32_t> party;
    auto previous = hp.display.onFlip;
    hp.display.onFlip = [&, previous](const Surface& s) {
        previous(s);
        party.push_back(s.pixel(705, 570));
    };
    composeScene(g);
    fadeOut(g);
    fadeIn(g);
    ASSERT_EQ(seen.size(), 18u);
    EXPECT_EQ(seen[0], grey(224));
    EXPECT_EQ(seen[9], grey(7));
    EXPECT_EQ(seenOther, std::vector<uint32_t>(18, 0xAA0000u));
    EXPECT_EQ(party, std::vector<uint32_t>(18, 0x00AA00u));

    // Outside a play room the interface fades with the rest.
    g.tables.rooms[0].setIsGameRoom(0);
    seen.clear();
    seenOther.clear();
    back().fill(0xFFFFFF);
    fadeOut(g);
    EXPECT_EQ(seenOther[0], grey(224));
}

TEST_F(Fades, LargerDisplaysFadeOverTheirWholeArea) {
    setDisplay(1024, 768);
    g.tables.rooms[0].setIsGameRoom(0);
    watch(1023, 767, 801, 601);
    back().fill(0xFFFFFF);
    fadeOut(g);
    ASSERT_EQ(seen.size(), 9u);
    EXPECT_EQ(seen[0], grey(224));
    EXPECT_EQ(seenOther[0], grey(224));
    EXPECT_EQ(seen[8], grey(4));
}

TEST_F(Fades, NothingToDrawOnStillSetsTheFadedState) {
    hp.display.finalize();
    fadeOut(g);
    EXPECT_TRUE(g.scene.screenFaded);
    EXPECT_TRUE(seen.empty());
    fadeIn(g);
    EXPECT_FALSE(g.scene.screenFaded);
    EXPECT_TRUE(seen.empty());
    EXPECT_FALSE(g.scene.fading);
}

TEST(FadeBuffer, BrighteningLeavesTheStoredPictureAlone) {
    Surface s(3, 2, 0xFFFFFF);
    s.setPixel(2, 1, 0x0810FF);
    FadeBuffer buffer;
    buffer.capture(s);
    EXPECT_EQ(buffer.width(), 3);
    EXPECT_EQ(buffer.pixel(2, 1), 0x0810FFu);
    buffer.brighten(8, s);
    EXPECT_EQ(s.pixel(0, 0), grey(7));
    EXPECT_EQ(s.pixel(2, 1), 0x000007u);  // 8 - 8 * 1, 16 - 8 * 2, 255 - 8 * 31
    buffer.brighten(8, s);
    EXPECT_EQ(s.pixel(2, 1), 0x000007u);
    buffer.brighten(0, s);
    EXPECT_EQ(s.pixel(2, 1), 0x0810FFu);
    // A smaller surface takes what fits.
    Surface small(1, 1, 0);
    buffer.darken(1, small);
    EXPECT_EQ(small.pixel(0, 0), grey(224));
    EXPECT_EQ(buffer.pixel(2, 1), 0x070EE0u);
}

}  // namespace
}  // namespace zk
