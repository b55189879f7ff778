#include "render/compose.h"

#include <gtest/gtest.h>

#include "logic/scene.h"
#include "render/object_draw.h"
#include "render_fixture.h"

namespace zk::test {
namespace {

constexpr uint32_t kRed = 0xFF0000, kWhite = 0xFFFFFF, kGrey = 0x808080, kBrown = 0x604020;

class ComposeTest : public RenderTest {
  protected:
    ComposeTest() {
        g.session.gameLoaded = true;
        // The start cursor, already shown: an 8 x 8 white square with its hot spot at (3, 4).
        g.tables.cursors[2].setName("arrow");
        g.tables.cursors[2].setHotX(3);
        g.tables.cursors[2].setHotY(4);
        g.cursor.cursorIndex = 2;
        g.cursor.currentCursorName = "arrow";
        g.cursor.curImageList = listOf({pictureItem(filled(8, 8, kWhite))});
        g.scene.imageList1 =
            listOf({PictureItem{}, PictureItem{}, pictureItem(filled(300, 200, kBrown))});
        for (RainDrop& d : g.scene.rain) d = {-50, -50, 0};  // off the screen
    }

    void setZone(int z, Rect r, const std::string& cursor, bool enabled = true) {
        ZoneView zone = g.room().zone(z);
        zone.setLeft(r.left);
        zone.setTop(r.top);
        zone.setRight(r.right);
        zone.setBottom(r.bottom);
        zone.setEnabled(enabled ? 1 : 0);
        zone.setCursor(cursor);
    }
    // A frame as the game draws it: prepared, then composed.
    void drawFrame() {
        prepareScene(g);
        composeScene(g);
    }
    std::string cursorAt(int x, int y) {
        g.input.mouseX = x;
        g.input.mouseY = y;
        drawFrame();
        return g.cursor.currentCursorName;
    }
};

TEST_F(ComposeTest, CursorFollowsZonesAndTheHoveredObject) {
    setZone(0, {100, 100, 200, 200}, "door");
    setZone(1, {150, 150, 250, 250}, "exit");
    setZone(2, {0, 0, 799, 599}, "never", false);
    const int lamp = addObject("lamp", 240, 240, filled(20, 20, kRed));
    obj(lamp).setHoverCursor("hand");

    EXPECT_EQ(cursorAt(50, 50), "arrow");
    EXPECT_EQ(cursorAt(200, 200), "exit");  // edges included; the later zone wins
    EXPECT_EQ(cursorAt(120, 120), "door");
    EXPECT_EQ(cursorAt(245, 245), "hand");  // the object wins over the zone
    EXPECT_EQ(g.scene.hoveredObject, lamp);
    EXPECT_EQ(cursorAt(255, 255), "hand");
    EXPECT_EQ(cursorAt(400, 400), "arrow");

    // Zones are in room space.
    g.tables.inventory.setSceneOffsetX(100);
    EXPECT_EQ(cursorAt(120, 120), "arrow");
    EXPECT_EQ(cursorAt(220, 120), "door");
    g.tables.inventory.setSceneOffsetX(0);

    // A hovered object that is no longer active gives no cursor; an empty name keeps it.
    g.session.gameLoaded = false;  // no hover update: the hovered object stays as set
    g.scene.hoveredObject = lamp;
    obj(lamp).setActive(0);
    EXPECT_EQ(cursorAt(120, 120), "door");
    obj(lamp).setActive(1);
    obj(lamp).setHoverCursor("");
    EXPECT_EQ(cursorAt(50, 50), "door");
}

TEST_F(ComposeTest, HeldItemOrOpenDialogueKeepsTheCursor) {
    setZone(0, {100, 100, 200, 200}, "door");
    g.cursor.heldItem = "key";
    EXPECT_EQ(cursorAt(150, 150), "arrow");
    g.cursor.heldItem.clear();
    g.dialogue.dialogueOpen = true;
    g.dialogue.dialogueLines = {"Who goes there?", "A friend"};
    EXPECT_EQ(cursorAt(150, 150), "arrow");
}

TEST_F(ComposeTest, BackgroundObjectsAndCursorAreLayeredInOrder) {
    g.tables.inventory.setSceneOffsetX(20);
    g.tables.inventory.setSceneOffsetY(10);
    addObject("crate", 50, 50, filled(10, 10, kRed));
    g.input.mouseX = 73;  // the cursor's left column lands on the crate
    g.input.mouseY = 64;
    back().fill(0x123456);
    drawFrame();
    EXPECT_EQ(px(19, 100), 0u);  // cleared to black
    EXPECT_EQ(px(20, 10), kBrown);
    EXPECT_EQ(px(319, 209), kBrown);
    EXPECT_EQ(px(320, 209), 0u);
    EXPECT_EQ(px(79, 69), kRed);    // the crate at (70, 60) in display pixels
    EXPECT_EQ(px(70, 60), kWhite);  // the cursor, hot spot (3, 4) on (73, 64)
    EXPECT_EQ(px(77, 67), kWhite);
    EXPECT_EQ(px(78, 67), kRed);
    EXPECT_EQ(px(69, 60), kBrown);
    EXPECT_TRUE(errors().empty());
}

TEST_F(ComposeTest, CursorShowsByRoomSettingFadeAndDialogue) {
    g.input.mouseX = 400;
    g.input.mouseY = 300;
    drawFrame();
    EXPECT_EQ(px(397, 296), kWhite);
    EXPECT_EQ(px(396, 296), 0u);
    EXPECT_EQ(px(397, 295), 0u);

    g.room().setCursorVisible(0);
    drawFrame();
    EXPECT_EQ(px(400, 300), 0u);

    g.room().setCursorVisible(1);
    g.scene.screenFaded = true;
    drawFrame();
    EXPECT_EQ(px(400, 300), 0u);
    EXPECT_EQ(px(100, 100), 0u);  // no background either

    g.dialogue.dialogueOpen = true;
    g.dialogue.dialogueLines = {"Well?", "Yes", "No"};
    g.room().setCursorVisible(0);
    drawFrame();
    EXPECT_EQ(px(400, 300), kWhite);
}

TEST_F(ComposeTest, RainStreaksAreGreyDisplayLinesWithoutTheirEndPoint) {
    g.room().setWeather("Rain");
    g.tables.inventory.setSceneOffsetX(30);  // rain ignores it
    g.scene.rain[0] = {400, 300, 0};
    g.scene.rain[1] = {500, 300, 1};
    g.scene.rain[99] = {600, 595, 0};  // runs off the bottom
    drawFrame();
    for (int y = 300; y < 312; ++y) {
        EXPECT_EQ(px(400, y), kGrey) << y;
        EXPECT_EQ(px(401, y), kGrey) << y;
    }
    EXPECT_EQ(px(400, 312), 0u);
    EXPECT_EQ(px(402, 305), 0u);
    EXPECT_EQ(px(400, 299), 0u);
    for (int y = 300; y < 311; ++y) EXPECT_EQ(px(500, y), kGrey) << y;
    EXPECT_EQ(px(500, 311), 0u);
    EXPECT_EQ(px(501, 305), 0u);
    EXPECT_EQ(px(600, 599), kGrey);

    // Rain is part of the scene: not drawn on a faded screen or in dry rooms.
    g.scene.screenFaded = true;
    drawFrame();
    EXPECT_EQ(px(400, 305), 0u);
    g.scene.screenFaded = false;
    g.room().setWeather("Sun");
    drawFrame();
    EXPECT_EQ(px(400, 305), 0u);
}

TEST_F(ComposeTest, MissingPicturesAreReportedOnceAndTheFrameGoesOn) {
    g.scene.imageList1.clear();
    const int ghost = addObject("ghost", 0, 0, filled(4, 4, kRed));
    obj(ghost).setFrame(7);
    addObject("crate", 100, 100, filled(4, 4, kRed));
    g.cursor.cursorFrame = 3;
    g.room().setWeather("Rain");
    g.scene.rain[0] = {300, 300, 1};
    for (int frame = 0; frame < 3; ++frame) drawFrame();
    EXPECT_EQ(px(101, 101), kRed);
    EXPECT_EQ(px(300, 305), kGrey);
    EXPECT_EQ(errors().size(), 3u);  // background, object frame, cursor frame

    // With the cursor frame back, the cursor shows again.
    g.cursor.cursorFrame = 0;
    g.input.mouseX = 200;
    g.input.mouseY = 200;
    drawFrame();
    EXPECT_EQ(px(197, 196), kWhite);
}

}  // namespace
}  // namespace zk::test
