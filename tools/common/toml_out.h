#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zk::tools {

// Writes TOML text by hand, so that keys keep the order in which a person reads them.
std::string tomlString(std::string_view utf8);  // a basic string, escaped
std::string tomlKey(std::string_view key);      // bare when it can be

class TomlOut {
  public:
    void line(std::string_view text = {}) {
        out_ += text;
        out_ += '\n';
    }
    void value(std::string_view key, std::string_view valueText) {
        out_ += tomlKey(key) + " = " + std::string(valueText) + "\n";
    }
    void text(std::string_view key, std::string_view utf8) { value(key, tomlString(utf8)); }
    void number(std::string_view key, int64_t v) { value(key, std::to_string(v)); }
    void boolean(std::string_view key, bool v) { value(key, v ? "true" : "false"); }
    void strings(std::string_view key, const std::vector<std::string>& utf8);
    // A multi-line literal string (''' ... '''); the text must hold no "'''".
    void block(std::string_view key, std::string_view text);
    const std::string& str() const { return out_; }

  private:
    std::string out_;
};

}  // namespace zk::tools
