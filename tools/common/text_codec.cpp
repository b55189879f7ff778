#include "text_codec.h"

#include <cstdint>

#include "core/text.h"

namespace zk::tools {

namespace {

bool unassigned(uint8_t b) {
    return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

// Decodes one UTF-8 sequence at s[i]; 0 length for an invalid one.
size_t decodeUtf8(std::string_view s, size_t i, char32_t& cp) {
    auto b = static_cast<uint8_t>(s[i]);
    size_t len;
    if (b < 0x80) {
        cp = b;
        return 1;
    } else if ((b & 0xE0) == 0xC0) {
        cp = b & 0x1F;
        len = 2;
    } else if ((b & 0xF0) == 0xE0) {
        cp = b & 0x0F;
        len = 3;
    } else if ((b & 0xF8) == 0xF0) {
        cp = b & 0x07;
        len = 4;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (size_t k = 1; k < len; ++k) {
        auto c = static_cast<uint8_t>(s[i + k]);
        if ((c & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    return len;
}

}  // namespace

std::optional<std::string> toRecordText(std::string_view utf8, std::string* bad) {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        size_t len = decodeUtf8(utf8, i, cp);
        if (len == 0) {
            if (bad) *bad = "an invalid UTF-8 byte";
            return std::nullopt;
        }
        std::string_view one = utf8.substr(i, len);
        i += len;
        if (cp < 0x80 || (cp >= 0xA0 && cp < 0x100) || (cp < 0x100 && unassigned(uint8_t(cp)))) {
            out += static_cast<char>(cp);
            continue;
        }
        // The other characters of 0x80..0x9F: found by converting each byte back.
        bool found = false;
        for (int b = 0x80; b < 0xA0 && !found; ++b) {
            if (unassigned(uint8_t(b))) continue;
            if (cp1252ToUtf8(std::string(1, static_cast<char>(b))) == one) {
                out += static_cast<char>(b);
                found = true;
            }
        }
        if (!found) {
            if (bad) *bad = std::string(one);
            return std::nullopt;
        }
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
