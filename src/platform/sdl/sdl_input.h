#pragma once
#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/input.h"
#include "platform/sdl/sdl_subsystem.h"
#include "platform/sdl/termination_signals.h"
#include "platform/surface.h"

union SDL_Event;

namespace zk {

class SdlDisplay;

// Keyboard and mouse from SDL's event queue. Motion is summed over the events
// between two refreshes; a button or key pressed and let go between two refreshes
// is still reported down by the next one, so short clicks are never lost. Both
// Enter keys count as Enter. Also watches the window: quit requests, and whether
// it is active (focused and not minimised), and termination signals.
//
// Gamepads come through SDL's game controller API (plugged in and out at any time,
// mapped by SDL's database of controllers); touches in game pixels, with the mouse
// events that SDL would make of them left out, so that nothing is clicked twice.
class SdlInput : public DeviceInput {
  public:
    SdlInput();  // starts SDL events; throws PlatformError
    ~SdlInput() override;
    SdlInput(const SdlInput&) = delete;
    SdlInput& operator=(const SdlInput&) = delete;
    // Takes every waiting event from the queue. The main loop calls it every turn,
    // also while no frame reads the input; refresh() calls it too.
    void pumpEvents();
    void refresh() override;
    // Key names as SDL_GetScancodeFromName knows them; an unknown name binds nothing.
    void bindKeys(const DeviceKeyNames& names) override;
    // Gamepads open now.
    int padCount() const;

    // The window was closed, or SIGINT or SIGTERM arrived.
    bool quitRequested() const { return quit_ || TerminationSignals::requested(); }
    bool windowActive() const { return focused_ && !minimised_; }

    // Handles one event as pumpEvents does (the main loop may route events here).
    void handle(const SDL_Event& event);

    // Mouse motion is the change of the pointer's position in game pixels on this
    // display, so the game's cursor stays under the system pointer.
    void attach(SdlDisplay& display) { display_ = &display; }
    // Alt+Enter (switch window / full screen) and F12 (screenshot) since the last call.
    bool takeFullScreenToggle() { return std::exchange(toggleFullScreen_, false); }
    bool takeScreenshotRequest() { return std::exchange(screenshot_, false); }
    // F5..F8 pressed since the last call: bit 0 for F5 ... bit 3 for F8 (the debug
    // run's geometry keys).
    unsigned takeDebugKeys() { return std::exchange(debugKeys_, 0u); }
    // The key reported as EngineSpeech, by its SDL name ("V"); a name SDL does not
    // know leaves no key for it.
    void setSpeechKey(const std::string& name);

  private:
    void padEvent(const SDL_Event& event);
    void touchEvent(const SDL_Event& event);
    void deviceKeyEvent(const SDL_Event& event);

    SdlSubsystem events_;
    std::unique_ptr<SdlSubsystem> controllers_;  // null where SDL has no gamepad support
    struct OpenPads;                             // the game controllers open now
    std::unique_ptr<OpenPads> pads_;
    std::array<bool, kPadButtons> padHeld_{};
    std::array<bool, kPadButtons> padPresses_{};
    int stickX_ = 0;
    int stickY_ = 0;
    std::array<int, kDeviceKeys> deviceScancodes_{};  // 0: no key
    std::array<bool, kDeviceKeys> deviceKeysDown_{};
    std::array<bool, kDeviceKeys> deviceKeyPresses_{};
    // A modifier bound as a click, pressed with no other key since: it clicks when let go.
    std::array<bool, kDeviceKeys> armed_{};
    std::vector<TouchEvent> touches_;
    int dx_ = 0;
    int dy_ = 0;
    std::array<bool, 2> buttonsDown_{};
    std::array<bool, 2> buttonPresses_{};
    std::array<bool, kLogicalKeys> keysDown_{};
    std::array<bool, kLogicalKeys> keyPresses_{};
    std::array<bool, kEngineKeys> enginePresses_{};
    SdlDisplay* display_ = nullptr;
    Point pointer_;  // last pointer position in game pixels, inside the picture
    bool toggleFullScreen_ = false;
    bool screenshot_ = false;
    unsigned debugKeys_ = 0;
    int speechKey_ = -1;  // an SDL scancode
    bool quit_ = false;
    bool focused_ = true;
    bool minimised_ = false;
};

}  // namespace zk
