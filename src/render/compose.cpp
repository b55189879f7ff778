#include "render/compose.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/error.h"
#include "data/room_entry.h"
#include "platform/platform.h"
#include "render/blit.h"
#include "render/object_draw.h"
#include "render/overlays.h"

namespace zk {
namespace {

constexpr int kBackgroundItem = 2;

// Runs one part of the frame; a data fault in it is reported and the frame goes on.
template <typename Part>
void framePart(GameState& g, Part&& part) {
    try {
        part();
    } catch (const DataError& e) {
        reportError(g, e.what());
    }
}

// Clears the back surface to black and, unless the screen is faded, draws the room
// background at the scene offset, both in one pass over the surface.
void clearAndDrawBackground(GameState& g) {
    Surface& back = g.platform->display.back();
    const bool background = !g.screenFaded;
    if (background && g.imageList1.count() > kBackgroundItem) {
        fillAndDrawPattern(back, 0, g.imageList1.items[kBackgroundItem], 0,
                           g.inventory.sceneOffsetX(), g.inventory.sceneOffsetY());
        return;
    }
    std::memset(back.pixels.data(), 0, back.pixels.size() * sizeof(uint32_t));
    if (background) reportError(g, "Room '" + g.room().name() + "' has no background picture");
}

void drawCursor(GameState& g) {
    const int frame = g.cursorFrame;
    if (frame < 0 || frame >= g.curImageList.count()) {
        reportError(g, "Cursor '" + g.currentCursorName + "' has no frame " +
                           std::to_string(frame) + " (it has " +
                           std::to_string(g.curImageList.count()) + ")");
        return;
    }
    int hotX = 0, hotY = 0;
    if (g.cursorIndex >= 0 && g.cursorIndex < kCursorRows) {
        const CursorRecord& row = g.cursors[static_cast<size_t>(g.cursorIndex)];
        hotX = row.hotX();
        hotY = row.hotY();
    }
    const int64_t x = int64_t{g.mouseX} - hotX;
    const int64_t y = int64_t{g.mouseY} - hotY;
    // A hot spot far outside the picture puts the cursor off the screen.
    if (x < INT32_MIN / 2 || x > INT32_MAX / 2 || y < INT32_MIN / 2 || y > INT32_MAX / 2) return;
    drawPattern(g.platform->display.back(), g.curImageList.items[static_cast<size_t>(frame)], 0,
                static_cast<int>(x), static_cast<int>(y));
}

}  // namespace

std::string chooseCursor(const GameState& g) {
    std::string name = g.prefs.startCursor();
    if (!g.hasRoom()) return name;
    const Room& room = g.room();
    const int64_t offX = g.inventory.sceneOffsetX();
    const int64_t offY = g.inventory.sceneOffsetY();
    for (int z = 0; z < kZonesPerRoom; ++z) {
        ConstZoneView zone = room.zone(z);
        if (!zone.enabled()) continue;
        if (g.mouseX >= zone.left() + offX && g.mouseX <= zone.right() + offX &&
            g.mouseY >= zone.top() + offY && g.mouseY <= zone.bottom() + offY)
            name = zone.cursor();
    }
    const int hovered = g.hoveredObject;
    if (hovered >= 0 && hovered < static_cast<int>(room.objects.size())) {
        const ObjectRecord& o = room.objects[static_cast<size_t>(hovered)];
        if (o.active() == 1) name = o.hoverCursor();
    }
    return name;
}

void drawRain(GameState& g) {
    Canvas& canvas = g.platform->canvas;
    canvas.setPenColor(kRainColor);
    for (const RainDrop& d : g.rain) {
        // 64-bit, then clamped: drop fields come from saved games too.
        const int64_t end = int64_t{d.y} - d.kind + 12;
        const int endY = static_cast<int>(std::clamp<int64_t>(end, INT32_MIN, INT32_MAX));
        canvas.moveTo(d.x, d.y);
        canvas.lineTo(d.x, endY);
        if (d.kind < 1 && d.x < INT32_MAX) {
            canvas.moveTo(d.x + 1, d.y);
            canvas.lineTo(d.x + 1, endY);
        }
    }
}

void composeScene(GameState& g) {
    if (!g.platform || !g.hasRoom()) return;

    if (g.heldItem.empty() && !g.dialogueOpen) {
        framePart(g, [&] {
            // The hover update only queues events, so zones and the hovered object can
            // be read after it.
            if (g.hooks.hoverUpdate) g.hooks.hoverUpdate();
            if (g.hasRoom()) setCursor(g, chooseCursor(g));
        });
        if (!g.hasRoom()) return;
    }

    clearAndDrawBackground(g);
    if (!g.screenFaded) {
        framePart(g, [&] { drawSceneObjects(g); });
        if (g.room().weather() == "Rain") framePart(g, [&] { drawRain(g); });
    }

    framePart(g, [&] { drawInterfacePass(g); });
    framePart(g, [&] { drawTextsAndDialogue(g); });

    if ((g.room().cursorVisible() && !g.screenFaded) || g.dialogueOpen)
        framePart(g, [&] { drawCursor(g); });
}

}  // namespace zk
