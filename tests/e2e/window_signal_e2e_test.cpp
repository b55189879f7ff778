// The zelkin binary in a real window (an Xvfb X server): SIGTERM and SIGINT end the
// run at once, also while a message box waits for the player.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/game_builder.h"
#include "support/temp_dir.h"

namespace zk::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

pid_t spawn(const std::vector<std::string>& args, const std::vector<std::string>& env,
            const std::string& stderrFile, int keepFd = -1) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    // As from a terminal: a runner that started the tests in the background may have
    // left SIGINT ignored, which the engine would keep.
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
    const int err = open(stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (err >= 0) dup2(err, 2);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    if (keepFd >= 0) fcntl(keepFd, F_SETFD, 0);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

// Waits up to `limit` for the process to end; its exit status, or nullopt when it
// still runs or ended by a signal.
std::optional<int> waitFor(pid_t pid, milliseconds limit, bool* ended = nullptr) {
    const auto until = Clock::now() + limit;
    int raw = 0;
    while (waitpid(pid, &raw, WNOHANG) == 0) {
        if (Clock::now() >= until) {
            if (ended) *ended = false;
            return std::nullopt;
        }
        std::this_thread::sleep_for(milliseconds(10));
    }
    if (ended) *ended = true;
    if (!WIFEXITED(raw)) return std::nullopt;
    return WEXITSTATUS(raw);
}

bool hasChild(pid_t parent) {
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream in(entry.path() / "stat");
        std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const size_t close = stat.rfind(')');
        if (close == std::string::npos || close + 4 >= stat.size()) continue;
        if (std::atoi(stat.c_str() + close + 4) == parent) return true;
    }
    return false;
}

// An X server of its own on a free display number, for as long as the object lives.
class XServer {
  public:
    XServer() {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-nolisten", "tcp", "-screen",
                      "0", "1024x768x24"},
                     {}, "/dev/null", fds[1]);
        close(fds[1]);
        pollfd p{fds[0], POLLIN, 0};
        char buf[16] = {};
        if (poll(&p, 1, 20000) == 1 && read(fds[0], buf, sizeof buf - 1) > 0)
            display_ = ":" + std::string(buf).substr(0, std::string(buf).find('\n'));
        close(fds[0]);
    }
    ~XServer() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;
    const std::string& display() const { return display_; }

  private:
    pid_t pid_ = -1;
    std::string display_;
};

// The start room is a menu room whose entry asks to go back to a game that has not
// started: the engine says so in a message box, which waits for the player.
GameBuilder boxAtStart() {
    GameBuilder b = GameBuilder::minimal();
    b.findRoom("hall")->setIsGameRoom(0);
    EventView entry = b.addTemplate("sign").event(0);
    entry.setName("onroomenter");
    setCommand(entry, 0, "backtogame");
    b.place(*b.findRoom("hall"), "sign", 10, 10);
    return b;
}

TEST(WindowSignals, EndTheRunAtOnceWhileAMessageBoxWaits) {
    XServer x;
    ASSERT_FALSE(x.display().empty()) << "Xvfb (Debian package xvfb) must be installed";
    TempDir dir;
    boxAtStart().write(dir.file("g.tgp"));
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal == SIGTERM ? "SIGTERM" : "SIGINT");
        const pid_t zelkin =
            spawn({ZELKIN_BINARY, dir.file("g.tgp"), "--save-dir", dir.file("saves")},
                  // The X and GL libraries keep allocations until the process ends; the
                  // sanitizer build's leak check looks at the engine in the other tests.
                  {"DISPLAY=" + x.display(), "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy",
                   "ASAN_OPTIONS=detect_leaks=0"},
                  dir.file("stderr.txt"));
        // The box is shown from a child process of the engine that stays while it is
        // open (others may come and go while the window starts).
        const auto until = Clock::now() + std::chrono::seconds(30);
        int seen = 0;
        while (seen < 3 && Clock::now() < until) {
            seen = hasChild(zelkin) ? seen + 1 : 0;
            std::this_thread::sleep_for(milliseconds(150));
        }
        ASSERT_EQ(seen, 3) << "no message box came up";
        bool ended = false;
        ASSERT_FALSE(waitFor(zelkin, milliseconds(0), &ended).has_value() || ended);

        kill(zelkin, signal);
        const std::optional<int> status = waitFor(zelkin, milliseconds(1000), &ended);
        if (!ended) {
            kill(zelkin, SIGKILL);
            waitpid(zelkin, nullptr, 0);
        }
        std::ifstream err(dir.file("stderr.txt"));
        const std::string text((std::istreambuf_iterator<char>(err)),
                               std::istreambuf_iterator<char>());
        ASSERT_TRUE(ended) << "still running a second after the signal; " << text;
        EXPECT_EQ(status, 0) << text;
        EXPECT_NE(text.find("No game in progress"), std::string::npos)
            << "the box's text goes to the log: " << text;
    }
}

}  // namespace
}  // namespace zk::test
