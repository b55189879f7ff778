#include "logic/room_entry.h"

#include "audio/audio.h"
#include "core/error.h"
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
    for (size_t i = 0; i < g.rooms.size(); ++i)
        if (g.rooms[i].name() == wanted) found = static_cast<int>(i);
    return found;
}

int findRoomObject(const GameState& g, std::string_view name, int room) {
    if (room < 0 || room >= static_cast<int>(g.rooms.size())) return -1;
    const auto& objects = g.rooms[static_cast<size_t>(room)].objects;
    int found = -1;
    for (size_t i = 0; i < objects.size(); ++i)
        if (objects[i].name() == name) found = static_cast<int>(i);
    return found;
}

void loadObjectPictures(GameState& g, int position, int room) {
    if (room < 0 || room >= static_cast<int>(g.rooms.size())) return;
    const auto& objects = g.rooms[static_cast<size_t>(room)].objects;
    if (position < 0 || position >= static_cast<int>(objects.size())) return;
    const ObjectRecord& o = objects[static_cast<size_t>(position)];
    if (o.isEmpty()) return;
    g.ensureImageSlotRow(position);
    auto& row = g.imageSlots[static_cast<size_t>(position)];
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

void setCursor(GameState& g, std::string_view name) {
    if (name.empty() || name == g.currentCursorName) return;
    g.currentCursorName = std::string(name);
    loadPictureList(g, "cursors\\" + g.currentCursorName + "\\sprite.dxg", g.curImageList);
    for (int k = 0; k < kCursorRows; ++k)
        if (g.cursors[static_cast<size_t>(k)].name() == name) g.cursorIndex = k;
    g.cursorFrame = 0;
    g.cursorTicks = 0;
}

void holdItem(GameState& g, std::string_view name) {
    if (name.empty()) return;
    g.heldItem = std::string(name);
    g.curImageList.clear();
    g.curImageList.add();
    int t = g.templates.findTemplate(name);
    const ObjectRecord& item = g.templates.at(t);
    if (t < 0) {
        reportError(g, "Held item '" + g.heldItem + "' has no object template");
    } else {
        PictureList icons;
        if (loadPictureList(g, "objects\\" + g.heldItem + "\\" + item.iconFile(), icons) &&
            icons.count() > 0)
            g.curImageList = std::move(icons);
    }
    g.curImageList.prepare();
    g.cursorFrame = 0;
    g.cursorIndex = kCursorRows - 1;
    g.cursors[kCursorRows - 1].setHotX(item.cursorHotX());
    g.cursors[kCursorRows - 1].setHotY(item.cursorHotY());
    g.currentCursorName.clear();
}

namespace {

// Copies picture 0 of a list from the package into item `target` of the window's
// picture list, keeping that item's own transparency.
void loadIntoImageList1(GameState& g, const std::string& entry, int target) {
    PictureList temp;
    while (g.imageList1.count() < 3) g.imageList1.add();
    PictureItem& item = g.imageList1.items[static_cast<size_t>(target)];
    if (loadPictureList(g, entry, temp) && temp.count() > 0)
        item.picture = temp.items[0].picture;
    else
        item.picture = Picture{};
    item.prepare();
}

void loadWalkMask(GameState& g, const std::string& entry) {
    g.walkMask = WalkMask();
    if (!loadPictureList(g, entry, g.mask) || g.mask.count() == 0) return;
    try {
        Image raw = rawPixels(g.mask.items[0].picture);
        g.walkMask = WalkMask::build(raw.width, raw.height,
                                     [&raw](int32_t x, int32_t y) { return raw.at(x, y); });
    } catch (const DataError& e) {
        reportError(g, "Walk mask '" + entry + "': " + e.what());
    }
}

void startRain(GameState& g) {
    const int32_t width = g.prefs.displayWidth();
    for (RainDrop& d : g.rain) {
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
            g.timers[static_cast<size_t>(position) * kTimersPerObject + static_cast<size_t>(t)];
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
    if (index < 0 || index >= static_cast<int>(g.rooms.size())) {
        reportError(
            g, "Cannot enter room number " + std::to_string(index) + ": there is no such room");
        return;
    }
    g.currentRoom = index;
    g.dialogueOpen = false;
    // A walk belongs to the room it started in: its walker index means nothing here.
    g.walk.walking = false;
    Room& room = g.room();
    if (room.isGameRoom()) g.returnRoom = index;
    g.currentRoomTitle = g.translate(room.titleKey());
    const std::string folder = "rooms\\" + room.name() + "\\";
    loadIntoImageList1(g, folder + room.background(), 2);
    loadWalkMask(g, folder + room.maskFile());
    for (int p = 1; p < static_cast<int>(room.objects.size()); ++p) loadObjectPictures(g, p, index);
    playRoomMusic(g);
    if (room.weather() == "Rain") startRain(g);
    for (int s = 0; s < kQueueSlots; ++s)
        if (g.queue.slot(s).name() == "ontimer") g.queue.free(s);
    resetObjectTimers(g);
    for (const ObjectRecord& o : room.objects)
        for (int e = 0; e < kEventsPerObject; ++e)
            if (o.event(e).name() == "onroomenter") g.queue.enqueue(o.event(e).bytes());
    g.hoveredObject = -1;
    if (g.gameLoaded) hoverUpdate(g);
    g.screenFaded = false;
}

}  // namespace zk

namespace zk {

void refreshSlotPicture(GameState& g, int i) {
    ConstSlotView slot = g.inventory.slot(i);
    if (!slot.enabled() || slot.item().empty()) return;
    while (g.slotPictures.count() < kInventorySlots) g.slotPictures.add();
    if (g.slotLabels.size() < static_cast<size_t>(kInventorySlots))
        g.slotLabels.resize(kInventorySlots);
    const std::string item = slot.item();
    int t = g.templates.findFirst(item);
    if (t >= kTemplateCapacity || item.empty()) {
        reportError(g, "Inventory item '" + item + "' has no object template");
        return;
    }
    const ObjectRecord& tpl = g.templates.at(t);
    std::string label = g.translate(tpl.displayNameKey());
    if (label.size() > 255) label.resize(255);
    g.slotLabels[static_cast<size_t>(i)] = label;
    PictureList temp;
    PictureItem& target = g.slotPictures.items[static_cast<size_t>(i)];
    if (loadPictureList(g, "objects\\" + item + "\\" + tpl.iconFile(), temp) && temp.count() > 0)
        target = temp.items[0];
    else
        target = PictureItem{};
    target.prepare();
}

}  // namespace zk
