#include "render/compose.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/error.h"
#include "data/error_log.h"
#include "platform/platform.h"
#include "render/blit.h"
#include "render/hotspot_marks.h"
#include "render/object_draw.h"
#include "render/overlays.h"

namespace zk {
namespace {

constexpr int kBackgroundItem = 2;

// Runs one part of the frame; a data fault in it is reported and the frame goes on.
template <typename Part>
void framePart(const GameState& g, Part&& part) {
    try {
        part();
    } catch (const DataError& e) {
        reportError(g, e.what());
    }
}

// Clears the back surface to black and, unless the screen is faded, draws the room
// background at the scene offset, both in one pass over the surface.
void clearAndDrawBackground(const GameState& g) {
    Surface& back = g.platform->display.back();
    const bool background = !g.scene.screenFaded;
    if (background && g.scene.imageList1.count() > kBackgroundItem) {
        fillAndDrawPattern(back, 0, g.scene.imageList1.items[kBackgroundItem], 0,
                           g.tables.inventory.sceneOffsetX(), g.tables.inventory.sceneOffsetY());
        return;
    }
    std::memset(back.pixels.data(), 0, back.pixels.size() * sizeof(uint32_t));
    if (background) reportError(g, "Room '" + g.room().name() + "' has no background picture");
}

void drawCursor(const GameState& g) {
    const int frame = g.cursor.cursorFrame;
    if (frame < 0 || frame >= g.cursor.curImageList.count()) {
        reportError(g, "Cursor '" + g.cursor.currentCursorName + "' has no frame " +
                           std::to_string(frame) + " (it has " +
                           std::to_string(g.cursor.curImageList.count()) + ")");
        return;
    }
    int hotX = 0, hotY = 0;
    if (g.cursor.cursorIndex >= 0 && g.cursor.cursorIndex < kCursorRows) {
        const CursorRecord& row = g.tables.cursors[static_cast<size_t>(g.cursor.cursorIndex)];
        hotX = row.hotX();
        hotY = row.hotY();
    }
    const int64_t x = int64_t{g.input.mouseX} - hotX;
    const int64_t y = int64_t{g.input.mouseY} - hotY;
    // A hot spot far outside the picture puts the cursor off the screen.
    if (x < INT32_MIN / 2 || x > INT32_MAX / 2 || y < INT32_MIN / 2 || y > INT32_MAX / 2) return;
    drawPattern(g.platform->display.back(), g.cursor.curImageList.items[static_cast<size_t>(frame)],
                0, static_cast<int>(x), static_cast<int>(y));
}

}  // namespace

void drawRain(const GameState& g) {
    Canvas& canvas = g.platform->canvas;
    canvas.setPenColor(kRainColor);
    for (const RainDrop& d : g.scene.rain) {
        // 64-bit, then clamped: drop fields hold any value a test or a damaged game sets.
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

void composeScene(const GameState& g) {
    if (!g.platform || !g.hasRoom()) return;

    clearAndDrawBackground(g);
    if (!g.scene.screenFaded) {
        framePart(g, [&] { drawSceneObjects(g); });
        if (g.room().weather() == "Rain") framePart(g, [&] { drawRain(g); });
    }

    framePart(g, [&] { drawInterfacePass(g, g.dialogue.dialogueUnderInterface); });
    framePart(g, [&] { drawTextsAndDialogue(g); });
    framePart(g, [&] { drawHotspotMarks(g); });

    if ((g.room().cursorVisible() && !g.scene.screenFaded) || g.dialogue.dialogueOpen)
        framePart(g, [&] { drawCursor(g); });
}

}  // namespace zk
