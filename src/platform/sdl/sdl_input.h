#pragma once
#include <array>
#include <string>
#include <utility>

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
class SdlInput : public DeviceInput {
  public:
    SdlInput();  // starts SDL events; throws PlatformError
    // Takes every waiting event from the queue. The main loop calls it every turn,
    // also while no frame reads the input; refresh() calls it too.
    void pumpEvents();
    void refresh() override;

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
    SdlSubsystem events_;
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
