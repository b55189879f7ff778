#include "listing.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "assets/picture_list.h"
#include "assets/wave_list.h"
#include "core/bytes.h"
#include "core/error.h"
#include "core/text.h"
#include "data/game_metadata.h"
#include "media_files.h"
#include "text_codec.h"

namespace zk::tools {

namespace {

void indented(std::ostream& out, const std::string& text, const char* pad = "    ") {
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out << (line.empty() ? "" : pad) << line << "\n";
}

std::string plural(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

template <typename Record, typename ToToml>
void listRecords(const std::string& name, const std::vector<uint8_t>& bytes, const char* one,
                 const char* many, ToToml toToml, std::ostream& out) {
    std::string warning;
    auto records = splitRecords<Record>(bytes, &warning);
    size_t empty = 0;
    for (const Record& r : records)
        if (std::all_of(r.bytes().begin(), r.bytes().end(), [](uint8_t b) { return b == 0; }))
            ++empty;
    // A file of one record (preferences, inventory) is listed without numbering.
    const bool single = records.size() == 1 && std::string_view(one) == many;
    if (single)
        out << name << ": " << one << "\n";
    else
        out << name << ": " << plural(records.size(), one, many);
    if (!single && empty) out << " (" << empty << " empty)";
    if (!single) out << "\n";
    if (!warning.empty()) out << "    warning: " << warning << "\n";
    for (size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        if (!single &&
            std::all_of(r.bytes().begin(), r.bytes().end(), [](uint8_t b) { return b == 0; }))
            continue;
        if (!single) out << "  " << one << " " << i << ":\n";
        indented(out, toToml(r), single ? "  " : "    ");
    }
}

std::string colorName(uint32_t stored) {
    char buf[32];
    if (stored <= 0xFFFFFF)
        std::snprintf(buf, sizeof buf, "#%02X%02X%02X", stored & 0xFF, (stored >> 8) & 0xFF,
                      (stored >> 16) & 0xFF);
    else
        std::snprintf(buf, sizeof buf, "0x%08X", stored);
    return buf;
}

std::string bitsOf(const Picture& p) {
    if (p.kind != "TDIB" || p.payload.size() < 1u + p.payload[0] + 16) return {};
    std::span<const uint8_t> dib = std::span(p.payload).subspan(1u + p.payload[0]);
    uint32_t header = getU32(dib, 0);
    int bits = header == 12 ? getU16(dib, 10) : header >= 40 ? getU16(dib, 14) : 0;
    return bits ? ", " + std::to_string(bits) + "-bit" : std::string();
}

void listPictures(const std::string& name, const std::vector<uint8_t>& bytes, std::ostream& out,
                  const CodePage& page) {
    PictureList list = readPictureList(bytes);
    out << name << ": picture list, " << plural(list.items.size(), "picture", "pictures") << "\n";
    for (size_t i = 0; i < list.items.size(); ++i) {
        PictureItem& item = list.items[i];
        item.prepare();
        out << "  " << i << " \"" << page.toUtf8(item.name) << "\": ";
        if (!item.picture.hasPicture()) {
            out << "no picture\n";
            continue;
        }
        const Image& img = item.picture.image;
        out << item.picture.kind << " " << img.width << " x " << img.height << bitsOf(item.picture);
        out << ", " << plural(item.patterns().size(), "pattern", "patterns");
        if (item.patterns().size() > 1 || item.patternWidth > 0 || item.patternHeight > 0)
            out << " of " << item.width() << " x " << item.height();
        if (item.skipWidth || item.skipHeight)
            out << " (gaps " << item.skipWidth << ", " << item.skipHeight << ")";
        out << (item.transparent ? ", colour key " + colorName(item.transparentColor) : ", opaque");
        if (item.systemMemory) out << ", system memory";
        out << "\n";
    }
}

void listSounds(const std::string& name, const std::vector<uint8_t>& bytes, std::ostream& out,
                const CodePage& page) {
    WaveList list = readWaveList(bytes);
    out << name << ": wave list, " << plural(list.items.size(), "sound", "sounds") << "\n";
    for (size_t i = 0; i < list.items.size(); ++i) {
        const WaveItem& w = list.items[i];
        out << "  " << i << " \"" << page.toUtf8(w.name) << "\": " << describeWave(w.wave);
        if (w.looped) out << ", looped";
        if (w.maxPlayingCount) out << ", at most " << w.maxPlayingCount << " at once";
        out << "\n";
    }
}

bool listDataFile(const std::string& base, const std::string& name,
                  const std::vector<uint8_t>& bytes, std::ostream& out, const CodePage& page) {
    auto fits = [&](size_t size) { return !bytes.empty() && bytes.size() % size == 0; };
    if (base == "prefs.dat" ||
        (base.ends_with(".dat") && bytes.size() == PreferencesRecord::kSize)) {
        listRecords<PreferencesRecord>(
            name, bytes, "preferences", "preferences",
            [&](const PreferencesRecord& r) { return preferencesToml(r, page); }, out);
    } else if (base == "inv.dat" || base == "savedinv.dat" ||
               (base.ends_with(".dat") && bytes.size() == InventoryRecord::kSize)) {
        listRecords<InventoryRecord>(
            name, bytes, "inventory", "inventory",
            [&](const InventoryRecord& r) { return inventoryToml(r, page); }, out);
    } else if (base == "objects.dat" || base == "roomobjs.dat" ||
               (base.ends_with(".dat") && fits(ObjectRecord::kSize))) {
        listRecords<ObjectRecord>(
            name, bytes, "object", "objects",
            [&](const ObjectRecord& r) { return objectToml(r, page); }, out);
    } else if (base == "rooms.dat" || (base.ends_with(".dat") && fits(StoredRoomRecord::kSize))) {
        listRecords<StoredRoomRecord>(
            name, bytes, "room", "rooms",
            [&](const StoredRoomRecord& r) { return roomToml(r, page); }, out);
    } else if (base == "cursors.dat") {
        listRecords<CursorRecord>(
            name, bytes, "cursor", "cursors",
            [&](const CursorRecord& c) { return cursorsToml({c}, page); }, out);
    } else if (base == "music.dat") {
        listRecords<MusicRecord>(
            name, bytes, "music track", "music tracks",
            [&](const MusicRecord& m) { return musicToml({m}, page); }, out);
    } else {
        return false;
    }
    return true;
}

std::string baseName(const std::string& name) {
    size_t slash = name.find_last_of("\\/");
    return toLowerAscii(slash == std::string::npos ? name : name.substr(slash + 1));
}

}  // namespace

void listFile(const std::string& name, const std::vector<uint8_t>& bytes, std::ostream& out,
              const CodePage& page) {
    const std::string base = baseName(name);
    if (base.ends_with(".dxg")) {
        listPictures(name, bytes, out, page);
    } else if (base.ends_with(".dxw")) {
        listSounds(name, bytes, out, page);
    } else if (!listDataFile(base, name, bytes, out, page)) {
        throw DataError(
            "'" + name +
            "' is neither a data file (.dat), a picture list (.dxg) nor a wave list (.dxw)");
    }
}

void listPackage(const PackageEntries& entries, std::ostream& out) {
    out << plural(entries.size(), "entry", "entries") << "\n";
    const CodePage page = packageCodePage(entries);
    // Data files first, in the order the engine loads them; then everything else.
    static const char* kOrder[] = {"prefs.dat",   "objects.dat", "rooms.dat",
                                   "cursors.dat", "music.dat",   "inv.dat"};
    std::vector<size_t> order;
    for (const char* want : kOrder)
        for (size_t i = 0; i < entries.size(); ++i)
            if (toLowerAscii(entries[i].first) == want) order.push_back(i);
    for (size_t i = 0; i < entries.size(); ++i)
        if (std::find(order.begin(), order.end(), i) == order.end()) order.push_back(i);
    for (size_t i : order) {
        const auto& [name, bytes] = entries[i];
        out << "\n";
        const std::string shown = fromRecordText(name, page);
        const std::string base = baseName(name);
        try {
            if (base.ends_with(".dxg") || base.ends_with(".dxw") ||
                (name.find_first_of("\\/") == std::string::npos && base.ends_with(".dat"))) {
                std::ostringstream one;
                listFile(shown, bytes, one, page);
                out << one.str();
            } else if (base == "languages.txt") {
                size_t lines = std::count(bytes.begin(), bytes.end(), '\n');
                if (!bytes.empty() && bytes.back() != '\n') ++lines;
                out << shown << ": language table, " << plural(lines, "line", "lines") << "\n";
                std::string text(bytes.begin(), bytes.end());
                indented(out, page.toUtf8(text));
            } else if (base == "zelkin.toml") {
                const std::string text(bytes.begin(), bytes.end());
                try {
                    parseMetadata(text);
                    out << shown << ": game metadata\n";
                } catch (const DataError& e) {
                    out << shown << ": game metadata, damaged: " << e.what() << "\n";
                }
                indented(out, text);
            } else {
                out << shown << ": " << bytes.size() << " bytes\n";
            }
        } catch (const DataError& e) {
            out << shown << ": cannot be read: " << e.what() << "\n";
        }
    }
}

}  // namespace zk::tools
