#include "render/compose.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/error.h"
#include "data/error_log.h"
#include "platform/platform.h"
#include "render/blit.h"
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
    const bool background = !g.screenFaded;
    if (background && g.imageList1.count() > kBackgroundItem) {
        fillAndDrawPattern(back, 0, g.imageList1.items[kBackgroundItem], 0,
                           g.inventory.sceneOffsetX(), g.inventory.sceneOffsetY());
        return;
    }
    std::memset(back.pixels.data(), 0, back.pixels.size() * sizeof(uint32_t));
    if (background) reportError(g, "Room '" + g.room().name() + "' has no background picture");
}

void drawCursor(const GameState& g) {
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

void drawRain(const GameState& g) {
    Canvas& canvas = g.platform->canvas;
    canvas.setPenColor(kRainColor);
    for (const RainDrop& d : g.rain) {
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
    if (!g.screenFaded) {
        framePart(g, [&] { drawSceneObjects(g); });
        if (g.room().weather() == "Rain") framePart(g, [&] { drawRain(g); });
    }

    framePart(g, [&] { drawInterfacePass(g, g.dialogueUnderInterface); });
    framePart(g, [&] { drawTextsAndDialogue(g); });

    if ((g.room().cursorVisible() && !g.screenFaded) || g.dialogueOpen)
        framePart(g, [&] { drawCursor(g); });
}

}  // namespace zk
