#include "save/slot_format.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <limits>

#include "assets/picture_list.h"
#include "core/error.h"
#include "core/text.h"
#include "core/version.h"

namespace zk {
namespace {

constexpr size_t kObjectSize = ObjectRecord::kSize;
constexpr size_t kRoomSize = RoomRecord::kSize;
constexpr size_t kInventorySize = InventoryRecord::kSize;
constexpr size_t kAdditionalSize = AdditionalRecord::kSize;

void append(std::vector<uint8_t>& out, std::span<const uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

std::string quoted(std::string_view s) {
    return "'" + std::string(s) + "'";
}

// A member made of whole records of `size` bytes: their number. `atLeastOne` refuses
// an empty member.
size_t recordCount(std::string_view member, const std::vector<uint8_t>& bytes, size_t size,
                   bool atLeastOne) {
    if (bytes.size() % size != 0 || (atLeastOne && bytes.empty()))
        throw DataError(quoted(member) + " holds " + std::to_string(bytes.size()) +
                        " bytes, not whole records of " + std::to_string(size) + " bytes");
    return bytes.size() / size;
}

// A decimal integer as the text lists hold it: optional blanks, an optional sign,
// digits, optional trailing blanks; nothing else.
bool parseInteger(std::string_view text, int32_t& value) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() < '0' || text.front() > '9') return false;
    }
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

// A meta value on one line: line breaks and other control characters become spaces.
std::string metaValue(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return out;
}

// UTF-8 back to Windows-1252; characters the code page lacks become '?'.
std::string utf8ToCp1252(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size();) {
        Utf8Char c = decodeUtf8(s, i);
        if (c.length == 0) {
            out += '?';
            ++i;
            continue;
        }
        out += cp1252Byte(c.cp).value_or('?');
        i += c.length;
    }
    return out;
}

}  // namespace

std::string writeSlotMeta(const SlotMeta& m) {
    std::string out;
    auto line = [&out](std::string_view key, std::string_view value) {
        out += std::string(key) + "=" + metaValue(value) + "\n";
    };
    line("game", m.game);
    line("title", m.title);
    line("saved", m.saved);
    line("room", m.room);
    line("playTime", std::to_string(m.playSeconds));
    line("engine", m.engine);
    if (m.heldItem) line("held", cp1252ToUtf8(*m.heldItem));
    return out;
}

SlotMeta readSlotMeta(std::string_view text) {
    SlotMeta m;
    for (const std::string& line : splitLines(text)) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string_view key = std::string_view(line).substr(0, eq);
        std::string value = line.substr(eq + 1);
        if (key == "game") {
            m.game = std::move(value);
        } else if (key == "title") {
            m.title = std::move(value);
        } else if (key == "saved") {
            m.saved = std::move(value);
        } else if (key == "room") {
            m.room = std::move(value);
        } else if (key == "playTime") {
            uint64_t seconds = 0;
            auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), seconds);
            if (ec == std::errc() && ptr == value.data() + value.size()) m.playSeconds = seconds;
        } else if (key == "engine") {
            m.engine = std::move(value);
        } else if (key == "held") {
            m.heldItem = utf8ToCp1252(value);
        }
    }
    return m;
}

SlotMeta slotMetaOf(const GameState& g, std::time_t when) {
    SlotMeta m;
    m.game = g.session.gameId;
    m.title = cp1252ToUtf8(g.tables.prefs.title());
    char stamp[32] = "";
    std::tm utc{};
    if (gmtime_r(&when, &utc)) std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &utc);
    m.saved = stamp;
    // The room a load enters: the last play room, as its title is shown, rather than
    // the menu room most games save from.
    if (g.scene.returnRoom >= 0 && g.scene.returnRoom < static_cast<int32_t>(g.tables.rooms.size()))
        m.room = cp1252ToUtf8(
            g.translate(g.tables.rooms[static_cast<size_t>(g.scene.returnRoom)].titleKey()));
    else
        m.room = cp1252ToUtf8(g.scene.currentRoomTitle);
    m.playSeconds = g.scripts.playTimeMs / 1000;
    m.engine = kZelkinVersion;
    return m;
}

std::vector<uint8_t> thumbnailPictureList(const Image& thumbnail) {
    PictureList list;
    list.add().picture = makeDibPicture(thumbnail, 32);
    return writePictureList(list);
}

RoomRecord savedRoomRecord(const RoomRecord& room) {
    RoomRecord r;
    r.setName(room.name());
    r.setTitleKey(room.titleKey());
    r.setBackground(room.background());
    r.setMaskFile(room.maskFile());
    r.setMusic(room.music());
    r.setWeather(room.weather());
    r.setMinScaleRow(room.minScaleRow());
    r.setMaxScaleRow(room.maxScaleRow());
    r.setMinScale(room.minScale());
    r.setMaxScale(room.maxScale());
    r.setIsGameRoom(room.isGameRoom());
    r.setCursorVisible(room.cursorVisible());
    // Zones and entrances are copied byte for byte.
    auto from = room.bytes().subspan(RoomRecord::kZonesOffset);
    std::copy(from.begin(), from.end(), r.bytes().begin() + RoomRecord::kZonesOffset);
    return r;
}

AdditionalRecord additionalRecord(const GameState& g) {
    AdditionalRecord a;
    if (g.scene.returnRoom >= 0 && g.scene.returnRoom < static_cast<int32_t>(g.tables.rooms.size()))
        a.setReturnRoomName(g.tables.rooms[static_cast<size_t>(g.scene.returnRoom)].name());
    a.setStashedHeldItem(g.cursor.stashedHeldItem);
    a.setHitPoints(g.ui.hitPoints);
    a.setStatusCounter1(g.ui.statusCounters[0]);
    a.setStatusCounter2(g.ui.statusCounters[1]);
    a.setStatusCounter3(g.ui.statusCounters[2]);
    a.setLanguage(g.ui.language);
    return a;
}

SlotMembers buildSlotMembers(const GameState& g, const SlotMeta& meta) {
    SlotMembers m;
    m.screenshot = thumbnailPictureList(g.ui.screenshotDib);
    append(m.inventory, g.tables.inventory.bytes());

    size_t objects = 0;
    for (const Room& room : g.tables.rooms) objects += room.objects.size();
    m.roomObjects.reserve(objects * kObjectSize);
    m.savedRooms.reserve(g.tables.rooms.size() * kRoomSize);
    m.objectCounts.reserve(g.tables.rooms.size());
    for (const Room& room : g.tables.rooms) {
        for (const ObjectRecord& o : room.objects) append(m.roomObjects, o.bytes());
        m.objectCounts.push_back(std::to_string(room.objects.size()));
        append(m.savedRooms, savedRoomRecord(room).bytes());
    }
    append(m.additional, additionalRecord(g).bytes());
    m.meta = writeSlotMeta(meta);
    return m;
}

SavedGame readSavedGame(const GameState& g, const SlotData& data) {
    const size_t roomCount = g.tables.rooms.size();
    SavedGame s;

    recordCount(kInventoryMember, data.inventory, kInventorySize, true);
    s.inventory.assign(data.inventory);
    recordCount(kAdditionalMember, data.additional, kAdditionalSize, true);
    s.additional.assign(data.additional);

    size_t savedRooms = recordCount(kSavedRoomsMember, data.savedRooms, kRoomSize, false);
    if (savedRooms > roomCount)
        throw DataError(quoted(kSavedRoomsMember) + " holds " + std::to_string(savedRooms) +
                        " rooms, but the game has " + std::to_string(roomCount));

    // One count per room of the game; lines beyond the last room are not read.
    std::vector<std::string> lines = splitLines(data.objectCounts);
    std::vector<int32_t> counts(roomCount);
    uint64_t total = 0;
    for (size_t i = 0; i < roomCount; ++i) {
        if (i >= lines.size())
            throw DataError(quoted(kObjectCountsMember) + ": List index out of bounds (" +
                            std::to_string(i) + ")");
        if (!parseInteger(lines[i], counts[i]))
            throw DataError(quoted(kObjectCountsMember) + ": " + quoted(lines[i]) +
                            " is not a valid integer value");
        if (counts[i] < 0)
            throw DataError(quoted(kObjectCountsMember) + ": " + quoted(lines[i]) +
                            " is not a valid object count");
        total += static_cast<uint64_t>(counts[i]);
    }
    size_t records = recordCount(kRoomObjectsMember, data.roomObjects, kObjectSize, false);
    if (records != total)
        throw DataError(quoted(kRoomObjectsMember) + " holds " + std::to_string(records) +
                        " object records, but " + quoted(kObjectCountsMember) + " counts " +
                        std::to_string(total));

    s.rooms.reserve(savedRooms);
    for (size_t i = 0; i < savedRooms; ++i)
        s.rooms.emplace_back(std::span(data.savedRooms).subspan(i * kRoomSize, kRoomSize));

    s.objects.resize(roomCount);
    std::span<const uint8_t> next(data.roomObjects);
    for (size_t i = 0; i < roomCount; ++i) {
        auto& list = s.objects[i];
        list.reserve(static_cast<size_t>(counts[i]));
        for (int32_t k = 0; k < counts[i]; ++k) {
            list.emplace_back(next.first(kObjectSize));
            next = next.subspan(kObjectSize);
        }
    }

    // The room to enter, looked up among the room names as the load leaves them.
    const std::string target = s.additional.returnRoomName();
    if (!target.empty()) {
        for (size_t i = 0; i < roomCount; ++i) {
            std::string name = i < savedRooms ? s.rooms[i].name() : g.tables.rooms[i].name();
            if (name == target) s.enterRoom = static_cast<int>(i);
        }
        if (s.enterRoom < 0)
            throw DataError("the saved room " + quoted(target) + " is not in this game");
    }
    return s;
}

}  // namespace zk
