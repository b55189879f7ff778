// A package whose every picture is broken must not bury the player under one message
// box per file: after ten different problems one last report says there are more.
#include <gtest/gtest.h>

#include <sstream>

#include "logic/room_entry.h"
#include "platform/headless/headless_platform.h"

namespace zk {
namespace {

TEST(ErrorFlood, EndsWithOneReportThatThereAreMore) {
    HeadlessPlatform hp;
    std::ostringstream log;
    hp.errorReport = RecordingErrorReport(log);
    Platform platform = hp.platform();
    GameState g;
    g.platform = &platform;
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 30; ++i) reportError(g, "broken file " + std::to_string(i));
    const auto& shown = hp.errorReport.messages;
    ASSERT_EQ(shown.size(), kMaxReportedErrors + 1);
    for (size_t i = 0; i < kMaxReportedErrors; ++i)
        EXPECT_EQ(shown[i], "broken file " + std::to_string(i));
    EXPECT_EQ(shown.back(), kMoreErrorsMessage);

    // What the player just did is still reported, every time.
    reportErrorAgain(g, "Cannot save the game");
    reportErrorAgain(g, "Cannot save the game");
    EXPECT_EQ(shown.size(), kMaxReportedErrors + 3);
    EXPECT_EQ(shown.back(), "Cannot save the game");
}

// Mended authoring mistakes are kept as warnings, each once, and still recorded and
// counted with the errors as before.
TEST(ErrorFlood, WarningsAreKeptOnceAndCountWithTheErrors) {
    HeadlessPlatform hp;
    std::ostringstream log;
    hp.errorReport = RecordingErrorReport(log);
    Platform platform = hp.platform();
    GameState g;
    g.platform = &platform;
    reportWarning(g, "Wave 'creak' not found");
    reportWarning(g, "Wave 'creak' not found");
    reportError(g, "broken file");
    EXPECT_EQ(g.errors.warnings, std::vector<std::string>{"Wave 'creak' not found"});
    EXPECT_EQ(hp.errorReport.messages,
              (std::vector<std::string>{"Wave 'creak' not found", "broken file"}));
    EXPECT_EQ(log.str(), "Warning: Wave 'creak' not found\nError: broken file\n");
    for (int i = 0; i < 30; ++i) reportWarning(g, "name " + std::to_string(i));
    EXPECT_EQ(hp.errorReport.messages.size(), kMaxReportedErrors + 1);
    EXPECT_EQ(g.errors.warnings.size(), 31u);  // the overlay and the dump see them all
}

}  // namespace
}  // namespace zk
