#include "data/language.h"

#include "core/text.h"

namespace zk {

LanguageTable LanguageTable::fromText(std::string_view text) {
    return LanguageTable(splitLines(text));
}

std::string LanguageTable::languageField(size_t i, std::string_view attribute) const {
    if (i >= lines_.size()) return {};
    const std::string& line = lines_[i];
    std::string pattern = std::string(attribute) + "=\"";
    size_t found = line.find(pattern);
    if (found == std::string::npos) return {};
    size_t start = found + pattern.size();
    size_t close = line.find('"', start);
    if (close != std::string::npos) return line.substr(start, close - start);
    // No closing quote: the value stops one character short of the line's end.
    if (line.size() < start + 1) return {};
    return line.substr(start, line.size() - 1 - start);
}

std::string LanguageTable::translate(std::string_view key, int language) const {
    if (key.empty()) return {};
    if (language == 0) return std::string(key);
    std::string attribute = "lang" + std::to_string(language);
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (languageField(i, "text") == key) return languageField(i, attribute);
    }
    return {};
}

}  // namespace zk
