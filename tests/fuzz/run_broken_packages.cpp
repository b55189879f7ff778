// Runs the engine headless on every broken form of a game package, with an input
// script that clicks around, and checks each run: it ends with status 0 or 1 (never a
// signal, a sanitizer report or a hang), writes at most a few clear error lines, and
// writes nothing outside its extraction folder ($TMPDIR), its save folder and its out
// folder; the extraction folder is gone afterwards and the package is unchanged.
//
//   run_broken_packages --zelkin BIN --package PACKAGE [--jobs N] [--timeout SECONDS]
//                       [--every K] [--keep DIR] [--verbose]
//
// Each case runs in a fresh folder of its own: pkg/ (the package), cwd/ (the current
// folder), tmp/ ($TMPDIR), home/ ($HOME), saves/, out/ and outside/ (where the entry
// names that try to leave the extraction folder aim). Exit status 1 when a run fails.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "broken_packages.h"
#include "core/error.h"
#include "game_seeds.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// More lines than this is not "a few clear error lines": the engine reports at most
// ten different data errors, one line saying there are more, and a fatal error.
constexpr int kMaxErrorLines = 12;

struct Options {
    fs::path zelkin;
    fs::path package;
    fs::path keep;
    int jobs = 2;
    int timeoutSeconds = 30;
    int every = 1;
    bool verbose = false;
};

struct Case {
    size_t index = 0;
    std::string name;
    std::string what;
    fs::path root;
    pid_t pid = -1;
    Clock::time_point started;
    bool timedOut = false;
    int rawStatus = 0;
    double seconds = 0;
    std::vector<uint8_t> package;
    std::vector<std::string> problems;
    int exitStatus = -1;
};

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void prepare(Case& c, const zk::fuzz::BrokenPackage& broken, const std::string& script) {
    for (const char* sub : {"pkg", "cwd", "tmp", "home", "saves", "out", "outside"})
        fs::create_directories(c.root / sub);
    broken.write(c.root / "pkg" / "game.tgp");
    c.package = zk::fuzz::readFile(c.root / "pkg" / "game.tgp");
    std::ofstream(c.root / "input.txt") << script;
}

void start(Case& c, const Options& o) {
    const std::string root = c.root.string();
    std::vector<std::string> args = {o.zelkin.string(),
                                     root + "/pkg/game.tgp",
                                     "--headless",
                                     "--input",
                                     root + "/input.txt",
                                     "--out",
                                     root + "/out",
                                     "--save-dir",
                                     root + "/saves",
                                     "--seed",
                                     "1"};
    c.started = Clock::now();
    c.pid = fork();
    if (c.pid < 0) {
        std::perror("fork");
        std::exit(3);
    }
    if (c.pid > 0) return;
    // The child: its own folders and environment, output into files of the case.
    if (chdir((root + "/cwd").c_str()) != 0) _exit(120);
    setenv("TMPDIR", (root + "/tmp").c_str(), 1);
    setenv("HOME", (root + "/home").c_str(), 1);
    unsetenv("XDG_DATA_HOME");
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // A sanitizer report must not pass for the engine's own status 1.
    std::string asan = "exitcode=99:detect_leaks=1";
    if (const char* given = std::getenv("ASAN_OPTIONS")) asan = std::string(given) + ":" + asan;
    setenv("ASAN_OPTIONS", asan.c_str(), 1);
    setenv("UBSAN_OPTIONS", "print_stacktrace=1:halt_on_error=1:exitcode=99", 1);
    int out = open((root + "/stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open((root + "/stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0) _exit(121);
    dup2(out, 1);
    dup2(err, 2);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(122);
}

// Every file and folder under the case's folder that a run may not leave behind.
std::vector<std::string> strayFiles(const Case& c) {
    std::vector<std::string> stray;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(c.root, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const fs::path rel = it->path().lexically_relative(c.root);
        const std::string first = rel.begin()->string();
        const std::string file = rel.filename().string();
        const bool top = std::distance(rel.begin(), rel.end()) == 1;
        if (top && (it->is_directory() || file == "input.txt" || file == "stdout.txt" ||
                    file == "stderr.txt"))
            continue;
        if (rel == fs::path("pkg") / "game.tgp") continue;
        if (first == "out") continue;
        if (first == "saves" && it->is_regular_file() && file.rfind("slot", 0) == 0 &&
            rel.parent_path() == "saves")
            continue;
        stray.push_back(rel.string());
    }
    return stray;
}

void judge(Case& c) {
    const int s = c.rawStatus;
    const std::string err = readText(c.root / "stderr.txt");
    if (c.timedOut) {
        c.problems.push_back("hang: killed after the time limit");
    } else if (WIFSIGNALED(s)) {
        c.problems.push_back(std::string("crash: signal ") + strsignal(WTERMSIG(s)));
    } else if (WIFEXITED(s)) {
        c.exitStatus = WEXITSTATUS(s);
        if (c.exitStatus != 0 && c.exitStatus != 1)
            c.problems.push_back("crash: exit status " + std::to_string(c.exitStatus));
    }
    if (err.find("Sanitizer") != std::string::npos ||
        err.find("runtime error:") != std::string::npos)
        c.problems.push_back("crash: sanitizer report");

    std::istringstream lines(err);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        if (line.rfind("Error: ", 0) != 0 && line.rfind("Warning: ", 0) != 0 &&
            line.rfind("zelkin: ", 0) != 0)
            c.problems.push_back("unclear output line: " + line.substr(0, 200));
    }
    if (count > kMaxErrorLines)
        c.problems.push_back(std::to_string(count) + " error lines (more than " +
                             std::to_string(kMaxErrorLines) + ")");
    if (c.exitStatus == 1 && count == 0) c.problems.push_back("status 1 without a reason");

    for (const std::string& f : strayFiles(c)) c.problems.push_back("written outside: " + f);
    if (zk::fuzz::readFile(c.root / "pkg" / "game.tgp") != c.package)
        c.problems.push_back("the package was changed");
}

int parseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "run_broken_packages: %s needs a value\n", a.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--zelkin")
            o.zelkin = fs::absolute(value());
        else if (a == "--package")
            o.package = value();
        else if (a == "--jobs")
            o.jobs = std::max(1, std::atoi(value().c_str()));
        else if (a == "--timeout")
            o.timeoutSeconds = std::max(1, std::atoi(value().c_str()));
        else if (a == "--every")
            o.every = std::max(1, std::atoi(value().c_str()));
        else if (a == "--keep")
            o.keep = fs::absolute(value());
        else if (a == "--verbose")
            o.verbose = true;
        else {
            std::fprintf(stderr, "run_broken_packages: unknown option %s\n", a.c_str());
            return 2;
        }
    }
    if (o.zelkin.empty() || o.package.empty()) {
        std::fprintf(stderr,
                     "usage: run_broken_packages --zelkin BIN --package PACKAGE [--jobs N] "
                     "[--timeout SECONDS] [--every K] [--keep DIR] [--verbose]\n");
        return 2;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (int bad = parseOptions(argc, argv, o)) return bad;

    zk::fuzz::ArchiveImage good;
    try {
        good = zk::fuzz::ArchiveImage::read(o.package);
    } catch (const zk::DataError& e) {
        std::fprintf(stderr, "run_broken_packages: %s\n", e.what());
        return 1;
    }
    fs::path work = o.keep;
    if (work.empty()) {
        std::string pattern = (fs::temp_directory_path() / "zelkin-broken-XXXXXX").string();
        if (!mkdtemp(pattern.data())) return 3;
        work = pattern;
    }
    fs::create_directories(work);
    const std::string script = zk::fuzz::clickAroundScript();
    const size_t total = zk::fuzz::brokenPackages(good, work / "outside").size();

    std::vector<Case> done;
    std::vector<Case> running;
    size_t next = 0;
    const auto begin = Clock::now();
    while (next < total || !running.empty()) {
        while (next < total && static_cast<int>(running.size()) < o.jobs) {
            Case c;
            c.index = next;
            c.root = work / std::to_string(next);
            // The names that try to leave aim at this case's own "outside" folder.
            const auto broken = zk::fuzz::brokenPackages(good, c.root / "outside")[next];
            c.name = broken.name;
            c.what = broken.what;
            next += static_cast<size_t>(o.every);
            try {
                prepare(c, broken, script);
            } catch (const std::exception& e) {
                std::fprintf(stderr, "run_broken_packages: %s: %s\n", c.name.c_str(), e.what());
                return 3;
            }
            start(c, o);
            running.push_back(std::move(c));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        for (size_t i = 0; i < running.size();) {
            Case& c = running[i];
            int status = 0;
            pid_t r = waitpid(c.pid, &status, WNOHANG);
            const double seconds = std::chrono::duration<double>(Clock::now() - c.started).count();
            if (r == 0 && seconds > o.timeoutSeconds) {
                kill(c.pid, SIGKILL);
                waitpid(c.pid, &status, 0);
                c.timedOut = true;
                r = c.pid;
            }
            if (r != c.pid) {
                ++i;
                continue;
            }
            c.rawStatus = status;
            c.seconds = seconds;
            judge(c);
            if (o.verbose || !c.problems.empty()) {
                std::printf("%-44s status %2d %6.2fs  %s\n", c.name.c_str(), c.exitStatus,
                            c.seconds, c.what.c_str());
                for (const std::string& p : c.problems) std::printf("    %s\n", p.c_str());
                if (o.verbose) {
                    std::istringstream err(readText(c.root / "stderr.txt"));
                    for (std::string line; std::getline(err, line);)
                        std::printf("    | %s\n", line.substr(0, 300).c_str());
                }
            }
            if (o.keep.empty() && c.problems.empty()) fs::remove_all(c.root);
            done.push_back(std::move(c));
            running.erase(running.begin() + static_cast<long>(i));
        }
    }

    std::map<int, int> statuses;
    int crashes = 0, hangs = 0, failed = 0;
    double slowest = 0;
    for (const Case& c : done) {
        if (c.exitStatus >= 0) ++statuses[c.exitStatus];
        if (c.timedOut) ++hangs;
        for (const std::string& p : c.problems)
            if (p.rfind("crash", 0) == 0) {
                ++crashes;
                break;
            }
        if (!c.problems.empty()) ++failed;
        slowest = std::max(slowest, c.seconds);
    }
    std::printf("%zu broken packages of %zu run in %.0f s (slowest %.1f s):", done.size(), total,
                std::chrono::duration<double>(Clock::now() - begin).count(), slowest);
    for (const auto& [status, n] : statuses) std::printf(" status %d: %d;", status, n);
    std::printf(" crashes: %d; hangs: %d; failed checks: %d\n", crashes, hangs, failed);
    if (o.keep.empty() && failed == 0)
        fs::remove_all(work);
    else if (failed > 0)
        std::printf("the failed runs are kept in %s\n", work.c_str());
    return failed == 0 ? 0 : 1;
}
