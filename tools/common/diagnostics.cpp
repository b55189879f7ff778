#include "diagnostics.h"

namespace zk::tools {

std::string Diagnostic::text() const {
    std::string out = file;
    if (line > 0) out += ":" + std::to_string(line);
    out += warning ? ": warning: " : ": ";
    return out + message;
}

void Diagnostics::error(const std::string& file, int line, const std::string& message) {
    list_.push_back({file, line, message, false});
    ++errors_;
}

void Diagnostics::warning(const std::string& file, int line, const std::string& message) {
    list_.push_back({file, line, message, true});
}

}  // namespace zk::tools
