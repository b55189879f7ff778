#pragma once
// What a game says about itself beyond its records: the optional package member
// "zelkin.toml". Older engines never look for it, and a package without it plays as
// it always did (Windows-1252 texts, no id, unnamed languages).
#include <string>
#include <string_view>
#include <vector>

#include "core/code_page.h"

namespace zk {

class Package;

inline constexpr std::string_view kMetadataEntry = "zelkin.toml";

// One column of "languages.txt": language 0 is the keys themselves, language n the
// "lang<n>" texts.
struct LanguageColumn {
    std::string name;  // UTF-8, as the player reads it ("Deutsch")
    std::string code;  // a language tag ("de", "pt-BR"); may be empty
    bool operator==(const LanguageColumn&) const = default;
};

struct GameMetadata {
    bool present = false;  // the package holds "zelkin.toml"
    std::string id;        // names the game's saves and settings; empty: none given
    CodePage codePage;     // of every text of the game: records, languages, entry names
    std::vector<LanguageColumn> languages;  // entry i names language i
    std::string voiceLanguage;              // the language tag of spoken texts; may be empty

    bool operator==(const GameMetadata&) const = default;
};

// A game id is a file name on every system: 1 to 64 of A-Z a-z 0-9 "." "_" "-",
// not starting with ".".
bool validGameId(std::string_view id);
// A language tag: letters, digits and "-", at most 35 characters; empty allowed.
bool validLanguageTag(std::string_view tag);

// Reads the text of "zelkin.toml". Throws DataError naming the member, with the line,
// for a syntax error, a value of the wrong type, an unknown code page or an invalid
// id or tag. Keys it does not know are left alone, for newer engines.
GameMetadata parseMetadata(std::string_view toml);
// The text of "zelkin.toml"; parseMetadata gives back the same metadata.
std::string metadataToml(const GameMetadata& meta);

// The metadata of the package (its defaults when the member is missing). Throws
// DataError for a damaged member.
GameMetadata loadMetadata(Package& package);

}  // namespace zk
