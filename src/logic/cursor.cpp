#include "logic/cursor.h"

#include "audio/audio.h"
#include "data/error_log.h"
#include "logic/logic.h"
#include "logic/room_entry.h"

namespace zk {
namespace {

constexpr int kSoundTakeItem = 0;  // interface sound 0: an item taken

}  // namespace

void setCursor(GameState& g, std::string_view name) {
    if (name.empty() || name == g.cursor.currentCursorName) return;
    g.cursor.currentCursorName = std::string(name);
    loadPictureList(g, "cursors\\" + g.cursor.currentCursorName + "\\sprite.dxg",
                    g.cursor.curImageList);
    for (int k = 0; k < kCursorRows; ++k)
        if (g.tables.cursors[static_cast<size_t>(k)].name() == name) g.cursor.cursorIndex = k;
    g.cursor.cursorFrame = 0;
    g.cursor.cursorTicks = 0;
}

void holdItem(GameState& g, std::string_view name) {
    if (name.empty()) return;
    g.cursor.heldItem = std::string(name);
    g.cursor.curImageList.clear();
    g.cursor.curImageList.add();
    int t = g.tables.templates.findTemplate(name);
    const ObjectRecord& item = g.tables.templates.at(t);
    if (t < 0) {
        reportError(g, "Held item '" + g.cursor.heldItem + "' has no object template");
    } else {
        PictureList icons;
        if (loadPictureList(g, "objects\\" + g.cursor.heldItem + "\\" + item.iconFile(), icons) &&
            icons.count() > 0)
            g.cursor.curImageList = std::move(icons);
    }
    g.cursor.curImageList.prepare();
    g.cursor.cursorFrame = 0;
    g.cursor.cursorIndex = kCursorRows - 1;
    g.tables.cursors[kCursorRows - 1].setHotX(item.cursorHotX());
    g.tables.cursors[kCursorRows - 1].setHotY(item.cursorHotY());
    g.cursor.currentCursorName.clear();
}

void takeOntoCursor(GameState& g, int slot, const std::string& item) {
    PictureItem picture;
    if (slot < g.ui.slotPictures.count())
        picture = g.ui.slotPictures.items[static_cast<size_t>(slot)];
    g.cursor.curImageList.clear();
    g.cursor.curImageList.items.push_back(std::move(picture));
    g.cursor.curImageList.prepare();
    g.cursor.cursorFrame = 0;
    g.cursor.cursorIndex = kCursorRows - 1;
    const ObjectRecord& tpl = g.tables.templates.at(g.tables.templates.findFirst(item));
    g.tables.cursors[kCursorRows - 1].setHotX(tpl.cursorHotX());
    g.tables.cursors[kCursorRows - 1].setHotY(tpl.cursorHotY());
    g.cursor.currentCursorName.clear();
    playSound(g, kSoundTakeItem);
}

void animateCursor(GameState& g) {
    if (g.cursor.cursorIndex < 0 || g.cursor.cursorIndex >= kCursorRows) return;
    ++g.cursor.cursorTicks;
    const int32_t delay = g.tables.cursors[static_cast<size_t>(g.cursor.cursorIndex)].frameDelay();
    if (int64_t{g.cursor.cursorTicks} * kTickMs < delay) return;
    g.cursor.cursorTicks = 0;
    g.cursor.cursorFrame =
        g.cursor.cursorFrame < g.cursor.curImageList.count() - 1 ? g.cursor.cursorFrame + 1 : 0;
}

}  // namespace zk
