#include "app/window_backends.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "data/error_log.h"
#include "data/game_state.h"

namespace zk {
namespace {

int occurrences(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The window's wiring, with SDL's dummy video driver: no box can open there, so each
// message the player would see lands on the log.
TEST(WindowBackends, AFailureReportedAgainReachesThePlayerEachTime) {
    std::ostringstream log;
    WindowBackends backends(log);
    GameState g;
    g.platform = &backends.platform;

    reportErrorAgain(g, "Cannot write save slot 1");
    reportErrorAgain(g, "Cannot write save slot 1");
    reportError(g, "Sound 7 is missing");
    reportError(g, "Sound 7 is missing");
    EXPECT_EQ(occurrences(log.str(), "Cannot write save slot 1"), 4);  // log line and box
    EXPECT_EQ(occurrences(log.str(), "Sound 7 is missing"), 2);

    // What the frame loop itself catches repeats every frame: shown once.
    backends.loopErrors.report("Broken frame");
    backends.loopErrors.report("Broken frame");
    EXPECT_EQ(occurrences(log.str(), "Broken frame"), 2);
}

}  // namespace
}  // namespace zk
