#pragma once
// A game state on a headless 800 x 600 display with one room and no package, for
// drawing the interface and the fades directly.
#include <gtest/gtest.h>

#include <cstdint>

#include "data/game_state.h"
#include "platform/headless/headless_platform.h"
#include "support/game_builder.h"

namespace zk::test {

class OverlayFixture : public ::testing::Test {
  protected:
    void SetUp() override { setDisplay(800, 600); }

    void setDisplay(int width, int height) {
        hp.display.initialize(width, height, false);
        g.platform = &platform;
        g.tables.prefs.setDisplayWidth(width);
        g.tables.prefs.setDisplayHeight(height);
        g.tables.prefs.setDialogImages("false");
        g.tables.prefs.setShowObjectTexts(1);
        g.tables.prefs.setShowZoneHints(1);
        g.tables.rooms.assign(1, Room{});
        g.tables.rooms[0].setName("hall");
        g.tables.rooms[0].setIsGameRoom(1);
        g.scene.currentRoom = 0;
        g.session.gameLoaded = true;
        g.cursor.curImageList = singlePictureList(solidImage(8, 8, 0xFFFFFF));
        g.scene.imageList1 = PictureList{};
        g.scene.imageList1.add();
        g.scene.imageList1.items.push_back(
            singlePictureList(solidImage(100, 60, 0x404040)).items[0]);
        g.scene.imageList1.add();
        g.scene.imageList1.prepare();
        g.tables.inventory.setBarX(0);
        g.tables.inventory.setBarY(540);
    }

    Surface& back() { return hp.display.back(); }
    Canvas& canvas() { return hp.canvas; }

    // Pixels of `color` inside r (right and bottom excluded).
    int count(const Rect& r, uint32_t color) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (back().pixel(x, y) == color) ++n;
        return n;
    }
    // Pixels that differ from `color` inside r.
    int countOther(const Rect& r, uint32_t color) {
        return (r.right - r.left) * (r.bottom - r.top) - count(r, color);
    }

    ObjectRecord& object(int i) { return g.tables.rooms[0].objects[static_cast<size_t>(i)]; }
    // A room object with a display name, placed so that its anchor is at (x, y); the
    // reference holds until the next object is added.
    ObjectRecord& addObject(const std::string& name, const std::string& text, int x, int y) {
        ObjectRecord& o = g.tables.rooms[0].objects.emplace_back();
        o.setName(name);
        o.setDisplayName(text);
        o.setActive(1);
        o.setScale(100);
        o.setX(x);
        o.setY(y);
        o.setHintTimer(-30);
        return o;
    }

    HeadlessPlatform hp;
    Platform platform = hp.platform();
    GameState g;
};

}  // namespace zk::test
