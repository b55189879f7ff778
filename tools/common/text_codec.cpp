#include "text_codec.h"

#include "core/text.h"

namespace zk::tools {

bool readsAsUtf8Letters(std::span<const uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    bool beyond = false;
    for (size_t at = 0; at < text.size();) {
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            ++at;
            continue;
        }
        const size_t n = decodeUtf8(text, at).length;
        if (n == 0) return false;
        beyond = true;
        at += n;
    }
    return beyond;
}

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
