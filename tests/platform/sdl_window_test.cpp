#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_input.h"

namespace zk {
namespace {

SDL_Event motion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

SDL_Event key(SDL_Scancode code, bool down, uint16_t mod = 0) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.scancode = code;
    e.key.keysym.mod = mod;
    return e;
}

SDL_Event windowEvent(uint8_t what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    return e;
}

class SdlWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        display.initialize(800, 600, false);
        input.attach(display);
    }
    SdlDisplay display;
    SdlInput input;
};

TEST_F(SdlWindow, TheGameCursorFollowsThePointerInGamePixels) {
    input.handle(motion(100, 50));
    input.refresh();
    EXPECT_EQ(input.motionX(), 100);
    EXPECT_EQ(input.motionY(), 50);
    // Off the picture the cursor stops at the edge and comes back with the pointer.
    input.handle(motion(-40, 50));
    input.refresh();
    EXPECT_EQ(input.motionX(), -100);
    input.handle(motion(30, 60));
    input.refresh();
    EXPECT_EQ(input.motionX(), 30);
    EXPECT_EQ(input.motionY(), 10);
    EXPECT_EQ(display.windowToGame(799, 599), (Point{799, 599}));
}

TEST_F(SdlWindow, AltEnterTogglesFullScreenAndIsNotTheGamesEnter) {
    input.handle(key(SDL_SCANCODE_RETURN, true, KMOD_LALT));
    input.refresh();
    EXPECT_TRUE(input.takeFullScreenToggle());
    EXPECT_FALSE(input.takeFullScreenToggle());
    EXPECT_FALSE(input.keyPressed(KeyEnter));
    input.handle(key(SDL_SCANCODE_RETURN, false, KMOD_LALT));
    input.handle(key(SDL_SCANCODE_RETURN, true));
    input.refresh();
    EXPECT_TRUE(input.keyPressed(KeyEnter));
    input.handle(key(SDL_SCANCODE_F12, true));
    EXPECT_TRUE(input.takeScreenshotRequest());
    display.initialize(800, 600, true);
    EXPECT_TRUE(display.isFullScreen());
    display.finalize();
    display.initialize(800, 600, false);
    EXPECT_FALSE(display.isFullScreen());
    EXPECT_TRUE(display.canDraw());
}

TEST_F(SdlWindow, FocusLossAndMinimisingPauseTheWindow) {
    EXPECT_TRUE(input.windowActive());
    input.handle(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_FALSE(input.windowActive());
    input.handle(motion(300, 300));  // motion while inactive is not counted
    input.handle(windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
    input.refresh();
    EXPECT_EQ(input.motionX(), 0);
    input.handle(windowEvent(SDL_WINDOWEVENT_MINIMIZED));
    EXPECT_FALSE(input.windowActive());
    input.handle(windowEvent(SDL_WINDOWEVENT_RESTORED));
    EXPECT_TRUE(input.windowActive());
}

}  // namespace
}  // namespace zk
