#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace zk {

// The language table: the lines of "languages.txt". Each line holds attributes of the
// form name="value"; attribute "text" is the key, "lang1", "lang2", ... its texts.
class LanguageTable {
  public:
    LanguageTable() = default;
    explicit LanguageTable(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    // Splits text at CR LF, LF or CR line ends.
    static LanguageTable fromText(std::string_view text);

    const std::vector<std::string>& lines() const { return lines_; }
    size_t size() const { return lines_.size(); }

    // The value of `attribute` on line i. Without a closing quote the value ends one
    // character before the end of the line; a line lacking the attribute gives "".
    std::string languageField(size_t i, std::string_view attribute) const;

    // The text of `key` in `language`: "" for an empty key, the key itself for language
    // 0, else the "lang<n>" value of the first line whose "text" is the key ("" if none).
    std::string translate(std::string_view key, int language) const;

  private:
    std::vector<std::string> lines_;
};

}  // namespace zk
