// Hovering: the object under the cursor fires its enter and leave events.
#include <gtest/gtest.h>

#include "logic/frame_fixture.h"
#include "logic/logic.h"
#include "logic/room_entry.h"

namespace zk::test {
namespace {

// Lamp at (200, 300) and vase at (300, 300), each with enter and leave events; the
// vase has two of each. A second room "yard" holds the lamp too.
GameBuilder hoverGame() {
    GameBuilder b = GameBuilder::minimal();
    ObjectRecord& lamp = b.addTemplate("lamp");
    addLastingEvent(lamp, 1, "onmouseenter");
    addLastingEvent(lamp, 4, "onmouseleave");
    ObjectRecord& vase = b.addTemplate("vase");
    addLastingEvent(vase, 0, "onmouseleave").command(0).setText("first");
    addLastingEvent(vase, 2, "onmouseenter").command(0).setText("first");
    addLastingEvent(vase, 6, "onmouseleave").command(0).setText("second");
    addLastingEvent(vase, 8, "onmouseenter").command(0).setText("second");
    b.place(*b.findRoom("hall"), "lamp", 200, 300);
    b.place(*b.findRoom("hall"), "vase", 300, 300);
    StoredRoomRecord& yard = b.addRoom("yard");
    b.place(yard, "lamp", 200, 300);
    return b;
}

struct Queued {
    std::string name;
    std::string self;
    std::string text;
    std::string originRoom;
    bool operator==(const Queued&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Queued& q) {
    return os << q.name << "/" << q.self << "/" << q.text << "/" << q.originRoom;
}

std::vector<Queued> queue(const GameState& g) {
    std::vector<Queued> out;
    for (int s = 0; s < kQueueSlots; ++s) {
        if (!g.scripts.queue.inUse(s)) continue;
        const EventRecord& e = g.scripts.queue.slot(s);
        out.push_back({e.name(), e.command(0).self(), e.command(0).text(), e.originRoom()});
    }
    return out;
}

TEST(Hover, EnterAndLeaveFireOnChangeWithTheOriginRoomOnLeaving) {
    RunningGame game(hoverGame());
    GameState& g = game.g();
    const int lamp = game.roomObject("lamp");
    const int vase = game.roomObject("vase");

    game.moveTo(200, 280);
    game.frame();
    EXPECT_EQ(g.scene.hoveredObject, lamp);
    EXPECT_EQ(queue(g), (std::vector<Queued>{{"onmouseenter", "lamp", "", ""}}));
    game.frames(3);  // staying on it fires nothing more
    EXPECT_EQ(queue(g).size(), 1u);
    g.scripts.queue.clear();

    game.moveTo(300, 280);
    game.frame();
    EXPECT_EQ(g.scene.hoveredObject, vase);
    EXPECT_EQ(queue(g), (std::vector<Queued>{{"onmouseenter", "vase", "first", ""},
                                             {"onmouseenter", "vase", "second", ""},
                                             {"onmouseleave", "lamp", "", "hall"}}));
    // The object's own event keeps no origin room.
    EXPECT_EQ(game.object("lamp").event(4).originRoom(), "");
    g.scripts.queue.clear();

    game.moveTo(400, 100);
    game.frame();
    EXPECT_EQ(g.scene.hoveredObject, -1);
    EXPECT_EQ(queue(g), (std::vector<Queued>{{"onmouseleave", "vase", "first", "hall"},
                                             {"onmouseleave", "vase", "second", "hall"}}));
}

TEST(Hover, RoomEntryForgetsTheHoveredObjectAndEntersTheNewOne) {
    RunningGame game(hoverGame());
    GameState& g = game.g();
    game.moveTo(200, 280);
    game.frame();
    g.scripts.queue.clear();
    enterRoom(g, findRoom(g, "yard"));
    // No leave event for the room left behind; the lamp of the yard is entered.
    EXPECT_EQ(queue(g), (std::vector<Queued>{{"onmouseenter", "lamp", "", ""}}));
    EXPECT_EQ(g.scene.hoveredObject, game.roomObject("lamp"));
}

TEST(Hover, AFullQueueKeepsTheOriginRoomOffOtherSlots) {
    RunningGame game(hoverGame());
    GameState& g = game.g();
    game.moveTo(200, 280);
    game.frame();
    g.scripts.queue.clear();
    for (int i = 0; i < kQueueSlots; ++i) {
        EventRecord e;
        e.setName("busy");
        e.command(0).setVerb("marker");
        g.scripts.queue.enqueue(e);
    }
    game.moveTo(400, 100);
    game.frame();
    EXPECT_EQ(g.scene.hoveredObject, -1);
    for (int s = 0; s < kQueueSlots; ++s) EXPECT_EQ(g.scripts.queue.slot(s).originRoom(), "") << s;
    EXPECT_EQ(game.hp.messageBox.shown.size(), 1u);
    EXPECT_EQ(game.hp.messageBox.shown[0].caption, "Event queue overflow");
}

}  // namespace
}  // namespace zk::test
