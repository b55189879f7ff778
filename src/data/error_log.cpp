#include "data/error_log.h"

#include <iostream>

#include "data/game_state.h"
#include "platform/error_report.h"
#include "platform/platform.h"

namespace zk {
namespace {

void report(const GameState& g, std::string_view message) {
    if (g.platform)
        g.platform->errorReport.report(message);
    else
        std::cerr << "zelkin: " << message << '\n';
}

}  // namespace

void reportError(const GameState& g, const std::string& message) {
    std::set<std::string>& reported = g.errors.reported;
    if (reported.size() > kMaxReportedErrors) return;
    if (!reported.insert(message).second) return;
    report(g, reported.size() > kMaxReportedErrors ? kMoreErrorsMessage : message);
}

void reportErrorAgain(const GameState& g, const std::string& message) {
    report(g, message);
}

}  // namespace zk
