#include "platform/error_report.h"

#include <ostream>

#include "core/text.h"
#include "platform/message_box.h"

namespace zk {

std::string printableLine(std::string_view message, const CodePage& codePage) {
    std::string line;
    line.reserve(message.size());
    for (size_t i = 0; i < message.size();) {
        const auto c = static_cast<unsigned char>(message[i]);
        if (c < 0x20 || c == 0x7F) {
            line += (c == '\n' || c == '\r' || c == '\t') ? ' ' : '?';
            ++i;
        } else if (size_t n = decodeUtf8(message, i).length) {
            line.append(message.substr(i, n));
            i += n;
        } else {
            appendUtf8(line, codePage.codePoint(message[i]));
            ++i;
        }
    }
    return line;
}

std::string errorLine(std::string_view message, const CodePage& codePage) {
    return "Error: " + printableLine(message, codePage);
}

MessageBoxErrorReport::MessageBoxErrorReport(MessageBox& box, std::string caption,
                                             std::ostream& log)
    : box_(box), caption_(std::move(caption)), log_(log) {}

void MessageBoxErrorReport::report(std::string_view message) {
    log_ << errorLine(message, codePage_) << std::endl;
    box_.show(caption_, codePage_.mixedToUtf8(message));
}

void OnceErrorReport::report(std::string_view message) {
    if (seen_.find(message) != seen_.end()) return;
    seen_.emplace(message);
    next_.report(message);
}

}  // namespace zk
