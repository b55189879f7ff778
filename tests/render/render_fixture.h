#pragma once
// A game state on a headless 800 x 600 display with one room and no package, for
// drawing tests: objects and their pictures are set up directly in memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/game_state.h"
#include "platform/headless/headless_platform.h"

namespace zk::test {

// An image whose pixel (x, y) is f(x, y).
template <typename F>
Image imageOf(int width, int height, F f) {
    Image img;
    img.width = width;
    img.height = height;
    img.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            img.pixels[static_cast<size_t>(y) * static_cast<size_t>(width) +
                       static_cast<size_t>(x)] = f(x, y);
    return img;
}

inline Image filled(int width, int height, uint32_t color) {
    return imageOf(width, height, [color](int, int) { return color; });
}

// A prepared item; `key` is the colour key as 0xRRGGBB.
inline PictureItem pictureItem(const Image& img, bool transparent = true, uint32_t key = 0) {
    PictureItem item;
    item.picture.kind = "TDIB";
    item.picture.image = img;
    item.transparent = transparent;
    // Stored colours are 0x00BBGGRR.
    item.transparentColor = ((key & 0xFF) << 16) | (key & 0xFF00) | ((key >> 16) & 0xFF);
    item.prepare();
    return item;
}

inline PictureList listOf(std::vector<PictureItem> items) {
    PictureList list;
    list.items = std::move(items);
    return list;
}

class RenderTest : public ::testing::Test {
  protected:
    RenderTest() {
        hp.display.initialize(800, 600, false);
        g.platform = &platform;
        g.tables.prefs.setDisplayWidth(800);
        g.tables.prefs.setDisplayHeight(600);
        g.tables.prefs.setStartCursor("arrow");
        Room room;
        room.setName("hall");
        room.setCursorVisible(1);
        g.tables.rooms.push_back(std::move(room));
        g.scene.currentRoom = 0;
        g.scene.imageSlots.resize(kMinImageSlotRows);
    }

    Surface& back() { return hp.display.back(); }
    uint32_t px(int x, int y) { return back().pixel(x, y); }

    // Adds a shown, active object with one picture in slot 3, scale 100, alpha 255,
    // its top-left anchor at (x, y). Returns its index.
    int addObject(const std::string& name, int x, int y, const Image& img, int depth = 0,
                  bool transparent = true) {
        ObjectRecord o;
        o.setName(name);
        o.setSpriteFile(name + ".dxg");
        o.setX(x);
        o.setY(y);
        o.setScale(100);
        o.setAlpha(255);
        o.setActive(1);
        o.setDepth(depth);
        auto& objects = g.objects();
        objects.push_back(std::move(o));
        const int index = static_cast<int>(objects.size()) - 1;
        if (static_cast<int>(g.scene.imageSlots.size()) <= index)
            g.scene.imageSlots.resize(index + 1);
        g.scene.imageSlots[static_cast<size_t>(index)][3] = listOf({pictureItem(img, transparent)});
        return index;
    }
    ObjectRecord& obj(int i) { return g.objects()[static_cast<size_t>(i)]; }
    const std::vector<std::string>& errors() const { return hp.errorReport.messages; }

    HeadlessPlatform hp;
    Platform platform = hp.platform();
    GameState g;
};

}  // namespace zk::test
