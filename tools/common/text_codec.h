#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "core/code_page.h"

namespace zk::tools {

// Record texts are bytes in the game's code page (Windows-1252 unless its metadata
// names another); source files are UTF-8. The two conversions are exact inverses for
// every byte: the bytes a code page leaves unassigned (in Windows-1252 0x81, 0x8D,
// 0x8F, 0x90, 0x9D) travel as the code points of the same value, so any record
// survives a trip through a source folder.

// The record bytes of a UTF-8 text; nothing when it holds a character that the code
// page cannot store (or is not valid UTF-8). `bad` receives the first such character.
std::optional<std::string> toRecordText(std::string_view utf8, std::string* bad = nullptr,
                                        const CodePage& page = {});
std::string fromRecordText(std::string_view record, const CodePage& page = {});
// A file or folder name from disk (UTF-8) as a package entry name (in the code page),
// as the engine composes entry names from record texts; kept as it is when it cannot be.
std::string entryText(std::string_view utf8, const CodePage& page = {});
// "Windows-1251": how messages name a code page.
std::string codePageName(const CodePage& page);

}  // namespace zk::tools
