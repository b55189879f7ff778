#include "data/error_log.h"

#include <algorithm>
#include <iostream>

#include "data/game_state.h"
#include "platform/error_report.h"
#include "platform/platform.h"

namespace zk {
namespace {

void report(const GameState& g, std::string_view message, bool warning = false) {
    if (!g.platform)
        std::cerr << "zelkin: " << (warning ? "warning: " : "") << message << '\n';
    else if (warning)
        g.platform->errorReport.warn(message);
    else
        g.platform->errorReport.report(message);
}

// The once-and-limit filter of every report; true when `message` is to be passed on,
// then `message` may have become kMoreErrorsMessage.
bool firstReport(const GameState& g, std::string_view& message) {
    std::set<std::string>& reported = g.errors.reported;
    if (reported.size() > kMaxReportedErrors) return false;
    if (!reported.emplace(message).second) return false;
    if (reported.size() > kMaxReportedErrors) message = kMoreErrorsMessage;
    return true;
}

}  // namespace

void reportError(const GameState& g, const std::string& message) {
    std::string_view shown = message;
    if (firstReport(g, shown)) report(g, shown);
}

void reportWarning(const GameState& g, const std::string& message) {
    std::vector<std::string>& warnings = g.errors.warnings;
    if (std::find(warnings.begin(), warnings.end(), message) == warnings.end())
        warnings.push_back(message);
    std::string_view shown = message;
    if (firstReport(g, shown)) report(g, shown, true);
}

void reportErrorAgain(const GameState& g, const std::string& message) {
    report(g, message);
}

}  // namespace zk
