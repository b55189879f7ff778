#include "package/entry_names.h"

#include <algorithm>

#include "core/text.h"

namespace zk {
namespace {

// Splits a normalized name into its folder part (without the last "/") and last component.
std::pair<std::string_view, std::string_view> splitLast(std::string_view name) {
    size_t slash = name.rfind('/');
    if (slash == std::string_view::npos) return {{}, name};
    return {name.substr(0, slash), name.substr(slash + 1)};
}

bool globMatch(std::string_view p, std::string_view s) {
    // Iterative matcher: on a mismatch, let the most recent "*" swallow one more character.
    size_t pi = 0, si = 0;
    size_t starP = std::string_view::npos, starS = 0;
    while (si < s.size()) {
        if (pi < p.size() && p[pi] == '*') {
            starP = pi++;
            starS = si;
        } else if (pi < p.size() && (p[pi] == '?' || asciiLower(p[pi]) == asciiLower(s[si]))) {
            ++pi;
            ++si;
        } else if (starP != std::string_view::npos) {
            pi = starP + 1;
            si = ++starS;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') ++pi;
    return pi == p.size();
}

// Well-formed UTF-8 with at least one sequence of several bytes.
bool looksLikeUtf8(std::string_view name) {
    bool multibyte = false;
    for (size_t i = 0; i < name.size();) {
        const size_t n = decodeUtf8(name, i).length;
        if (n == 0) return false;
        multibyte = multibyte || n > 1;
        i += n;
    }
    return multibyte;
}

}  // namespace

std::string normalizeEntryName(std::string_view name) {
    std::string out(name);
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

bool isWildcardSpec(std::string_view spec) {
    std::string normalized = normalizeEntryName(spec);
    return splitLast(normalized).second.find_first_of("*?") != std::string_view::npos;
}

bool wildcardMatch(std::string_view pattern, std::string_view name) {
    if (globMatch(pattern, name)) return true;
    if (pattern.size() >= 2 && pattern.ends_with(".*") &&
        name.find('.') == std::string_view::npos) {
        return globMatch(pattern.substr(0, pattern.size() - 2), name);
    }
    return false;
}

std::vector<size_t> findEntries(std::span<const ArchiveEntry> entries, std::string_view spec,
                                const CodePage& codePage) {
    const std::string wanted = normalizeEntryName(spec);
    std::vector<size_t> found;
    if (isWildcardSpec(wanted)) {
        auto [folder, pattern] = splitLast(wanted);
        for (size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].isDirectory()) continue;
            const std::string name = normalizeEntryName(entries[i].name);
            auto [entryFolder, entryName] = splitLast(name);
            if (codePage.lower(entryFolder) == codePage.lower(folder) &&
                wildcardMatch(pattern, entryName)) {
                found.push_back(i);
            }
        }
        return found;
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        if (normalizeEntryName(entries[i].name) == wanted) return {i};
    }
    const std::string lowerWanted = codePage.lower(wanted);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (codePage.lower(normalizeEntryName(entries[i].name)) == lowerWanted) return {i};
    }
    return found;
}

std::vector<ArchiveEntry> gameEntryNames(std::span<const ArchiveEntry> entries,
                                         const CodePage& codePage) {
    std::vector<ArchiveEntry> out(entries.begin(), entries.end());
    for (ArchiveEntry& e : out) {
        // Some archivers store UTF-8 without saying so (Info-ZIP without a UTF-8
        // locale): a name that is well-formed UTF-8 beyond ASCII is taken as such,
        // since text in a single-byte code page almost never is.
        if (e.utf8Name || looksLikeUtf8(e.name)) {
            if (auto converted = codePage.fromUtf8(e.name)) e.name = std::move(*converted);
        }
        e.name = normalizeEntryName(e.name);
        while (e.name.starts_with("./")) e.name.erase(0, 2);
    }
    // One top folder around everything, a game's folder zipped whole: the first
    // component of every name is the same folder, no file lies beside it, and the
    // folder holds the game's "prefs.dat".
    std::string top;
    bool common = false, holdsGame = false;
    for (const ArchiveEntry& e : out) {
        const size_t slash = e.name.find('/');
        if (slash == std::string::npos || slash == 0) return out;
        const std::string first = e.name.substr(0, slash + 1);
        if (!common) {
            top = first;
            common = true;
        } else if (first != top) {
            return out;
        }
        if (codePage.lower(std::string_view(e.name).substr(top.size())) == "prefs.dat")
            holdsGame = true;
    }
    if (!holdsGame) return out;
    for (ArchiveEntry& e : out) e.name.erase(0, top.size());
    return out;
}

std::optional<std::string> flatFileName(std::string_view entryName) {
    const std::string name = normalizeEntryName(entryName);
    std::string_view last = splitLast(name).second;
    // Longer than a file name may be: writing it could only fail, and one such entry
    // must not stop the extraction of the others.
    constexpr size_t kMaxFileName = 255;
    if (last.empty() || last == "." || last == ".." || last.size() > kMaxFileName)
        return std::nullopt;
    return std::string(last);
}

}  // namespace zk
