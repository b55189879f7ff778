#include "platform/headless/recorders.h"

#include <iostream>

namespace zk {

RecordingErrorReport::RecordingErrorReport() : log_(&std::cerr) {}

void RecordingErrorReport::report(std::string_view message) {
    messages.emplace_back(message);
    *log_ << errorLine(message, codePage_) << std::endl;
}

}  // namespace zk
