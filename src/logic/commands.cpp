#include "logic/commands.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "audio/audio.h"
#include "core/checked.h"
#include "core/error.h"
#include "data/script_vocabulary.h"
#include "logic/cursor.h"
#include "logic/loader.h"
#include "logic/logic.h"
#include "logic/room_entry.h"
#include "logic/scene.h"
#include "logic/walking.h"
#include "platform/platform.h"
#include "render/fade.h"
#include "save/saved_games.h"

namespace zk {
namespace {

constexpr int kHintOver = -30;
constexpr int kSleepStepMs = 25;
constexpr int kNumericVars = 5;
constexpr int kTextVars = 5;

bool flag(std::string_view text) {
    return text == "true";
}

// A number written as text: optional sign, decimal digits or "$"/"0x" hexadecimal,
// surrounding blanks allowed. Nothing when it is not a 32-bit integer.
std::optional<int32_t> parseInteger(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return std::nullopt;
    int64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (negative) value = -value;
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(value);
}

// An object of a room, found by name.
struct Found {
    int room = -1;
    int index = -1;
    explicit operator bool() const { return index >= 0; }
};

// The command being run: queue slot `slot`, position `pos`, and what running it
// decided for the rest of the script and the tick.
struct Run {
    GameState& g;
    int slot;
    int pos;
    bool wait = false;                  // the script holds at this command for this tick
    bool endTick = false;               // the queue run ends here
    std::optional<EventRecord> before;  // the slot as it was before a room was entered

    EventRecord& event() { return g.scripts.queue.slot(slot); }
    CommandView cmd() { return event().command(pos); }
    void done() { cmd().setVerb(""); }
    void becomes(std::string_view verb) { cmd().setVerb(verb); }
    void skipNext() { g.scripts.queue.skipNext(slot, pos); }

    // "<self>" stands for the script's own object.
    std::string self(const std::string& name) { return name == "<self>" ? cmd().self() : name; }

    // Object `name` ("<self>" allowed) of the room named `room` ("<actual>" allowed).
    Found object(const std::string& name, const std::string& room) {
        return objectOf(findRoom(g, room), name);
    }
    Found objectHere(const std::string& name) { return objectOf(g.scene.currentRoom, name); }
    Found objectOf(int room, const std::string& name) {
        Found f;
        const std::string wanted = self(name);
        // An empty name would find a deleted object, which no script can mean.
        if (room < 0 || wanted.empty()) return f;
        f.room = room;
        f.index = findRoomObject(g, wanted, room);
        return f;
    }
    ObjectRecord& at(Found f) {
        return g.tables.rooms[static_cast<size_t>(f.room)].objects[static_cast<size_t>(f.index)];
    }

    // Remembers the slot before a room is entered: room entry stops the scripts of
    // "ontimer" events and may put another event into the freed slot.
    void enteringRoom() { before = event(); }
    bool slotReplaced() { return before && !(*before == event()); }

    // The error of a script that cannot go on: reported once, and this tick ends.
    void fail(std::string_view verb, const std::string& what) {
        reportError(g, what + " (\"" + std::string(verb) + "\" in event \"" + event().name() +
                           "\" of object \"" + cmd().self() + "\")");
        endTick = true;
    }
};

bool isCurrent(const GameState& g, int room) {
    return room >= 0 && room == g.scene.currentRoom;
}

void reloadPictures(GameState& g, Found f) {
    if (isCurrent(g, f.room)) loadObjectPictures(g, f.index, f.room);
}

// The integer value of the command's text; nothing (and the tick ends) if it has none.
std::optional<int32_t> integerText(Run& r) {
    const std::string text = r.cmd().text();
    std::optional<int32_t> value = parseInteger(text);
    if (!value) {
        const std::string verb = r.cmd().verb();
        r.done();
        r.fail(verb, "'" + text + "' is not a valid integer");
    }
    return value;
}

// Runs one verb: clears it when it is done, sets `wait` when it holds its script.
using Handler = void (*)(Run&);

void walkto(Run& r) {
    walkTo(r.g, r.slot, r.pos);
    r.done();
}

void waitforchar(Run& r) {
    if (waitForChar(r.g, r.slot, r.pos))
        r.done();
    else
        r.wait = true;
}

void changeroom(Run& r) {
    const std::string room = r.cmd().p1();
    const std::string entrance = r.cmd().p2();
    r.done();
    if (findRoom(r.g, room) < 0) return;
    r.enteringRoom();
    changeRoom(r.g, room, entrance);
}

void addobj(Run& r) {
    GameState& g = r.g;
    ConstCommandView c = r.cmd();
    const std::string name = c.p1();
    const std::string roomName = c.p2();
    const bool relative = flag(c.p3());
    const bool intoRoom = c.p4() == "room";
    int32_t x = c.num1();
    int32_t y = c.num2();
    const std::string ownName = c.self();
    r.done();

    const int t = g.tables.templates.findTemplate(name);
    if (t < 0) {
        reportWarning(g, "\"addobj\": there is no object template named '" + name + "'");
        return;
    }
    if (!intoRoom) {
        holdItem(g, name);
        g.cursor.currentCursorName = "#";  // the next named cursor always loads
        playSound(g, 0);
        return;
    }
    const int room = findRoom(g, roomName);
    if (room < 0) return;
    ObjectRecord o = g.tables.templates.at(t);
    o.setScale(100);
    for (int e = 0; e < kEventsPerObject; ++e)
        for (int k = 0; k < kCommandsPerEvent; ++k) o.event(e).command(k).setSelf(name);
    if (relative) {
        // Placed beside the script's own object: looked for in the target room, else in
        // the room on screen; without it the position counts from the room's origin.
        Found own = r.objectOf(room, ownName);
        if (!own) own = r.objectOf(g.scene.currentRoom, ownName);
        if (own) {
            x = wrappingAdd(x, r.at(own).x());
            y = wrappingAdd(y, r.at(own).y());
        }
    }
    o.setX(x);
    o.setY(y);
    if (o.kind() == "character") o.setSpriteFile(o.standLeftSprite());
    auto& objects = g.tables.rooms[static_cast<size_t>(room)].objects;
    objects.push_back(std::move(o));
    const int index = static_cast<int>(objects.size()) - 1;
    g.ensureImageSlotRow(index);
    // The timer table belongs to the room on screen; another room's timers are set
    // from its objects when it is entered.
    if (isCurrent(g, room)) {
        setObjectTimersFrom(g, index);
        loadObjectPictures(g, index, room);
    }
}

void changeobj(Run& r) {
    GameState& g = r.g;
    ConstCommandView c = r.cmd();
    const Found f = r.object(c.p1(), c.p2());
    const std::string templateName = c.p3();
    r.done();
    const int t = g.tables.templates.findTemplate(templateName);
    if (!f || t < 0) return;
    ObjectRecord& o = r.at(f);
    const int32_t x = o.x();
    const int32_t y = o.y();
    o = g.tables.templates.at(t);
    o.setX(x);
    o.setY(y);
    o.setScale(100);
    reloadPictures(g, f);
}

void deleteobj(Run& r) {
    ConstCommandView c = r.cmd();
    const Found f = r.object(c.p1(), c.p2());
    r.done();
    if (!f) return;
    r.at(f).clearName();
    // Only the room on screen has timers; an object of another room at the same
    // position is a different object whose timers must keep running.
    if (isCurrent(r.g, f.room) && f.index < kTimedObjects)
        for (int t = 0; t < kTimersPerObject; ++t)
            r.g.scripts
                .timers[static_cast<size_t>(f.index) * kTimersPerObject + static_cast<size_t>(t)] =
                ObjectTimer{};
}

void changespr(Run& r) {
    ConstCommandView c = r.cmd();
    // A script fired by the cursor leaving an object runs for the room it left.
    std::string room = r.event().originRoom();
    if (room.empty()) room = c.p3();
    const Found f = r.object(c.p1(), room);
    const std::string folder = r.self(c.p2());
    const std::string file = c.p4();
    r.done();
    if (!f) return;
    ObjectRecord& o = r.at(f);
    o.setImageFolder(folder);
    o.setSpriteFile(file);
    o.setFrame(0);
    reloadPictures(r.g, f);
}

void changexy(Run& r) {
    ConstCommandView c = r.cmd();
    const Found f = r.object(c.p1(), c.p2());
    const bool relative = flag(c.p3());
    const int32_t x = c.num1();
    const int32_t y = c.num2();
    r.done();
    if (!f) return;
    ObjectRecord& o = r.at(f);
    o.setX(relative ? wrappingAdd(o.x(), x) : x);
    o.setY(relative ? wrappingAdd(o.y(), y) : y);
}

void showhint(Run& r) {
    GameState& g = r.g;
    ConstCommandView c = r.cmd();
    std::string text = c.text();
    if (!g.ui.hintPreTranslated) text = g.translate(text);
    g.ui.hintPreTranslated = false;
    if (const Found f = r.objectHere(c.p1())) {
        ObjectRecord& o = r.at(f);
        o.setDisplayName(text);
        const int32_t gameTime = 60 * static_cast<int32_t>(o.displayName().size()) + 1000;
        const int speed = g.playerSettings().textSpeed;
        // The timer is a 16-bit field: a slow reader's long text stays as long as it can.
        o.setHintTimer(speed == 100 ? gameTime
                                    : static_cast<int32_t>(std::min<int64_t>(
                                          int64_t{gameTime} * speed / 100, INT16_MAX)));
    }
    if (flag(c.p2()))
        r.becomes("waitforhint");
    else
        r.done();
}

void waitforhint(Run& r) {
    const Found f = r.objectHere(r.cmd().p1());
    // Without the object there is no hint to wait for.
    if (!f || r.at(f).hintTimer() == kHintOver)
        r.done();
    else
        r.wait = true;
}

void deleteevent(Run& r) {
    ConstCommandView c = r.cmd();
    const Found f = r.object(c.p1(), c.p2());
    const int e = c.num1();
    r.done();
    if (f && e >= 0 && e < kEventsPerObject) r.at(f).event(e).setName("");
}

void playanim(Run& r) {
    GameState& g = r.g;
    ConstCommandView c = r.cmd();
    const Found f = r.objectHere(c.p1());
    const std::string owner = c.p2();
    const std::string file = c.p3();
    const bool wait = flag(c.p4());
    const int32_t delay = c.num1();
    const int32_t cycles = c.num2();
    const bool keep = c.num3() != 0;
    r.done();
    if (!f) return;
    ObjectRecord& o = r.at(f);
    o.setFrameDelay(delay);
    const std::string name = o.name();
    const std::string room = g.room().name();

    auto insert = [&r, &name](int at, auto fill) {
        EventRecord holder;
        CommandView n = holder.command(0);
        n.setSelf(name);
        n.setP1(name);
        fill(n);
        r.g.scripts.queue.insertCommand(r.slot, n.bytes(), r.pos + at);
    };
    const std::string oldFolder = o.imageFolder();
    const std::string oldSprite = o.spriteFile();
    insert(1, [&](CommandView n) {
        n.setVerb("changespr");
        n.setP2(owner);
        n.setP3(room);
        n.setP4(file);
    });
    if (wait)
        insert(2, [&](CommandView n) {
            n.setVerb("waitforanim");
            n.setNum1(cycles);
        });
    // Without the wait this position lies after the command that followed.
    if (!keep)
        insert(3, [&](CommandView n) {
            n.setVerb("changespr");
            n.setP2(oldFolder);
            n.setP3(room);
            n.setP4(oldSprite);
        });
}

void changebg(Run& r) {
    GameState& g = r.g;
    ConstCommandView c = r.cmd();
    const int room = findRoom(g, c.p1());
    const std::string file = c.p2();
    r.done();
    if (room < 0) return;
    Room& target = g.tables.rooms[static_cast<size_t>(room)];
    target.setBackground(file);
    if (!isCurrent(g, room)) return;
    // The shown background is item 2 of the window's list, keeping that item's own
    // transparency settings.
    while (g.scene.imageList1.count() < 3) g.scene.imageList1.add();
    PictureItem& shown = g.scene.imageList1.items[2];
    PictureList loaded;
    if (loadPictureList(g, "rooms\\" + target.name() + "\\" + file, loaded) && loaded.count() > 0)
        shown.picture = loaded.items[0].picture;
    else
        shown.picture = Picture{};
    shown.prepare();
}

void sleep(Run& r) {
    const int32_t left = r.cmd().num1() - kSleepStepMs;
    r.cmd().setNum1(std::max<int32_t>(left, std::numeric_limits<int16_t>::min()));
    if (left < 1) r.done();
    r.wait = true;  // also in the tick that ends it
}

void setinactive(Run& r) {
    ConstCommandView c = r.cmd();
    const Found f = r.object(c.p1(), c.p2());
    r.done();
    if (f) r.at(f).setActive(0);
}

void startdialog(Run& r) {
    GameState& g = r.g;
    ConstCommandView c = r.cmd();
    const std::string head = r.self(c.p1());
    const std::string headFile = c.p2();
    const std::string choices = c.text();
    g.dialogue.dialogueLines.clear();
    g.dialogue.dialogueLines.push_back(g.translate(c.p3()));
    // Each piece ended by a "#" is one choice; text after the last "#" is not one.
    size_t start = 0;
    for (size_t hash = choices.find('#'); hash != std::string::npos;
         start = hash + 1, hash = choices.find('#', start))
        g.dialogue.dialogueLines.push_back(g.translate(choices.substr(start, hash - start)));
    if (headFile.empty())
        g.ui.headImageList.clear();
    else
        loadPictureList(g, "objects\\" + head + "\\" + headFile, g.ui.headImageList);
    setCursor(g, g.tables.prefs.startCursor());
    g.dialogue.dialogueOpen = true;
    g.dialogue.dialogueStyle = c.num1();
    g.dialogue.dialogueVoice = c.num2();
    g.dialogue.dialogueSlot = r.slot;
    r.becomes("waitfordlg");
}

void changevar(Run& r) {
    ConstCommandView c = r.cmd();
    const Found f = r.object(c.p1(), c.p2());
    const bool relative = flag(c.p3());
    const int var = c.num1();
    if (!f || var < 0 || var >= kNumericVars + kTextVars) {
        r.done();
        return;
    }
    if (var >= kNumericVars) {
        r.at(f).setTextVar(var - kNumericVars, c.text());
        r.done();
        return;
    }
    const std::optional<int32_t> value = integerText(r);
    if (!value) return;
    r.done();
    ObjectRecord& o = r.at(f);
    // Signed bytes: the sum wraps (127 + 1 is -128).
    o.setNumVar(var, relative ? wrappingAdd(o.numVar(var), *value) : *value);
}

void ifvar(Run& r) {
    ConstCommandView c = r.cmd();
    const Found f = r.object(c.p1(), c.p2());
    const int var = c.num1();
    const int comparison = c.num2();
    if (!f || var < 0 || var >= kNumericVars + kTextVars) {
        r.done();
        return;
    }
    bool holds = true;
    if (var >= kNumericVars) {
        holds = r.at(f).textVar(var - kNumericVars) == c.text();
    } else {
        const std::optional<int32_t> value = integerText(r);
        if (!value) return;
        const int32_t v = r.at(f).numVar(var);
        if (comparison == 0) holds = v == *value;
        if (comparison == 1) holds = v < *value;
        if (comparison == 2) holds = v > *value;
    }
    r.done();
    if (!holds) r.skipNext();
}

void waitfordlg(Run& r) {
    if (r.g.dialogue.dialogueOpen)
        r.wait = true;
    else
        r.done();
}

void ifdlgresult(Run& r) {
    const int wanted = r.cmd().num1();
    r.done();
    if (wanted != r.g.dialogue.dialogueResult) r.skipNext();
}

void newgame(Run& r) {
    GameState& g = r.g;
    r.done();
    r.enteringRoom();
    // A walk of the game left behind must not go on in the new one.
    g.walk.walking = false;
    loadInventoryRecord(g, "inv.dat");
    for (int i = 0; i < kInventorySlots; ++i) refreshSlotPicture(g, i);
    reloadRooms(g);
    // The reloaded texts are keys again: switching from the game's own language back
    // to the one in use rebuilds them when the two differ.
    const int inUse = g.ui.language;
    g.ui.language = g.tables.prefs.language();
    setLanguage(g, inUse);
    if (g.tables.startRoomName.empty()) {
        if (g.platform) g.platform->messageBox.show("No game startroom found", "Error");
        g.session.quitRequested = true;
        g.session.exitStatus = 1;
        g.session.exitReason = "No game startroom found after a new game";
        r.endTick = true;
        return;
    }
    const int start = findRoom(g, g.tables.startRoomName);
    g.scene.currentRoom = start;
    loadObjectPictures(g, 0, start);
    enterRoom(g, start);
}

void exitgame(Run& r) {
    r.done();
    r.g.session.quitRequested = true;
    r.endTick = true;
}

void setlanguage(Run& r) {
    const int language = r.cmd().num1();
    r.done();
    setLanguage(r.g, language);
}

void delholdingsubj(Run& r) {
    r.done();
    r.g.cursor.heldItem.clear();
    setCursor(r.g, r.g.tables.prefs.startCursor());
}

void callevent(Run& r) {
    const Found f = r.objectHere(r.cmd().self());
    const int e = r.cmd().num1();
    r.done();
    if (!f || e < 0 || e >= kEventsPerObject) return;
    // A copy: queueing may not see the object's own event change under it.
    EventRecord event(r.at(f).event(e).bytes());
    if (!event.isEmpty()) r.g.scripts.queue.enqueue(event);
}

void blockMark(Run& r) {
    r.done();
}

void playsnd(Run& r) {
    const std::string object = r.self(r.cmd().p1());
    const std::string sound = r.cmd().p2();
    r.done();
    playObjectSound(r.g, object, sound);
}

void changecur(Run& r) {
    ConstCommandView c = r.cmd();
    const Found f = r.object(c.p1(), c.p2());
    const std::string cursor = c.p3();
    r.done();
    if (f) r.at(f).setHoverCursor(cursor);
    hoverUpdate(r.g);
}

bool canDraw(const GameState& g) {
    return g.platform && g.platform->display.canDraw();
}

void fadeout(Run& r) {
    r.done();
    // Every step shows the party of a play room over the darkening picture.
    if (canDraw(r.g) && r.g.hasRoom() && r.g.room().isGameRoom()) applyPerspectiveScales(r.g, 1);
    fadeOut(r.g);
}

void fadein(Run& r) {
    r.done();
    r.g.scene.screenFaded = false;
    if (canDraw(r.g)) prepareScene(r.g);
    fadeIn(r.g);
}

void savegame(Run& r) {
    const int slot = r.cmd().num1();
    r.done();
    saveGame(r.g, slot);
}

void loadgame(Run& r) {
    const int slot = r.cmd().num1();
    r.done();
    r.enteringRoom();
    loadGame(r.g, slot);
}

void ifinvsubj(Run& r) {
    const std::string item = r.self(r.cmd().p1());
    r.done();
    bool held = false;
    for (int i = 0; i < kInventorySlots && !held; ++i) {
        ConstSlotView s = r.g.tables.inventory.slot(i);
        held = s.enabled() && s.item() == item;
    }
    if (!held) r.skipNext();
}

void savelastgs(Run& r) {
    const int width = r.cmd().num1();
    const int height = r.cmd().num2();
    r.done();
    captureThumbnail(r.g, width, height);
}

void setslotspr(Run& r) {
    const Found f = r.objectHere(r.cmd().p1());
    const int slot = r.cmd().num1();
    r.done();
    if (f) showSlotThumbnail(r.g, f.index, slot);
}

void backtogame(Run& r) {
    GameState& g = r.g;
    r.done();
    if (g.scene.returnRoom < 0) {
        if (g.platform) g.platform->messageBox.show("Message", "No game in progress");
        return;
    }
    if (!g.cursor.stashedHeldItem.empty()) {
        holdItem(g, g.cursor.stashedHeldItem);
        // Given back once: a second return must not hand out the same item again.
        g.cursor.stashedHeldItem.clear();
    }
    r.enteringRoom();
    enterRoom(g, g.scene.returnRoom);
}

void freezgame(Run& r) {
    r.g.scripts.frozen = true;
    r.g.scripts.freezeMode = r.cmd().num1() == 0 ? "wholegame" : "mainchar";
    r.done();
}

void unfreezgame(Run& r) {
    r.g.scripts.frozen = false;
    r.done();
}

void sethp(Run& r) {
    const int64_t value = r.cmd().num1();
    const int64_t hp = flag(r.cmd().p1()) ? r.g.ui.hitPoints + value : value;
    r.g.ui.hitPoints = static_cast<int32_t>(std::clamp<int64_t>(
        hp, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    r.done();
}

void ifhp(Run& r) {
    const int32_t value = r.cmd().num1();
    const int comparison = r.cmd().num2();
    const int32_t hp = r.g.ui.hitPoints;
    bool holds = true;
    if (comparison == 0) holds = hp == value;
    if (comparison == 1) holds = hp > value;
    if (comparison == 2) holds = hp < value;
    r.done();
    if (!holds) r.skipNext();
}

void ifprogress(Run& r) {
    r.done();
    if (r.g.scene.returnRoom == -1) r.skipNext();
}

void changedepth(Run& r) {
    ConstCommandView c = r.cmd();
    const Found f = r.object(c.p1(), c.p2());
    r.done();
    if (!f) return;
    ObjectRecord& o = r.at(f);
    o.setFixedDepth(c.num1() == 0 ? 1 : 0);
    o.setDepth(c.num2());
    o.setDepthBehind(c.num3());
    o.setDepthInFront(c.num4());
}

void changemusic(Run& r) {
    const int room = findRoom(r.g, r.cmd().p1());
    const std::string music = r.cmd().p2();
    r.done();
    if (room < 0) return;
    r.g.tables.rooms[static_cast<size_t>(room)].setMusic(music);
    if (isCurrent(r.g, room)) playRoomMusic(r.g);
}

void clearinprogress(Run& r) {
    r.g.scene.returnRoom = -1;
    r.done();
}

void setcharspr(Run& r) {
    ConstCommandView c = r.cmd();
    const Found f = r.object(c.p1(), c.p2());
    const std::string facing = c.p3();
    r.done();
    if (f) setStandingSprite(r.g, f.room, f.index, facing);
}

void waitforanim(Run& r) {
    // The animation step counts the cycles down and clears the command.
    r.wait = true;
}

void stopchar(Run& r) {
    r.done();
    stopChar(r.g);
}

// The handler of each verb, in the order of kScriptVerbs: entry i runs kScriptVerbs[i].
constexpr std::array<Handler, kScriptVerbs.size()> kHandlers = {
    walkto,      waitforchar, changeroom,      addobj,      changeobj,   deleteobj,   changespr,
    changexy,    showhint,    waitforhint,     deleteevent, playanim,    changebg,    sleep,
    setinactive, startdialog, changevar,       ifvar,       waitfordlg,  ifdlgresult, newgame,
    exitgame,    setlanguage, delholdingsubj,  callevent,   blockMark,   blockMark,   playsnd,
    changecur,   fadeout,     fadein,          savegame,    loadgame,    ifinvsubj,   savelastgs,
    setslotspr,  backtogame,  freezgame,       unfreezgame, sethp,       ifhp,        ifprogress,
    changedepth, changemusic, clearinprogress, setcharspr,  waitforanim, stopchar,
};
static_assert(std::find(kHandlers.begin(), kHandlers.end(), nullptr) == kHandlers.end(),
              "every verb of the vocabulary needs its handler");

enum class Outcome {
    Next,     // go on with the next command of the script
    Hold,     // the script waits, or its slot no longer holds it: next slot
    EndTick,  // nothing more runs this tick
};

Outcome runCommand(GameState& g, int slot, int pos) {
    Run r{g, slot, pos};
    // An empty verb is a done command, an unknown one is passed over: neither runs.
    std::optional<size_t> verb = verbIndex(r.cmd().verb());
    while (verb) {
        try {
            kHandlers[*verb](r);
        } catch (const DataError& e) {
            // A data file the command needs could not be read.
            reportError(g, e.what());
            return Outcome::EndTick;
        }
        if (r.endTick) return Outcome::EndTick;
        if (r.slotReplaced()) return Outcome::Hold;
        // A command that became a later verb is handled under that verb at once.
        const std::optional<size_t> next = verbIndex(r.cmd().verb());
        verb = next && *next > *verb ? next : std::nullopt;
    }
    return r.wait ? Outcome::Hold : Outcome::Next;
}

}  // namespace

void runQueue(GameState& g) {
    for (int s = 0; s < kQueueSlots; ++s) {
        if (!g.scripts.queue.inUse(s)) continue;
        for (int k = 0; k < kCommandsPerEvent; ++k) {
            const Outcome o = runCommand(g, s, k);
            if (o == Outcome::EndTick) return;
            if (o == Outcome::Hold) break;
        }
    }
}

}  // namespace zk
