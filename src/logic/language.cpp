// Switching the player's language: every shown text is rebuilt from its key.
#include "logic/logic.h"

namespace zk {

void setLanguage(GameState& g, int language) {
    if (language == g.language) return;
    g.language = language;
    for (Room& room : g.rooms) {
        for (int i = 0; i < kZonesPerRoom; ++i) {
            ZoneView z = room.zone(i);
            if (z.enabled()) z.setHint(g.translate(z.hintKey()));
        }
        for (ObjectRecord& o : room.objects) o.setDisplayName(g.translate(o.displayNameKey()));
    }
    if (g.hasRoom()) g.currentRoomTitle = g.translate(g.room().titleKey());
    if (g.slotLabels.size() < static_cast<size_t>(kInventorySlots))
        g.slotLabels.resize(kInventorySlots);
    for (int i = 0; i < kInventorySlots; ++i) {
        ConstSlotView slot = g.inventory.slot(i);
        if (!slot.enabled() || slot.item().empty()) continue;
        const int t = g.templates.findFirst(slot.item());
        // An item no template names keeps the label it has.
        if (t >= kTemplateCapacity) continue;
        std::string label = g.translate(g.templates.at(t).displayNameKey());
        if (label.size() > 255) label.resize(255);
        g.slotLabels[static_cast<size_t>(i)] = std::move(label);
    }
}

}  // namespace zk
