#include "platform/espeak_speech.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace zk {
namespace {

// espeak-ng's normal rate in words per minute, and the range it accepts.
constexpr int kNormalWordsPerMinute = 175;
constexpr int kMinWordsPerMinute = 80;
constexpr int kMaxWordsPerMinute = 450;

}  // namespace

EspeakSpeech::EspeakSpeech(std::string program, std::string waveFile)
    : program_(std::move(program)), waveFile_(std::move(waveFile)) {}

EspeakSpeech::~EspeakSpeech() {
    halt();
}

bool EspeakSpeech::available(const std::string& program) {
    if (program.find('/') != std::string::npos) return access(program.c_str(), X_OK) == 0;
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "/usr/bin:/bin";
    while (true) {
        const size_t colon = rest.find(':');
        std::string dir(rest.substr(0, colon));
        if (dir.empty()) dir = ".";
        if (access((dir + "/" + program).c_str(), X_OK) == 0) return true;
        if (colon == std::string_view::npos) return false;
        rest.remove_prefix(colon + 1);
    }
}

std::vector<std::string> EspeakSpeech::arguments(std::string_view text) const {
    const int wpm = std::clamp(kNormalWordsPerMinute * voice_.ratePercent / 100, kMinWordsPerMinute,
                               kMaxWordsPerMinute);
    // -b 1: the text is UTF-8.
    std::vector<std::string> args{program_, "-b", "1", "-s", std::to_string(wpm)};
    const std::string& voice = voice_.voice.empty() ? voice_.language : voice_.voice;
    if (!voice.empty()) args.insert(args.end(), {"-v", voice});
    if (!waveFile_.empty()) args.insert(args.end(), {"-w", waveFile_});
    args.emplace_back("--");
    args.emplace_back(text);
    return args;
}

bool EspeakSpeech::speaking() {
    if (child_ < 0) return false;
    if (waitpid(child_, nullptr, WNOHANG) == 0) return true;
    child_ = -1;
    return false;
}

void EspeakSpeech::start(std::string_view text) {
    const std::vector<std::string> args = arguments(text);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    // The program reads nothing and prints nothing into the game's terminal (without a
    // sound device it would complain about every text); it starts with the default
    // signal handling, whatever the engine blocks or catches.
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        posix_spawn_file_actions_addopen(&files, fd, "/dev/null",
                                         fd == STDIN_FILENO ? O_RDONLY : O_WRONLY, 0);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int s : {SIGINT, SIGTERM, SIGPIPE, SIGCHLD}) sigaddset(&defaults, s);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = -1;
    const int error = posix_spawnp(&pid, program_.c_str(), &files, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&files);
    if (error != 0) {
        failed_ = true;
        return;
    }
    child_ = pid;
}

void EspeakSpeech::halt() {
    if (child_ < 0) return;
    // SIGKILL cannot be caught: the wait that collects the process is short.
    kill(child_, SIGKILL);
    while (waitpid(child_, nullptr, 0) < 0 && errno == EINTR) {
    }
    child_ = -1;
}

}  // namespace zk
