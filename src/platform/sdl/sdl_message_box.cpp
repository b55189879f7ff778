#include "platform/sdl/sdl_message_box.h"

#include <SDL.h>

#include <chrono>
#include <csignal>
#include <ostream>
#include <string>
#include <thread>

#include "platform/sdl/sdl_display.h"
#include "platform/sdl/termination_signals.h"

namespace zk {
namespace {

// SDL shows the box from a child process and waits for it, through signals too. A
// termination request ends that child, so that the box returns at once and the window
// can close; whatever the box said goes to the log then.
bool showUntilTerminated(const std::string& caption, const std::string& text, SDL_Window* window) {
    const std::set<int> before = childProcesses();
    std::jthread watcher([&before](const std::stop_token& stop) {
        while (!stop.stop_requested()) {
            if (TerminationSignals::requested()) {
                for (int pid : childProcesses())
                    if (!before.count(pid)) kill(pid, SIGKILL);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption.c_str(), text.c_str(),
                                    window) == 0;
}

}  // namespace

SdlMessageBox::SdlMessageBox(const SdlDisplay* owner, std::ostream& log)
    : owner_(owner), log_(log) {}

void SdlMessageBox::show(std::string_view caption, std::string_view text) {
    const std::string c(caption);
    const std::string t(text);
    if (TerminationSignals::requested()) {
        log_ << c << ": " << t << std::endl;
        return;
    }
    SDL_Window* window = owner_ ? owner_->window() : nullptr;
    const SDL_bool relative = SDL_GetRelativeMouseMode();
    const int cursor = SDL_ShowCursor(SDL_QUERY);
    if (relative) SDL_SetRelativeMouseMode(SDL_FALSE);
    SDL_ShowCursor(SDL_ENABLE);
    const bool shown = showUntilTerminated(c, t, window);
    SDL_ShowCursor(cursor);
    if (relative) SDL_SetRelativeMouseMode(SDL_TRUE);
    if (!shown) log_ << c << ": " << t << std::endl;
}

}  // namespace zk
