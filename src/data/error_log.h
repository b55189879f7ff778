#pragma once
// Problems with the game's data, reported to the player through the platform's error
// report. Reporting is output, like drawing: code that only reads the game (the
// renderer) may report what it finds.
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

struct GameState;

// After this many different problems, a damaged package has said enough: one more
// report says that further ones are not shown, and the rest are dropped (in a window
// each report is a message box).
inline constexpr size_t kMaxReportedErrors = 10;
inline constexpr std::string_view kMoreErrorsMessage =
    "There are more errors in the game data; they are not shown";

// The messages reported so far, so that an error met every frame is reported once.
struct ErrorLog {
    // The filter remembers what was said; it is not game state, so a const view of
    // the game may still report.
    mutable std::set<std::string> reported;
    // Authoring mistakes the engine mended, each once, in order (the debug overlay and
    // the state dump show them).
    mutable std::vector<std::string> warnings;
};

// Reports a problem with the game's data once: the same message is not repeated, and
// after kMaxReportedErrors different ones nothing more is reported.
void reportError(const GameState& g, const std::string& message);
// Reports a problem the player caused now (a failed save or load), even when it was
// reported before or the data errors have reached their limit.
void reportErrorAgain(const GameState& g, const std::string& message);
// Reports an authoring mistake the engine mends and plays on (a name that matches
// nothing, a skipped placement, a missing sound): kept in `ErrorLog::warnings` and
// passed to the error report as a warning, which never stops the player with a box.
// It counts towards kMaxReportedErrors like an error.
void reportWarning(const GameState& g, const std::string& message);

}  // namespace zk
