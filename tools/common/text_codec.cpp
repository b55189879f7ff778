#include "text_codec.h"

#include "core/text.h"

namespace zk::tools {

std::optional<std::string> toRecordText(std::string_view utf8, std::string* bad) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const Utf8Char c = decodeUtf8(utf8, i);
        if (c.length == 0) {
            if (bad) *bad = "an invalid UTF-8 byte";
            return std::nullopt;
        }
        const std::optional<char> byte = cp1252Byte(c.cp);
        if (!byte) {
            if (bad) *bad = std::string(utf8.substr(i, c.length));
            return std::nullopt;
        }
        out += *byte;
        i += c.length;
    }
    return out;
}

std::string fromRecordText(std::string_view cp1252) {
    // cp1252ToUtf8 passes the unassigned bytes through as their own code points.
    return cp1252ToUtf8(cp1252);
}

std::string entryText(std::string_view utf8) {
    return toRecordText(utf8).value_or(std::string(utf8));
}

}  // namespace zk::tools
