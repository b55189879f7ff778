#include "toml_out.h"

#include <cstdio>

namespace zk::tools {

std::string tomlString(std::string_view utf8) {
    std::string out = "\"";
    for (size_t i = 0; i < utf8.size(); ++i) {
        const char ch = utf8[i];
        auto c = static_cast<unsigned char>(ch);
        // C1 control characters (record bytes that Windows-1252 leaves unassigned) are
        // written as escapes, so every TOML reader takes them.
        if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0 &&
            static_cast<unsigned char>(utf8[i + 1]) >= 0x80) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned char>(utf8[i + 1]));
            out += buf;
            ++i;
            continue;
        }
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04X", c);
                    out += buf;
                } else {
                    out += ch;
                }
        }
    }
    return out + "\"";
}

std::string tomlKey(std::string_view key) {
    bool bare = !key.empty();
    for (char c : key)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '_' || c == '-'))
            bare = false;
    return bare ? std::string(key) : tomlString(key);
}

void TomlOut::strings(std::string_view key, const std::vector<std::string>& utf8) {
    std::string v = "[";
    for (size_t i = 0; i < utf8.size(); ++i) v += (i ? ", " : "") + tomlString(utf8[i]);
    value(key, v + "]");
}

void TomlOut::block(std::string_view key, std::string_view text) {
    out_ += tomlKey(key) + " = '''\n";
    out_ += text;
    if (!text.empty() && text.back() != '\n') out_ += '\n';
    out_ += "'''\n";
}

}  // namespace zk::tools
