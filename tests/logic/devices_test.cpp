// Playing without a mouse: jumps between the room's things, the stick, and the engine
// menu on the pad, through the main window's frames as a player's devices drive them.
#include <gtest/gtest.h>

#include "logic/frame_fixture.h"
#include "logic/interactives.h"

namespace zk::test {
namespace {

// A lamp at (200, 300) and a vase at (300, 300), on one row of the hall.
GameBuilder twoThings() {
    GameBuilder b = GameBuilder::minimal();
    b.addTemplate("lamp").setActive(1);
    b.addTemplate("vase").setActive(1);
    b.place(*b.findRoom("hall"), "lamp", 200, 300);
    b.place(*b.findRoom("hall"), "vase", 300, 300);
    return b;
}

void tap(RunningGame& game, int key) {
    game.hp.input.setDeviceKey(key, true);
    game.frame();
    game.hp.input.setDeviceKey(key, false);
    game.frame();
}

std::string hovered(RunningGame& game) {
    const int h = game.g().scene.hoveredObject;
    return h < 0 ? "" : game.g().objects()[static_cast<size_t>(h)].name();
}

TEST(Devices, TabJumpsToTheNextThingAndTheHoverReportsIt) {
    RunningGame game(twoThings());
    int presses = 0;
    while (hovered(game) != "lamp" && presses++ < 10) tap(game, DeviceNext);
    ASSERT_EQ(hovered(game), "lamp") << "Tab never reached the lamp";
    tap(game, DeviceNext);
    EXPECT_EQ(hovered(game), "vase");
    game.hp.input.setDeviceKey(DeviceSlow, true);  // Shift+Tab goes back
    tap(game, DeviceNext);
    game.hp.input.setDeviceKey(DeviceSlow, false);
    EXPECT_EQ(hovered(game), "lamp");

    // The list itself: both things, in reading order, each at a point it is found at.
    const std::vector<Interactive> things = interactiveThings(game.g());
    std::vector<std::string> names;
    for (const Interactive& t : things) names.push_back(t.name);
    const auto lamp = std::find(names.begin(), names.end(), "lamp");
    ASSERT_NE(lamp, names.end());
    ASSERT_NE(lamp + 1, names.end());
    EXPECT_EQ(*(lamp + 1), "vase");
}

TEST(Devices, HiddenAndInactiveObjectsAreNotJumpedTo) {
    GameBuilder b = twoThings();
    b.addTemplate("ghost").setActive(1);
    b.place(*b.findRoom("hall"), "ghost", 400, 300);
    b.addTemplate("wall").setActive(0);
    b.place(*b.findRoom("hall"), "wall", 500, 300);
    RunningGame game(b);
    game.object("ghost").setHidden(1);
    game.frame();
    for (const Interactive& t : interactiveThings(game.g())) {
        EXPECT_NE(t.name, "ghost");
        EXPECT_NE(t.name, "wall");
    }
}

TEST(Devices, TheStickSteersWithAccelerationAndRestsInItsDeadZone) {
    RunningGame game(twoThings());
    GameState& g = game.g();
    game.moveTo(100, 100);
    game.frame();
    game.hp.input.setStick(kStickRange, 0);
    game.frames(10);
    const int early = g.input.mouseX - 100;
    game.frames(10);
    const int late = g.input.mouseX - 100 - early;
    EXPECT_GT(early, 0);
    EXPECT_GT(late, early) << "the cursor speeds up while the stick is held";
    EXPECT_EQ(g.input.mouseY, 100);
    const int x = g.input.mouseX;
    game.hp.input.setStick(150, -150);  // inside the dead zone
    game.frames(10);
    EXPECT_EQ(g.input.mouseX, x);
    game.hp.input.setStick(0, kStickRange);
    game.hp.input.setPadButton(PadLeftTrigger, true);  // the slow mode
    game.frames(10);
    const int slow = g.input.mouseY - 100;
    EXPECT_GT(slow, 0);
    EXPECT_LT(slow, early);
}

TEST(Devices, ThePadOpensAndWorksTheEngineMenu) {
    RunningGame game(twoThings());
    auto pad = [&](int button) {
        game.hp.input.setPadButton(button, true);
        game.frame();
        game.hp.input.setPadButton(button, false);
        game.frame();
    };
    pad(PadBack);
    ASSERT_TRUE(game.window->engineMenu().isOpen());
    pad(PadDown);
    EXPECT_EQ(game.window->engineMenu().selected(), 1);
    pad(PadB);
    EXPECT_FALSE(game.window->engineMenu().isOpen());
    // Back in the game, the pad's X is the game's Space and A its left button.
    game.hp.input.setPadButton(PadX, true);
    game.frame();
    EXPECT_TRUE(game.hp.input.keyPressed(KeySpace));
    game.hp.input.setPadButton(PadX, false);
    game.hp.input.setPadButton(PadA, true);
    game.frame();
    EXPECT_TRUE(game.hp.input.buttonDown(ButtonLeft));
}

}  // namespace
}  // namespace zk::test
