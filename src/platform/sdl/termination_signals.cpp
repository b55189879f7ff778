#include "platform/sdl/termination_signals.h"

#include <SDL.h>
#include <unistd.h>

#include <atomic>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace zk {
namespace {

// A signal handler can reach nothing but process-wide state, so the request is the
// one mutable global of the engine.
std::atomic<int> terminationFlag{0};
static_assert(std::atomic<int>::is_always_lock_free, "set from a signal handler");

extern "C" void onTerminationSignal(int /*signal*/) {
    terminationFlag.store(1);
}

bool install(int signal, struct sigaction& previous) {
    if (sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler != SIG_DFL) return false;
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(signal, &action, nullptr) == 0;
}

// The parent process id from the text of /proc/PID/stat ("PID (NAME) STATE PPID ...";
// the name may hold spaces and parentheses, so the fields start after the last ')').
int parentOf(const std::string& stat) {
    const size_t close = stat.rfind(')');
    if (close == std::string::npos || close + 4 >= stat.size()) return -1;
    const char* first = stat.data() + close + 4;  // past ") S "
    int parent = -1;
    std::from_chars(first, stat.data() + stat.size(), parent);
    return parent;
}

}  // namespace

TerminationSignals::TerminationSignals() {
    terminationFlag.store(0);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    installedInt_ = install(SIGINT, previousInt_);
    installedTerm_ = install(SIGTERM, previousTerm_);
}

TerminationSignals::~TerminationSignals() {
    if (installedInt_) sigaction(SIGINT, &previousInt_, nullptr);
    if (installedTerm_) sigaction(SIGTERM, &previousTerm_, nullptr);
}

bool TerminationSignals::requested() {
    return terminationFlag.load() != 0;
}

std::set<int> childProcesses() {
    std::set<int> children;
    const int self = static_cast<int>(getpid());
    std::error_code ec;
    for (std::filesystem::directory_iterator it("/proc", ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        int pid = 0;
        auto [rest, err] = std::from_chars(name.data(), name.data() + name.size(), pid);
        if (err != std::errc() || rest != name.data() + name.size()) continue;
        std::ifstream in(it->path() / "stat");
        const std::string stat((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        if (parentOf(stat) == self) children.insert(pid);
    }
    return children;
}

}  // namespace zk
