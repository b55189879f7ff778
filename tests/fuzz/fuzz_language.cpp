// Reads arbitrary bytes as "languages.txt" and looks up every key it holds, and some it
// does not, in several languages. Lines never hold line ends; a value is a piece of
// its line; language 0 gives the key; a key gives the text of the first line holding
// it; every text converts for display.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/text.h"
#include "data/language.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zk;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const LanguageTable table = LanguageTable::fromText(text);
    size_t kept = 0;
    for (const std::string& line : table.lines()) {
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
        kept += line.size();
    }
    FUZZ_CHECK(kept <= size);

    // Only the first 64 lines are looked up, so that long inputs stay quick.
    const size_t lines = table.size() < 64 ? table.size() : 64;
    FUZZ_CHECK(table.languageField(table.size(), "text").empty());
    for (size_t i = 0; i < lines; ++i) {
        const std::string key = table.languageField(i, "text");
        FUZZ_CHECK(table.lines()[i].find(key) != std::string::npos);
        FUZZ_CHECK(table.translate(key, 0) == key);
        for (int language : {1, 2, 10, -1}) {
            const std::string value = table.translate(key, language);
            if (key.empty()) {
                FUZZ_CHECK(value.empty());
                continue;
            }
            size_t first = 0;
            while (table.languageField(first, "text") != key) ++first;
            FUZZ_CHECK(first <= i);
            FUZZ_CHECK(value == table.languageField(first, "lang" + std::to_string(language)));
            FUZZ_CHECK(table.lines()[first].find(value) != std::string::npos);
            cp1252ToUtf8(value);
        }
    }
    FUZZ_CHECK(table.translate("\x01no such key\x02", 1).empty() ||
               text.find("\x01no such key\x02") != std::string_view::npos);
    return 0;
}
