#include "platform/sdl/sdl_subsystem.h"

#include <SDL.h>

#include <string>

#include "platform/platform_error.h"

namespace zk {

SdlSubsystem::SdlSubsystem(uint32_t flags) : flags_(flags) {
    if (SDL_InitSubSystem(flags) != 0) {
        throw PlatformError(std::string("Cannot start SDL: ") + SDL_GetError());
    }
}

SdlSubsystem::~SdlSubsystem() {
    SDL_QuitSubSystem(flags_);
}

}  // namespace zk
