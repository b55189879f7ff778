#include "platform/error_report.h"

#include <ostream>

#include "core/text.h"
#include "platform/message_box.h"

namespace zk {

namespace {

// The length of the well-formed UTF-8 sequence at s[i], 0 when there is none.
size_t utf8Length(std::string_view s, size_t i) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = byte(i);
    const size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return 0;
    char32_t cp = n == 1 ? c : c & (0x7F >> n);
    for (size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

}  // namespace

std::string printableLine(std::string_view message) {
    std::string line;
    line.reserve(message.size());
    for (size_t i = 0; i < message.size();) {
        const auto c = static_cast<unsigned char>(message[i]);
        if (c < 0x20 || c == 0x7F) {
            line += (c == '\n' || c == '\r' || c == '\t') ? ' ' : '?';
            ++i;
        } else if (size_t n = utf8Length(message, i)) {
            line.append(message.substr(i, n));
            i += n;
        } else {
            line += cp1252ToUtf8(message.substr(i, 1));
            ++i;
        }
    }
    return line;
}

std::string errorLine(std::string_view message) {
    return "Error: " + printableLine(message);
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
