#include "save/save_folder.h"

#include <sys/stat.h>

#include <cstdlib>

#include "core/text.h"

namespace zk {
namespace {

constexpr size_t kMaxNameBytes = 100;
constexpr std::time_t kStaleSeconds = 60;

bool unsafeInFileName(char32_t cp) {
    if (cp < 0x20 || cp == 0x7F) return true;
    for (char c : std::string_view("/\\:*?\"<>|"))
        if (cp == static_cast<char32_t>(c)) return true;
    return false;
}

void trimBlanksAndDots(std::string& s) {
    auto trimmed = [](char c) { return c == ' ' || c == '.'; };
    while (!s.empty() && trimmed(s.back())) s.pop_back();
    size_t start = 0;
    while (start < s.size() && trimmed(s[start])) ++start;
    s.erase(0, start);
}

bool allDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

bool randomSuffix(std::string_view s) {
    // mkstemp's six characters.
    if (s.size() != 6) return false;
    for (char c : s) {
        const bool alnum =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alnum) return false;
    }
    return true;
}

}  // namespace

std::string safeFileName(std::string_view utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        Utf8Char c = decodeUtf8(utf8, i);
        const size_t length = c.length == 0 ? 1 : c.length;
        std::string piece =
            c.length == 0 || unsafeInFileName(c.cp) ? "_" : std::string(utf8.substr(i, length));
        if (out.size() + piece.size() > kMaxNameBytes) break;
        out += piece;
        i += length;
    }
    trimBlanksAndDots(out);
    return out;
}

std::string gameIdentity(std::optional<std::string_view> metadataId, std::string_view title) {
    if (metadataId) {
        std::string id = safeFileName(*metadataId);
        if (!id.empty()) return id;
    }
    std::string fromTitle = safeFileName(cp1252ToUtf8(title));
    return fromTitle.empty() ? "game" : fromTitle;
}

std::filesystem::path playerDataHome() {
    // A relative XDG_DATA_HOME is invalid and ignored.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg == '/') return xdg;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : ".") / ".local" / "share";
}

bool portableMode(const std::filesystem::path& executableDir) {
    std::error_code ec;
    return std::filesystem::exists(executableDir / "portable", ec);
}

std::filesystem::path playerSaveFolder(const std::filesystem::path& executableDir,
                                       const std::filesystem::path& dataHome,
                                       const std::string& identity) {
    if (portableMode(executableDir)) return executableDir / "saves" / identity;
    return dataHome / "zelkin" / identity / "saves";
}

std::vector<std::filesystem::path> sharedSaveFolders(const std::filesystem::path& executableDir,
                                                     const std::filesystem::path& dataHome) {
    return {executableDir / "saves", dataHome / "zelkin" / "saves"};
}

bool isSlotFileName(std::string_view name) {
    if (name == "autosave.sav") return true;
    if (!name.starts_with("slot") || !name.ends_with(".sav")) return false;
    return allDigits(name.substr(4, name.size() - 8));
}

int removeStaleSaveTemporaries(const std::filesystem::path& folder, std::time_t now) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec) return 0;
    int removed = 0;
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        // The save writes "." + the slot's name + "." + six random characters.
        const std::string name = it->path().filename().string();
        if (name.size() < 8 || name[0] != '.' || name[name.size() - 7] != '.') continue;
        if (!isSlotFileName(std::string_view(name).substr(1, name.size() - 8)) ||
            !randomSuffix(std::string_view(name).substr(name.size() - 6)))
            continue;
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (st.st_mtime > now - kStaleSeconds) continue;
        if (std::filesystem::remove(it->path(), ec)) ++removed;
    }
    return removed;
}

}  // namespace zk
