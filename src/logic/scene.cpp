#include "logic/scene.h"

#include "core/error.h"
#include "data/hit_test.h"
#include "logic/cursor.h"
#include "logic/interactives.h"
#include "logic/logic.h"
#include "logic/room_entry.h"
#include "platform/platform.h"
#include "render/object_draw.h"
#include "render/overlays.h"

namespace zk {

std::string chooseCursor(const GameState& g) {
    std::string name = g.tables.prefs.startCursor();
    if (!g.hasRoom()) return name;
    const Room& room = g.room();
    for (int z = 0; z < kZonesPerRoom; ++z) {
        ConstZoneView zone = room.zone(z);
        if (zone.enabled() && zoneUnder(g, zone, g.input.mouseX, g.input.mouseY))
            name = zone.cursor();
    }
    const int hovered = g.scene.hoveredObject;
    if (hovered >= 0 && hovered < static_cast<int>(room.objects.size())) {
        const ObjectRecord& o = room.objects[static_cast<size_t>(hovered)];
        if (o.active() == 1) name = o.hoverCursor();
    }
    return name;
}

void layoutDialogue(GameState& g) {
    if (!g.dialogue.dialogueOpen || !g.platform) return;
    g.dialogue.dialogueUnderInterface = g.dialogue.dialogueLayout.rect;
    if (g.tables.prefs.dialogImages() == "true")
        g.dialogue.dialogueUnderText = dialogueTextBackground(g, g.dialogue.dialogueLayout);
    g.dialogue.dialogueLayout = layoutDialogueBox(g);
}

void applyPerspectiveScales(GameState& g, uint8_t party) {
    if (!g.hasRoom()) return;
    auto& objects = g.objects();
    for (int i = 0; i < static_cast<int>(objects.size()); ++i) {
        ObjectRecord& o = objects[static_cast<size_t>(i)];
        if (drawnInPass(o, party) && o.perspective() == 1) o.setScale(perspectiveScaleOf(g, i));
    }
}

void prepareScene(GameState& g) {
    if (!g.platform || !g.hasRoom()) return;
    if (g.cursor.heldItem.empty() && !g.dialogue.dialogueOpen) {
        try {
            // The hover update only queues events, so zones and the hovered object can
            // be read after it.
            hoverUpdate(g);
            setCursor(g, chooseCursor(g));
        } catch (const DataError& e) {
            reportError(g, e.what());
        }
    }
    layoutDialogue(g);
    if (!g.scene.screenFaded) applyPerspectiveScales(g, 0);
    if (g.room().isGameRoom()) applyPerspectiveScales(g, 1);
    revealHotspots(g);
}

void revealHotspots(GameState& g) {
    g.scene.hotspots.clear();
    if (!g.input.revealHotspots || g.scene.screenFaded) return;
    for (const Interactive& t : interactiveThings(g))
        g.scene.hotspots.push_back({t.name, t.x, t.y});
}

}  // namespace zk
