#pragma once
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/object_record.h"
#include "data/room_record.h"
#include "data/small_records.h"

namespace zk {

inline constexpr int kTemplateCapacity = 1000;
inline constexpr int kCursorRows = 30;
inline constexpr int kMusicRows = 30;

using MusicTable = std::array<MusicRecord, kMusicRows>;
using CursorTable = std::array<CursorRecord, kCursorRows>;

// The object template table behaves as a fixed table of 1000 records, but holds only
// the records "objects.dat" provides; the others read as empty records.
class TemplateTable {
  public:
    void assign(std::vector<ObjectRecord> records);
    const ObjectRecord& at(int index) const;
    int storedCount() const { return static_cast<int>(records_.size()); }

    // Index of the last template named `name`, -1 if none.
    int findTemplate(std::string_view name) const;
    // Index of the first template named `name`; an empty name finds the first empty
    // template; kTemplateCapacity if none.
    int findFirst(std::string_view name) const;

  private:
    std::vector<ObjectRecord> records_;
};

// Reports a data problem the loader can continue after (one line, naming what is wrong).
using Warn = std::function<void(const std::string&)>;

// Record files, read from `path`; `label` names the file in error messages. A missing
// file or one shorter than one record throws DataError; records beyond the table's
// size are ignored.
MusicTable loadMusicTable(const std::string& path, const std::string& label = "music.dat");
CursorTable loadCursorTable(const std::string& path, const std::string& label = "cursors.dat");
// Also sets every template's displayName to its displayNameKey.
std::vector<ObjectRecord> loadObjectTemplates(const std::string& path,
                                              const std::string& label = "objects.dat");
PreferencesRecord loadPreferences(const std::string& path, const std::string& label = "prefs.dat");
InventoryRecord loadInventory(const std::string& path, const std::string& label = "inv.dat");

// Reads a file of fixed-size records whole (the trailing partial record is ignored).
std::vector<std::vector<uint8_t>> readRecordFile(const std::string& path, size_t recordSize,
                                                 const std::string& label, size_t maxRecords);

struct LoadedRooms {
    std::vector<Room> rooms;
    std::string startRoomName;
    std::vector<std::string> roomNames;  // in file order, one per room
};

// Clears the numeric and text variables and writes the object's name into the `self`
// field of all 200 commands.
void prepareRoomObject(ObjectRecord& object);

// The most objects that the rooms of a game may hold together (each room holds its own
// copy of every object it places, 94752 bytes each: about 950 MB in all).
inline constexpr size_t kMaxRoomObjects = 10000;

// Builds the room table from "rooms.dat". Placements and party entries that name no
// template are skipped, and a missing main character template leaves the play rooms'
// main-character slot empty; each of the two problems is reported in one warning.
// Rooms holding more than kMaxRoomObjects objects in all throw DataError.
LoadedRooms loadRooms(const std::string& path, const TemplateTable& templates,
                      int mainCharacterTemplate, const PreferencesRecord& prefs,
                      const InventoryRecord& inventory, const Warn& warn,
                      const std::string& label = "rooms.dat");

}  // namespace zk
