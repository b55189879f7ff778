#include "platform/sdl/sdl_clock.h"

#include <SDL.h>

namespace zk {

SdlClock::SdlClock() : timer_(SDL_INIT_TIMER) {}

uint32_t SdlClock::ticks() const {
    return SDL_GetTicks();
}

void SdlClock::wait(uint32_t ms) {
    SDL_Delay(ms);
}

}  // namespace zk
