#include "platform/error_report.h"

#include <ostream>

#include "platform/message_box.h"

namespace zk {

std::string errorLine(std::string_view message) {
    std::string line = "Error: ";
    for (char c : message) line += (c == '\n' || c == '\r') ? ' ' : c;
    return line;
}

MessageBoxErrorReport::MessageBoxErrorReport(MessageBox& box, std::string caption,
                                             std::ostream& log)
    : box_(box), caption_(std::move(caption)), log_(log) {}

void MessageBoxErrorReport::report(std::string_view message) {
    log_ << errorLine(message) << std::endl;
    box_.show(caption_, message);
}

void OnceErrorReport::report(std::string_view message) {
    if (seen_.find(message) != seen_.end()) return;
    seen_.emplace(message);
    next_.report(message);
}

}  // namespace zk
