#include "render/object_draw.h"

#include <gtest/gtest.h>

#include "logic/scene.h"
#include "render_fixture.h"

namespace zk::test {
namespace {

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

TEST(ObjectDrawRounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(divideRoundHalfEven(2550, 100), 26);  // 25.5
    EXPECT_EQ(divideRoundHalfEven(2450, 100), 24);  // 24.5
    EXPECT_EQ(divideRoundHalfEven(5050, 100), 50);  // 50.5
    EXPECT_EQ(divideRoundHalfEven(2551, 100), 26);
    EXPECT_EQ(divideRoundHalfEven(-2550, 100), -26);
    EXPECT_EQ(divideRoundHalfEven(-2450, 100), -24);
    EXPECT_EQ(divideRoundHalfEven(-2549, 100), -25);
}

using ObjectPlacement = RenderTest;

TEST_F(ObjectPlacement, ScaledItemLandsWithItsAnchorOnTheFeet) {
    const int i = addObject("crate", 200, 300, filled(101, 40, kRed));
    obj(i).setScale(50);
    obj(i).setAnchorX(51);
    obj(i).setAnchorY(40);
    EXPECT_EQ(objectRect(g, obj(i), 101, 40), (Rect{174, 280, 224, 300}));

    drawRoomObject(g, i);
    EXPECT_EQ(px(174, 280), kRed);
    EXPECT_EQ(px(223, 299), kRed);
    EXPECT_EQ(px(173, 290), 0u);
    EXPECT_EQ(px(224, 290), 0u);
    EXPECT_EQ(px(200, 279), 0u);
    EXPECT_EQ(px(200, 300), 0u);

    // Natural size, shifted by the scene offset.
    g.tables.inventory.setSceneOffsetX(10);
    g.tables.inventory.setSceneOffsetY(-5);
    obj(i).setScale(100);
    EXPECT_EQ(objectRect(g, obj(i), 101, 40), (Rect{159, 255, 260, 295}));
}

TEST_F(ObjectPlacement, PerspectiveScaleIsSetBeforeDrawingAndKept) {
    g.room().setMinScaleRow(200);
    g.room().setMaxScaleRow(400);
    g.room().setMinScale(50);
    g.room().setMaxScale(100);
    const int hero = addObject("hero", 100, 300, filled(20, 40, kRed));
    const int cat = addObject("cat", 300, 300, filled(20, 40, kRed));
    obj(cat).setMinScale(20);
    obj(cat).setMaxScale(40);
    const int vase = addObject("vase", 500, 300, filled(20, 40, kRed));
    for (int i : {hero, cat}) obj(i).setPerspective(1);
    applyPerspectiveScales(g, 0);
    drawSceneObjects(g);
    EXPECT_EQ(obj(hero).scale(), 75);  // the room's limits for slot 0
    EXPECT_EQ(obj(cat).scale(), 30);   // its own limits for the others
    EXPECT_EQ(obj(vase).scale(), 100);
    EXPECT_EQ(px(114, 300), kRed);  // 20 x 40 at 75%: 15 x 30
    EXPECT_EQ(px(115, 300), 0u);
    EXPECT_EQ(px(100, 329), kRed);
    EXPECT_EQ(px(100, 330), 0u);
}

TEST_F(ObjectPlacement, CharacterShowsTheLastMatchingAnimation) {
    const int hero = addObject("hero", 0, 0, filled(4, 4, kRed));
    ObjectRecord& o = obj(hero);
    o.setKind("character");
    o.setSpriteFile("walk.dxg");
    o.setWalkLeftSprite("walk.dxg");
    o.setStandDownSprite("walk.dxg");  // the later slot (11) wins
    g.scene.imageSlots[0][4] = listOf({pictureItem(filled(4, 4, kGreen))});
    g.scene.imageSlots[0][11] = listOf({pictureItem(filled(4, 4, kBlue))});
    EXPECT_EQ(objectPictureSlot(o), 11);
    drawRoomObject(g, hero);
    EXPECT_EQ(px(0, 0), kBlue);
    o.setKind("scenery");
    EXPECT_EQ(objectPictureSlot(o), 3);
}

using ObjectFaults = RenderTest;

TEST_F(ObjectFaults, UnshowableObjectIsSkippedReportedOnceAndTheRestIsDrawn) {
    const int hero = addObject("hero", 0, 0, filled(4, 4, kRed));
    obj(hero).setKind("character");
    obj(hero).setSpriteFile("lost.dxg");
    obj(hero).setActive(1);
    const int door = addObject("door", 10, 0, filled(4, 4, kRed));
    obj(door).setFrame(3);
    const int vase = addObject("vase", 20, 0, filled(4, 4, kGreen));
    for (int frame = 0; frame < 2; ++frame) {
        drawSceneObjects(g);
        for (int x : {0, 10}) {
            g.input.mouseX = x + 1;
            g.input.mouseY = 1;
            EXPECT_EQ(objectUnderCursor(g), -1);
        }
    }
    EXPECT_EQ(px(0, 0), 0u);
    EXPECT_EQ(px(10, 0), 0u);
    EXPECT_EQ(px(20, 0), kGreen);
    g.input.mouseX = 21;
    EXPECT_EQ(objectUnderCursor(g), vase);
    ASSERT_EQ(errors().size(), 2u);
    EXPECT_NE(errors()[0].find("'hero'"), std::string::npos);
    EXPECT_NE(errors()[1].find("frame 3"), std::string::npos);
}

TEST_F(ObjectFaults, RoomLargerThanTheDepthTableDrawsEveryObject) {
    for (int i = 0; i < 45; ++i) addObject("o" + std::to_string(i), i * 10, 0, filled(5, 5, kRed));
    EXPECT_EQ(depthOrder(g).size(), 45u);
    drawSceneObjects(g);
    for (int i = 0; i < 45; ++i) EXPECT_EQ(px(i * 10 + 2, 2), kRed) << i;
}

using DepthOrder = RenderTest;

TEST_F(DepthOrder, LargestKeyIsPaintedFirstAndEqualKeysKeepIndexOrder) {
    // Each pair overlaps in its own place: 0 and 1 at (15, 5), 0 and 2 at (5, 15),
    // 1 and 2 at (25, 15).
    addObject("a", 0, 0, filled(20, 20, kRed), 5);
    addObject("b", 10, 0, filled(20, 20, kGreen), 9);
    addObject("c", 0, 10, filled(30, 20, kBlue), 5);
    EXPECT_EQ(depthOrder(g), (std::vector<DepthEntry>{{9, 1}, {5, 0}, {5, 2}}));
    drawSceneObjects(g);  // 1, then 0, then 2
    EXPECT_EQ(px(15, 5), kRed);
    EXPECT_EQ(px(5, 15), kBlue);
    EXPECT_EQ(px(25, 15), kBlue);
    EXPECT_EQ(px(25, 5), kGreen);

    // A longer table keeps equal keys in index order.
    g.objects().clear();
    const int keys[] = {1, 3, 3, -2, 3, 1, 7, -2};
    for (int k : keys) addObject("x", 0, 0, filled(1, 1, kRed), k);
    std::vector<int32_t> order;
    for (const DepthEntry& e : depthOrder(g)) order.push_back(e.index);
    EXPECT_EQ(order, (std::vector<int32_t>{6, 1, 2, 4, 0, 5, 3, 7}));
}

TEST_F(DepthOrder, PassesSplitPartyFromSceneAndSkipHiddenAndNameless) {
    const int scenery = addObject("tree", 0, 0, filled(4, 4, kRed));
    const int friendly = addObject("friend", 10, 0, filled(4, 4, kGreen));
    obj(friendly).setInParty(1);
    const int hidden = addObject("ghost", 20, 0, filled(4, 4, kBlue));
    obj(hidden).setHidden(1);
    const int nameless = addObject("", 30, 0, filled(4, 4, kBlue));
    (void)scenery;
    (void)nameless;
    drawSceneObjects(g);
    EXPECT_EQ(px(0, 0), kRed);
    EXPECT_EQ(px(10, 0), 0u);
    EXPECT_EQ(px(20, 0), 0u);
    EXPECT_EQ(px(30, 0), 0u);
    back().fill(0);
    drawPartyObjects(g);
    EXPECT_EQ(px(0, 0), 0u);
    EXPECT_EQ(px(10, 0), kGreen);
    EXPECT_EQ(px(20, 0), 0u);
}

TEST_F(DepthOrder, AlphaDecidesBetweenKeyedAndBlendedDrawing) {
    const int i = addObject("glass", 0, 0, filled(2, 2, kWhite));
    back().fill(kBlue);
    obj(i).setAlpha(128);
    drawRoomObject(g, i);
    const uint32_t p = px(0, 0);
    EXPECT_NEAR(double(p >> 16), 128.0, 1.0);
    EXPECT_NEAR(double(p & 0xFF), 255.0, 1.0);
    for (int alpha : {0, -1}) {
        back().fill(kBlue);
        obj(i).setAlpha(alpha);
        drawRoomObject(g, i);
        EXPECT_EQ(px(0, 0), kBlue) << alpha;
    }
    back().fill(kBlue);
    obj(i).setAlpha(300);
    drawRoomObject(g, i);
    EXPECT_EQ(px(1, 1), kWhite);
}

using HitTest = RenderTest;

TEST_F(HitTest, SmallerDepthKeyWinsAndTiesKeepTheLowerIndex) {
    const int back7 = addObject("far", 0, 0, filled(10, 10, kRed), 7);
    const int front3 = addObject("near", 5, 0, filled(10, 10, kGreen), 3);
    g.input.mouseX = 7;
    g.input.mouseY = 5;
    EXPECT_EQ(objectUnderCursor(g), front3);
    obj(back7).setDepth(2);
    EXPECT_EQ(objectUnderCursor(g), back7);
    obj(back7).setDepth(3);  // tie: the lower index, though the other is painted on top
    EXPECT_EQ(objectUnderCursor(g), back7);
    g.input.mouseX = 12;
    EXPECT_EQ(objectUnderCursor(g), front3);
    obj(front3).setActive(0);
    EXPECT_EQ(objectUnderCursor(g), -1);
    g.input.mouseX = 100;
    EXPECT_EQ(objectUnderCursor(g), -1);
}

TEST_F(HitTest, RectangleEdgesCountAndTheColourKeyDoesNot) {
    // A transparent 10 x 10 picture, black key, with a black hole at (4..5, 4..5).
    const Image img = imageOf(
        10, 10, [](int x, int y) { return (x == 4 || x == 5) && (y == 4 || y == 5) ? 0u : kRed; });
    const int i = addObject("ring", 100, 100, img);
    g.input.mouseX = 110;  // right edge, inclusive
    g.input.mouseY = 110;
    EXPECT_EQ(objectUnderCursor(g), i);
    g.input.mouseX = 111;
    EXPECT_EQ(objectUnderCursor(g), -1);
    g.input.mouseX = 105;  // maps to picture (4, 4): black, the key
    g.input.mouseY = 105;
    EXPECT_EQ(objectUnderCursor(g), -1);
    // The same picture without transparency is hit over its whole rectangle.
    g.scene.imageSlots[static_cast<size_t>(i)][3].items[0].transparent = false;
    EXPECT_EQ(objectUnderCursor(g), i);
}

TEST_F(HitTest, PositionsBeyondThePictureCountAsHits) {
    // All black with a black key: nothing hits but the rounded-up far edge, which maps
    // beyond the picture (3 x 3 at 50% covers 0..2 inclusive; (2, 2) maps to (3, 3)).
    const int i = addObject("dust", 100, 100, filled(3, 3, 0));
    obj(i).setScale(50);
    g.input.mouseX = 101;
    g.input.mouseY = 101;
    EXPECT_EQ(objectUnderCursor(g), -1);
    g.input.mouseX = 102;
    g.input.mouseY = 102;
    EXPECT_EQ(objectUnderCursor(g), i);
    obj(i).setScale(0);  // nothing to map back into: never hit
    g.input.mouseX = 100;
    g.input.mouseY = 100;
    EXPECT_EQ(objectUnderCursor(g), -1);
}

TEST_F(HitTest, HiddenObjectIsNeverPaintedButFoundByItsNonBlackPixels) {
    const Image img = imageOf(10, 10, [](int x, int) { return x < 5 ? 0u : kGreen; });
    const int i = addObject("secret", 0, 0, img);
    PictureItem& item = g.scene.imageSlots[static_cast<size_t>(i)][3].items[0];
    item.transparent = false;
    item.setTransparentColor(0xFF);  // red (stored 0x00BBGGRR)
    obj(i).setHidden(1);
    drawSceneObjects(g);
    EXPECT_EQ(px(7, 5), 0u);
    g.input.mouseX = 8;
    g.input.mouseY = 5;
    EXPECT_EQ(objectUnderCursor(g), i);
    g.input.mouseX = 2;
    EXPECT_EQ(objectUnderCursor(g), -1);
    // The hit test left the black key on the item.
    EXPECT_TRUE(item.transparent);
    EXPECT_EQ(item.colorKey(), 0u);
}

TEST_F(HitTest, ClickMaskDecidesByItsOwnPictureAndSize) {
    // A 10 x 10 opaque picture with a 20 x 10 mask: white on the right half only.
    const int i = addObject("door", 0, 0, filled(10, 10, kRed), 0, false);
    obj(i).setClickMaskFile("door_mask.dxg");
    const Image mask = imageOf(20, 10, [](int x, int) { return x >= 10 ? kWhite : 0u; });
    g.scene.imageSlots[static_cast<size_t>(i)][12] = listOf({pictureItem(mask, false)});
    g.input.mouseY = 5;
    g.input.mouseX = 5;  // on the picture, black in the mask
    EXPECT_EQ(objectUnderCursor(g), -1);
    g.input.mouseX = 15;  // beyond the picture, white in the mask
    EXPECT_EQ(objectUnderCursor(g), i);
    g.input.mouseX = 20;  // the mask's inclusive edge
    EXPECT_EQ(objectUnderCursor(g), i);
    g.input.mouseX = 21;
    EXPECT_EQ(objectUnderCursor(g), -1);

    // A named mask whose pictures are missing: not clickable, reported once.
    g.scene.imageSlots[static_cast<size_t>(i)][12].clear();
    g.input.mouseX = 15;
    EXPECT_EQ(objectUnderCursor(g), -1);
    EXPECT_EQ(objectUnderCursor(g), -1);
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_NE(errors()[0].find("door_mask.dxg"), std::string::npos);
}

TEST_F(HitTest, ScaledPictureMapsTheCursorBackIntoThePicture) {
    // 20 x 20, left half black (the key); drawn at 200% from an anchor at its centre.
    const Image img = imageOf(20, 20, [](int x, int) { return x < 10 ? 0u : kRed; });
    const int i = addObject("sign", 300, 300, img);
    obj(i).setScale(200);
    obj(i).setAnchorX(10);
    obj(i).setAnchorY(10);
    g.tables.inventory.setSceneOffsetX(50);
    g.input.mouseY = 300;
    g.input.mouseX = 349;  // room x 299: picture column T((299 - 300 + 20) / 2 - 0.5) = 9
    EXPECT_EQ(objectUnderCursor(g), -1);
    g.input.mouseX = 351;  // column 10
    EXPECT_EQ(objectUnderCursor(g), i);
    drawRoomObject(g, i);
    EXPECT_EQ(px(329, 280), 0u);  // the rectangle: 330 .. 370 x 280 .. 320
    EXPECT_EQ(px(350, 280), kRed);
    EXPECT_EQ(px(369, 319), kRed);
    EXPECT_EQ(px(370, 319), 0u);
}

}  // namespace
}  // namespace zk::test
