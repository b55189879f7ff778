#include "text_codec.h"

namespace zk::tools {

std::optional<std::string> toRecordText(std::string_view utf8, std::string* bad,
                                        const CodePage& page) {
    return page.fromUtf8(utf8, bad);
}

std::string fromRecordText(std::string_view record, const CodePage& page) {
    return page.toUtf8(record);
}

std::string entryText(std::string_view utf8, const CodePage& page) {
    return toRecordText(utf8, nullptr, page).value_or(std::string(utf8));
}

std::string codePageName(const CodePage& page) {
    return "Windows-" + std::to_string(page.number());
}

}  // namespace zk::tools
