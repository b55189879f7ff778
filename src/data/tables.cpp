#include "data/tables.h"

#include <fstream>
#include <iterator>
#include <utility>

#include "core/error.h"

namespace zk {

void TemplateTable::assign(std::vector<ObjectRecord> records) {
    if (records.size() > static_cast<size_t>(kTemplateCapacity)) records.resize(kTemplateCapacity);
    records_ = std::move(records);
}

const ObjectRecord& TemplateTable::at(int index) const {
    static const ObjectRecord kEmpty;
    if (index < 0 || index >= storedCount()) return kEmpty;
    return records_[static_cast<size_t>(index)];
}

int TemplateTable::findTemplate(std::string_view name) const {
    int found = -1;
    for (int i = 0; i < storedCount(); ++i)
        if (records_[static_cast<size_t>(i)].name() == name) found = i;
    // Missing entries are empty templates: an empty name matches the last of them.
    if (name.empty() && storedCount() < kTemplateCapacity) found = kTemplateCapacity - 1;
    return found;
}

int TemplateTable::findFirst(std::string_view name) const {
    for (int i = 0; i < storedCount(); ++i)
        if (records_[static_cast<size_t>(i)].name() == name) return i;
    if (name.empty() && storedCount() < kTemplateCapacity) return storedCount();
    return kTemplateCapacity;
}

std::vector<std::vector<uint8_t>> readRecordFile(const std::string& path, size_t recordSize,
                                                 const std::string& label, size_t maxRecords) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw DataError("Cannot open file '" + label + "'");
    std::vector<uint8_t> all((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    if (all.size() < recordSize)
        throw DataError("Cannot read file '" + label + "': it is shorter than one record of " +
                        std::to_string(recordSize) + " bytes");
    size_t count = all.size() / recordSize;
    if (count > maxRecords) count = maxRecords;
    std::vector<std::vector<uint8_t>> records;
    records.reserve(count);
    for (size_t k = 0; k < count; ++k)
        records.emplace_back(all.begin() + static_cast<std::ptrdiff_t>(k * recordSize),
                             all.begin() + static_cast<std::ptrdiff_t>((k + 1) * recordSize));
    return records;
}

namespace {

template <typename Table>
Table loadTable(const std::string& path, const std::string& label) {
    using Record = typename Table::value_type;
    Table table{};
    auto records = readRecordFile(path, Record::kSize, label, table.size());
    for (size_t k = 0; k < records.size(); ++k) table[k].assign(records[k]);
    return table;
}

template <typename Record>
Record loadSingle(const std::string& path, const std::string& label) {
    auto records = readRecordFile(path, Record::kSize, label, 1);
    return Record(records.front());
}

}  // namespace

MusicTable loadMusicTable(const std::string& path, const std::string& label) {
    return loadTable<MusicTable>(path, label);
}

CursorTable loadCursorTable(const std::string& path, const std::string& label) {
    return loadTable<CursorTable>(path, label);
}

std::vector<ObjectRecord> loadObjectTemplates(const std::string& path, const std::string& label) {
    auto records = readRecordFile(path, ObjectRecord::kSize, label, kTemplateCapacity);
    std::vector<ObjectRecord> templates;
    templates.reserve(records.size());
    for (auto& bytes : records) {
        ObjectRecord& t = templates.emplace_back(bytes);
        // The whole 256-byte field is copied, not just the characters.
        auto b = t.bytes();
        std::copy(b.begin() + 527, b.begin() + 783, b.begin() + 783);
    }
    return templates;
}

PreferencesRecord loadPreferences(const std::string& path, const std::string& label) {
    return loadSingle<PreferencesRecord>(path, label);
}

InventoryRecord loadInventory(const std::string& path, const std::string& label) {
    return loadSingle<InventoryRecord>(path, label);
}

void prepareRoomObject(ObjectRecord& object) {
    for (int k = 0; k < 5; ++k) {
        object.setNumVar(k, 0);
        object.setTextVar(k, "");
    }
    std::string name = object.name();
    for (int e = 0; e < kEventsPerObject; ++e)
        for (int c = 0; c < kCommandsPerEvent; ++c) object.event(e).command(c).setSelf(name);
}

namespace {

// Every room holds its own copy of each object it places, so a small rooms.dat can ask
// for far more memory than any game needs; the objects are counted before any is made.
void countRoomObjects(const std::vector<std::vector<uint8_t>>& stored,
                      const TemplateTable& templates, const std::string& mainName,
                      const InventoryRecord& inventory, const std::string& label) {
    auto known = [&](const std::string& name) {
        return !name.empty() && templates.findTemplate(name) >= 0;
    };
    size_t party = 0;
    for (int i = 0; i < kPartyMembers; ++i) {
        const std::string name = inventory.party(i).name();
        if (known(name)) ++party;
    }
    size_t total = 0;
    for (const auto& bytes : stored) {
        const StoredRoomRecord r(bytes);
        if (r.isEmpty()) continue;
        total += 1 + (r.isGameRoom() ? party : 0);
        for (int i = 0; i < kPlacementsPerRoom; ++i) {
            const std::string name = r.placement(i).name();
            if (name != mainName && known(name)) ++total;
        }
        if (total > kMaxRoomObjects)
            throw DataError("Cannot read file '" + label + "': its rooms hold more than " +
                            std::to_string(kMaxRoomObjects) +
                            " objects, more than a game can hold");
    }
}

}  // namespace

LoadedRooms loadRooms(const std::string& path, const TemplateTable& templates,
                      int mainCharacterTemplate, const PreferencesRecord& prefs,
                      const InventoryRecord& inventory, const Warn& warn,
                      const std::string& label) {
    LoadedRooms out;
    const std::string mainName = prefs.mainCharacterName();
    // Problems are gathered and reported together at the end: a damaged objects.dat
    // can leave every placement of the game without its template.
    std::vector<std::pair<std::string, std::string>> unknownPlacements;  // object, room
    std::vector<std::string> roomsWithoutMain;
    auto stored = readRecordFile(path, StoredRoomRecord::kSize, label, SIZE_MAX);
    countRoomObjects(stored, templates, mainName, inventory, label);
    for (auto& bytes : stored) {
        const StoredRoomRecord r(bytes);
        if (r.isEmpty()) continue;
        Room& m = out.rooms.emplace_back();
        // Name to maxScale share their offsets in both layouts.
        std::copy(r.bytes().begin(), r.bytes().begin() + 204, m.bytes().begin());
        out.roomNames.push_back(m.name());
        m.setIsGameRoom(r.isGameRoom());
        m.setCursorVisible(r.cursorVisible());
        m.objects.emplace_back();

        auto appendFromTemplate = [&](const std::string& name) -> ObjectRecord* {
            int t = templates.findTemplate(name);
            if (t < 0) {
                unknownPlacements.emplace_back(name, m.name());
                return nullptr;
            }
            ObjectRecord& o = m.objects.emplace_back(templates.at(t));
            return &o;
        };

        if (m.isGameRoom()) {
            if (mainCharacterTemplate >= 0 && mainCharacterTemplate < kTemplateCapacity &&
                !templates.at(mainCharacterTemplate).isEmpty()) {
                m.objects[0] = templates.at(mainCharacterTemplate);
            } else {
                roomsWithoutMain.push_back("'" + m.name() + "'");
            }
            for (int i = 0; i < kPartyMembers; ++i) {
                ConstPartyView entry = inventory.party(i);
                if (entry.name().empty()) continue;
                ObjectRecord* o = appendFromTemplate(entry.name());
                if (!o) continue;
                prepareRoomObject(*o);
                o->setInParty(1);
                o->setX(entry.x());
                o->setY(entry.y());
                o->setScale(100);
            }
        }
        for (int i = 0; i < kPlacementsPerRoom; ++i) {
            ConstPlacementView p = r.placement(i);
            std::string name = p.name();
            if (name == mainName) {
                out.startRoomName = m.name();
                ObjectRecord& main = m.objects[0];
                main.setX(p.x());
                main.setY(p.y());
                main.setSpriteFile(main.standRightSprite());
            } else if (!name.empty()) {
                ObjectRecord* o = appendFromTemplate(name);
                if (!o) continue;
                prepareRoomObject(*o);
                o->setInParty(0);
                o->setX(p.x());
                o->setY(p.y());
                o->setScale(p.scale());
                if (o->kind() == "character") o->setSpriteFile(o->standRightSprite());
            }
        }
        for (int i = 0; i < kZonesPerRoom; ++i) {
            auto src = r.zone(i).bytes();
            std::copy(src.begin(), src.end(), m.zone(i).bytes().begin());
            m.zone(i).setHint(m.zone(i).hintKey());
        }
        for (int i = 0; i < kEntrancesPerRoom; ++i) {
            auto src = r.entrance(i).bytes();
            std::copy(src.begin(), src.end(), m.entrance(i).bytes().begin());
        }
    }

    // The first few of a list, then how many more.
    auto some = [](const std::vector<std::string>& items) {
        constexpr size_t kShown = 4;
        std::string text;
        for (size_t i = 0; i < items.size() && i < kShown; ++i)
            text += (i > 0 ? ", " : "") + items[i];
        if (items.size() > kShown)
            text += " and " + std::to_string(items.size() - kShown) + " more";
        return text;
    };
    if (roomsWithoutMain.size() == 1) {
        warn("Room " + roomsWithoutMain[0] + " is a play room, but objects.dat has no template '" +
             mainName + "' for the main character");
    } else if (!roomsWithoutMain.empty()) {
        warn(std::to_string(roomsWithoutMain.size()) + " play rooms (" + some(roomsWithoutMain) +
             "), but objects.dat has no template '" + mainName + "' for the main character");
    }
    if (unknownPlacements.size() == 1) {
        const auto& [object, room] = unknownPlacements[0];
        warn("Room '" + room + "' places object '" + object +
             "', but objects.dat has no such template; it is left out");
    } else if (!unknownPlacements.empty()) {
        std::vector<std::string> listed;
        listed.reserve(unknownPlacements.size());
        for (const auto& [object, room] : unknownPlacements)
            listed.push_back("'" + object + "' in '" + room + "'");
        warn("Rooms place " + std::to_string(listed.size()) +
             " objects that objects.dat has no template for (" + some(listed) +
             "); they are left out");
    }
    return out;
}

}  // namespace zk
