#include "data/game_metadata.h"

#include <toml++/toml.h>

#include <algorithm>

#include "core/error.h"
#include "data/toml_text.h"
#include "package/package.h"

namespace zk {
namespace {

std::string where(const toml::node& n) {
    return "'" + std::string(kMetadataEntry) + "' line " + std::to_string(n.source().begin.line);
}

std::string text(const toml::table& t, std::string_view key) {
    const toml::node* n = t.get(key);
    if (!n) return {};
    if (!n->is_string()) throw DataError(where(*n) + ": " + std::string(key) + " must be a text");
    return n->as_string()->get();
}

}  // namespace

bool validGameId(std::string_view id) {
    if (id.empty() || id.size() > 64 || id[0] == '.') return false;
    return std::all_of(id.begin(), id.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '.' || c == '_' || c == '-';
    });
}

bool validLanguageTag(std::string_view tag) {
    if (tag.size() > 35) return false;
    return std::all_of(tag.begin(), tag.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '-';
    });
}

GameMetadata parseMetadata(std::string_view source) {
    toml::table root;
    try {
        root = toml::parse(source, kMetadataEntry);
    } catch (const toml::parse_error& e) {
        throw DataError("'" + std::string(kMetadataEntry) + "' line " +
                        std::to_string(e.source().begin.line) + ": " +
                        std::string(e.description()));
    }
    GameMetadata meta;
    meta.present = true;
    meta.id = text(root, "id");
    if (!meta.id.empty() && !validGameId(meta.id))
        throw DataError(where(*root.get("id")) + ": id '" + meta.id +
                        "' is not usable as a file name (A-Z, a-z, 0-9, '.', '_', '-')");
    if (const toml::node* n = root.get("codePage")) {
        const auto* number = n->as_integer();
        std::optional<CodePage> page;
        if (number) page = CodePage::byNumber(static_cast<int>(number->get()));
        if (!page) {
            std::string known;
            for (int k : CodePage::known())
                known += (known.empty() ? "" : ", ") + std::to_string(k);
            throw DataError(where(*n) + ": codePage must be one of " + known);
        }
        meta.codePage = *page;
    }
    meta.voiceLanguage = text(root, "voiceLanguage");
    if (!validLanguageTag(meta.voiceLanguage))
        throw DataError(where(*root.get("voiceLanguage")) + ": voiceLanguage '" +
                        meta.voiceLanguage + "' is not a language tag");
    if (const toml::node* n = root.get("languages")) {
        const toml::array* list = n->as_array();
        if (!list) throw DataError(where(*n) + ": languages must be a list of tables");
        for (const toml::node& item : *list) {
            const toml::table* t = item.as_table();
            if (!t)
                throw DataError(
                    where(item) +
                    ": each of languages is a table { name = \"...\", code = \"...\" }");
            LanguageColumn column{text(*t, "name"), text(*t, "code")};
            if (!validLanguageTag(column.code))
                throw DataError(where(item) + ": code '" + column.code + "' is not a language tag");
            meta.languages.push_back(std::move(column));
        }
    }
    return meta;
}

std::string metadataToml(const GameMetadata& meta) {
    std::string out;
    if (!meta.id.empty()) out += "id = " + tomlText(meta.id) + "\n";
    out += "codePage = " + std::to_string(meta.codePage.number()) + "\n";
    if (!meta.voiceLanguage.empty())
        out += "voiceLanguage = " + tomlText(meta.voiceLanguage) + "\n";
    if (!meta.languages.empty()) {
        out += "languages = [\n";
        for (const LanguageColumn& c : meta.languages)
            out += "    { name = " + tomlText(c.name) + ", code = " + tomlText(c.code) + " },\n";
        out += "]\n";
    }
    return out;
}

GameMetadata loadMetadata(Package& package) {
    MemoryStream* s = package.extractToStream(kMetadataEntry);
    if (!s) return {};
    return parseMetadata(
        std::string_view(reinterpret_cast<const char*>(s->data().data()), s->data().size()));
}

}  // namespace zk
