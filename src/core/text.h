#pragma once
#include <cstddef>
#include <optional>
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
// The code point of a Windows-1252 byte; the five bytes the code page leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the code points of their value.
char32_t cp1252CodePoint(char byte);
// The Windows-1252 byte of code point `cp`, the inverse of cp1252CodePoint; nothing
// when the code page has no such character.
std::optional<char> cp1252Byte(char32_t cp);

// One UTF-8 sequence: its code point and its length in bytes (1 to 4).
struct Utf8Char {
    char32_t cp = 0;
    size_t length = 0;  // 0: s[i] starts no well-formed sequence
};
// Decodes the sequence at s[i] (i < s.size()). A stray or cut-off byte, an over-long
// form, a surrogate or a value beyond U+10FFFF is no sequence: length 0, and the
// caller decides what such a byte becomes.
Utf8Char decodeUtf8(std::string_view s, size_t i);

// Appends code point `cp` to `out` in UTF-8.
void appendUtf8(std::string& out, char32_t cp);

char asciiLower(char c);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
std::string toLowerAscii(std::string_view s);

// Lines of a text file: ended by CR LF, LF or CR; a final line end adds no line.
std::vector<std::string> splitLines(std::string_view text);

}  // namespace zk
