#include "data/hit_test.h"

#include "data/game_state.h"

namespace zk {

bool insideBox(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t x, int64_t y) {
    return x >= left && x <= right && y >= top && y <= bottom;
}

bool zoneUnder(const GameState& g, ConstZoneView zone, int x, int y) {
    const int64_t dx = g.tables.inventory.sceneOffsetX();
    const int64_t dy = g.tables.inventory.sceneOffsetY();
    return insideBox(zone.left() + dx, zone.top() + dy, zone.right() + dx, zone.bottom() + dy, x,
                     y);
}

bool inventoryBarUnder(const GameState& g, int x, int y) {
    if (g.scene.imageList1.count() < 2) return false;
    const PictureItem& bar = g.scene.imageList1.items[1];
    if (bar.width() <= 0 || bar.height() <= 0) return false;
    const int64_t barX = g.tables.inventory.barX();
    const int64_t barY = g.tables.inventory.barY();
    if (!insideBox(barX, barY, barX + bar.width() - 1, barY + bar.height() - 1, x, y)) return false;
    const std::optional<uint32_t> pixel =
        bar.pixel(static_cast<int>(x - barX), static_cast<int>(y - barY));
    return !(bar.transparent && pixel && *pixel == bar.colorKey());
}

bool slotUnder(const GameState& g, int i, int x, int y) {
    ConstSlotView s = g.tables.inventory.slot(i);
    return insideBox(s.left(), s.top(), s.right(), s.bottom(), x, y);
}

bool cursorFitsSlot(const GameState& g, int i) {
    if (g.cursor.curImageList.count() == 0) return true;
    const PictureItem& c = g.cursor.curImageList.items[0];
    ConstSlotView s = g.tables.inventory.slot(i);
    return int64_t{c.width()} - 1 <= int64_t{s.right()} - s.left() &&
           int64_t{c.height()} - 1 <= int64_t{s.bottom()} - s.top();
}

}  // namespace zk
