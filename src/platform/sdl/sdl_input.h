#pragma once
#include <array>

#include "platform/input.h"
#include "platform/sdl/sdl_subsystem.h"

union SDL_Event;

namespace zk {

// Keyboard and mouse from SDL's event queue. Motion is summed over the events
// between two refreshes; a button or key pressed and let go between two refreshes
// is still reported down by the next one, so short clicks are never lost. Both
// Enter keys count as Enter. Also watches the window: quit requests, and whether
// it is active (focused and not minimised).
class SdlInput : public DeviceInput {
  public:
    SdlInput();  // starts SDL events; throws PlatformError
    // Takes every waiting event from the queue. The main loop calls it every turn,
    // also while no frame reads the input; refresh() calls it too.
    void pumpEvents();
    void refresh() override;

    bool quitRequested() const { return quit_; }
    bool windowActive() const { return focused_ && !minimised_; }

    // Handles one event as pumpEvents does (the main loop may route events here).
    void handle(const SDL_Event& event);

  private:
    SdlSubsystem events_;
    int dx_ = 0;
    int dy_ = 0;
    std::array<bool, 2> buttonsDown_{};
    std::array<bool, 2> buttonPresses_{};
    std::array<bool, kLogicalKeys> keysDown_{};
    std::array<bool, kLogicalKeys> keyPresses_{};
    bool quit_ = false;
    bool focused_ = true;
    bool minimised_ = false;
};

}  // namespace zk
