#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

// Record strings are single-byte Windows-1252 text; these convert at the edges
// where text is drawn or printed.
std::string cp1252ToUtf8(std::string_view s);
// Latin-1 decoding (every byte is the code point of the same value), used by the
// JSON state dump.
std::string latin1ToUtf8(std::string_view s);
// Best-effort reverse of cp1252ToUtf8 for authoring tools; characters outside
// Windows-1252 become '?'.
std::string utf8ToCp1252(std::string_view s);

// The length of the well-formed UTF-8 sequence at s[i] (1 to 4), 0 when there is
// none (a stray or cut-off byte, an over-long form, a surrogate).
size_t utf8SequenceLength(std::string_view s, size_t i);

// Appends code point `cp` to `out` in UTF-8.
void appendUtf8(std::string& out, char32_t cp);

char asciiLower(char c);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
std::string toLowerAscii(std::string_view s);

// Lines of a text file: ended by CR LF, LF or CR; a final line end adds no line.
std::vector<std::string> splitLines(std::string_view text);

}  // namespace zk
