#pragma once
#include <cstdint>

namespace zk {

// Holds SDL subsystems (SDL_INIT_* flags) started for as long as it lives. SDL
// counts the starts, so several owners of one subsystem may coexist.
class SdlSubsystem {
  public:
    // Throws PlatformError with SDL's message when the subsystems cannot start.
    explicit SdlSubsystem(uint32_t flags);
    ~SdlSubsystem();
    SdlSubsystem(const SdlSubsystem&) = delete;
    SdlSubsystem& operator=(const SdlSubsystem&) = delete;

  private:
    uint32_t flags_;
};

}  // namespace zk
