#include "logic/walking.h"

#include "logic/room_entry.h"

namespace zk {

namespace {

ObjectRecord* roomObject(GameState& g, int room, int index) {
    if (room < 0 || room >= static_cast<int>(g.tables.rooms.size())) return nullptr;
    auto& objects = g.tables.rooms[static_cast<size_t>(room)].objects;
    if (index < 0 || index >= static_cast<int>(objects.size())) return nullptr;
    return &objects[static_cast<size_t>(index)];
}

ObjectRecord* walkerObject(GameState& g) {
    return g.hasRoom() ? roomObject(g, g.scene.currentRoom, g.walk.walker) : nullptr;
}

// The character a walk command names: p1, with "<self>" standing for the script's own
// object; -1 when the current room has no such object.
int namedCharacter(const GameState& g, ConstCommandView command, std::string& name) {
    name = command.p1();
    if (name == "<self>") name = command.self();
    if (!g.hasRoom()) return -1;
    return findRoomObject(g, name, g.scene.currentRoom);
}

// Gives object `index` of `room` the look `file`. A character is drawn from the image
// slot that holds the list of that name (its eight animation lists are loaded with it);
// any other object is drawn from slot 3, which must then hold the new list. The frame
// starts again, since the new list may have fewer pictures.
bool setLook(GameState& g, int room, int index, const std::string& file) {
    ObjectRecord* o = roomObject(g, room, index);
    if (!o || o->spriteFile() == file) return false;
    o->setSpriteFile(file);
    o->setFrame(0);
    o->setFrameTicks(0);
    if (room == g.scene.currentRoom && o->kind() != "character") loadObjectPictures(g, index, room);
    return true;
}

// The depth of every movable object follows the main character: behind the object's
// base line it is drawn with one depth, in front of it with the other.
void updateDepths(GameState& g) {
    auto& objects = g.objects();
    if (objects.empty()) return;
    const int64_t mainY = objects[0].y();
    for (size_t i = 1; i < objects.size(); ++i) {
        ObjectRecord& o = objects[i];
        if (o.fixedDepth() != 0) continue;
        const int64_t baseLine = int64_t{o.y()} - o.anchorY() + o.baseLineOffset();
        o.setDepth(mainY < baseLine ? o.depthBehind() : o.depthInFront());
    }
}

void endWalk(GameState& g) {
    g.walk.walking = false;
    ObjectRecord* o = walkerObject(g);
    if (!o) return;
    o->setFrame(0);
    o->setFrameTicks(0);
    const std::string& facing = g.walk.finalFacing;
    if (facing != "<nochange>") {
        setStandingSprite(g, g.scene.currentRoom, g.walk.walker, facing);
        return;
    }
    // The walking list in use becomes the standing list of the same direction. Each test
    // sees the result of the one before, as authored games expect.
    std::string look = o->spriteFile();
    const std::pair<std::string, std::string> turns[] = {
        {o->walkLeftSprite(), o->standLeftSprite()},
        {o->walkRightSprite(), o->standRightSprite()},
        {o->walkUpSprite(), o->standUpSprite()},
        {o->walkDownSprite(), o->standDownSprite()},
    };
    for (const auto& [walking, standing] : turns)
        if (look == walking && !standing.empty()) look = standing;
    setLook(g, g.scene.currentRoom, g.walk.walker, look);
}

}  // namespace

bool setStandingSprite(GameState& g, int room, int index, std::string_view facing) {
    const ObjectRecord* o = roomObject(g, room, index);
    if (!o) return false;
    std::string look;
    if (facing == "<left>")
        look = o->standLeftSprite();
    else if (facing == "<right>")
        look = o->standRightSprite();
    else if (facing == "<up>")
        look = o->standUpSprite();
    else if (facing == "<down>")
        look = o->standDownSprite();
    // A direction the character has no picture list for keeps its look: an empty name
    // would leave nothing to draw.
    if (look.empty()) return false;
    return setLook(g, room, index, look);
}

void startWalk(GameState& g, int walker, WalkPoint target, std::string_view finalFacing) {
    ObjectRecord* o = g.hasRoom() ? roomObject(g, g.scene.currentRoom, walker) : nullptr;
    if (!o) return;
    const Room& room = g.room();
    WalkState& w = g.walk;
    w.walking = true;
    w.walker = walker;
    w.target = target;
    w.finalFacing = std::string(finalFacing);

    PathRequest request;
    request.start = {o->x(), o->y()};
    request.target = target;
    request.displayWidth = g.tables.prefs.displayWidth();
    request.displayHeight = g.tables.prefs.displayHeight();
    request.walkStep = o->walkStep();
    request.perspective = o->perspective() != 0;
    // The main character's slot scales by the room's limits, every other object by its
    // own; the rows are always the room's.
    request.scale.minScaleRow = room.minScaleRow();
    request.scale.maxScaleRow = room.maxScaleRow();
    request.scale.minScale = walker == 0 ? room.minScale() : o->minScale();
    request.scale.maxScale = walker == 0 ? room.maxScale() : o->maxScale();
    g.pathFinder.findPath(g.scene.walkMask, request, w.path);
    w.pathStep = 0;

    // A path that takes the walker nowhere (no route at all, or it stands on the only
    // point already) ends here, so that whatever waits for the walk happens at once.
    if (w.path.points.size() == 1 && w.path.points[0] == request.start) {
        w.pathStep = 1;
        endWalk(g);
    }
}

void walkTo(GameState& g, int slot, int position) {
    CommandView command = g.scripts.queue.slot(slot).command(position);
    std::string name;
    const int walker = namedCharacter(g, command, name);
    const WalkPoint target{command.num1(), command.num2()};
    const bool wait = command.num3() == 1;
    const std::string facing = command.p4();
    const std::string self = command.self();
    command.setVerb("");
    if (walker < 0) return;

    startWalk(g, walker, target, facing);
    if (wait && position + 1 < kCommandsPerEvent) {
        EventRecord holder;
        CommandView waitCommand = holder.command(0);
        waitCommand.setVerb("waitforchar");
        waitCommand.setP1(name);
        waitCommand.setSelf(self);
        waitCommand.setNum1(target.x);
        waitCommand.setNum2(target.y);
        g.scripts.queue.insertCommand(slot, waitCommand.bytes(), position + 1);
    }
}

bool waitForChar(GameState& g, int slot, int position) {
    CommandView command = g.scripts.queue.slot(slot).command(position);
    std::string name;
    const int character = namedCharacter(g, command, name);
    if (character < 0) {
        command.setVerb("");
        return true;
    }
    const WalkPoint target{command.num1(), command.num2()};
    const ObjectRecord& o = g.objects()[static_cast<size_t>(character)];
    const WalkPoint at{o.x(), o.y()};

    const WalkState& w = g.walk;
    bool arrived = at == target;
    if (w.target == target && w.walker == character && !w.path.points.empty()) {
        // The path may end beside the target (an odd pixel, unwalkable ground): the walk
        // is over once its last point has been taken and the walker still stands on it.
        const bool lastTaken = !w.walking || w.pathStep > w.path.last();
        arrived = arrived || (lastTaken && at == w.path.points.back());
    }

    if (w.target != target) {
        // The character was sent elsewhere: what was planned behind this walk is dropped.
        command.setVerb("");
        g.scripts.queue.skipNext(slot, position);
        return arrived;
    }
    if (!arrived) return false;
    command.setVerb("");
    return true;
}

void walkingStep(GameState& g) {
    WalkState& w = g.walk;
    if (!w.walking) return;
    ObjectRecord* o = walkerObject(g);
    if (!o) {
        w.walking = false;
        return;
    }
    if (w.pathStep < 0 || w.pathStep > w.path.last()) {
        endWalk(g);
        return;
    }

    const WalkPoint next = w.path.points[static_cast<size_t>(w.pathStep)];
    // The direction of the step picks the walking list; a vertical move wins over a
    // horizontal one. A direction without a list keeps the look it had.
    std::string look = o->spriteFile();
    auto consider = [&look](bool applies, std::string file) {
        if (applies && !file.empty()) look = std::move(file);
    };
    consider(next.x < o->x(), o->walkLeftSprite());
    consider(next.x > o->x(), o->walkRightSprite());
    consider(next.y < o->y(), o->walkUpSprite());
    consider(next.y > o->y(), o->walkDownSprite());
    setLook(g, g.scene.currentRoom, w.walker, look);

    o->setX(next.x);
    o->setY(next.y);
    updateDepths(g);
    ++w.pathStep;
}

void stopChar(GameState& g) {
    g.walk.walking = false;
    if (ObjectRecord* o = walkerObject(g)) {
        o->setFrame(0);
        o->setFrameTicks(0);
    }
}

void changeRoom(GameState& g, const std::string& room, const std::string& entrance) {
    const int r = findRoom(g, room);
    if (r < 0) return;
    const bool leavingPlayRoom = g.hasRoom() && g.room().isGameRoom() != 0;
    // A walker that has taken its last point only waits for its turn to the final
    // facing (a script waiting for the walk runs before the walk's last step); it gets
    // it now, or it would be found walking on the spot when the room is seen again.
    if (g.walk.walking && g.walk.pathStep > g.walk.path.last()) endWalk(g);
    g.walk.walking = false;
    enterRoom(g, r);
    if (g.scene.currentRoom != r) return;

    Room& now = g.room();
    if (now.isGameRoom() == 0) {
        // The held item waits for "backtogame". Moving on between rooms outside the game
        // with empty hands keeps what was put aside when the game was left.
        if (!g.cursor.heldItem.empty() || leavingPlayRoom)
            g.cursor.stashedHeldItem = g.cursor.heldItem;
        g.cursor.heldItem.clear();
        return;
    }
    for (int i = 0; i < kEntrancesPerRoom; ++i) {
        EntranceView e = now.entrance(i);
        if (e.name() != entrance) continue;
        if (!now.objects.empty()) {
            now.objects[0].setX(e.x());
            now.objects[0].setY(e.y());
        }
        EventRecord walkIn;
        walkIn.setName("onpath");
        CommandView c = walkIn.command(0);
        c.setVerb("walkto");
        c.setP1(g.tables.prefs.mainCharacterName());
        c.setP3("room");
        c.setP4(e.facing());
        c.setNum1(e.walkX());
        c.setNum2(e.walkY());
        c.setNum3(0);
        g.scripts.queue.enqueue(walkIn);
    }
}

}  // namespace zk
