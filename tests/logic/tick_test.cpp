// The logic tick: keys, hints, animations, object timers, rain, cursor animation and
// the running-event listing, driven through whole frames of a running game.
#include <gtest/gtest.h>

#include "logic/frame_fixture.h"
#include "logic/logic.h"

namespace zk::test {
namespace {

PictureList picturesOf(int count) {
    PictureList list;
    for (int i = 0; i < count; ++i) {
        PictureItem& item = list.add();
        item.picture =
            makeDibPicture(solidImage(20, 40, 0x101010 * static_cast<uint32_t>(i + 1)), 24);
    }
    list.prepare();
    return list;
}

TEST(TickKeys, OnePressReachesEveryObjectInObjectOrderOnce) {
    GameBuilder b = GameBuilder::minimal();
    addLastingEvent(b.addTemplate("bell"), 2, "onkey").setNumber(KeySpace);
    addLastingEvent(b.addTemplate("gong"), 0, "onkey").setNumber(KeySpace);
    addLastingEvent(b.addTemplate("lamp"), 0, "onkey").setNumber(KeyEnter);
    b.place(*b.findRoom("hall"), "bell", 100, 300);
    b.place(*b.findRoom("hall"), "gong", 200, 300);
    b.place(*b.findRoom("hall"), "lamp", 300, 300);
    RunningGame game(b);

    game.hp.input.setKey(KeySpace, true);
    game.frame();  // the tick runs before the input is read
    EXPECT_TRUE(game.queued().empty());
    game.frame();
    ASSERT_EQ(game.queued(), (std::vector<std::string>{"onkey", "onkey"}));
    EXPECT_EQ(game.g().scripts.queue.slot(0).command(0).self(), "bell");
    EXPECT_EQ(game.g().scripts.queue.slot(1).command(0).self(), "gong");

    // Held down, the press was used up: no more events until it is pressed again.
    game.frames(3);
    EXPECT_EQ(game.queued().size(), 2u);
    game.hp.input.setKey(KeySpace, false);
    game.frame();
    game.hp.input.setKey(KeySpace, true);
    game.frames(2);
    EXPECT_EQ(game.queued().size(), 4u);
}

TEST(TickKeys, FrozenGameOrOpenDialogueMakesNoKeyEvents) {
    GameBuilder b = GameBuilder::minimal();
    addLastingEvent(b.addTemplate("bell"), 0, "onkey").setNumber(KeyEscape);
    b.place(*b.findRoom("hall"), "bell", 100, 300);
    RunningGame game(b);

    game.g().scripts.frozen = true;
    game.hp.input.setKey(KeyEscape, true);
    game.frame();
    game.g().scripts.frozen = false;
    game.g().dialogue.dialogueOpen = true;
    game.frame();
    EXPECT_TRUE(game.queued().empty());
    // The press was not consumed, so it counts once the game listens again.
    game.g().dialogue.dialogueOpen = false;
    game.frame();
    EXPECT_EQ(game.queued(), std::vector<std::string>{"onkey"});
}

TEST(TickHints, HintRunsOutThenTheNameReturnsTranslated) {
    GameBuilder b = GameBuilder::minimal();
    b.prefs.setLanguage(1);
    b.languages = "text=\"vase\" lang1=\"Vase in blue\"\r\n";
    b.addTemplate("vase");
    b.place(*b.findRoom("hall"), "vase", 100, 300);
    RunningGame game(b);
    ObjectRecord& vase = game.object("vase");
    vase.setHintTimer(60);
    vase.setDisplayName("Nice, isn't it?");

    const int expected[] = {35, 10, -15, -30, -30};
    for (int t : expected) {
        game.frame();
        EXPECT_EQ(vase.hintTimer(), t);
        if (t > -30) {
            EXPECT_EQ(vase.displayName(), "Nice, isn't it?");
        }
    }
    EXPECT_EQ(vase.displayName(), "Vase in blue");
}

TEST(TickAnimation, FourPicturesAt100MsShowFourTicksEachAndWaitCountsCycles) {
    GameBuilder b = GameBuilder::minimal();
    ObjectRecord& t = b.addTemplate("fan");
    t.setAnimating(1);
    t.setFrameDelay(100);
    b.pictures["objects\\fan\\sprite.dxg"] = picturesOf(4);
    b.place(*b.findRoom("hall"), "fan", 100, 300);
    RunningGame game(b);
    ObjectRecord& fan = game.object("fan");

    EventRecord wait;
    wait.setName("watch");
    CommandView c = wait.command(0);
    c.setVerb("waitforanim");
    c.setP1("fan");
    c.setNum1(2);
    ASSERT_EQ(game.g().scripts.queue.enqueue(wait), 0);

    std::vector<int> shown;
    for (int tick = 1; tick <= 32; ++tick) {
        game.frame();
        shown.push_back(fan.frame());
        if (tick == 16) {
            EXPECT_EQ(game.g().scripts.queue.slot(0).command(0).num1(), 1);
        }
        if (tick == 31) {
            EXPECT_EQ(game.slotOf("watch"), 0) << "still waiting";
        }
    }
    const std::vector<int> cycle = {0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 0};
    std::vector<int> twice = cycle;
    twice.insert(twice.end(), cycle.begin(), cycle.end());
    EXPECT_EQ(shown, twice);
    EXPECT_EQ(game.slotOf("watch"), -1) << "ended after two full cycles";
}

TEST(TickAnimation, WaitsEndOnlyByCyclesOfTheObjectNamedAsWritten) {
    GameBuilder b = GameBuilder::minimal();
    ObjectRecord& t = b.addTemplate("fan");
    t.setAnimating(1);
    t.setFrameDelay(25);
    b.pictures["objects\\fan\\sprite.dxg"] = picturesOf(2);
    b.addTemplate("clock");
    b.place(*b.findRoom("hall"), "fan", 100, 300);
    b.place(*b.findRoom("hall"), "clock", 200, 300);
    RunningGame game(b);

    EventRecord wait;
    wait.setName("watch");
    wait.command(0).setVerb("waitforanim");
    wait.command(0).setP1("clock");
    wait.command(0).setNum1(1);
    wait.command(1).setVerb("waitforanim");
    wait.command(1).setP1("<self>");  // compared as written: no object has this name
    wait.command(1).setSelf("fan");
    wait.command(1).setNum1(1);
    game.g().scripts.queue.enqueue(wait);
    // A count written as 0 ends with the first cycle rather than holding forever.
    EventRecord zero;
    zero.setName("zero");
    zero.command(0).setVerb("waitforanim");
    zero.command(0).setP1("fan");
    game.g().scripts.queue.enqueue(zero);
    game.frame();
    EXPECT_EQ(game.slotOf("zero"), 1);
    game.frame();
    EXPECT_EQ(game.slotOf("zero"), -1);
    game.frames(10);
    EXPECT_EQ(game.g().scripts.queue.slot(0).command(0).verb(), "waitforanim");
    EXPECT_EQ(game.g().scripts.queue.slot(0).command(1).verb(), "waitforanim");
}

TEST(TickTimers, OnTimerFiresByPeriodAndOnlyForTheFirstThirtyObjects) {
    GameBuilder b = GameBuilder::minimal();
    ObjectRecord& clock = b.addTemplate("clock");
    EventView chime = addLastingEvent(clock, 4, "ontimer");
    chime.setNumber(3);
    chime.setPeriod(100);
    EventView other = addLastingEvent(clock, 5, "ontimer");
    other.setNumber(2);
    other.setPeriod(30000);
    b.addTemplate("filler");
    b.addTemplate("dog");
    b.inventory.party(0).setName("dog");  // party members come first in the room
    ObjectRecord& late = b.addTemplate("late");
    addLastingEvent(late, 0, "ontimer").setPeriod(25);
    StoredRoomRecord& hall = *b.findRoom("hall");
    b.place(hall, "clock", 50, 300);
    for (int i = 0; i < 27; ++i) b.place(hall, "filler", 60 + i, 300);
    b.place(hall, "late", 100, 300);  // position 30
    RunningGame game(b);
    ASSERT_EQ(game.roomObject("late"), 30);

    game.frames(3);
    EXPECT_TRUE(game.queued().empty());
    game.frame();
    ASSERT_EQ(game.queued(), std::vector<std::string>{"ontimer"});
    EXPECT_EQ(game.g().scripts.queue.slot(0).view().number(), 3);
    game.frames(4);
    EXPECT_EQ(game.queued().size(), 2u);
    EXPECT_EQ(game.g().scripts.timers[static_cast<size_t>(2 * kTimersPerObject + 2)].ticks, 8);
}

TEST(TickRain, DropsFallByKindAndRestartAtTheTopPastTheDisplayWidth) {
    GameBuilder b = GameBuilder::minimal();
    b.findRoom("hall")->setWeather("Rain");
    RunningGame game(b);
    auto& rain = game.g().scene.rain;
    rain[0] = {10, 100, 0};
    rain[1] = {20, 100, 1};
    rain[2] = {30, 780, 1};
    rain[3] = {40, 760, 0};
    game.frame();
    EXPECT_EQ(rain[0].y, 140);
    EXPECT_EQ(rain[1].y, 120);
    EXPECT_EQ(rain[2].y, 0);  // 800 reached: the width, not the height
    EXPECT_EQ(rain[3].y, 0);
    EXPECT_GE(rain[3].x, 0);
    EXPECT_LT(rain[3].x, 800);
    EXPECT_TRUE(rain[3].kind == 0 || rain[3].kind == 1);
    EXPECT_EQ(rain[0].x, 10);
}

TEST(TickCursor, CursorFramesFollowTheRowDelayAndWrap) {
    GameBuilder b = GameBuilder::minimal();
    b.cursors[0].setFrameDelay(50);
    b.pictures["cursors\\arrow\\sprite.dxg"] = picturesOf(3);
    RunningGame game(b);
    std::vector<int> frames;
    for (int i = 0; i < 8; ++i) {
        game.frame();
        frames.push_back(game.g().cursor.cursorFrame);
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 1, 2, 2, 0, 0, 1}));
}

TEST(TickListing, ListsEveryRunningEventWithItsPendingCommands) {
    GameBuilder b = GameBuilder::minimal();
    RunningGame game(b);
    EventRecord e;
    e.setName("onclick");
    e.command(0).setVerb("sleep");
    e.command(0).setNum1(-5);
    e.command(2).setVerb("marker");
    e.command(2).setNum1(3);
    e.command(2).setNum2(4);
    game.g().scripts.queue.enqueue(e);
    EventRecord f;
    f.setName(std::string(30, 'n'));
    f.command(19).setVerb("marker");
    game.g().scripts.queue.enqueue(f);

    const std::vector<std::string> expected = {"onclick{",
                                               "  sleep -5 0",
                                               "  marker 3 4",
                                               "}",
                                               "",
                                               std::string(30, 'n') + "{",
                                               "  marker 0 0",
                                               "}",
                                               ""};
    EXPECT_EQ(runningEventListing(game.g().scripts.queue), expected);
    game.frame();
    // The tick takes the listing before the scripts run.
    EXPECT_EQ(game.g().scripts.runningEvents, expected);
}

}  // namespace
}  // namespace zk::test
