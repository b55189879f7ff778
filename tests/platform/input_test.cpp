#include <SDL.h>
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "platform/headless/scripted_input.h"
#include "platform/sdl/sdl_input.h"

namespace zk {
namespace {

TEST(ScriptedInput, MotionIsReportedByOneRefreshOnly) {
    ScriptedInput in;
    in.addMotion(5, -3);
    in.addMotion(2, 1);
    EXPECT_EQ(in.motionX(), 0);  // nothing before the refresh
    in.refresh();
    EXPECT_EQ(in.motionX(), 7);
    EXPECT_EQ(in.motionY(), -2);
    in.refresh();
    EXPECT_EQ(in.motionX(), 0);
    EXPECT_EQ(in.motionY(), 0);
    in.addMotion(INT_MAX, INT_MIN);
    in.addMotion(INT_MAX, INT_MIN);
    in.refresh();
    EXPECT_EQ(in.motionX(), INT_MAX);
    EXPECT_EQ(in.motionY(), INT_MIN);
}

TEST(ScriptedInput, ButtonsHoldUntilChanged) {
    ScriptedInput in;
    in.setButton(ButtonLeft, true);
    EXPECT_FALSE(in.buttonDown(ButtonLeft));
    in.refresh();
    EXPECT_TRUE(in.buttonDown(ButtonLeft));
    EXPECT_FALSE(in.buttonDown(ButtonRight));
    in.refresh();
    EXPECT_TRUE(in.buttonDown(ButtonLeft));
    in.setButton(ButtonLeft, false);
    in.setButton(ButtonRight, true);
    EXPECT_TRUE(in.buttonDown(ButtonLeft));
    in.refresh();
    EXPECT_FALSE(in.buttonDown(ButtonLeft));
    EXPECT_TRUE(in.buttonDown(ButtonRight));
    in.setButton(0, true);
    in.setButton(3, true);
    in.refresh();
    EXPECT_FALSE(in.buttonDown(0));
    EXPECT_FALSE(in.buttonDown(3));
}

TEST(ScriptedInput, ReleasedKeyStaysUpUntilPressedAgain) {
    ScriptedInput in;
    in.setKey(KeySpace, true);
    in.refresh();
    EXPECT_TRUE(in.keyPressed(KeySpace));
    EXPECT_FALSE(in.keyPressed(KeyEnter));
    in.releaseKey(KeySpace);
    EXPECT_FALSE(in.keyPressed(KeySpace));
    in.refresh();  // still held down: the same press
    EXPECT_FALSE(in.keyPressed(KeySpace));
    in.setKey(KeySpace, true);  // still down, so no new press
    in.refresh();
    EXPECT_FALSE(in.keyPressed(KeySpace));
    in.setKey(KeySpace, false);
    in.refresh();
    EXPECT_FALSE(in.keyPressed(KeySpace));
    in.setKey(KeySpace, true);
    in.refresh();
    EXPECT_TRUE(in.keyPressed(KeySpace));

    // Let go and pressed again between two refreshes is a new press too.
    in.releaseKey(KeySpace);
    in.setKey(KeySpace, false);
    in.setKey(KeySpace, true);
    in.refresh();
    EXPECT_TRUE(in.keyPressed(KeySpace));

    // A key not released stays pressed while held.
    in.setKey(KeyF10, true);
    in.refresh();
    in.refresh();
    EXPECT_TRUE(in.keyPressed(KeyF10));
    EXPECT_FALSE(in.keyPressed(-1));
    EXPECT_FALSE(in.keyPressed(5));
    in.releaseKey(-1);
    in.releaseKey(5);
    in.setKey(9, true);
    EXPECT_TRUE(in.keyPressed(KeyF10));
}

class SdlInputTest : public ::testing::Test {
  protected:
    SdlInput in;

    void push(const SDL_Event& e) {
        SDL_Event copy = e;
        ASSERT_EQ(SDL_PushEvent(&copy), 1) << SDL_GetError();
    }
    void motion(int dx, int dy) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.xrel = dx;
        e.motion.yrel = dy;
        push(e);
    }
    void button(uint8_t b, bool down) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = b;
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        push(e);
    }
    void key(SDL_Scancode code, bool down, bool repeat = false) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.scancode = code;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat ? 1 : 0;
        push(e);
    }
    void window(SDL_WindowEventID id) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = id;
        push(e);
    }
};

TEST_F(SdlInputTest, MotionIsSummedBetweenRefreshes) {
    motion(3, 4);
    motion(-1, 2);
    in.refresh();
    EXPECT_EQ(in.motionX(), 2);
    EXPECT_EQ(in.motionY(), 6);
    in.refresh();
    EXPECT_EQ(in.motionX(), 0);
    EXPECT_EQ(in.motionY(), 0);
}

TEST_F(SdlInputTest, ShortClickIsSeenByOneRefresh) {
    button(SDL_BUTTON_LEFT, true);
    button(SDL_BUTTON_LEFT, false);
    button(SDL_BUTTON_MIDDLE, true);
    in.refresh();
    EXPECT_TRUE(in.buttonDown(ButtonLeft));
    in.refresh();
    EXPECT_FALSE(in.buttonDown(ButtonLeft));
    button(SDL_BUTTON_RIGHT, true);
    in.refresh();
    in.refresh();
    EXPECT_TRUE(in.buttonDown(ButtonRight));
}

TEST_F(SdlInputTest, KeysFollowTheReleaseRule) {
    key(SDL_SCANCODE_SPACE, true);
    in.refresh();
    EXPECT_TRUE(in.keyPressed(KeySpace));
    in.releaseKey(KeySpace);
    key(SDL_SCANCODE_SPACE, true, true);  // auto-repeat is not a new press
    in.refresh();
    EXPECT_FALSE(in.keyPressed(KeySpace));
    key(SDL_SCANCODE_SPACE, false);
    key(SDL_SCANCODE_SPACE, true);
    in.refresh();
    EXPECT_TRUE(in.keyPressed(KeySpace));

    key(SDL_SCANCODE_KP_ENTER, true);
    key(SDL_SCANCODE_F10, true);
    key(SDL_SCANCODE_A, true);
    in.refresh();
    EXPECT_TRUE(in.keyPressed(KeyEnter));
    EXPECT_TRUE(in.keyPressed(KeyF10));
    EXPECT_FALSE(in.keyPressed(KeyF4));
    EXPECT_FALSE(in.keyPressed(KeyEscape));
}

TEST_F(SdlInputTest, WindowEventsSetActiveAndQuit) {
    EXPECT_TRUE(in.windowActive());
    EXPECT_FALSE(in.quitRequested());
    key(SDL_SCANCODE_ESCAPE, true);
    in.refresh();
    EXPECT_TRUE(in.keyPressed(KeyEscape));
    window(SDL_WINDOWEVENT_FOCUS_LOST);
    motion(10, 10);  // not for the game while another window has the focus
    in.refresh();
    EXPECT_FALSE(in.windowActive());
    EXPECT_FALSE(in.keyPressed(KeyEscape));
    EXPECT_EQ(in.motionX(), 0);
    window(SDL_WINDOWEVENT_FOCUS_GAINED);
    window(SDL_WINDOWEVENT_MINIMIZED);
    in.pumpEvents();
    EXPECT_FALSE(in.windowActive());
    window(SDL_WINDOWEVENT_RESTORED);
    in.pumpEvents();
    EXPECT_TRUE(in.windowActive());
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    push(quit);
    in.pumpEvents();
    EXPECT_TRUE(in.quitRequested());
}

// Keeps the readings an input hands to its translator.
struct Recorder : ReadingTranslator {
    std::vector<DeviceReading> readings;
    void translate(DeviceReading& r) override { readings.push_back(r); }
};

TEST_F(SdlInputTest, AModifierClickKeyClicksWhenLetGoAlone) {
    Recorder seen;
    in.setTranslator(&seen);
    DeviceKeyNames names;
    names[DeviceClick] = "Left Ctrl";
    names[DeviceNext] = "Tab";
    in.bindKeys(names);
    key(SDL_SCANCODE_LCTRL, true);
    in.refresh();
    key(SDL_SCANCODE_LCTRL, false);
    in.refresh();
    // Ctrl held with another key is a shortcut, not a click.
    key(SDL_SCANCODE_LCTRL, true);
    key(SDL_SCANCODE_S, true);
    key(SDL_SCANCODE_LCTRL, false);
    key(SDL_SCANCODE_TAB, true);
    in.refresh();
    in.setTranslator(nullptr);
    ASSERT_EQ(seen.readings.size(), 3u);
    EXPECT_FALSE(seen.readings[0].deviceKeys[DeviceClick]);
    EXPECT_TRUE(seen.readings[1].deviceKeyPresses[DeviceClick]);
    EXPECT_FALSE(seen.readings[2].deviceKeys[DeviceClick]);
    EXPECT_TRUE(seen.readings[2].deviceKeyPresses[DeviceNext]);
}

TEST_F(SdlInputTest, MouseEventsMadeOfTouchesAreLeftOut) {
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.which = SDL_TOUCH_MOUSEID;
    window(SDL_WINDOWEVENT_FOCUS_GAINED);
    push(e);
    e.type = SDL_MOUSEMOTION;
    e.motion.which = SDL_TOUCH_MOUSEID;
    e.motion.xrel = 9;
    push(e);
    in.refresh();
    EXPECT_FALSE(in.buttonDown(ButtonLeft));
    EXPECT_EQ(in.motionX(), 0);
}

// A gamepad made with SDL's virtual joystick: plugged in, pressed, tilted, unplugged.
TEST_F(SdlInputTest, AVirtualGamepadIsOpenedAndRead) {
    Recorder seen;
    in.setTranslator(&seen);
    window(SDL_WINDOWEVENT_FOCUS_GAINED);
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    const int device = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(device, 0) << SDL_GetError();
    SDL_Joystick* stick = SDL_JoystickOpen(device);
    ASSERT_NE(stick, nullptr) << SDL_GetError();
    in.refresh();
    EXPECT_EQ(in.padCount(), 1);
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, 32767);
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    SDL_JoystickUpdate();
    in.refresh();
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 0);
    SDL_JoystickUpdate();
    in.refresh();
    SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(device);
    in.refresh();
    in.setTranslator(nullptr);
    EXPECT_EQ(in.padCount(), 0);
    ASSERT_EQ(seen.readings.size(), 4u);
    const DeviceReading& pressed = seen.readings[1];
    EXPECT_TRUE(pressed.pad.connected);
    EXPECT_TRUE(pressed.pad.presses[PadA]);
    EXPECT_EQ(pressed.pad.stickX, kStickRange);
    EXPECT_TRUE(pressed.pad.held[PadRightTrigger]);
    EXPECT_FALSE(seen.readings[2].pad.held[PadA]);
    EXPECT_FALSE(seen.readings[3].pad.connected);
}

}  // namespace
}  // namespace zk
