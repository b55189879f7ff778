#include "source_writer.h"

#include <algorithm>
#include <set>

#include "assets/color.h"
#include "assets/picture_list.h"
#include "assets/wave_list.h"
#include "core/error.h"
#include "core/text.h"
#include "data/game_metadata.h"
#include "layout.h"
#include "media_files.h"
#include "package/entry_names.h"
#include "package/package.h"
#include "platform/archive.h"
#include "script.h"
#include "text_codec.h"
#include "toml_out.h"

namespace zk::tools {

namespace fs = std::filesystem;

PackageEntries readPackageEntries(const fs::path& path) {
    std::unique_ptr<ArchiveReader> reader = openArchive(path);
    // Names are shown and matched as the engine matches them, in the game's code page.
    CodePage page;
    std::vector<size_t> meta = findEntries(reader->entries(), kMetadataEntry);
    if (meta.size() == 1) {
        const std::vector<uint8_t> bytes = reader->read(meta[0], kPackagePassword);
        try {
            page = parseMetadata(std::string(bytes.begin(), bytes.end())).codePage;
        } catch (const DataError&) {
            // Reported when the source folder is made; the names stay Windows-1252.
        }
    }
    const std::vector<ArchiveEntry> entries = gameEntryNames(reader->entries(), page);
    PackageEntries out;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].isDirectory() || entries[i].name.empty()) continue;
        out.emplace_back(entries[i].name, reader->read(i, kPackagePassword));
    }
    return out;
}

CodePage packageCodePage(const PackageEntries& entries) {
    for (const auto& [name, bytes] : entries) {
        if (!equalsIgnoreCase(name, kMetadataEntry)) continue;
        try {
            return parseMetadata(std::string(bytes.begin(), bytes.end())).codePage;
        } catch (const DataError&) {
            return {};
        }
    }
    return {};
}

namespace {

bool allZero(std::span<const uint8_t> b) {
    return std::all_of(b.begin(), b.end(), [](uint8_t v) { return v == 0; });
}

std::string textValue(std::string_view record, const CodePage& page) {
    return fromRecordText(record, page);
}

// Writes the fields that differ from their defaults (and those in `always`).
void writeFields(TomlOut& out, const std::vector<Field>& fields, std::span<const uint8_t> b,
                 const CodePage& page, const std::set<std::string_view>& skip = {},
                 const std::set<std::string_view>& always = {}) {
    for (const Field& f : fields) {
        if (skip.count(f.key)) continue;
        if (f.count == 1) {
            if (holdsDefault(f, fields, b) && !always.count(f.key)) continue;
            if (f.type == FieldType::Text) {
                out.text(f.key, textValue(getText(f, b), page));
            } else if (f.type == FieldType::Flag && getNumber(f, b) <= 1) {
                out.boolean(f.key, getNumber(f, b) == 1);
            } else {
                out.number(f.key, getNumber(f, b));
            }
            continue;
        }
        // Arrays lose their trailing zeros and empty texts.
        const int per = f.group > 0 ? f.group : 1;
        int used = 0;
        for (int i = 0; i < f.count; ++i) {
            bool zero =
                f.type == FieldType::Text ? getText(f, b, i).empty() : getNumber(f, b, i) == 0;
            if (!zero) used = (i / per + 1) * per;
        }
        if (used == 0 && !always.count(f.key)) continue;
        std::string v = "[";
        for (int i = 0; i < used; i += per) {
            if (i) v += ", ";
            if (per > 1) v += "[";
            for (int j = 0; j < per; ++j) {
                if (j) v += ", ";
                v += f.type == FieldType::Text ? tomlString(textValue(getText(f, b, i + j), page))
                                               : std::to_string(getNumber(f, b, i + j));
            }
            if (per > 1) v += "]";
        }
        out.value(f.key, v + "]");
    }
}

void writeRaw(TomlOut& out, const Layout& layout, std::span<const uint8_t> b) {
    std::vector<std::string> raw = rawLines(layout, b);
    if (!raw.empty()) out.strings("raw", raw);
}

void writeTables(TomlOut& out, const Layout& layout, std::span<const uint8_t> b,
                 const CodePage& page) {
    for (const SubTable& t : layout.tables) {
        if (t.hasScript) continue;
        int last = -1;
        for (int i = 0; i < t.count; ++i)
            if (subRecordUsed(t, b.subspan(t.base + t.size * size_t(i), t.size))) last = i;
        for (int i = 0; i <= last; ++i) {
            out.line();
            out.line("[[" + std::string(t.key) + "]]");
            writeFields(out, t.fields, b.subspan(t.base + t.size * size_t(i), t.size), page);
        }
    }
}

// The owner name that most commands carry; written once for the whole object.
std::string commonSelf(const ObjectRecord& o) {
    std::map<std::string, int> count;
    for (int e = 0; e < kEventsPerObject; ++e)
        for (int c = 0; c < kCommandsPerEvent; ++c) ++count[o.event(e).command(c).self()];
    std::string best = o.name();
    int bestCount = count.count(best) ? count[best] : 0;
    for (const auto& [name, n] : count)
        if (n > bestCount) {
            best = name;
            bestCount = n;
        }
    return best;
}

}  // namespace

std::string preferencesToml(const PreferencesRecord& prefs, const CodePage& page) {
    TomlOut out;
    writeFields(
        out, preferencesLayout().fields, prefs.bytes(), page, {},
        {"title", "mainCharacterName", "startCursor", "displayWidth", "displayHeight", "language"});
    writeRaw(out, preferencesLayout(), prefs.bytes());
    return out.str();
}

std::string inventoryToml(const InventoryRecord& inventory, const CodePage& page) {
    TomlOut out;
    writeFields(out, inventoryLayout().fields, inventory.bytes(), page, {}, {"barX", "barY"});
    writeRaw(out, inventoryLayout(), inventory.bytes());
    writeTables(out, inventoryLayout(), inventory.bytes(), page);
    return out.str();
}

std::string cursorsToml(const std::vector<CursorRecord>& cursors, const CodePage& page) {
    TomlOut out;
    for (const CursorRecord& c : cursors) {
        if (out.str().size()) out.line();
        out.line("[[cursor]]");
        writeFields(out, cursorLayout().fields, c.bytes(), page, {}, {"name"});
        writeRaw(out, cursorLayout(), c.bytes());
    }
    return out.str();
}

std::string musicToml(const std::vector<MusicRecord>& music, const CodePage& page) {
    TomlOut out;
    for (const MusicRecord& m : music) {
        if (out.str().size()) out.line();
        out.line("[[music]]");
        writeFields(out, musicLayout().fields, m.bytes(), page, {}, {"name", "file"});
        writeRaw(out, musicLayout(), m.bytes());
    }
    return out.str();
}

std::string roomToml(const StoredRoomRecord& room, const CodePage& page) {
    TomlOut out;
    writeFields(out, roomLayout().fields, room.bytes(), page, {}, {"name"});
    writeRaw(out, roomLayout(), room.bytes());
    writeTables(out, roomLayout(), room.bytes(), page);
    return out.str();
}

std::string objectToml(const ObjectRecord& o, const CodePage& page) {
    TomlOut out;
    writeFields(out, objectLayout().fields, o.bytes(), page, {}, {"name", "kind"});
    const std::string self = commonSelf(o);
    if (self != o.name()) out.text("self", textValue(self, page));
    writeRaw(out, objectLayout(), o.bytes());

    const SubTable& et = objectLayout().tables[0];
    auto eventUsed = [&](int e) {
        ConstEventView ev = o.event(e);
        if (subRecordUsed(et, ev.bytes())) return true;
        for (int c = 0; c < kCommandsPerEvent; ++c)
            if (!commandIsBlank(ev.bytes().subspan(kScriptOffset), c, self)) return true;
        return false;
    };
    int last = -1;
    for (int e = 0; e < kEventsPerObject; ++e)
        if (eventUsed(e)) last = e;
    for (int e = 0; e <= last; ++e) {
        ConstEventView ev = o.event(e);
        std::span<const uint8_t> b = ev.bytes();
        out.line();
        out.line("[[event]]");
        const std::string name = ev.name();
        std::set<std::string_view> skip;
        auto alias = [&](std::string_view field, std::string_view key, std::string_view event) {
            if (name != event) return;
            skip.insert(field);
            const Field& f = *findField(et.fields, field);
            if (holdsDefault(f, et.fields, b)) return;
            if (f.type == FieldType::Text)
                out.text(key, textValue(getText(f, b), page));
            else
                out.number(key, getNumber(f, b));
        };
        if (!name.empty()) out.text("name", textValue(name, page));
        skip.insert("name");
        if (!name.empty() && !knownEvent(name)) out.boolean("anyName", true);
        alias("param1", "item", "onusewith");
        alias("param1", "with", "transmute");
        alias("param2", "result", "transmute");
        alias("number", "key", "onkey");
        alias("number", "timer", "ontimer");
        writeFields(out, et.fields, b, page, skip);
        std::string script = formatScript(b.subspan(kScriptOffset), self, page);
        if (!script.empty()) out.block("script", script);
    }
    return out.str();
}

namespace {

// A file name for a name taken from the game: unsafe characters become "_".
std::string safeName(const std::string& recordText, const CodePage& page) {
    std::string out;
    for (char ch : recordText) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || ch == '/' || ch == '\\' || ch == ':' || ch == '*' ||
            ch == '?' || ch == '"' || ch == '<' || ch == '>' || ch == '|')
            out += '_';
        else
            out += fromRecordText(std::string_view(&ch, 1), page);
    }
    if (out.empty() || out == "." || out == ".." || out[0] == '.') out = "_" + out;
    return out;
}

// Names unique inside one folder, ignoring case (so the folder also works on systems
// that ignore case).
class NameSet {
  public:
    std::string take(const std::string& wanted, const std::string& ext = {}) {
        std::string name = wanted + ext;
        for (int n = 2; used_.count(toLowerAscii(name)); ++n)
            name = wanted + "~" + std::to_string(n) + ext;
        used_.insert(toLowerAscii(name));
        return name;
    }
    void reserve(const std::string& name) { used_.insert(toLowerAscii(name)); }

  private:
    std::set<std::string> used_;
};

// The [meta] table of game.toml, from which zelkin-pack writes "zelkin.toml" again.
std::string metaToml(const GameMetadata& meta) {
    TomlOut out;
    out.line("[meta]");
    if (!meta.id.empty()) out.text("id", meta.id);
    out.number("codePage", meta.codePage.number());
    if (!meta.voiceLanguage.empty()) out.text("voiceLanguage", meta.voiceLanguage);
    if (!meta.languages.empty()) {
        out.line("languages = [");
        for (const LanguageColumn& c : meta.languages)
            out.line("    { name = " + tomlString(c.name) + ", code = " + tomlString(c.code) +
                     " },");
        out.line("]");
    }
    return out.str();
}

std::string colorText(uint32_t c) {
    if (c <= 0xFFFFFF) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "\"#%02X%02X%02X\"", c & 0xFF, (c >> 8) & 0xFF,
                      (c >> 16) & 0xFF);
        return buf;
    }
    if (auto id = colorIdentifier(c)) return tomlString(*id);
    return std::to_string(c);
}

class SourceBuilder {
  public:
    SourceBuilder(SourceFolder& out, const CodePage& page) : out_(out), page_(page) {}
    void run(const PackageEntries& entries);

  private:
    void put(const std::string& path, std::vector<uint8_t> bytes) {
        out_.files[path] = std::move(bytes);
    }
    void put(const std::string& path, const std::string& text) {
        out_.files[path] = std::vector<uint8_t>(text.begin(), text.end());
    }
    void warn(const std::string& w) { out_.warnings.push_back(w); }
    NameSet& names(const std::string& folder) {
        auto [it, fresh] = folders_.try_emplace(folder);
        if (fresh) {
            it->second.reserve("pictures.toml");
            it->second.reserve("sounds.toml");
        }
        return it->second;
    }
    void pictureList(const std::string& folder, const std::string& listName,
                     const std::string& entry, const std::vector<uint8_t>& bytes);
    void waveList(const std::string& folder, const std::string& listName, const std::string& entry,
                  const std::vector<uint8_t>& bytes, bool defaultName);
    void copy(const std::string& folder, const std::string& file,
              const std::vector<uint8_t>& bytes) {
        put(folder + "/" + names(folder).take(utf8(file)), bytes);
    }
    void extra(const std::string& entry, const std::vector<uint8_t>& bytes);

    std::string safeName(const std::string& recordText) const {
        return tools::safeName(recordText, page_);
    }
    std::string utf8(const std::string& recordText) const {
        return fromRecordText(recordText, page_);
    }

    SourceFolder& out_;
    const CodePage page_;
    GameMetadata meta_;
    std::map<std::string, NameSet> folders_;
    std::map<std::string, std::string> picturesToml_, soundsToml_;
};

void SourceBuilder::extra(const std::string& entry, const std::vector<uint8_t>& bytes) {
    std::string path = "extra";
    size_t start = 0;
    while (start <= entry.size()) {
        size_t end = entry.find_first_of("\\/", start);
        std::string part =
            entry.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? entry.size() + 1 : end + 1;
        if (part.empty()) continue;
        path += "/" + safeName(part);
    }
    if (path == "extra") {
        warn("entry '" + utf8(entry) + "' has no usable name; it is not kept");
        return;
    }
    std::string back = path.substr(6);
    std::string same = utf8(entry);
    std::replace(same.begin(), same.end(), '\\', '/');
    if (back != same) warn("entry '" + utf8(entry) + "' is kept as '" + back + "'");
    put(path, bytes);
}

void SourceBuilder::pictureList(const std::string& folder, const std::string& listName,
                                const std::string& entry, const std::vector<uint8_t>& bytes) {
    PictureList list;
    try {
        list = readPictureList(bytes);
    } catch (const DataError& e) {
        warn("'" + entry + "' cannot be read (" + e.what() + "); it is kept as it is");
        copy(folder, listName, bytes);
        return;
    }
    // Every picture must be kept exactly; otherwise the list is kept as it is.
    struct Item {
        std::string file, ext;
        std::vector<uint8_t> bytes;
    };
    std::vector<Item> files;
    for (const PictureItem& item : list.items) {
        Item f;
        if (item.picture.hasPicture() && !item.picture.image.empty()) {
            auto b = pictureFile(item.picture, f.ext);
            if (!b || !pictureFromFile(item.picture.kind, *b)) {
                copy(folder, listName, bytes);
                return;
            }
            f.bytes = std::move(*b);
        }
        files.push_back(std::move(f));
    }
    NameSet& used = names(folder);
    const std::string base = safeName(fs::path(listName).stem().string());
    TomlOut t;
    t.line("[[list]]");
    t.text("name", utf8(listName));
    if (!allZero(list.colorTable)) {
        std::string hex;
        for (uint8_t b : list.colorTable) {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%02x", b);
            hex += buf;
        }
        t.text("colorTable", hex);
    }
    for (size_t i = 0; i < list.items.size(); ++i) {
        const PictureItem& item = list.items[i];
        Item& f = files[i];
        t.line("[[list.item]]");
        std::string defaultName;
        if (!f.bytes.empty()) {
            f.file =
                used.take(list.items.size() == 1 ? base : base + "-" + std::to_string(i), f.ext);
            t.text("image", f.file);
            defaultName = fs::path(f.file).stem().string();
            put(folder + "/" + f.file, std::move(f.bytes));
            const std::string defaultKind = f.ext == ".jpg" ? "TJPEGImage" : "TDIB";
            if (item.picture.kind != defaultKind) t.text("kind", item.picture.kind);
        } else if (item.picture.hasPicture()) {
            t.text("kind", item.picture.kind);  // an empty stored picture
        }
        if (item.name != defaultName) t.text("name", utf8(item.name));
        if (item.patternWidth) t.number("patternWidth", item.patternWidth);
        if (item.patternHeight) t.number("patternHeight", item.patternHeight);
        if (item.skipWidth) t.number("skipWidth", item.skipWidth);
        if (item.skipHeight) t.number("skipHeight", item.skipHeight);
        if (item.systemMemory) t.boolean("systemMemory", true);
        if (!item.transparent) t.boolean("transparent", false);
        if (item.transparentColor) t.value("transparentColor", colorText(item.transparentColor));
    }
    std::string& toml = picturesToml_[folder];
    if (!toml.empty()) toml += "\n";
    toml += t.str();
}

void SourceBuilder::waveList(const std::string& folder, const std::string& listName,
                             const std::string& entry, const std::vector<uint8_t>& bytes,
                             bool defaultName) {
    WaveList list;
    try {
        list = readWaveList(bytes);
    } catch (const DataError& e) {
        warn("'" + entry + "' cannot be read (" + e.what() + "); it is kept as it is");
        if (!defaultName)
            copy(folder, listName, bytes);
        else
            extra(entry, bytes);
        return;
    }
    if (!defaultName) {
        copy(folder, listName, bytes);
        return;
    }
    NameSet& used = names(folder);
    TomlOut t;
    for (const WaveItem& item : list.items) {
        const std::string stem = safeName(item.name.empty() ? "sound" : item.name);
        const std::string file = used.take(stem, ".wav");
        put(folder + "/" + file, wavFile(item.wave));
        if (!t.str().empty()) t.line();
        t.line("[[sound]]");
        t.text("file", file);
        if (fs::path(file).stem().string() != utf8(item.name)) t.text("name", utf8(item.name));
        if (item.looped) t.boolean("looped", true);
        if (item.maxPlayingCount) t.number("maxPlayingCount", item.maxPlayingCount);
    }
    soundsToml_[folder] = t.str();
}

void SourceBuilder::run(const PackageEntries& entries) {
    std::map<std::string, const std::vector<uint8_t>*> data;  // the data files, by lower-case name
    const std::vector<uint8_t>* languages = nullptr;
    for (const auto& [name, bytes] : entries) {
        std::vector<std::string> parts;
        size_t start = 0;
        while (start <= name.size()) {
            size_t end = name.find_first_of("\\/", start);
            parts.push_back(
                name.substr(start, end == std::string::npos ? std::string::npos : end - start));
            start = end == std::string::npos ? name.size() + 1 : end + 1;
        }
        std::string top = toLowerAscii(parts[0]);
        const std::string file = parts.back();
        const std::string ext = toLowerAscii(fs::path(file).extension().string());
        auto safe = [this](const std::string& p) { return !p.empty() && safeName(p) == utf8(p); };
        if (parts.size() == 1) {
            static const std::set<std::string> dataFiles = {
                "prefs.dat", "objects.dat", "rooms.dat", "cursors.dat", "music.dat", "inv.dat"};
            if (dataFiles.count(top) && !data.count(top)) {
                data[top] = &bytes;
            } else if (top == "zelkin.toml" && !meta_.present) {
                try {
                    meta_ = parseMetadata(std::string(bytes.begin(), bytes.end()));
                } catch (const DataError& e) {
                    warn(std::string(e.what()) + "; it is kept in extra/");
                    extra(name, bytes);
                }
            } else if (top == "languages.txt" && !out_.files.count("languages.txt")) {
                languages = &bytes;
            } else if (ext == ".dxg" && safe(file)) {
                pictureList("interface", file, name, bytes);
            } else if (ext == ".dxw" && safe(file)) {
                waveList("interface", file, name, bytes, top == "sounds.dxw");
            } else {
                extra(name, bytes);
            }
        } else if (parts.size() == 2 && top == "music" && safe(file)) {
            copy("music", file, bytes);
        } else if (parts.size() == 3 && (top == "objects" || top == "rooms" || top == "cursors") &&
                   safe(parts[1]) && safe(file) && (ext == ".dxg" || ext == ".dxw")) {
            const std::string folder = top + "/" + utf8(parts[1]);
            if (ext == ".dxg")
                pictureList(folder, file, name, bytes);
            else
                waveList(folder, file, name, bytes,
                         top == "objects" && toLowerAscii(file) == "waves.dxw");
        } else {
            extra(name, bytes);
        }
    }
    // With metadata the source's languages.txt is UTF-8, as the packer then reads it.
    if (languages) {
        if (meta_.present)
            put("languages.txt", utf8(std::string(languages->begin(), languages->end())));
        else
            put("languages.txt", *languages);
    }
    for (const auto& [folder, text] : picturesToml_) put(folder + "/pictures.toml", text);
    for (const auto& [folder, text] : soundsToml_)
        if (!text.empty()) put(folder + "/sounds.toml", text);

    // Records. Trailing empty records are counted instead of written.
    std::string records;
    auto trailing = [&](const char* key, size_t total, size_t kept) {
        if (total > std::max<size_t>(kept, 1))
            records += std::string(key) + " = " + std::to_string(total) + "\n";
    };
    auto get = [&](const char* name) -> const std::vector<uint8_t>* {
        auto it = data.find(name);
        return it == data.end() ? nullptr : it->second;
    };
    std::string order;
    auto named = [&]<typename Record>(const char* file, const char* folder, const char* key,
                                      auto toToml) {
        const auto* bytes = get(file);
        if (!bytes) return;
        std::string w;
        auto recs = splitRecords<Record>(*bytes, &w);
        if (!w.empty()) warn(std::string(file) + ": " + w);
        size_t kept = recs.size();
        while (kept > 0 && allZero(recs[kept - 1].bytes())) --kept;
        trailing(key, recs.size(), kept);
        NameSet& used = names(folder);
        std::vector<std::string> stems;
        for (size_t i = 0; i < kept; ++i) {
            std::string stem = recs[i].name().empty() ? "_empty" : safeName(recs[i].name());
            stem = fs::path(used.take(stem, ".toml")).stem().string();
            stems.push_back(stem);
            put(std::string(folder) + "/" + stem + ".toml", toToml(recs[i]));
        }
        if (!std::is_sorted(stems.begin(), stems.end())) {
            std::vector<std::string> quoted;
            for (const auto& s : stems) quoted.push_back(tomlString(s));
            std::string list;
            for (size_t i = 0; i < quoted.size(); ++i) list += (i ? ", " : "") + quoted[i];
            order += std::string(key) + " = [" + list + "]\n";
        }
    };
    named.template operator()<ObjectRecord>(
        "objects.dat", "objects", "objects",
        [this](const ObjectRecord& r) { return objectToml(r, page_); });
    named.template operator()<StoredRoomRecord>(
        "rooms.dat", "rooms", "rooms",
        [this](const StoredRoomRecord& r) { return roomToml(r, page_); });
    auto small = [&]<typename Record>(const char* file, const char* key,
                                      auto toToml) -> std::string {
        const auto* bytes = get(file);
        if (!bytes) return {};
        std::string w;
        auto recs = splitRecords<Record>(*bytes, &w);
        if (!w.empty()) warn(std::string(file) + ": " + w);
        size_t kept = recs.size();
        while (kept > 0 && allZero(recs[kept - 1].bytes())) --kept;
        trailing(key, recs.size(), kept);
        recs.resize(kept);
        return toToml(recs);
    };
    std::string cursors = small.template operator()<CursorRecord>(
        "cursors.dat", "cursors", [this](const auto& r) { return cursorsToml(r, page_); });
    if (!cursors.empty()) put("cursors.toml", cursors);
    std::string music = small.template operator()<MusicRecord>(
        "music.dat", "music", [this](const auto& r) { return musicToml(r, page_); });
    if (!music.empty()) put("music.toml", music);
    if (const auto* inv = get("inv.dat")) {
        std::string w;
        auto recs = splitRecords<InventoryRecord>(*inv, &w);
        if (recs.size() != 1) warn("inv.dat: only its first record is kept");
        if (!recs.empty()) put("inventory.toml", inventoryToml(recs[0], page_));
    }
    PreferencesRecord prefs;
    if (const auto* p = get("prefs.dat")) {
        auto recs = splitRecords<PreferencesRecord>(*p);
        if (recs.size() != 1) warn("prefs.dat: only its first record is kept");
        if (!recs.empty()) prefs = recs[0];
    } else {
        warn("the package has no prefs.dat; game.toml describes an empty one");
    }
    std::string game = preferencesToml(prefs, page_);
    if (meta_.present) game += "\n" + metaToml(meta_);
    if (!order.empty()) game += "\n[order]\n" + order;
    if (!records.empty()) game += "\n[records]\n" + records;
    put("game.toml", game);
}

}  // namespace

SourceFolder makeSourceFolder(const PackageEntries& entries) {
    SourceFolder out;
    SourceBuilder(out, packageCodePage(entries)).run(entries);
    return out;
}

void writeSourceFolder(const SourceFolder& source, const fs::path& dir) {
    std::error_code ec;
    if (fs::exists(dir) && !fs::is_empty(dir, ec))
        throw DataError("'" + dir.string() + "' is not empty; choose a new folder");
    for (const auto& [rel, bytes] : source.files) {
        const fs::path path = dir / fs::path(rel);
        fs::create_directories(path.parent_path(), ec);
        if (ec)
            throw DataError("Cannot create '" + path.parent_path().string() + "': " + ec.message());
        writeFileBytes(path, bytes);
    }
}

}  // namespace zk::tools
