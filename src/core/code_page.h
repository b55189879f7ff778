#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

// The single-byte Windows code page of a game's texts. Record strings, language
// tables and package entry names are bytes in this code page; they become UTF-8 only
// where text is drawn, printed or written into a UTF-8 source file. A game names its
// code page in its metadata; without one it is Windows-1252, as every game was before.
//
// Bytes that a code page leaves unassigned stand for the code points of their own
// value, so that any byte survives a trip to UTF-8 and back.
class CodePage {
  public:
    CodePage() = default;  // Windows-1252
    // The code page of that number, nothing for one the engine does not know.
    static std::optional<CodePage> byNumber(int number);
    // The numbers of every code page the engine knows, in ascending order.
    static std::vector<int> known();

    int number() const { return number_; }
    char32_t codePoint(char byte) const;
    // The byte of code point `cp`; nothing when the code page has no such character.
    std::optional<char> byteOf(char32_t cp) const;

    std::string toUtf8(std::string_view text) const;
    // The bytes of a UTF-8 text; nothing when it is not valid UTF-8 or holds a
    // character the code page cannot store (`bad` then receives it).
    std::optional<std::string> fromUtf8(std::string_view utf8, std::string* bad = nullptr) const;
    // A message that mixes UTF-8 (the engine's own words, file paths) with record
    // bytes: well-formed UTF-8 sequences stay as they are, every other byte is taken
    // in this code page.
    std::string mixedToUtf8(std::string_view text) const;

    // The byte with letter case removed, for names compared without regard to case
    // ("Küche" and "KÜCHE" as "küche"); bytes that are not capital letters stay.
    char lower(char byte) const;
    std::string lower(std::string_view text) const;

    bool operator==(const CodePage& other) const { return number_ == other.number_; }

  private:
    CodePage(int number, const char16_t* high) : number_(number), high_(high) {}
    int number_ = 1252;
    const char16_t* high_ = nullptr;  // code points of 0x80..0xFF, 0 where unassigned
};

// The small letter of a capital letter of the Latin, Greek and Cyrillic alphabets;
// any other code point as it is.
char32_t lowerLetter(char32_t cp);

}  // namespace zk
