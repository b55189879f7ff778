#include "game_checks.h"

#include <limits>
#include <optional>

#include "assets/picture.h"
#include "assets/picture_list.h"
#include "core/error.h"
#include "core/text.h"
#include "data/language.h"
#include "text_codec.h"

namespace zk::tools {

namespace {

// Picture 0 of a packed list, as the engine takes it for a background or a mask.
std::optional<Picture> firstPicture(const std::vector<PackageEntry>& assets,
                                    const std::string& entry, const CodePage& page) {
    const std::string key = entryKey(entry, page);
    for (const PackageEntry& e : assets) {
        if (entryKey(e.name, page) != key) continue;
        try {
            PictureList list = readPictureList(e.bytes);
            if (list.count() == 0 || !list.items[0].picture.hasPicture()) return std::nullopt;
            return list.items[0].picture;
        } catch (const DataError&) {
            return std::nullopt;  // the list's own check reports it
        }
    }
    return std::nullopt;
}

// Walkable pixels as the path finder samples them: the even pixel of each half-size cell.
struct Walkable {
    Image raw;
    bool at(int x, int y) const {
        if (x < 0 || y < 0) return false;
        return raw.pixel(x - x % 2, y - y % 2) == 1u;
    }
    std::optional<std::pair<int, int>> nearest(int x, int y) const {
        std::optional<std::pair<int, int>> best;
        int64_t bestDistance = std::numeric_limits<int64_t>::max();
        for (int py = 0; py < raw.height; py += 2)
            for (int px = 0; px < raw.width; px += 2) {
                if (raw.at(px, py) != 1u) continue;
                const int64_t d = int64_t(px - x) * (px - x) + int64_t(py - y) * (py - y);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = {px, py};
                }
            }
        return best;
    }
};

std::string size(const Image& i) {
    return std::to_string(i.width) + "x" + std::to_string(i.height);
}

}  // namespace

void checkRoomGeometry(const std::vector<RoomPictures>& rooms, const std::vector<RoomPoint>& points,
                       const std::vector<PackageEntry>& assets, const CodePage& page,
                       Diagnostics& diag) {
    for (const RoomPictures& room : rooms) {
        if (room.mask.empty()) continue;
        const std::string folder = "rooms\\" + room.name + "\\";
        std::optional<Picture> mask = firstPicture(assets, folder + room.mask, page);
        if (!mask) continue;
        Walkable walk;
        try {
            walk.raw = rawPixels(*mask);
        } catch (const DataError&) {
            continue;
        }
        const std::string shown = fromRecordText(room.name, page);
        if (std::optional<Picture> bg = firstPicture(assets, folder + room.background, page);
            bg && (bg->image.width != walk.raw.width || bg->image.height != walk.raw.height))
            diag.warning(room.maskAt.file, room.maskAt.line,
                         "the walk mask '" + fromRecordText(room.mask, page) + "' is " +
                             size(walk.raw) + " but the background is " + size(bg->image) +
                             ": characters walk on the mask's pixels as if it lay over the "
                             "background, so make both pictures the same size");
        if (!room.gameRoom) continue;
        bool anyWalkable = false;
        for (const RoomPoint& p : points) {
            if (p.room != room.name || walk.at(p.x, p.y)) continue;
            std::string msg = p.what + " (" + std::to_string(p.x) + ", " + std::to_string(p.y) +
                              ") is off the walkable area of room '" + shown + "'";
            if (auto n = walk.nearest(p.x, p.y)) {
                anyWalkable = true;
                msg += ": the nearest walkable point is (" + std::to_string(n->first) + ", " +
                       std::to_string(n->second) + ")";
            } else if (!anyWalkable) {
                msg +=
                    ": its walk mask has no walkable pixel (walkable is white in a two-colour "
                    "picture, colour 1 in a palette)";
            }
            diag.warning(p.at.file, p.at.line, msg);
        }
    }
}

void checkTranslations(const std::vector<ShownText>& texts,
                       const std::map<int, SourceSpot>& languages,
                       const std::vector<uint8_t>& table, const CodePage& page, Diagnostics& diag) {
    const LanguageTable lines = LanguageTable::fromText(
        std::string_view(reinterpret_cast<const char*>(table.data()), table.size()));
    for (const auto& [language, from] : languages) {
        if (language == 0) continue;
        const std::string column = "lang" + std::to_string(language);
        for (const ShownText& t : texts) {
            if (t.key.empty()) continue;
            std::optional<size_t> line;
            for (size_t i = 0; i < lines.size() && !line; ++i)
                if (lines.languageField(i, "text") == t.key) line = i;
            const std::string key = fromRecordText(t.key, page);
            std::string why;
            if (!line)
                why = "has no line in languages.txt";
            else if (lines.lines()[*line].find(column + "=\"") == std::string::npos)
                why = "has no " + column + " on line " + std::to_string(*line + 1) +
                      " of languages.txt";
            else if (lines.translate(t.key, language).empty())
                why = "is empty in " + column + " on line " + std::to_string(*line + 1) +
                      " of languages.txt";
            else
                continue;
            diag.warning(t.at.file, t.at.line,
                         t.what + " '" + key + "' " + why + ", so it shows blank in language " +
                             std::to_string(language) + " (used at " + from.file + ":" +
                             std::to_string(from.line) + "); add text=\"" + key + "\" " + column +
                             "=\"...\"");
        }
    }
}

void checkUntaggedLanguageFile(const std::vector<uint8_t>& file, Diagnostics& diag) {
    const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
    int line = 1;
    bool multiByte = false;
    int firstLine = 0;
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n') ++line;
        if (c < 0x80) {
            ++i;
            continue;
        }
        const Utf8Char u = decodeUtf8(text, i);
        if (u.length == 0) return;  // not UTF-8: Windows-1252 as the game reads it
        if (!multiByte) firstLine = line;
        multiByte = true;
        i += u.length;
    }
    if (multiByte)
        diag.warning("languages.txt", firstLine,
                     "is written in UTF-8, but a game without a [meta] table in game.toml reads "
                     "it in Windows-1252, so its letters show mangled; add [meta] with "
                     "codePage = 1252 to have it converted, or save it as Windows-1252");
}

}  // namespace zk::tools
