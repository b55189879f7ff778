#include "platform/sdl/sdl_message_box.h"

#include <SDL.h>

#include <ostream>
#include <string>

#include "platform/sdl/sdl_display.h"

namespace zk {

SdlMessageBox::SdlMessageBox(const SdlDisplay* owner, std::ostream& log)
    : owner_(owner), log_(log) {}

void SdlMessageBox::show(std::string_view caption, std::string_view text) {
    const std::string c(caption);
    const std::string t(text);
    SDL_Window* window = owner_ ? owner_->window() : nullptr;
    const SDL_bool relative = SDL_GetRelativeMouseMode();
    const int cursor = SDL_ShowCursor(SDL_QUERY);
    if (relative) SDL_SetRelativeMouseMode(SDL_FALSE);
    SDL_ShowCursor(SDL_ENABLE);
    const bool shown =
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, c.c_str(), t.c_str(), window) == 0;
    SDL_ShowCursor(cursor);
    if (relative) SDL_SetRelativeMouseMode(SDL_TRUE);
    if (!shown) log_ << c << ": " << t << std::endl;
}

}  // namespace zk
