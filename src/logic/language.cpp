// Switching the player's language: every shown text is rebuilt from its key.
#include "logic/logic.h"

namespace zk {

void setLanguage(GameState& g, int language) {
    if (language == g.ui.language) return;
    g.ui.language = language;
    for (Room& room : g.tables.rooms) {
        for (int i = 0; i < kZonesPerRoom; ++i) {
            ZoneView z = room.zone(i);
            if (z.enabled()) z.setHint(g.translate(z.hintKey()));
        }
        for (ObjectRecord& o : room.objects) o.setDisplayName(g.translate(o.displayNameKey()));
    }
    if (g.hasRoom()) g.scene.currentRoomTitle = g.translate(g.room().titleKey());
    if (g.ui.slotLabels.size() < static_cast<size_t>(kInventorySlots))
        g.ui.slotLabels.resize(kInventorySlots);
    for (int i = 0; i < kInventorySlots; ++i) {
        ConstSlotView slot = g.tables.inventory.slot(i);
        if (!slot.enabled() || slot.item().empty()) continue;
        const int t = g.tables.templates.findFirst(slot.item());
        // An item no template names keeps the label it has.
        if (t >= kTemplateCapacity) continue;
        std::string label = g.translate(g.tables.templates.at(t).displayNameKey());
        if (label.size() > 255) label.resize(255);
        g.ui.slotLabels[static_cast<size_t>(i)] = std::move(label);
    }
}

}  // namespace zk
