#pragma once
// Runs the zelkin binary as a player or a test suite would, for end-to-end tests.
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace zk::test {

struct ZelkinRun {
    int status = -1;  // exit status; -1 when killed by a signal
    std::string stderrText;
};

inline std::string shellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs `zelkin ARGS` with standard error captured into `stderrFile`.
inline ZelkinRun runZelkinArgs(const std::string& args, const std::string& stderrFile) {
    const std::string command =
        shellQuote(ZELKIN_BINARY) + " " + args + " 2>" + shellQuote(stderrFile) + " >/dev/null";
    ZelkinRun run;
    int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream err(stderrFile);
    run.stderrText.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    return run;
}

}  // namespace zk::test
