#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace zk::tools {

// Record texts are Windows-1252 bytes; source files are UTF-8. The two conversions
// are exact inverses for every byte: the five bytes that Windows-1252 leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) travel as the code points of the same value, so any
// record survives a trip through a source folder.

// The record bytes of a UTF-8 text; nothing when it holds a character that Windows-1252
// cannot store (or is not valid UTF-8). `bad` receives the first such character.
std::optional<std::string> toRecordText(std::string_view utf8, std::string* bad = nullptr);
std::string fromRecordText(std::string_view cp1252);
// A file or folder name from disk (UTF-8) as a package entry name (Windows-1252), as
// the engine composes entry names from record texts; kept as it is when it cannot be.
std::string entryText(std::string_view utf8);

}  // namespace zk::tools
