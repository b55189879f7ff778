#include "logic/room_entry.h"

#include "audio/audio.h"
#include "core/error.h"
#include "logic/cursor.h"
#include "logic/logic.h"
#include "package/package.h"
#include "platform/platform.h"

namespace zk {

bool loadPictureList(GameState& g, const std::string& entry, PictureList& list) {
    try {
        MemoryStream* s = g.package ? g.package->extractToStream(entry) : nullptr;
        if (!s) {
            list.clear();
            reportError(g, "Picture list '" + entry + "' is missing from the game package");
            return false;
        }
        list.loadFromStream(*s);
        return true;
    } catch (const DataError& e) {
        list.prepare();
        reportError(g, "Picture list '" + entry + "': " + e.what());
        return false;
    }
}

int findRoom(const GameState& g, std::string_view name) {
    std::string wanted(name);
    if (wanted == "<actual>") {
        if (!g.hasRoom()) return -1;
        wanted = g.room().name();
    }
    int found = -1;
    for (size_t i = 0; i < g.tables.rooms.size(); ++i)
        if (g.tables.rooms[i].name() == wanted) found = static_cast<int>(i);
    return found;
}

int findRoomObject(const GameState& g, std::string_view name, int room) {
    if (room < 0 || room >= static_cast<int>(g.tables.rooms.size())) return -1;
    const auto& objects = g.tables.rooms[static_cast<size_t>(room)].objects;
    int found = -1;
    for (size_t i = 0; i < objects.size(); ++i)
        if (objects[i].name() == name) found = static_cast<int>(i);
    return found;
}

void loadObjectPictures(GameState& g, int position, int room) {
    if (room < 0 || room >= static_cast<int>(g.tables.rooms.size())) return;
    const auto& objects = g.tables.rooms[static_cast<size_t>(room)].objects;
    if (position < 0 || position >= static_cast<int>(objects.size())) return;
    const ObjectRecord& o = objects[static_cast<size_t>(position)];
    if (o.isEmpty()) return;
    g.ensureImageSlotRow(position);
    auto& row = g.scene.imageSlots[static_cast<size_t>(position)];
    std::string folder = o.imageFolder();
    if (folder == "<self>") folder = o.name();
    const std::string own = o.name();
    struct SlotSource {
        int slot;
        std::string file;
        const std::string& folder;
    };
    const SlotSource sources[] = {
        {3, o.spriteFile(), folder},   {12, o.clickMaskFile(), folder},
        {2, o.iconFile(), own},        {1, o.spareSprite(), own},
        {4, o.walkLeftSprite(), own},  {5, o.walkRightSprite(), own},
        {6, o.walkUpSprite(), own},    {7, o.walkDownSprite(), own},
        {8, o.standLeftSprite(), own}, {9, o.standRightSprite(), own},
        {10, o.standUpSprite(), own},  {11, o.standDownSprite(), own},
    };
    for (const SlotSource& s : sources) {
        PictureList& list = row[static_cast<size_t>(s.slot)];
        if (s.file.empty())
            list.clear();
        else
            loadPictureList(g, "objects\\" + s.folder + "\\" + s.file, list);
    }
}

namespace {

// Copies picture 0 of a list from the package into item `target` of the window's
// picture list, keeping that item's own transparency.
void loadIntoImageList1(GameState& g, const std::string& entry, int target) {
    PictureList temp;
    while (g.scene.imageList1.count() < 3) g.scene.imageList1.add();
    PictureItem& item = g.scene.imageList1.items[static_cast<size_t>(target)];
    if (loadPictureList(g, entry, temp) && temp.count() > 0)
        item.picture = temp.items[0].picture;
    else
        item.picture = Picture{};
    item.prepare();
}

void loadWalkMask(GameState& g, const std::string& entry) {
    g.scene.walkMask = WalkMask();
    if (!loadPictureList(g, entry, g.scene.mask) || g.scene.mask.count() == 0) return;
    try {
        Image raw = rawPixels(g.scene.mask.items[0].picture);
        g.scene.walkMask = WalkMask::build(raw.width, raw.height,
                                           [&raw](int32_t x, int32_t y) { return raw.at(x, y); });
    } catch (const DataError& e) {
        reportError(g, "Walk mask '" + entry + "': " + e.what());
    }
}

void startRain(GameState& g) {
    const int32_t width = g.tables.prefs.displayWidth();
    for (RainDrop& d : g.scene.rain) {
        d.kind = g.random.below(2);
        d.x = g.random.below(width);
        d.y = g.random.below(width);  // the width again: drops fall until y reaches it
    }
}

}  // namespace

void loadInventoryPanel(GameState& g) {
    loadIntoImageList1(g, "inv.dxg", 1);
}

void setObjectTimersFrom(GameState& g, int position) {
    if (position < 0 || position >= kTimedObjects || !g.hasRoom()) return;
    const auto& objects = g.objects();
    for (int t = 0; t < kTimersPerObject; ++t) {
        ObjectTimer& timer =
            g.scripts
                .timers[static_cast<size_t>(position) * kTimersPerObject + static_cast<size_t>(t)];
        timer = ObjectTimer{};
        if (position >= static_cast<int>(objects.size())) continue;
        const ObjectRecord& o = objects[static_cast<size_t>(position)];
        for (int e = 0; e < kEventsPerObject; ++e) {
            ConstEventView ev = o.event(e);
            if (ev.name() == "ontimer" && ev.number() == t) timer.period = ev.period();
        }
    }
}

void resetObjectTimers(GameState& g) {
    for (int p = 0; p < kTimedObjects; ++p) setObjectTimersFrom(g, p);
}

void enterRoom(GameState& g, int index) {
    if (index < 0 || index >= static_cast<int>(g.tables.rooms.size())) {
        reportError(
            g, "Cannot enter room number " + std::to_string(index) + ": there is no such room");
        return;
    }
    g.scene.currentRoom = index;
    g.dialogue.dialogueOpen = false;
    // A walk belongs to the room it started in: its walker index means nothing here.
    g.walk.walking = false;
    Room& room = g.room();
    if (room.isGameRoom()) g.scene.returnRoom = index;
    g.scene.currentRoomTitle = g.translate(room.titleKey());
    const std::string folder = "rooms\\" + room.name() + "\\";
    loadIntoImageList1(g, folder + room.background(), 2);
    loadWalkMask(g, folder + room.maskFile());
    for (int p = 1; p < static_cast<int>(room.objects.size()); ++p) loadObjectPictures(g, p, index);
    playRoomMusic(g);
    if (room.weather() == "Rain") startRain(g);
    for (int s = 0; s < kQueueSlots; ++s)
        if (g.scripts.queue.slot(s).name() == "ontimer") g.scripts.queue.free(s);
    resetObjectTimers(g);
    for (const ObjectRecord& o : room.objects)
        for (int e = 0; e < kEventsPerObject; ++e)
            if (o.event(e).name() == "onroomenter") g.scripts.queue.enqueue(o.event(e).bytes());
    g.scene.hoveredObject = -1;
    if (g.session.gameLoaded) hoverUpdate(g);
    g.scene.screenFaded = false;
}

}  // namespace zk

namespace zk {

void refreshSlotPicture(GameState& g, int i) {
    ConstSlotView slot = g.tables.inventory.slot(i);
    if (!slot.enabled() || slot.item().empty()) return;
    while (g.ui.slotPictures.count() < kInventorySlots) g.ui.slotPictures.add();
    if (g.ui.slotLabels.size() < static_cast<size_t>(kInventorySlots))
        g.ui.slotLabels.resize(kInventorySlots);
    const std::string item = slot.item();
    int t = g.tables.templates.findFirst(item);
    if (t >= kTemplateCapacity || item.empty()) {
        reportError(g, "Inventory item '" + item + "' has no object template");
        return;
    }
    const ObjectRecord& tpl = g.tables.templates.at(t);
    std::string label = g.translate(tpl.displayNameKey());
    if (label.size() > 255) label.resize(255);
    g.ui.slotLabels[static_cast<size_t>(i)] = label;
    PictureList temp;
    PictureItem& target = g.ui.slotPictures.items[static_cast<size_t>(i)];
    if (loadPictureList(g, "objects\\" + item + "\\" + tpl.iconFile(), temp) && temp.count() > 0)
        target = temp.items[0];
    else
        target = PictureItem{};
    target.prepare();
}

}  // namespace zk
