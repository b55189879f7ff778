#include "pack.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "core/text.h"
#include "data/game_metadata.h"
#include "data/object_record.h"
#include "data/room_record.h"
#include "data/small_records.h"
#include "game_checks.h"
#include "layout.h"
#include "media_files.h"
#include "package/package_writer.h"
#include "platform/music_file.h"
#include "script.h"
#include "text_codec.h"
#include "toml_in.h"

namespace zk::tools {

namespace fs = std::filesystem;

namespace {

// A name that must exist somewhere once every file is read.
struct Reference {
    enum Kind { Template, Room, Entrance, Cursor, Music, MusicFile, Picture, Sound } kind;
    std::string a;  // the name (for Entrance and Sound: the room / the wave list)
    std::string b;  // Entrance: the entrance; Sound: the sound
    std::string file;
    int line = 0;
    std::string what;  // how the message names the referring value
};

template <typename Record>
struct Named {
    Record record;
    std::string file;
    int line = 0;
};

// The line where a multi-line string's text starts: TOML drops the line break that
// follows the opening quotes.
int firstTextLine(const SourceFile& f, const toml::node& n) {
    const auto& begin = n.source().begin;
    size_t line = 1, at = 0;
    while (line < begin.line && at < f.text.size()) {
        if (f.text[at] == '\n') ++line;
        ++at;
    }
    at += begin.column - 1;
    std::string_view rest = std::string_view(f.text).substr(std::min(at, f.text.size()));
    if (rest.starts_with("'''") || rest.starts_with("\"\"\"")) {
        rest.remove_prefix(3);
        if (rest.starts_with("\n") || rest.starts_with("\r\n")) return int(begin.line) + 1;
    }
    return int(begin.line);
}

const std::vector<Field>& eventFields() {
    return objectLayout().tables[0].fields;
}

// The names an event's own parameters may also be given under.
struct EventAlias {
    std::string_view key, field, event;
};
constexpr EventAlias kEventAliases[] = {{"item", "param1", "onusewith"},
                                        {"with", "param1", "transmute"},
                                        {"result", "param2", "transmute"},
                                        {"key", "number", "onkey"},
                                        {"timer", "number", "ontimer"}};

// One parsed command of an event script, with what its checks need to name it.
struct CheckedCommand {
    ConstCommandView cmd;
    const ScriptVerb& verb;
    std::string file;
    int line = 0;
    std::string ctx;   // names the event
    std::string self;  // the object "<self>" stands for

    std::string value(std::string_view field) const {
        return getText(*findField(commandFields(), field), cmd.bytes());
    }
    // The value of the verb's parameter named `param`.
    std::string valueOf(std::string_view param) const {
        for (const VerbParam& p : verb.params())
            if (p.name == param) return value(p.field);
        return {};
    }
    std::string resolve(const std::string& v) const { return v == "<self>" ? self : v; }
    // How a message names parameter `p`.
    std::string what(const VerbParam& p) const {
        return ctx + "'" + std::string(verb.name) + "' " + std::string(p.name);
    }
};

class Builder {
  public:
    Builder(fs::path root, Diagnostics& diag) : root_(std::move(root)), diag_(diag) {}

    void run(std::vector<PackageEntry>& entries);

  private:
    void readGame();
    void readMeta(const SourceFile& f, const toml::table& meta);
    std::vector<uint8_t> languageTable();
    void readCursors();
    void readMusic();
    void readInventory();
    void readRoom(const SourceFile& f, const std::string& stem);
    void readObject(const SourceFile& f, const std::string& stem);
    void readEvents(TableReader& r, ObjectRecord& o, const std::string& self);
    void checkKind(const TableReader& r, const ObjectRecord& o);
    void checkShownCommand(const CheckedCommand& c);
    void readEvent(const SourceFile& source, const toml::table& t, int index, std::span<uint8_t> ev,
                   const std::string& self);
    void readEventParam(TableReader& er, const toml::table& t, const std::string& name,
                        std::string_view field, std::span<uint8_t> ev);
    void checkEventParams(const TableReader& er, const std::string& name, ConstEventView view);
    void readScript(const TableReader& er, const toml::node& script, std::span<uint8_t> ev,
                    const std::string& self);
    void checkCommandParam(const CheckedCommand& c, const VerbParam& p);
    void checkPictureParam(const CheckedCommand& c, const VerbParam& p, const std::string& v);
    void checkFacingParam(const CheckedCommand& c, const std::string& v);
    void missing(const CheckedCommand& c, const VerbParam& p);
    void readTables(
        TableReader& r, const Layout& layout, std::span<uint8_t> bytes,
        const std::function<void(const SubTable&, int, TableReader&, std::span<uint8_t>)>& each);
    void applyRaw(TableReader& r, const Layout& layout, std::span<uint8_t> bytes);
    std::vector<std::string> orderedStems(const std::string& folder,
                                          const std::vector<std::string>& order,
                                          const std::string& what);
    void packAssets(std::vector<PackageEntry>& out);
    void packMusicAndExtras(std::vector<PackageEntry>& out);
    void checkReferences();
    void scalePlacements();
    void sortByFeet();
    void checkMeaning(const std::vector<PackageEntry>& assets);
    void shown(const std::string& key, std::string what, const std::string& file, int line) {
        if (!key.empty()) texts_.push_back({key, std::move(what), {file, line}});
    }

    void ref(Reference::Kind kind, std::string a, const std::string& file, int line,
             std::string what, std::string b = {}) {
        refs_.push_back({kind, std::move(a), std::move(b), file, line, std::move(what)});
    }
    void pictureRef(const std::string& folder, const std::string& owner, const std::string& list,
                    const std::string& file, int line, const std::string& what) {
        if (list.empty()) return;
        ref(Reference::Picture, folder + "\\" + owner + "\\" + list, file, line, what);
    }

    fs::path root_;
    Diagnostics& diag_;
    PreferencesRecord prefs_;
    InventoryRecord inventory_;
    std::vector<Named<CursorRecord>> cursors_;
    std::vector<Named<MusicRecord>> music_;
    std::vector<Named<ObjectRecord>> objects_;
    std::vector<Named<StoredRoomRecord>> rooms_;
    std::vector<std::string> objectOrder_, roomOrder_;
    std::map<std::string, int64_t> minRecords_;
    std::vector<Reference> refs_;
    AssetIndex assets_;
    std::set<std::string> musicFiles_;
    // For the meaning checks.
    std::vector<RoomPictures> roomPictures_;
    std::vector<RoomPoint> placements_;
    std::vector<std::string> placed_;     // the template each of placements_ places
    std::vector<RoomPoint> walkPoints_;   // of entrances: where the main character comes in
    std::vector<RoomPoint> zoneTargets_;  // walk points of the zones that lead somewhere
    struct ZoneArea {
        int64_t left, top, right, bottom;
        bool given;  // the source wrote its rect
        std::string what;
        SourceSpot at;
    };
    std::vector<ZoneArea> zoneAreas_;  // enabled zones that lead somewhere
    std::vector<ShownText> texts_;
    std::map<int, SourceSpot> languages_;
    std::optional<SourceSpot> itemAt_;      // an item: interface sounds 0 and 1 play
    std::optional<SourceSpot> combineAt_;   // a "transmute" event: sound 2 plays
    std::optional<SourceSpot> dialogueAt_;  // a "startdialog": the dialogue box is drawn
    int dialogImagesLine_ = 0;
    // "sortByFeet": for the game (game.toml), and for each object what it says and
    // which of the depth keys it writes itself.
    bool gameSortsByFeet_ = false;
    struct DepthKeys {
        std::optional<bool> sortByFeet;
        std::set<std::string> written;
    };
    std::vector<DepthKeys> depthKeys_;  // one per objects_ entry
    // Placements that do not write their scale: they take their template's.
    std::vector<std::pair<size_t, int>> unscaled_;  // room, placement
    int startOverrideLine_ = 0;
    bool hasGame_ = false;
    GameMetadata meta_;  // present when game.toml has a [meta] table
    CodePage page_;      // the code page of every record text
};

// The [meta] table of game.toml: what the package's "zelkin.toml" says about the game.
void Builder::readMeta(const SourceFile& f, const toml::table& meta) {
    meta_.present = true;
    TableReader r(f, meta, diag_, "meta: ");
    auto utf8 = [&](const toml::table& t, std::string_view key, const std::string& ctx) {
        const toml::node* n = t.get(key);
        if (!n) return std::string();
        if (!n->is_string()) {
            diag_.error(f.name, lineOf(*n), ctx + std::string(key) + " must be a text");
            return std::string();
        }
        return n->as_string()->get();
    };
    r.take("id");
    meta_.id = utf8(meta, "id", "meta: ");
    if (!meta_.id.empty() && !validGameId(meta_.id))
        r.error("id", "id '" + meta_.id +
                          "' must be 1 to 64 of A-Z, a-z, 0-9, '.', '_', '-' (it names files)");
    if (r.take("codePage")) {
        std::string known;
        for (int k : CodePage::known()) known += (known.empty() ? "" : ", ") + std::to_string(k);
        if (auto n = r.integer("codePage", 0, 65535)) {
            if (auto page = CodePage::byNumber(int(*n)))
                meta_.codePage = *page;
            else
                r.error("codePage", "codePage " + std::to_string(*n) + " is none of " + known);
        }
    }
    r.take("voiceLanguage");
    meta_.voiceLanguage = utf8(meta, "voiceLanguage", "meta: ");
    if (!validLanguageTag(meta_.voiceLanguage))
        r.error("voiceLanguage", "voiceLanguage '" + meta_.voiceLanguage +
                                     "' is not a language tag (\"en\", \"pt-BR\")");
    if (const toml::array* list = r.array("languages")) {
        for (size_t i = 0; i < list->size(); ++i) {
            const toml::node& item = *list->get(i);
            const toml::table* t = item.as_table();
            const std::string ctx = "meta: languages " + std::to_string(i) + ": ";
            if (!t) {
                diag_.error(f.name, lineOf(item), ctx + "write { name = \"...\", code = \"...\" }");
                continue;
            }
            TableReader lr(f, *t, diag_, ctx);
            lr.take("name");
            lr.take("code");
            LanguageColumn column{utf8(*t, "name", ctx), utf8(*t, "code", ctx)};
            if (!validLanguageTag(column.code))
                lr.error("code", "code '" + column.code + "' is not a language tag");
            lr.finish();
            meta_.languages.push_back(std::move(column));
        }
    }
    r.finish();
    page_ = meta_.codePage;
}

// "languages.txt" as the package holds it. It is written in UTF-8 like every other
// source file and stored in the game's code page (Windows-1252 without a [meta] table).
// A game without one may also keep it in Windows-1252, as such games always did: a
// table that is not UTF-8 (or plain ASCII) is copied as it is.
std::vector<uint8_t> Builder::languageTable() {
    std::optional<std::vector<uint8_t>> bytes = readFileBytes(root_ / "languages.txt");
    if (!bytes) return {};
    if (!meta_.present && !readsAsUtf8Letters(*bytes)) return std::move(*bytes);
    std::string text(bytes->begin(), bytes->end());
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);  // a byte-order mark
    // A table saved in the game's code page, as games without metadata keep theirs, is
    // no UTF-8: take it as it is rather than fail on every letter beyond ASCII.
    for (size_t at = 0, line = 1; at < text.size(); ++at) {
        if (text[at] == '\n') ++line;
        if (static_cast<unsigned char>(text[at]) < 0x80) continue;
        const Utf8Char c = decodeUtf8(text, at);
        if (c.length == 0) {
            diag_.warning("languages.txt", int(line),
                          "is not UTF-8; it is taken as " + codePageName(page_) +
                              " text as it is (save it as UTF-8 to have it converted)");
            return std::move(*bytes);
        }
        at += c.length - 1;
    }
    std::string out;
    int line = 1;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string bad;
        if (auto converted = toRecordText(std::string_view(text).substr(at, end - at), &bad, page_))
            out += *converted;
        else
            diag_.error(
                "languages.txt", line,
                "holds '" + bad + "', which a " + codePageName(page_) + " text cannot store");
        if (end < text.size()) out += '\n';
        at = end + 1;
        ++line;
    }
    return {out.begin(), out.end()};
}

void Builder::applyRaw(TableReader& r, const Layout& layout, std::span<uint8_t> bytes) {
    const toml::array* raw = r.array("raw");
    if (!raw) return;
    for (size_t i = 0; i < raw->size(); ++i) {
        const toml::node& n = *raw->get(i);
        const auto* s = n.as_string();
        if (!s) {
            r.error(lineOf(n), "raw lines must be texts \"OFFSET: HH HH ...\"");
            continue;
        }
        try {
            applyRawLine(layout, bytes, s->get());
        } catch (const std::invalid_argument& e) {
            r.error(lineOf(n), e.what());
        }
    }
}

void Builder::readTables(
    TableReader& r, const Layout& layout, std::span<uint8_t> bytes,
    const std::function<void(const SubTable&, int, TableReader&, std::span<uint8_t>)>& each) {
    for (const SubTable& t : layout.tables) {
        if (t.hasScript) continue;
        const toml::array* arr = r.array(t.key);
        if (!arr) continue;
        if (arr->size() > size_t(t.count)) {
            r.error(t.key, "a " + std::string(layout.what) + " holds at most " +
                               std::to_string(t.count) + " [[" + std::string(t.key) +
                               "]] entries, not " + std::to_string(arr->size()));
            continue;
        }
        for (size_t i = 0; i < arr->size(); ++i) {
            const toml::table* tt = arr->get(i)->as_table();
            if (!tt) {
                r.error(lineOf(*arr->get(i)), std::string(t.key) + " entries must be [[" +
                                                  std::string(t.key) + "]] tables");
                continue;
            }
            TableReader er(r.source(), *tt, diag_,
                           r.context() + std::string(t.key) + " " + std::to_string(i) + ": ");
            std::span<uint8_t> element = bytes.subspan(t.base + t.size * i, t.size);
            er.readFields(t.fields, element);
            if (each) each(t, int(i), er, element);
            er.finish();
        }
    }
}

void Builder::readGame() {
    auto f = loadToml(root_, "game.toml", diag_);
    if (!f) return;
    hasGame_ = true;
    if (const toml::node* meta = f->root.get("meta")) {
        if (const toml::table* t = meta->as_table())
            readMeta(*f, *t);
        else
            diag_.error(f->name, lineOf(*meta), "meta must be a table: [meta]");
    }
    f->codePage = page_;
    TableReader r(*f, f->root, diag_);
    r.take("meta");
    r.readFields(preferencesLayout().fields, prefs_.bytes());
    const std::string file = f->name;
    if (prefs_.mainCharacterName().empty())
        r.error("mainCharacterName",
                "mainCharacterName is missing: every game needs a main character");
    else
        ref(Reference::Template, prefs_.mainCharacterName(), file, r.line("mainCharacterName"),
            "mainCharacterName");
    if (!prefs_.startCursor().empty())
        ref(Reference::Cursor, prefs_.startCursor(), file, r.line("startCursor"), "startCursor");
    if (auto feet = r.boolean("sortByFeet")) gameSortsByFeet_ = *feet;
    startOverrideLine_ = r.line("startRoomOverride");
    dialogImagesLine_ = r.line("dialogImages");
    if (prefs_.startRoomOverride() != "<none>" && !prefs_.startRoomOverride().empty())
        ref(Reference::Room, prefs_.startRoomOverride(), file, r.line("startRoomOverride"),
            "startRoomOverride");
    if (const toml::table* order = r.table("order")) {
        TableReader o(*f, *order, diag_, "order: ");
        for (auto [key, out] :
             {std::pair{"objects", &objectOrder_}, std::pair{"rooms", &roomOrder_}}) {
            const toml::array* a = o.array(key);
            for (size_t i = 0; a && i < a->size(); ++i) {
                if (const auto* s = a->get(i)->as_string()) {
                    out->push_back(s->get());
                } else {
                    o.error(lineOf(*a->get(i)), std::string(key) + " lists file names in quotes");
                }
            }
        }
        o.finish();
    }
    if (const toml::table* records = r.table("records")) {
        TableReader o(*f, *records, diag_, "records: ");
        for (const char* key : {"objects", "rooms", "cursors", "music"})
            if (auto n = o.integer(key, 1,
                                   key == std::string("objects") ? 1000
                                   : key == std::string("rooms") ? 100000
                                                                 : 30))
                minRecords_[key] = *n;
        o.finish();
    }
    applyRaw(r, preferencesLayout(), prefs_.bytes());
    r.finish();
    languages_.emplace(prefs_.language(), SourceSpot{file, r.line("language")});
    for (int i = 0; i < 10; ++i)
        shown(prefs_.wrongSubjectText(i), "wrongSubjectTexts " + std::to_string(i), file,
              r.line("wrongSubjectTexts"));
}

void Builder::readCursors() {
    if (!fs::exists(root_ / "cursors.toml")) return;
    auto f = loadToml(root_, "cursors.toml", diag_, page_);
    if (!f) return;
    TableReader r(*f, f->root, diag_);
    if (const toml::array* arr = r.array("cursor")) {
        if (arr->size() > 30) r.error("cursor", "a game has at most 30 cursors");
        for (size_t i = 0; i < arr->size() && i < 30; ++i) {
            const toml::table* t = arr->get(i)->as_table();
            if (!t) continue;
            TableReader c(*f, *t, diag_, "cursor " + std::to_string(i) + ": ");
            Named<CursorRecord> n{{}, f->name, c.line()};
            c.readFields(cursorLayout().fields, n.record.bytes());
            if (!n.record.name().empty())
                pictureRef("cursors", n.record.name(), "sprite.dxg", f->name, c.line("name"),
                           "the pictures of cursor '" + n.record.name() + "'");
            applyRaw(c, cursorLayout(), n.record.bytes());
            c.finish();
            cursors_.push_back(std::move(n));
        }
    }
    r.finish();
}

void Builder::readMusic() {
    if (!fs::exists(root_ / "music.toml")) return;
    auto f = loadToml(root_, "music.toml", diag_, page_);
    if (!f) return;
    TableReader r(*f, f->root, diag_);
    if (const toml::array* arr = r.array("music")) {
        if (arr->size() > 30) r.error("music", "a game has at most 30 music tracks");
        for (size_t i = 0; i < arr->size() && i < 30; ++i) {
            const toml::table* t = arr->get(i)->as_table();
            if (!t) continue;
            TableReader m(*f, *t, diag_, "music " + std::to_string(i) + ": ");
            Named<MusicRecord> n{{}, f->name, m.line()};
            m.readFields(musicLayout().fields, n.record.bytes());
            if (!n.record.file().empty())
                ref(Reference::MusicFile, n.record.file(), f->name, m.line("file"), "music file");
            applyRaw(m, musicLayout(), n.record.bytes());
            m.finish();
            music_.push_back(std::move(n));
        }
    }
    r.finish();
}

void Builder::readInventory() {
    if (!fs::exists(root_ / "inventory.toml")) return;
    auto f = loadToml(root_, "inventory.toml", diag_, page_);
    if (!f) return;
    TableReader r(*f, f->root, diag_);
    r.readFields(inventoryLayout().fields, inventory_.bytes());
    readTables(r, inventoryLayout(), inventory_.bytes(),
               [&](const SubTable& t, int, TableReader& er, std::span<uint8_t> el) {
                   const std::string key = t.key == "slot" ? "item" : "name";
                   std::string v = getText(*findField(t.fields, key), el);
                   if (!v.empty())
                       ref(Reference::Template, v, f->name, er.line(key), er.context() + key);
               });
    applyRaw(r, inventoryLayout(), inventory_.bytes());
    r.finish();
}

void Builder::readRoom(const SourceFile& f, const std::string& stem) {
    Named<StoredRoomRecord> n{{}, f.name, 1};
    StoredRoomRecord& room = n.record;
    TableReader r(f, f.root, diag_);
    if (auto name = r.text("name", 30))
        room.setName(*name);
    else if (!r.has("name")) {
        auto s = toRecordText(stem, nullptr, page_);
        if (!s || s->size() > 30)
            r.error(1, "the file name '" + stem + "' cannot be a room name; give name = \"...\"");
        else
            room.setName(*s);
    }
    r.readFields(roomLayout().fields, room.bytes(), {"name"});
    const std::string rn = room.name();
    const std::string file = f.name;
    pictureRef("rooms", rn, room.background(), file, r.line("background"), "background");
    pictureRef("rooms", rn, room.maskFile(), file, r.line("maskFile"), "maskFile");
    roomPictures_.push_back({rn,
                             room.background(),
                             room.maskFile(),
                             room.isGameRoom() != 0,
                             {file, r.line("maskFile")}});
    shown(room.titleKey(), "titleKey", file, r.line("titleKey"));
    if (!room.music().empty()) ref(Reference::Music, room.music(), file, r.line("music"), "music");
    readTables(
        r, roomLayout(), room.bytes(),
        [&](const SubTable& t, int index, TableReader& er, std::span<uint8_t> el) {
            auto get = [&](std::string_view k) { return getText(*findField(t.fields, k), el); };
            auto num = [&](std::string_view k) {
                return int(getNumber(*findField(t.fields, k), el));
            };
            const std::string& ctx = er.context();
            // `what` names the point in messages: "entrance 0: walk-in point".
            auto point = [&](std::string_view x, std::string_view y, const std::string& what) {
                return RoomPoint{rn, num(x), num(y), what, {file, er.line(x)}};
            };
            if (t.key == "placement") {
                if (!get("name").empty()) {
                    ref(Reference::Template, get("name"), file, er.line("name"), ctx + "name");
                    placements_.push_back(point("x", "y", ctx + "'" + get("name") + "'"));
                    placed_.push_back(get("name"));
                    if (!er.has("scale")) unscaled_.emplace_back(rooms_.size(), index);
                }
            } else if (t.key == "zone") {
                shown(get("hintKey"), ctx + "hintKey", file, er.line("hintKey"));
                if (getNumber(*findField(t.fields, "enabled"), el) != 0 &&
                    !get("targetRoom").empty()) {
                    zoneTargets_.push_back(point("walkX", "walkY", ctx + "walk point"));
                    const Field& rect = *findField(t.fields, "rect");
                    zoneAreas_.push_back({getNumber(rect, el, 0),
                                          getNumber(rect, el, 1),
                                          getNumber(rect, el, 2),
                                          getNumber(rect, el, 3),
                                          er.has("rect"),
                                          ctx + "rect",
                                          {file, er.line("rect")}});
                }
                if (!get("cursor").empty())
                    ref(Reference::Cursor, get("cursor"), file, er.line("cursor"), ctx + "cursor");
                const bool enabled = getNumber(*findField(t.fields, "enabled"), el) != 0;
                if (get("targetRoom").empty()) {
                    if (enabled) er.error("targetRoom", "an enabled zone needs a targetRoom");
                } else {
                    ref(Reference::Room, get("targetRoom"), file, er.line("targetRoom"),
                        ctx + "targetRoom");
                    if (!get("targetEntrance").empty())
                        ref(Reference::Entrance, get("targetRoom"), file, er.line("targetEntrance"),
                            ctx + "targetEntrance", get("targetEntrance"));
                }
            } else if (t.key == "entrance") {
                static const std::set<std::string> facings = {"",     "<left>", "<right>",
                                                              "<up>", "<down>", "<nochange>"};
                if (!facings.count(get("facing")))
                    er.error("facing",
                             "facing '" + get("facing") +
                                 "' is none of <left>, <right>, <up>, <down>, <nochange>");
                walkPoints_.push_back(point("x", "y", ctx + "placement point"));
                walkPoints_.push_back(point("walkX", "walkY", ctx + "walk-in point"));
            }
        });
    applyRaw(r, roomLayout(), room.bytes());
    r.finish();
    rooms_.push_back(std::move(n));
}

void Builder::readObject(const SourceFile& f, const std::string& stem) {
    Named<ObjectRecord> n{{}, f.name, 1};
    ObjectRecord& o = n.record;
    TableReader r(f, f.root, diag_);
    if (auto name = r.text("name", 30))
        o.setName(*name);
    else if (!r.has("name")) {
        auto s = toRecordText(stem, nullptr, page_);
        if (!s || s->size() > 30)
            r.error(1,
                    "the file name '" + stem + "' cannot be an object name; give name = \"...\"");
        else
            o.setName(*s);
    }
    r.readFields(objectLayout().fields, o.bytes(), {"name"});
    std::string self = o.name();
    if (auto s = r.text("self", 30)) self = *s;
    const std::string on = o.name();
    const std::string file = f.name;
    const std::string folder = o.imageFolder() == "<self>" ? on : o.imageFolder();
    pictureRef("objects", folder, o.spriteFile(), file, r.line("spriteFile"), "spriteFile");
    pictureRef("objects", folder, o.clickMaskFile(), file, r.line("clickMaskFile"),
               "clickMaskFile");
    for (const char* key : {"iconFile", "spareSprite", "walkLeftSprite", "walkRightSprite",
                            "walkUpSprite", "walkDownSprite", "standLeftSprite", "standRightSprite",
                            "standUpSprite", "standDownSprite"})
        pictureRef("objects", on, getText(*findField(objectLayout().fields, key), o.bytes()), file,
                   r.line(key), key);
    if (!o.hoverCursor().empty())
        ref(Reference::Cursor, o.hoverCursor(), file, r.line("hoverCursor"), "hoverCursor");
    shown(o.displayNameKey(), "displayNameKey", file, r.line("displayNameKey"));
    checkKind(r, o);
    DepthKeys depth;
    depth.sortByFeet = r.boolean("sortByFeet");
    for (const char* key : {"depth", "fixedDepth", "depthBehind", "depthInFront", "baseLineOffset"})
        if (r.has(key)) depth.written.insert(key);
    depthKeys_.push_back(std::move(depth));
    readEvents(r, o, self);
    applyRaw(r, objectLayout(), o.bytes());
    r.finish();
    objects_.push_back(std::move(n));
}

// Items and characters that lack the pictures the engine turns to while playing.
void Builder::checkKind(const TableReader& r, const ObjectRecord& o) {
    const std::string kind = o.kind();
    if (kind == "subject" || kind == "weapon") {
        if (!itemAt_) itemAt_ = SourceSpot{r.file(), r.line("kind")};
        if (o.iconFile().empty())
            diag_.warning(r.file(), r.line("kind"),
                          "an item (kind \"" + kind +
                              "\") needs iconFile, the picture it shows on the cursor and in the "
                              "inventory: picking it up fails without one");
    }
    if (kind != "character") return;
    const std::pair<std::string, std::string> sides[] = {
        {o.walkLeftSprite(), o.standLeftSprite()},
        {o.walkRightSprite(), o.standRightSprite()},
        {o.walkUpSprite(), o.standUpSprite()},
        {o.walkDownSprite(), o.standDownSprite()}};
    const char* names[] = {"Left", "Right", "Up", "Down"};
    bool anyStanding = false;
    for (const auto& [walk, stand] : sides) anyStanding |= !stand.empty();
    if (!anyStanding)
        diag_.warning(r.file(), r.line("kind"),
                      "a character needs its standing pictures (standLeftSprite, "
                      "standRightSprite, standUpSprite, standDownSprite): it turns to one "
                      "whenever it stops, and shows nothing without it");
    for (int d = 0; d < 4 && anyStanding; ++d)
        if (!sides[d].first.empty() && sides[d].second.empty())
            diag_.warning(r.file(), r.line("walk" + std::string(names[d]) + "Sprite"),
                          "walk" + std::string(names[d]) + "Sprite is set but stand" + names[d] +
                              "Sprite is not: the character vanishes when it stops "
                              "after walking that way");
}

void Builder::readEvents(TableReader& r, ObjectRecord& o, const std::string& self) {
    // Every command names its owner, also in events the object does not use.
    for (int e = 0; e < kEventsPerObject; ++e)
        for (int c = 0; c < kCommandsPerEvent; ++c) o.event(e).command(c).setSelf(self);
    const toml::array* arr = r.array("event");
    if (!arr) return;
    if (arr->size() > size_t(kEventsPerObject)) {
        r.error("event", "an object holds at most 10 events, not " + std::to_string(arr->size()));
        return;
    }
    for (size_t i = 0; i < arr->size(); ++i) {
        if (const toml::table* t = arr->get(i)->as_table())
            readEvent(r.source(), *t, int(i), o.event(int(i)).bytes(), self);
        else
            r.error(lineOf(*arr->get(i)), "events must be [[event]] tables");
    }
}

void Builder::readEvent(const SourceFile& source, const toml::table& t, int index,
                        std::span<uint8_t> ev, const std::string& self) {
    TableReader er(source, t, diag_, "event " + std::to_string(index) + ": ");
    er.readFields(eventFields(), ev, {"param1", "param2", "number"});
    const std::string name = ConstEventView(ev).name();
    const bool anyName = er.boolean("anyName").value_or(false);
    if (!name.empty() && !knownEvent(name) && !anyName) {
        std::string msg = "unknown event name '" + name + "'";
        std::string near =
            suggestion(name, std::vector<std::string>(kEventNames.begin(), kEventNames.end()));
        if (!near.empty()) msg += " (did you mean '" + near + "'?)";
        er.error("name", msg);
    }
    for (std::string_view field : {"param1", "param2", "number"})
        readEventParam(er, t, name, field, ev);
    checkEventParams(er, name, ConstEventView(ev));
    if (const toml::node* s = er.take("script")) readScript(er, *s, ev, self);
    er.finish();
}

void Builder::readEventParam(TableReader& er, const toml::table& t, const std::string& name,
                             std::string_view field, std::span<uint8_t> ev) {
    std::vector<std::string_view> given;
    if (er.take(field)) given.push_back(field);
    for (const EventAlias& a : kEventAliases) {
        if (a.field != field || !er.take(a.key)) continue;
        if (a.event != name)
            er.error(a.key, "'" + std::string(a.key) + "' belongs to \"" + std::string(a.event) +
                                "\" events; write " + std::string(field) + " = ...");
        else
            given.push_back(a.key);
    }
    if (given.size() > 1) {
        er.error(given[1], "'" + std::string(given[0]) + "' and '" + std::string(given[1]) +
                               "' set the same field");
        return;
    }
    if (given.empty()) return;
    const Field& f = *findField(eventFields(), field);
    const toml::node& n = *t.get(given[0]);
    if (f.type == FieldType::Text) {
        if (auto s = er.textOf(n, given[0], f.cap)) setText(f, ev, *s);
    } else if (auto v = er.integerOf(n, given[0], -32768, 32767)) {
        setNumber(f, ev, *v);
    }
}

void Builder::checkEventParams(const TableReader& er, const std::string& name,
                               ConstEventView view) {
    const std::string& file = er.file();
    const std::string& ctx = er.context();
    if (name == "onusewith" && !view.param1().empty())
        ref(Reference::Template, view.param1(), file, er.line("item"), ctx + "item");
    if (name == "transmute") {
        if (!combineAt_) combineAt_ = SourceSpot{file, er.line("name")};
        if (!view.param1().empty())
            ref(Reference::Template, view.param1(), file, er.line("with"), ctx + "with");
        if (!view.param2().empty())
            ref(Reference::Template, view.param2(), file, er.line("result"), ctx + "result");
    }
    if (name == "onkey" && (view.number() < 0 || view.number() > 4))
        diag_.warning(file, er.line("key"),
                      ctx + "key " + std::to_string(view.number()) +
                          " is none of 0 Space, 1 Enter, 2 Escape, 3 F4, 4 F10");
    if (name == "ontimer" && (view.number() < 0 || view.number() > 9))
        diag_.warning(
            file, er.line("timer"),
            ctx + "timer " + std::to_string(view.number()) + " is outside 0..9; it never fires");
}

void Builder::readScript(const TableReader& er, const toml::node& script, std::span<uint8_t> ev,
                         const std::string& self) {
    if (!script.is_string()) {
        er.error("script", "script must be a text (use ''' ... ''' for several lines)");
        return;
    }
    const std::vector<ScriptCommand> commands =
        parseScript(script.as_string()->get(), firstTextLine(er.source(), script), er.file(),
                    er.context(), ev.subspan(kScriptOffset), self, diag_, page_);
    for (const ScriptCommand& sc : commands) {
        const CheckedCommand c{ConstCommandView(std::span<const uint8_t>(ev).subspan(
                                   kScriptOffset + kCommandBytes * size_t(sc.position))),
                               *sc.verb,
                               er.file(),
                               sc.line,
                               er.context(),
                               self};
        for (const VerbParam& p : sc.verb->params())
            if (p.ref != ParamRef::None) checkCommandParam(c, p);
        checkShownCommand(c);
    }
}

// The texts a command shows, the languages it picks and the interface sounds it plays.
void Builder::checkShownCommand(const CheckedCommand& c) {
    const std::string_view verb = c.verb.name;
    if (verb == "showhint") {
        shown(c.value("text"), c.ctx + "'showhint' text", c.file, c.line);
    } else if (verb == "startdialog") {
        if (!dialogueAt_) dialogueAt_ = SourceSpot{c.file, c.line};
        shown(c.value("p3"), c.ctx + "'startdialog' question", c.file, c.line);
        const std::string choices = c.value("text");
        size_t at = 0;
        for (size_t hash; (hash = choices.find('#', at)) != std::string::npos; at = hash + 1)
            shown(choices.substr(at, hash - at), c.ctx + "'startdialog' choice", c.file, c.line);
        if (at < choices.size())
            diag_.warning(c.file, c.line,
                          c.ctx + "'startdialog' choices end in '" +
                              fromRecordText(choices.substr(at), page_) +
                              "' without a closing '#': that last choice is dropped; end every "
                              "choice with '#' (\"Yes#No#\")");
    } else if (verb == "setlanguage") {
        languages_.emplace(int(getNumber(*findField(commandFields(), "num1"), c.cmd.bytes())),
                           SourceSpot{c.file, c.line});
    } else if (verb == "addobj" && c.value("p4") != "room" && !itemAt_) {
        itemAt_ = SourceSpot{c.file, c.line};
    }
}

void Builder::checkCommandParam(const CheckedCommand& c, const VerbParam& p) {
    const std::string v = c.value(p.field);
    const std::string what = c.what(p);
    switch (p.ref) {
        case ParamRef::Object:
        case ParamRef::Template:
            if (v.empty())
                missing(c, p);
            else if (!(p.ref == ParamRef::Object && v == "<self>"))
                ref(Reference::Template, v, c.file, c.line, what);
            break;
        case ParamRef::Room:
            // "addobj" into the inventory needs no room.
            if (v.empty()) {
                if (c.verb.name != "addobj" || c.value("p4") == "room") missing(c, p);
            } else if (v != "<actual>") {
                ref(Reference::Room, v, c.file, c.line, what);
            }
            break;
        case ParamRef::Entrance: {
            const std::string room = c.valueOf("room");
            if (!v.empty() && !room.empty() && room != "<actual>")
                ref(Reference::Entrance, room, c.file, c.line, what, v);
            break;
        }
        case ParamRef::Cursor:
            if (v.empty())
                missing(c, p);
            else
                ref(Reference::Cursor, v, c.file, c.line, what);
            break;
        case ParamRef::Music:
            if (!v.empty()) ref(Reference::Music, v, c.file, c.line, what);
            break;
        case ParamRef::Sound:
            if (v.empty())
                missing(c, p);
            else
                ref(Reference::Sound, "objects\\" + c.resolve(c.value("p1")) + "\\waves.dxw",
                    c.file, c.line, what, v);
            break;
        case ParamRef::Picture:
            checkPictureParam(c, p, v);
            break;
        case ParamRef::Facing:
            checkFacingParam(c, v);
            break;
        case ParamRef::None:
            break;
    }
}

void Builder::missing(const CheckedCommand& c, const VerbParam& p) {
    diag_.error(c.file, c.line,
                c.ctx + "'" + std::string(c.verb.name) + "' needs its " + std::string(p.name));
}

void Builder::checkPictureParam(const CheckedCommand& c, const VerbParam& p, const std::string& v) {
    if (v.empty()) {
        missing(c, p);
    } else if (c.verb.name == "changebg") {
        const std::string room = c.value("p1");
        if (!room.empty() && room != "<actual>")
            pictureRef("rooms", room, v, c.file, c.line, c.what(p));
    } else {
        const std::string owner = c.resolve(c.value(c.verb.name == "startdialog" ? "p1" : "p2"));
        if (!owner.empty()) pictureRef("objects", owner, v, c.file, c.line, c.what(p));
    }
}

void Builder::checkFacingParam(const CheckedCommand& c, const std::string& v) {
    static const std::set<std::string> walk = {"",     "<left>", "<right>",
                                               "<up>", "<down>", "<nochange>"};
    static const std::set<std::string> stand = {"<left>", "<right>", "<up>", "<down>"};
    const bool standing = c.verb.name == "setcharspr";
    if (!(standing ? stand : walk).count(v))
        diag_.error(c.file, c.line,
                    c.ctx + "'" + std::string(c.verb.name) + "' facing '" + v + "' is none of " +
                        (standing ? "<left>, <right>, <up>, <down>"
                                  : "<left>, <right>, <up>, <down>, <nochange>"));
}

std::vector<std::string> Builder::orderedStems(const std::string& folder,
                                               const std::vector<std::string>& order,
                                               const std::string& what) {
    std::vector<std::string> stems;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(root_ / folder, ec))
        if (e.is_regular_file() && e.path().extension() == ".toml")
            stems.push_back(e.path().stem().string());
    std::sort(stems.begin(), stems.end());
    std::vector<std::string> out;
    for (const std::string& s : order) {
        auto it = std::find(stems.begin(), stems.end(), s);
        if (it == stems.end()) {
            diag_.error("game.toml", 0,
                        "[order] " + what + " names '" + s + "', but there is no " + folder + "/" +
                            s + ".toml");
        } else if (std::find(out.begin(), out.end(), s) != out.end()) {
            diag_.error("game.toml", 0, "[order] " + what + " names '" + s + "' twice");
        } else {
            out.push_back(s);
        }
    }
    for (const std::string& s : stems)
        if (std::find(out.begin(), out.end(), s) == out.end()) out.push_back(s);
    return out;
}

void Builder::packAssets(std::vector<PackageEntry>& out) {
    auto folders = [&](const std::string& top) {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(root_ / top, ec))
            if (e.is_directory()) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    if (fs::is_directory(root_ / "interface"))
        packAssetFolder({root_, "interface", "", "sounds.dxw", nullptr, page_}, diag_, out,
                        assets_);
    for (const std::string& c : folders("cursors"))
        packAssetFolder({root_, "cursors/" + c, "cursors\\" + entryText(c, page_) + "\\",
                         "waves.dxw", nullptr, page_},
                        diag_, out, assets_);
    for (const std::string& o : folders("objects"))
        packAssetFolder({root_, "objects/" + o, "objects\\" + entryText(o, page_) + "\\",
                         "waves.dxw", nullptr, page_},
                        diag_, out, assets_);
    for (const std::string& rname : folders("rooms")) {
        std::string mask;
        for (const auto& r : rooms_)
            if (r.record.name() == entryText(rname, page_)) mask = r.record.maskFile();
        auto role = [mask](const std::string& list) {
            return equalsIgnoreCase(list, mask) ? PictureRole::WalkMask : PictureRole::Background;
        };
        packAssetFolder({root_, "rooms/" + rname, "rooms\\" + entryText(rname, page_) + "\\",
                         "waves.dxw", role, page_},
                        diag_, out, assets_);
    }
}

void Builder::packMusicAndExtras(std::vector<PackageEntry>& out) {
    std::error_code ec;
    std::vector<fs::path> music;
    for (const auto& e : fs::directory_iterator(root_ / "music", ec))
        if (e.is_regular_file()) music.push_back(e.path());
    std::sort(music.begin(), music.end());
    for (const fs::path& p : music) {
        auto bytes = readFileBytes(p);
        const std::string name = p.filename().string();
        if (!bytes) {
            diag_.error("music/" + name, 0, "cannot be read");
            continue;
        }
        const MusicCheck check = checkMusic(
            std::span<const uint8_t>(*bytes).first(std::min(bytes->size(), kMusicHeadBytes)));
        if (!check.refusal.empty())
            diag_.error("music/" + name, 0, "cannot be played as music: " + check.refusal);
        musicFiles_.insert(entryText(name, page_));
        const std::string ext = toLowerAscii(p.extension().string());
        const bool compressed = ext == ".ogg" || ext == ".mp3" || ext == ".flac" || ext == ".opus";
        out.push_back({"music\\" + entryText(name, page_), std::move(*bytes), !compressed});
    }
    if (fs::is_directory(root_ / "extra")) {
        std::vector<fs::path> extra;
        for (auto it = fs::recursive_directory_iterator(root_ / "extra", ec);
             it != fs::recursive_directory_iterator(); it.increment(ec))
            if (it->is_regular_file()) extra.push_back(it->path());
        std::sort(extra.begin(), extra.end());
        for (const fs::path& p : extra) {
            std::string name = fs::relative(p, root_ / "extra").generic_string();
            std::replace(name.begin(), name.end(), '/', '\\');
            auto bytes = readFileBytes(p);
            if (!bytes) {
                diag_.error("extra/" + name, 0, "cannot be read");
                continue;
            }
            out.push_back({entryText(name, page_), std::move(*bytes), true});
        }
    }
}

void Builder::checkReferences() {
    std::set<std::string> templates, rooms, cursors, music;
    std::map<std::string, std::set<std::string>> entrances;
    for (const auto& o : objects_) templates.insert(o.record.name());
    for (const auto& r : rooms_) {
        rooms.insert(r.record.name());
        for (int i = 0; i < kEntrancesPerRoom; ++i)
            if (!r.record.entrance(i).name().empty())
                entrances[r.record.name()].insert(r.record.entrance(i).name());
    }
    for (const auto& c : cursors_) cursors.insert(c.record.name());
    for (const auto& m : music_) music.insert(m.record.name());
    // " (did you mean 'x'?)" when one of the names is a likely typo of `name`.
    auto near = [](const std::string& name, const auto& names) {
        const std::string s =
            suggestion(name, std::vector<std::string>(names.begin(), names.end()));
        return s.empty() ? std::string() : " (did you mean '" + s + "'?)";
    };
    for (const Reference& r : refs_) {
        const std::string& what = r.what;
        switch (r.kind) {
            case Reference::Template:
                if (!templates.count(r.a))
                    diag_.reference(r.file, r.line,
                                    what + ": there is no object template '" + r.a + "'" +
                                        near(r.a, templates));
                break;
            case Reference::Room:
                if (!rooms.count(r.a))
                    diag_.reference(r.file, r.line,
                                    what + ": there is no room '" + r.a + "'" + near(r.a, rooms));
                break;
            case Reference::Entrance:
                if (rooms.count(r.a) && !entrances[r.a].count(r.b))
                    diag_.reference(r.file, r.line,
                                    what + ": room '" + r.a + "' has no entrance '" + r.b + "'" +
                                        near(r.b, entrances[r.a]));
                break;
            case Reference::Cursor:
                if (!cursors.count(r.a))
                    diag_.reference(r.file, r.line,
                                    what + ": there is no cursor '" + r.a + "' in cursors.toml" +
                                        near(r.a, cursors));
                break;
            case Reference::Music:
                if (!music.count(r.a))
                    diag_.reference(r.file, r.line,
                                    what + ": there is no music '" + r.a + "' in music.toml" +
                                        near(r.a, music));
                break;
            case Reference::MusicFile:
                if (!musicFiles_.count(r.a)) {
                    std::string msg = what + ": there is no file 'music/" + r.a + "'";
                    for (const std::string& f : musicFiles_)
                        if (equalsIgnoreCase(f, r.a))
                            msg += " (there is '" + f + "': names are case-sensitive)";
                    diag_.reference(r.file, r.line, msg);
                }
                break;
            case Reference::Picture:
                if (!assets_.pictureLists.count(entryKey(r.a, page_))) {
                    std::string path = r.a;
                    std::replace(path.begin(), path.end(), '\\', '/');
                    const std::string folder = fs::path(path).parent_path().generic_string();
                    const std::string list = fs::path(path).filename().string();
                    const std::string prefix = entryKey(r.a.substr(0, r.a.rfind('\\') + 1), page_);
                    std::vector<std::string> lists;
                    for (const std::string& k : assets_.pictureLists)
                        if (k.starts_with(prefix) &&
                            k.find('\\', prefix.size()) == std::string::npos)
                            lists.push_back(k.substr(prefix.size()));
                    diag_.reference(r.file, r.line,
                                    what + ": there is no picture list '" + list + "' in " +
                                        folder + "/ (from " + fs::path(list).stem().string() +
                                        ".png or pictures.toml)" + near(page_.lower(list), lists));
                }
                break;
            case Reference::Sound: {
                auto it = assets_.sounds.find(entryKey(r.a, page_));
                if (it == assets_.sounds.end() ||
                    std::find(it->second.begin(), it->second.end(), r.b) == it->second.end()) {
                    std::string folder = r.a.substr(0, r.a.rfind('\\'));
                    std::replace(folder.begin(), folder.end(), '\\', '/');
                    diag_.reference(
                        r.file, r.line,
                        what + ": there is no sound '" + r.b + "' in " + folder + "/" +
                            (it == assets_.sounds.end() ? std::string() : near(r.b, it->second)));
                }
                break;
            }
        }
    }
}

// A placement that does not write its scale is drawn at its template's (the later
// template of a name, as placements pick it), not at the record's 100.
void Builder::scalePlacements() {
    for (const auto& [room, index] : unscaled_) {
        PlacementView p = rooms_[room].record.placement(index);
        for (auto o = objects_.rbegin(); o != objects_.rend(); ++o)
            if (o->record.name() == p.name()) {
                p.setScale(o->record.scale());
                break;
            }
    }
}

// An object sorted by its feet is drawn behind the main character while the main
// character's feet are above its own, in front of it below: the four depth keys that
// say so, around the main character's depth, where the object does not write them.
void Builder::sortByFeet() {
    const std::string hero = prefs_.mainCharacterName();
    int64_t heroDepth = 0;
    for (const auto& o : objects_)
        if (o.record.name() == hero) {
            heroDepth = o.record.depth();
            break;
        }
    for (size_t i = 0; i < objects_.size() && i < depthKeys_.size(); ++i) {
        ObjectRecord& o = objects_[i].record;
        const DepthKeys& keys = depthKeys_[i];
        const bool feet = keys.sortByFeet.value_or(gameSortsByFeet_ && o.kind() != "character" &&
                                                   o.name() != hero);
        if (!feet) continue;
        auto unset = [&](const char* key) { return !keys.written.count(key); };
        if (unset("fixedDepth")) o.setFixedDepth(0);
        if (unset("baseLineOffset")) o.setBaseLineOffset(int16_t(o.anchorY()));
        if (unset("depthBehind")) o.setDepthBehind(int16_t(heroDepth - 1));
        if (unset("depthInFront")) o.setDepthInFront(int16_t(heroDepth + 1));
        if (unset("depth")) o.setDepth(o.depthInFront());
    }
}

void Builder::checkMeaning(const std::vector<PackageEntry>& assets) {
    // Where characters stand or walk: the main character, characters that walk, the
    // entrances it comes in by and the walk points of the zones it leaves by.
    std::vector<RoomPoint> points = walkPoints_;
    const std::string hero = prefs_.mainCharacterName();
    for (size_t i = 0; i < placements_.size(); ++i) {
        const ObjectRecord* t = nullptr;
        for (const auto& o : objects_)
            if (!t && o.record.name() == placed_[i]) t = &o.record;
        const bool walks =
            t && t->kind() == "character" &&
            !(t->walkLeftSprite() + t->walkRightSprite() + t->walkUpSprite() + t->walkDownSprite())
                 .empty();
        if (placed_[i] == hero || walks) points.push_back(placements_[i]);
    }
    // In a start room that does not place it, the main character stands at the x and y
    // of its object, (0, 0) unless the object sets them.
    const std::string start = prefs_.startRoomOverride();
    bool startPlaces = false;
    for (size_t i = 0; i < placements_.size(); ++i)
        startPlaces |= placements_[i].room == start && placed_[i] == hero;
    if (start != "<none>" && !start.empty() && !startPlaces)
        for (const auto& o : objects_)
            if (o.record.name() == hero) {
                points.push_back(
                    {start,
                     o.record.x(),
                     o.record.y(),
                     "startRoomOverride: the main character's start at its object's x, y",
                     {"game.toml", startOverrideLine_}});
                break;
            }
    // A zone's walk ends where the path finder ends it, on even pixels; its room change
    // waits for the walk to end exactly at the walk point, so an odd one never changes room.
    auto gameRoom = [&](const std::string& name) {
        for (const RoomPictures& r : roomPictures_)
            if (r.name == name) return r.gameRoom;
        return false;
    };
    for (const RoomPoint& z : zoneTargets_) {
        if ((z.x % 2 == 0 && z.y % 2 == 0) || !gameRoom(z.room)) {
            points.push_back(z);
            continue;
        }
        diag_.warning(z.at.file, z.at.line,
                      z.what + " (" + std::to_string(z.x) + ", " + std::to_string(z.y) +
                          ") has an odd coordinate: walks end on even pixels, so the zone never "
                          "changes room; use (" +
                          std::to_string(z.x - z.x % 2) + ", " + std::to_string(z.y - z.y % 2) +
                          ")");
    }
    checkRoomGeometry(roomPictures_, points, assets, page_, diag_);
    // A zone is clicked on the display, shifted by the inventory's scene offset; its
    // rectangle includes its edges.
    const int64_t ox = inventory_.sceneOffsetX(), oy = inventory_.sceneOffsetY();
    const int64_t w = prefs_.displayWidth(), h = prefs_.displayHeight();
    for (const ZoneArea& z : zoneAreas_) {
        std::string why;
        if (!z.given)
            why =
                "is not given, so the zone is the one pixel (0, 0); write rect = [left, top, "
                "right, bottom]";
        else if (z.right < z.left || z.bottom < z.top)
            why =
                "has its right below its left or its bottom above its top: the zone holds no "
                "pixel and can never be clicked";
        else if (z.right + ox < 0 || z.left + ox > w - 1 || z.bottom + oy < 0 || z.top + oy > h - 1)
            why = "lies outside the " + std::to_string(w) + "x" + std::to_string(h) +
                  " display: the zone can never be clicked";
        if (!why.empty()) diag_.warning(z.at.file, z.at.line, z.what + " " + why);
    }
    // The main character is placed at an entrance and walks on to its walk-in point;
    // outside the display it is out of sight and its clicks never land there.
    for (const RoomPoint& p : walkPoints_)
        if (p.x + ox < 0 || p.x + ox > w - 1 || p.y + oy < 0 || p.y + oy > h - 1)
            diag_.warning(p.at.file, p.at.line,
                          p.what + " (" + std::to_string(p.x) + ", " + std::to_string(p.y) +
                              ") lies outside the " + std::to_string(w) + "x" + std::to_string(h) +
                              " display: the main character arrives out of sight");
    const std::string box = prefs_.dialogImages();
    if (dialogueAt_ && box != "true" && box != "false")
        diag_.warning("game.toml", dialogImagesLine_,
                      "dialogImages is \"" + fromRecordText(box, page_) +
                          "\": the dialogues (as at " + dialogueAt_->file + ":" +
                          std::to_string(dialogueAt_->line) +
                          ") get no box behind their texts; write dialogImages = false for a "
                          "black box or true for interface/dlg.png, or leave the key out");

    // The interface sounds are played by their number in interface/sounds.dxw.
    auto it = assets_.sounds.find(entryKey("sounds.dxw", page_));
    const size_t count = it == assets_.sounds.end() ? 0 : it->second.size();
    auto needSound = [&](size_t n, const std::optional<SourceSpot>& why, const std::string& use) {
        if (!why || count > n) return;
        diag_.warning("interface", 0,
                      "interface sound " + std::to_string(n) + " (" + use +
                          ") is missing: the game plays it (" + why->file + ":" +
                          std::to_string(why->line) +
                          " makes it) and reports an error without it; "
                          "interface/sounds.toml lists sounds 0 (an item taken), 1 (an item "
                          "laid into the inventory) and 2 (two items combined) in that order");
    };
    needSound(0, itemAt_, "an item taken onto the cursor");
    needSound(1, itemAt_, "an item laid into an inventory slot");
    needSound(2, combineAt_, "two items combined");
}

template <typename Records>
std::vector<uint8_t> recordFile(const Records& records, size_t recordSize, int64_t minimum) {
    std::vector<uint8_t> out;
    for (const auto& r : records)
        out.insert(out.end(), r.record.bytes().begin(), r.record.bytes().end());
    // The engine cannot read a data file shorter than one record.
    const size_t count = std::max<size_t>({records.size(), size_t(std::max<int64_t>(minimum, 1))});
    out.resize(count * recordSize, 0);
    return out;
}

// Files and folders that nothing reads are most likely misnamed: say so.
void warnUnused(const fs::path& root, Diagnostics& diag) {
    static const std::set<std::string> known = {
        "game.toml", "inventory.toml", "cursors.toml", "music.toml", "languages.txt",
        "music",     "interface",      "cursors",      "objects",    "rooms",
        "extra",     "tests",      // input scripts of headless test runs, not packed
        "icon.svg",  "icon.png"};  // the icon of a bundle (zelkin-pack --bundle)
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(root, ec)) {
        const std::string name = e.path().filename().string();
        if (!known.count(name) && name[0] != '.')
            diag.warning(name, 0, "is not part of a source folder; it is not used");
    }
    for (const char* folder : {"objects", "rooms"})
        for (const auto& e : fs::directory_iterator(root / folder, ec))
            if (e.is_regular_file() && e.path().extension() != ".toml" &&
                e.path().filename().string()[0] != '.')
                diag.warning(std::string(folder) + "/" + e.path().filename().string(), 0,
                             "is not used: pictures and sounds go into the folder of their " +
                                 std::string(folder == std::string("objects") ? "object" : "room"));
}

void Builder::run(std::vector<PackageEntry>& entries) {
    readGame();
    if (!hasGame_) return;
    warnUnused(root_, diag_);
    readCursors();
    readMusic();
    readInventory();
    for (const std::string& s : orderedStems("rooms", roomOrder_, "rooms"))
        if (auto f = loadToml(root_, "rooms/" + s + ".toml", diag_, page_)) readRoom(*f, s);
    for (const std::string& s : orderedStems("objects", objectOrder_, "objects"))
        if (auto f = loadToml(root_, "objects/" + s + ".toml", diag_, page_)) readObject(*f, s);
    scalePlacements();
    sortByFeet();

    std::vector<PackageEntry> assets;
    packAssets(assets);
    std::vector<PackageEntry> media;
    packMusicAndExtras(media);
    checkReferences();
    checkMeaning(assets);

    // The game cannot start without a room that places the main character.
    const std::string hero = prefs_.mainCharacterName();
    bool placed = false;
    for (const auto& r : rooms_)
        for (int i = 0; i < kPlacementsPerRoom; ++i)
            if (!hero.empty() && r.record.placement(i).name() == hero) placed = true;
    if (!hero.empty() && !placed)
        diag_.error("game.toml", 0,
                    "no room places the main character '" + hero + "' ([[placement]] name = \"" +
                        hero + "\"): the game could not start");
    auto need = [&](const std::string& entry, const std::string& from, const std::string& why) {
        if (!assets_.pictureLists.count(entryKey(entry, page_)))
            diag_.error(from, 0,
                        "the package needs the picture list '" + entry + "' (" + why + ")");
    };
    need("inv.dxg", "interface", "the inventory bar: interface/inv.png");
    need("saving.dxg", "interface", "shown while saving: interface/saving.png");
    if (prefs_.dialogImages() == "true")
        need("dlg.dxg", "interface", "dialogImages is \"true\": interface/dlg.png");
    for (const auto& [name, n] :
         std::map<std::string, size_t>{{"object templates", objects_.size()}})
        if (n > 1000) diag_.error("objects", 0, "a game holds at most 1000 " + name);
    if (diag_.hasErrors()) return;

    auto minimum = [&](const char* key) { return minRecords_.count(key) ? minRecords_[key] : 1; };
    entries.push_back({"prefs.dat", {prefs_.bytes().begin(), prefs_.bytes().end()}, true});
    entries.push_back(
        {"objects.dat", recordFile(objects_, ObjectRecord::kSize, minimum("objects")), true});
    entries.push_back(
        {"rooms.dat", recordFile(rooms_, StoredRoomRecord::kSize, minimum("rooms")), true});
    entries.push_back(
        {"cursors.dat", recordFile(cursors_, CursorRecord::kSize, minimum("cursors")), true});
    entries.push_back(
        {"music.dat", recordFile(music_, MusicRecord::kSize, minimum("music")), true});
    entries.push_back({"inv.dat", {inventory_.bytes().begin(), inventory_.bytes().end()}, true});
    entries.push_back({"languages.txt", languageTable(), true});
    checkTranslations(texts_, languages_, entries.back().bytes, page_, diag_);
    if (meta_.present) {
        const std::string text = metadataToml(meta_);
        entries.push_back({std::string(kMetadataEntry), {text.begin(), text.end()}, true});
    }
    // The loader always reads the interface sounds; a game without any gets an empty list.
    if (!assets_.sounds.count(entryKey("sounds.dxw", page_))) {
        WaveList none;
        entries.push_back({"sounds.dxw", writeWaveList(none), true});
    }
    for (auto* part : {&assets, &media})
        for (PackageEntry& e : *part) entries.push_back(std::move(e));
    // The engine finds entries ignoring case; two of one name would hide each other.
    std::map<std::string, std::string> seen;
    for (const PackageEntry& e : entries) {
        auto [it, fresh] = seen.emplace(entryKey(e.name, page_), e.name);
        if (!fresh)
            diag_.error(
                e.name.find('\\') == std::string::npos ? "extra"
                                                       : e.name.substr(0, e.name.find('\\')),
                0, "two files make the package entry '" + fromRecordText(e.name, page_) + "'");
    }
    if (diag_.hasErrors()) entries.clear();
}

}  // namespace

bool buildPackage(const fs::path& source, std::vector<PackageEntry>& entries, Diagnostics& diag,
                  const PackOptions& options) {
    diag.lenient = options.lenient;
    if (!fs::is_directory(source)) {
        diag.error(source.string(), 0, "is not a folder");
        return false;
    }
    Builder b(source, diag);
    b.run(entries);
    return !diag.hasErrors();
}

void writePackage(const std::vector<PackageEntry>& entries, const fs::path& path) {
    PackageWriter w;
    for (const PackageEntry& e : entries) w.add(e.name, e.bytes, e.compress);
    w.write(path);
}

}  // namespace zk::tools
