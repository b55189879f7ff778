#include "render/overlays.h"

#include <gtest/gtest.h>

#include "data/hit_test.h"
#include "logic/scene.h"
#include "render/overlays_fixture.h"

namespace zk {
namespace {

using test::singlePictureList;
using test::solidImage;

constexpr uint32_t kFill = 0x123456;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kGreen = 0x008000;

class Overlays : public test::OverlayFixture {
  protected:
    // One frame's worth of overlays over a plain background.
    void drawFrame() {
        back().fill(kFill);
        layoutDialogue(g);
        drawInterfacePass(g, g.dialogue.dialogueUnderInterface);
        drawTextsAndDialogue(g);
    }
    int fontHeight() {
        canvas().setFont("Tahoma", 12);
        return canvas().textHeight("a");
    }
    int width(const std::string& text, const char* font = "Tahoma") {
        canvas().setFont(font, 12);
        return canvas().textWidth(text);
    }
    void setSlot(int i, Rect r, bool enabled, const std::string& item, uint32_t color = 0) {
        SlotView s = g.tables.inventory.slot(i);
        s.setLeft(r.left);
        s.setTop(r.top);
        s.setRight(r.right);
        s.setBottom(r.bottom);
        s.setEnabled(enabled ? 1 : 0);
        s.setItem(item);
        while (g.ui.slotPictures.count() < kInventorySlots) g.ui.slotPictures.add();
        g.ui.slotLabels.resize(kInventorySlots);
        if (color)
            g.ui.slotPictures.items[static_cast<size_t>(i)] =
                singlePictureList(solidImage(r.right - r.left, r.bottom - r.top, color)).items[0];
    }
    // The text box of a line drawn with a solid black brush: no background left in it,
    // and some white glyph pixels.
    void expectTextBox(int x, int y, const std::string& text) {
        const Rect box{x, y, x + width(text), y + fontHeight()};
        EXPECT_EQ(count(box, kFill), 0) << text << " at " << x << "," << y;
        if (!text.empty()) {
            EXPECT_GT(count(box, 0xFFFFFF), 0) << text;
        }
    }
};

TEST_F(Overlays, ClampKeepsTextsFivePixelsInsideAndSplitKeepsEmptyLines) {
    EXPECT_EQ(clampToDisplay(100, 50, 800), 100);
    EXPECT_EQ(clampToDisplay(745, 50, 800), 745);
    EXPECT_EQ(clampToDisplay(746, 50, 800), 745);
    EXPECT_EQ(clampToDisplay(5, 10, 800), 5);
    EXPECT_EQ(clampToDisplay(4, 10, 800), 5);
    EXPECT_EQ(clampToDisplay(-3000000000LL, 10, 800), 5);
    EXPECT_EQ(clampToDisplay(100, 900, 800), -105);  // too wide: the far edge wins

    using Lines = std::vector<std::string>;
    EXPECT_EQ(splitTextLines("Open#Door"), (Lines{"Open", "Door"}));
    EXPECT_EQ(splitTextLines("Hello#"), (Lines{"Hello", ""}));
    EXPECT_EQ(splitTextLines(""), (Lines{""}));
    EXPECT_EQ(splitTextLines("##x"), (Lines{"", "", "x"}));
}

TEST_F(Overlays, TwoPartObjectTextSitsFortyAndTwentyAboveTheAnchor) {
    addObject("sign", "Open#Door", 400, 300);
    g.scene.hoveredObject = 0;
    const auto lines = layoutObjectText(g, 0);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], (PlacedText{"Open", 400 - width("Open") / 2, 260}));
    EXPECT_EQ(lines[1], (PlacedText{"Door", 400 - width("Door") / 2, 280}));

    drawFrame();
    expectTextBox(lines[0].x, 260, "Open");
    expectTextBox(lines[1].x, 280, "Door");

    // Near the edges the lines are kept 5 pixels inside the display.
    addObject("left", "Far#Left", 10, 12);
    const auto left = layoutObjectText(g, 1);
    EXPECT_EQ(left[0].x, 5);
    EXPECT_EQ(left[1].x, 5);
    EXPECT_EQ(left[0].y, 5);
    EXPECT_EQ(left[1].y, 5);
    addObject("right", "Rightmost", 795, 700);
    const auto right = layoutObjectText(g, 2);
    EXPECT_EQ(right[0].x, 800 - width("Rightmost") - 5);
    EXPECT_EQ(right[0].y, 600 - fontHeight() - 5);
}

TEST_F(Overlays, ObjectTextScalesOnlyTheVerticalOffsetAndFollowsTheSceneOffset) {
    ObjectRecord& o = addObject("bird", "Tweet", 393, 398);
    g.tables.inventory.setSceneOffsetX(7);
    g.tables.inventory.setSceneOffsetY(3);
    o.setTextAnchorX(40);
    o.setAnchorX(10);
    o.setTextAnchorY(5);
    o.setAnchorY(50);
    o.setScale(50);
    // x: 393 + 7 + 30 unscaled. y: -45 * 50 / 100 + 401 - 20 = 358.5, halves to even.
    const auto lines = layoutObjectText(g, 0);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].x, 430 - width("Tweet") / 2);
    EXPECT_EQ(lines[0].y, 358);
    o.setY(399);  // 359.5 rounds up to 360
    EXPECT_EQ(layoutObjectText(g, 0)[0].y, 360);
}

TEST_F(Overlays, TrailingHashAddsAnEmptyLastLine) {
    addObject("a", "Hello#", 400, 300);
    addObject("b", "Hello", 400, 300);
    const auto withHash = layoutObjectText(g, 0);
    const auto plain = layoutObjectText(g, 1);
    ASSERT_EQ(withHash.size(), 2u);
    EXPECT_EQ(withHash[0].y, 260);
    EXPECT_EQ(withHash[1].text, "");
    EXPECT_EQ(withHash[1].y, 280);
    EXPECT_EQ(plain[0].y, 280);
}

TEST_F(Overlays, ObjectTextsShowForTheHoveredObjectAndRunningHintsOnly) {
    addObject("lamp", "Lamp", 200, 300);
    addObject("cup", "Cup", 500, 300);
    ObjectRecord& hovered = object(0);
    ObjectRecord& other = object(1);
    g.scene.hoveredObject = 0;
    const Rect all{0, 0, 800, 540};  // above the inventory bar

    g.tables.prefs.setShowObjectTexts(0);
    drawFrame();
    EXPECT_EQ(countOther(all, kFill), 0) << "texts switched off: not even the hovered one";

    g.tables.prefs.setShowObjectTexts(1);
    drawFrame();
    expectTextBox(layoutObjectText(g, 0)[0].x, 280, "Lamp");
    const Rect cupArea{430, 250, 570, 300};
    EXPECT_EQ(countOther(cupArea, kFill), 0);

    other.setHintTimer(25);  // a hint is running
    drawFrame();
    expectTextBox(layoutObjectText(g, 1)[0].x, 280, "Cup");

    hovered.setActive(0);
    other.setHintTimer(0);
    drawFrame();
    EXPECT_EQ(countOther(all, kFill), 0) << "inactive or no hint: nothing";

    other.setHintTimer(25);
    other.setName("");  // removed from the room while its hint ran
    drawFrame();
    EXPECT_EQ(countOther(all, kFill), 0) << "a removed object shows no text";

    hovered.setActive(1);
    g.scene.screenFaded = true;
    drawFrame();
    EXPECT_EQ(countOther(all, kFill), 0) << "a faded screen shows no texts";
}

TEST_F(Overlays, ZoneHintUnderTheCursorOfEveryZoneThatHoldsIt) {
    ZoneView z = g.tables.rooms[0].zone(0);
    z.setEnabled(1);
    z.setLeft(100);
    z.setTop(100);
    z.setRight(200);
    z.setBottom(200);
    z.setHint("North");
    ZoneView wide = g.tables.rooms[0].zone(3);
    wide.setEnabled(1);
    wide.setLeft(0);
    wide.setTop(0);
    wide.setRight(799);
    wide.setBottom(120);
    wide.setHint("Sky");
    g.tables.inventory.setSceneOffsetX(10);
    g.input.mouseX = 210;  // the zone's right edge, shifted
    g.input.mouseY = 110;
    drawFrame();
    expectTextBox(210, 110 + 8 + 2, "North");  // below the 8-pixel cursor
    EXPECT_EQ(count(Rect{0, 0, 800, 119}, 0xFFFFFF), 0);

    g.input.mouseX = 211;
    g.input.mouseY = 150;
    drawFrame();
    EXPECT_EQ(countOther(Rect{0, 0, 800, 540}, kFill), 0);

    g.input.mouseX = 790;
    g.input.mouseY = 50;
    drawFrame();
    expectTextBox(800 - width("Sky") - 5, 60, "Sky");
    g.tables.prefs.setShowZoneHints(0);
    drawFrame();
    EXPECT_EQ(countOther(Rect{0, 0, 800, 540}, kFill), 0);
}

TEST_F(Overlays, DialogueWithHeadingAndOneChoice) {
    g.dialogue.dialogueOpen = true;
    g.dialogue.dialogueLines = {"Who are you?", "A friend of the king"};
    g.ui.headImageList = singlePictureList(solidImage(40, 30, 0x00AA00));
    g.input.mouseX = 0;
    g.input.mouseY = 0;
    drawFrame();

    const int h = fontHeight();
    const int width =
        std::max({this->width("A friend of the king"), this->width("Who are you?") + 40 + 10, 150});
    const int top = 460 - (h + 30 + 25);
    const int left = 15;
    EXPECT_EQ(g.dialogue.dialogueLayout.left, left);
    EXPECT_EQ(g.dialogue.dialogueLayout.top, top);
    EXPECT_EQ(g.dialogue.dialogueLayout.width, width);
    EXPECT_EQ(g.dialogue.dialogueLayout.rect,
              (Box{left, top + 5, left + 15 + width, h + 30 + top + 30}));
    const int wX = this->width("X");
    const Box close{left + 10 + width - wX, top + 10, left + 10 + width, top + 10 + h};
    EXPECT_EQ(g.dialogue.dialogueLayout.closeBox, close);
    ASSERT_EQ(g.dialogue.dialogueLayout.choiceBoxes.size(), 1u);
    const Box choice{left + 5, 30 + top + 20, left + 5 + this->width("A friend of the king"),
                     h + 30 + top + 18};
    EXPECT_EQ(g.dialogue.dialogueLayout.choiceBoxes[0], choice);
    EXPECT_TRUE(g.dialogue.dialogueLayout.drawn);

    // No dialogue pictures: the box is black, the head picture on it.
    EXPECT_EQ(back().pixel(left, top + 5), 0u);
    EXPECT_EQ(back().pixel(left + 14 + width, h + top + 59), 0u);
    EXPECT_EQ(back().pixel(left + 15 + width, top + 5), kFill);
    EXPECT_EQ(back().pixel(left + 5, top + 10), 0x00AA00u);
    EXPECT_EQ(back().pixel(left + 44, top + 39), 0x00AA00u);
    // The heading in white beside the head.
    const Rect heading{left + 55, top + 20, left + 55 + this->width("Who are you?"), top + 20 + h};
    EXPECT_GT(count(heading, 0xFFFFFF), 0);

    // The choice is grey, the close box a grey box with a black "X".
    const Rect choiceArea{choice[0], choice[1], choice[2] + 1, choice[3] + 1};
    const Rect closeArea{close[0], close[1], close[2], close[3]};
    EXPECT_GT(count(choiceArea, kGrey), 0);
    EXPECT_EQ(count(choiceArea, 0xFFFFFF), 0);
    EXPECT_GT(count(closeArea, kGrey), 0);
    EXPECT_GT(count(closeArea, 0), 0);
    EXPECT_EQ(count(closeArea, 0xFFFFFF), 0);

    // Under the cursor (edges count) each turns white.
    g.input.mouseX = choice[2];
    g.input.mouseY = choice[3];
    drawFrame();
    EXPECT_GT(count(choiceArea, 0xFFFFFF), 0);
    EXPECT_EQ(count(choiceArea, kGrey), 0);
    g.input.mouseX = close[0];
    g.input.mouseY = close[1];
    drawFrame();
    EXPECT_GT(count(closeArea, 0xFFFFFF), 0);
    EXPECT_GT(count(closeArea, kGrey), 0);
    EXPECT_GT(count(choiceArea, kGrey), 0);
}

TEST_F(Overlays, NarrowCentredDialogueIsOneHundredFiftyWide) {
    g.dialogue.dialogueOpen = true;
    g.dialogue.dialogueStyle = 1;
    g.dialogue.dialogueLines = {"Hi", "Yes", "No"};
    drawFrame();
    const int h = fontHeight();
    EXPECT_EQ(g.dialogue.dialogueLayout.width, 150);
    EXPECT_EQ(g.dialogue.dialogueLayout.rect[2] - g.dialogue.dialogueLayout.rect[0], 165);
    EXPECT_EQ(g.dialogue.dialogueLayout.left, 400 - 75);
    EXPECT_EQ(g.dialogue.dialogueLayout.top, 240 - (2 * h + 25) / 2);
    ASSERT_EQ(g.dialogue.dialogueLayout.choiceBoxes.size(), 2u);
    EXPECT_EQ(g.dialogue.dialogueLayout.choiceBoxes[1][1], h + g.dialogue.dialogueLayout.top + 20);
    EXPECT_EQ(g.dialogue.dialogueLayout.choiceBoxes[1][3],
              2 * h + g.dialogue.dialogueLayout.top + 18);

    // The rows 460 and 240 stay, whatever the display height; the centre follows W.
    setDisplay(1024, 768);
    g.dialogue.dialogueOpen = true;
    g.dialogue.dialogueStyle = 1;
    g.dialogue.dialogueLines = {"Hi", "Yes", "No"};
    drawFrame();
    EXPECT_EQ(g.dialogue.dialogueLayout.left, 512 - 75);
    EXPECT_EQ(g.dialogue.dialogueLayout.top, 240 - (2 * h + 25) / 2);
}

TEST_F(Overlays, DialoguePicturesFollowTheLatestLayout) {
    g.tables.prefs.setDialogImages("true");
    g.ui.dlgImageList = singlePictureList(solidImage(40, 40, 0x303030));
    g.dialogue.dialogueOpen = true;
    g.dialogue.dialogueLines = {"Well?", "Go on"};
    drawFrame();  // the first frame still has the previous (empty) layout
    const Box box = g.dialogue.dialogueLayout.rect;
    drawFrame();
    // The background picture fills the box, no black fill behind the texts.
    EXPECT_EQ(back().pixel(box[0], box[1]), 0x303030u);
    EXPECT_EQ(back().pixel(box[2] - 1, box[3] - 1), 0x303030u);
    EXPECT_EQ(back().pixel(box[2], box[1]), kFill);
    EXPECT_EQ(back().pixel(box[0] + 1, box[3] - 2), 0x303030u);
}

TEST_F(Overlays, BarAndEnabledSlotsHoldingItemsInPlayRoomsOnly) {
    setSlot(0, {10, 550, 50, 590}, true, "key", 0xAA0000);
    setSlot(1, {60, 550, 90, 590}, false, "rope", 0x0000AA);
    setSlot(2, {110, 550, 150, 590}, true, "", 0x00AA00);
    g.input.mouseX = 400;
    g.input.mouseY = 100;
    drawFrame();
    EXPECT_EQ(back().pixel(95, 545), 0x404040u);
    EXPECT_EQ(back().pixel(0, 599), 0x404040u);
    EXPECT_EQ(back().pixel(100, 545), kFill);
    EXPECT_EQ(back().pixel(15, 555), 0xAA0000u);
    EXPECT_EQ(back().pixel(65, 555), 0x404040u) << "disabled slot";
    EXPECT_EQ(back().pixel(115, 555), kFill) << "empty slot";
    EXPECT_EQ(count(back().bounds(), kGreen), 0);

    g.tables.rooms[0].setIsGameRoom(0);
    drawFrame();
    EXPECT_EQ(countOther(back().bounds(), kFill), 0);
}

TEST_F(Overlays, SlotHighlightNeedsRoomForTheCursor) {
    setSlot(0, {10, 550, 50, 590}, true, "key", 0xAA0000);
    setSlot(2, {110, 550, 150, 590}, true, "");
    setSlot(3, {160, 550, 165, 555}, true, "");  // 6 x 6: too small for the 8 x 8 cursor
    setSlot(4, {170, 550, 177, 557}, true, "");  // 8 x 8: just right
    g.ui.slotLabels[0] = "Old key";
    const int h = fontHeight();

    // A held item over an empty slot: a green frame and no label.
    g.cursor.heldItem = "rope";
    g.input.mouseX = 150;
    g.input.mouseY = 590;
    drawFrame();
    EXPECT_EQ(highlightedSlot(g), 2);
    EXPECT_EQ(count(Rect{110, 550, 150, 551}, kGreen), 40);
    EXPECT_EQ(count(Rect{110, 589, 150, 590}, kGreen), 40);
    EXPECT_EQ(count(Rect{149, 550, 150, 590}, kGreen), 40);
    EXPECT_EQ(back().pixel(150, 550), kFill);
    EXPECT_EQ(count(Rect{110, 550 - 2 - h, 300, 548}, 0), 0) << "no label";

    g.input.mouseX = 162;
    EXPECT_EQ(highlightedSlot(g), -1);
    g.input.mouseX = 177;
    g.input.mouseY = 557;
    EXPECT_EQ(highlightedSlot(g), 4);
    g.cursor.curImageList.clear();  // no cursor picture: nothing to fit
    g.input.mouseX = 162;
    g.input.mouseY = 552;
    EXPECT_EQ(highlightedSlot(g), 3);

    // Nothing held: an empty slot is not framed, one holding an item is, with its label.
    g.cursor.curImageList = singlePictureList(solidImage(8, 8, 0xFFFFFF));
    g.cursor.heldItem.clear();
    g.input.mouseX = 120;
    EXPECT_EQ(highlightedSlot(g), -1);
    g.input.mouseX = 30;
    g.input.mouseY = 570;
    drawFrame();
    EXPECT_EQ(count(Rect{10, 550, 50, 551}, kGreen), 40);
    expectTextBox(10, 550 - 2 - h, "Old key");

    // Overlapping slots: the later one wins.
    setSlot(5, {20, 560, 60, 600}, true, "cup", 0x00AAAA);
    g.ui.slotLabels[5] = "Cup";
    EXPECT_EQ(highlightedSlot(g), 5);
}

TEST_F(Overlays, TitleAndStatusInLucidaWithClearBrush) {
    g.tables.inventory.setShowStatus(1);
    g.tables.inventory.setShowRoomTitle(1);
    g.tables.inventory.setTitleX(300);
    g.tables.inventory.setTitleY(10);
    g.scene.currentRoomTitle = "Great Hall";
    g.tables.inventory.setStatusPosition(0, 400, 40);
    g.tables.inventory.setStatusPosition(1, 600, 40);
    g.tables.inventory.setStatusPosition(2, 600, 70);
    g.tables.inventory.setStatusPosition(3, 600, 100);
    g.ui.hitPoints = 75;
    g.ui.statusCounters = {3, 14, -2};
    drawFrame();

    canvas().setFont("Lucida console", 12);
    const int h = canvas().textHeight("a");
    auto changedColumns = [&](Rect band) {
        int first = -1, last = -1;
        for (int x = band.left; x < band.right; ++x)
            for (int y = band.top; y < band.bottom; ++y)
                if (back().pixel(x, y) != kFill) {
                    if (first < 0) first = x;
                    last = x;
                }
        return std::pair{first, last};
    };
    // The hit points are centred on x 400, glyphs only (the background shows through).
    const int w = width("75%", "Lucida console");
    const auto [first, last] = changedColumns({300, 40, 500, 40 + h});
    EXPECT_GE(first, 400 - w / 2);
    EXPECT_LT(last, 400 - w / 2 + w);
    EXPECT_LT(first, 400 - w / 4);
    EXPECT_GT(last, 400 + w / 4);
    EXPECT_GT(count(Rect{400 - w / 2, 40, 400 - w / 2 + w, 40 + h}, kFill), 0);
    EXPECT_GT(count(Rect{400 - w / 2, 40, 400 - w / 2 + w, 40 + h}, 0xFFFFFF), 0);
    for (int y : {40, 70, 100}) {
        const auto [f, l] = changedColumns({550, y, 700, y + h});
        EXPECT_GE(f, 600) << y;
        EXPECT_GT(l, f) << y;
    }
    const auto [tf, tl] = changedColumns({250, 10, 500, 10 + h});
    EXPECT_GE(tf, 300);
    EXPECT_LT(tl, 300 + width("Great Hall", "Lucida console"));

    g.tables.inventory.setShowStatus(0);
    g.tables.inventory.setShowRoomTitle(0);
    drawFrame();
    EXPECT_EQ(countOther(Rect{0, 0, 800, 200}, kFill), 0);
}

TEST_F(Overlays, InventoryBarHitSkipsTransparentPixels) {
    Image bar = solidImage(100, 60, 0x404040);
    bar.pixels[5 * 100 + 5] = 0;  // the colour key
    g.scene.imageList1.items[1] = singlePictureList(bar).items[0];
    EXPECT_FALSE(inventoryBarUnder(g, 5, 545));
    EXPECT_TRUE(inventoryBarUnder(g, 6, 545));
    EXPECT_TRUE(inventoryBarUnder(g, 99, 599));
    EXPECT_FALSE(inventoryBarUnder(g, 100, 545));
    g.scene.imageList1.items[1].transparent = false;
    EXPECT_TRUE(inventoryBarUnder(g, 5, 545));
    g.scene.imageList1.items.resize(1);
    EXPECT_FALSE(inventoryBarUnder(g, 6, 545));
}

}  // namespace
}  // namespace zk
