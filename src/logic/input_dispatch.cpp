// What the player's mouse does: hovering, the left click and the right click.
#include <optional>

#include "audio/audio.h"
#include "data/hit_test.h"
#include "logic/cursor.h"
#include "logic/logic.h"
#include "logic/room_entry.h"
#include "render/object_draw.h"

namespace zk {
namespace {

// Interface sounds of the list `sounds`.
constexpr int kSoundPutItem = 1;
constexpr int kSoundTransmute = 2;

bool inside(const Box& b, int x, int y) {
    return insideBox(b[0], b[1], b[2], b[3], x, y);
}

// Writes a walk of the main character to (x, y) in the current room at command k.
void putWalk(GameState& g, EventRecord& e, int k, int x, int y, int wait) {
    CommandView c = e.command(k);
    c.setVerb("walkto");
    c.setP1(g.tables.prefs.mainCharacterName());
    c.setP2(g.room().name());
    c.setP3("room");
    c.setP4("<nochange>");
    c.setNum1(x);
    c.setNum2(y);
    c.setNum3(wait);
}

EventRecord pickUpEvent(GameState& g, const ObjectRecord& object, int source, int x, int y) {
    EventRecord e;
    e.setName("onpickup");
    e.setSourceIndex(source);
    const bool walk = g.tables.prefs.walkToPickUp() != 0;
    if (walk) {
        putWalk(g, e, 0, x, y, 1);
        e.command(1).setVerb("begin");
    }
    CommandView add = e.command(2);
    add.setVerb("addobj");
    add.setP1(object.name());
    add.setP4("holdingsubj");
    CommandView del = e.command(3);
    del.setVerb("deleteobj");
    del.setP1(object.name());
    del.setP2("<actual>");
    if (walk) e.command(4).setVerb("end");
    return e;
}

// Queues the wrong-use remark, one of the non-empty texts at random; none when the
// game has no such texts.
void queueWrongUse(GameState& g) {
    std::vector<std::string> texts;
    for (int k = 0; k < PreferencesRecord::kWrongSubjectTexts; ++k) {
        std::string t = g.tables.prefs.wrongSubjectText(k);
        if (!t.empty()) texts.push_back(std::move(t));
    }
    if (texts.empty()) return;
    EventRecord e;
    e.setName("wrongsubjmsg");
    e.setSourceIndex(0);
    CommandView c = e.command(0);
    c.setVerb("showhint");
    c.setP1(g.objects().empty() ? std::string() : g.objects()[0].name());
    c.setP2("false");
    c.setText(texts[static_cast<size_t>(g.random.below(static_cast<int32_t>(texts.size())))]);
    g.scripts.queue.enqueue(e);
}

EventRecord zoneEvent(GameState& g, ConstZoneView zone, int index) {
    EventRecord e;
    e.setName("onzone");
    e.setSourceIndex(index);
    putWalk(g, e, 0, zone.walkX(), zone.walkY(), 1);
    int k = 1;
    e.command(k++).setVerb("begin");
    const bool fade = zone.fade() != 0;
    if (fade) e.command(k++).setVerb("fadeout");
    CommandView change = e.command(k++);
    change.setVerb("changeroom");
    change.setP1(zone.targetRoom());
    change.setP2(zone.targetEntrance());
    if (fade) e.command(k++).setVerb("fadein");
    e.command(k).setVerb("end");
    return e;
}

EventRecord floorEvent(GameState& g, int x, int y) {
    EventRecord e;
    e.setName("onfloor");
    e.setSourceIndex(0);
    putWalk(g, e, 0, x, y, 0);
    return e;
}

// A click while scripts wait for hints ends those hints and nothing else.
bool skipAwaitedHints(GameState& g) {
    bool any = false;
    for (int s = 0; s < kQueueSlots; ++s) {
        if (!g.scripts.queue.inUse(s)) continue;
        EventRecord& e = g.scripts.queue.slot(s);
        for (int k = 0; k < kCommandsPerEvent; ++k) {
            CommandView c = e.command(k);
            if (c.verb() != "waitforhint") continue;
            std::string name = c.p1();
            if (name == "<self>") name = c.self();
            int o = findRoomObject(g, name, g.scene.currentRoom);
            if (o >= 0) g.objects()[static_cast<size_t>(o)].setHintTimer(0);
            c.setVerb("");
            any = true;
        }
    }
    return any;
}

void answerDialogue(GameState& g, int x, int y) {
    g.dialogue.dialogueResult = -1;
    if (inside(g.dialogue.dialogueLayout.closeBox, x, y)) g.dialogue.dialogueOpen = false;
    const int choices = static_cast<int>(g.dialogue.dialogueLines.size()) - 1;
    for (int w = 0;
         w < choices && w < static_cast<int>(g.dialogue.dialogueLayout.choiceBoxes.size()); ++w) {
        if (!inside(g.dialogue.dialogueLayout.choiceBoxes[static_cast<size_t>(w)], x, y)) continue;
        g.dialogue.dialogueOpen = false;
        g.dialogue.dialogueResult = w;
        EventRecord say;
        if (g.dialogue.dialogueVoice == 0) {
            CommandView c = say.command(0);
            c.setVerb("showhint");
            c.setP1(g.objects().empty() ? std::string() : g.objects()[0].name());
            c.setP2("true");
            c.setText(g.dialogue.dialogueLines[static_cast<size_t>(w) + 1]);
            g.ui.hintPreTranslated = true;
        }
        if (g.dialogue.dialogueSlot >= 0 && g.dialogue.dialogueSlot < kQueueSlots)
            g.scripts.queue.insertCommand(g.dialogue.dialogueSlot, say.command(0).bytes(), 0);
        break;  // the choice boxes do not overlap
    }
}

// The click on the hovered object; false when it is not for an object.
bool clickObject(GameState& g, int x, int y) {
    const int h = g.scene.hoveredObject;
    if (h < 0 || h >= static_cast<int>(g.objects().size())) return false;
    ObjectRecord& o = g.objects()[static_cast<size_t>(h)];
    // An object deleted since the cursor found it is no longer there to click.
    if (o.isEmpty() || !o.active()) return false;
    if (g.scripts.frozen && g.scripts.freezeMode != "mainchar") return false;

    const std::string kind = o.kind();
    if ((kind == "subject" || kind == "weapon") && g.cursor.heldItem.empty() &&
        !g.scripts.queue.isRunning("onpickup", h))
        g.scripts.queue.enqueue(pickUpEvent(g, o, h, x, y));

    int found = -1;
    for (int e = 0; e < kEventsPerObject; ++e) {
        ConstEventView ev = o.event(e);
        const std::string name = ev.name();
        if (name == "onclick" && g.cursor.heldItem.empty()) found = e;
        if (name == "onusewith" && ev.param1() == g.cursor.heldItem) {
            found = e;
            break;
        }
    }
    if (found >= 0) {
        EventView ev = o.event(found);
        if (!g.scripts.queue.isRunning(ev.name(), h)) {
            ev.setSourceIndex(h);
            g.scripts.queue.enqueue(ev.bytes());
        }
    } else if (!g.cursor.heldItem.empty() && g.cursor.heldItem != o.name()) {
        queueWrongUse(g);
    }
    return true;
}

// The event "transmute" of the first template named `owner` that combines with
// `other`; its result item, or nothing.
std::optional<std::string> transmuteResult(const GameState& g, const std::string& owner,
                                           const std::string& other) {
    const int t = g.tables.templates.findFirst(owner);
    if (t >= kTemplateCapacity) return std::nullopt;
    const ObjectRecord& tpl = g.tables.templates.at(t);
    for (int e = 0; e < kEventsPerObject; ++e) {
        ConstEventView ev = tpl.event(e);
        if (ev.name() == "transmute" && ev.param1() == other) return ev.param2();
    }
    return std::nullopt;
}

void exchangeWithSlot(GameState& g, int i) {
    SlotView slot = g.tables.inventory.slot(i);
    const std::string taken = slot.item();
    slot.setItem(g.cursor.heldItem);
    g.cursor.heldItem = taken;
    const std::string laid = slot.item();
    if (!taken.empty()) {
        std::optional<std::string> result;
        if (!laid.empty()) {
            result = transmuteResult(g, taken, laid);
            if (!result) result = transmuteResult(g, laid, taken);
        }
        if (result) {
            slot.setItem(*result);
            g.cursor.heldItem.clear();
            setCursor(g, g.tables.prefs.startCursor());
            playSound(g, kSoundTransmute);
        } else {
            takeOntoCursor(g, i, taken);
        }
    } else if (!laid.empty()) {
        playSound(g, kSoundPutItem);
        setCursor(g, g.tables.prefs.startCursor());
    }
    refreshSlotPicture(g, i);
}

// The click on the inventory bar; false when it falls through to the room.
bool clickInventory(GameState& g, int x, int y) {
    if (!g.room().isGameRoom() || !inventoryBarUnder(g, x, y)) return false;

    if (!g.cursor.heldItem.empty() &&
        g.scripts.queue.isRunningWithParam("onusewith", g.cursor.heldItem))
        return true;
    for (int i = 0; i < kInventorySlots; ++i) {
        if (!slotUnder(g, i, x, y)) continue;
        if (!g.tables.inventory.slot(i).enabled() || !cursorFitsSlot(g, i)) continue;
        exchangeWithSlot(g, i);
        break;  // one exchange per click, even where slots overlap
    }
    return true;
}

void clickZoneOrFloor(GameState& g, int x, int y) {
    if (g.scripts.frozen) return;
    Room& room = g.room();
    if (g.cursor.heldItem.empty()) {
        for (int i = 0; i < kZonesPerRoom; ++i) {
            ConstZoneView z = room.zone(i);
            if (!z.enabled() || !zoneUnder(g, z, x, y)) continue;
            if (g.scripts.queue.isRunning("onzone", i)) continue;
            g.scripts.queue.enqueue(zoneEvent(g, z, i));
            return;
        }
    }
    if (room.isGameRoom() && y != 0 && x != g.tables.prefs.displayWidth() - 1)
        g.scripts.queue.enqueue(floorEvent(g, x, y));
}

}  // namespace

void hoverUpdate(GameState& g) {
    if (!g.session.gameLoaded || !g.hasRoom()) return;
    const int a = objectUnderCursor(g);
    const int previous = g.scene.hoveredObject;
    if (a != previous) {
        const auto& objects = g.objects();
        const int count = static_cast<int>(objects.size());
        if (a >= 0 && a < count) {
            for (int e = 0; e < kEventsPerObject; ++e) {
                ConstEventView ev = objects[static_cast<size_t>(a)].event(e);
                if (ev.name() == "onmouseenter") g.scripts.queue.enqueue(ev.bytes());
            }
        }
        if (previous >= 0 && previous < count) {
            const std::string room = g.room().name();
            for (int e = 0; e < kEventsPerObject; ++e) {
                ConstEventView ev = objects[static_cast<size_t>(previous)].event(e);
                if (ev.name() != "onmouseleave") continue;
                const int slot = g.scripts.queue.enqueue(ev.bytes());
                if (slot >= 0) g.scripts.queue.slot(slot).setOriginRoom(room);
            }
        }
    }
    g.scene.hoveredObject = a;
}

void clickDispatch(GameState& g) {
    if (!g.session.gameLoaded || !g.hasRoom()) return;
    const int x = g.input.mouseX;
    const int y = g.input.mouseY;
    if (skipAwaitedHints(g)) return;
    if (g.dialogue.dialogueOpen) {
        answerDialogue(g, x, y);
        return;
    }
    if (clickObject(g, x, y)) return;
    if (clickInventory(g, x, y)) return;
    clickZoneOrFloor(g, x, y);
}

void returnHeldItem(GameState& g) {
    if (g.scripts.queue.isRunningWithParam("onusewith", g.cursor.heldItem)) return;
    if (g.cursor.heldItem.empty()) return;
    for (int i = 0; i < kInventorySlots; ++i) {
        SlotView slot = g.tables.inventory.slot(i);
        if (!slot.enabled() || !slot.item().empty() || !cursorFitsSlot(g, i)) continue;
        slot.setItem(g.cursor.heldItem);
        refreshSlotPicture(g, i);
        playSound(g, kSoundPutItem);
        g.cursor.heldItem.clear();
        setCursor(g, g.tables.prefs.startCursor());
        return;
    }
}

void ListBox1DblClick(GameState& g, int roomListIndex) {
    if (!g.session.gameLoaded) return;
    if (roomListIndex < 0 || roomListIndex >= static_cast<int>(g.tables.roomList.size())) return;
    const std::string& name = g.tables.roomList[static_cast<size_t>(roomListIndex)];
    std::string entrance;
    const int r = findRoom(g, name);
    if (r >= 0) {
        const Room& room = g.tables.rooms[static_cast<size_t>(r)];
        for (int i = 0; i < kEntrancesPerRoom; ++i)
            if (!room.entrance(i).name().empty()) entrance = room.entrance(i).name();
    }
    EventRecord e;
    e.setName("ondebugmode");
    CommandView c = e.command(0);
    c.setVerb("changeroom");
    c.setP1(name);
    c.setP2(entrance);
    g.scripts.queue.enqueue(e);
}

}  // namespace zk
