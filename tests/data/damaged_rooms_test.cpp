// Rooms built against a damaged objects.dat: every placement may lack its template,
// yet the problems come as two warnings, not one line per placement.
#include <gtest/gtest.h>

#include "core/error.h"
#include "data/tables.h"
#include "support/record_files.h"
#include "support/temp_dir.h"

namespace zk {
namespace {

using test::recordFile;
using test::TempDir;
using test::writeBytes;

struct Loaded {
    LoadedRooms rooms;
    std::vector<std::string> warnings;
};

// The templates of an objects.dat that holds only "lamp".
TemplateTable onlyALamp(const TempDir& dir) {
    ObjectRecord lamp;
    lamp.setName("lamp");
    writeBytes(dir.file("objects.dat"), recordFile(std::vector<ObjectRecord>{lamp}));
    TemplateTable templates;
    templates.assign(loadObjectTemplates(dir.file("objects.dat")));
    return templates;
}

// Five play rooms, each placing the hero and six objects, loaded with only "lamp" known.
Loaded loadWithOnlyALamp() {
    TempDir dir;
    const TemplateTable templates = onlyALamp(dir);

    std::vector<StoredRoomRecord> stored(5);
    for (size_t r = 0; r < stored.size(); ++r) {
        stored[r].setName("room" + std::to_string(r));
        stored[r].setIsGameRoom(1);
        stored[r].placement(0).setName("hero");
        for (int p = 1; p <= 6; ++p)
            stored[r].placement(p).setName(p == 3 ? "lamp" : "thing" + std::to_string(p));
    }
    writeBytes(dir.file("rooms.dat"), recordFile(stored));
    PreferencesRecord prefs;
    prefs.setMainCharacterName("hero");
    Loaded out;
    out.rooms =
        loadRooms(dir.file("rooms.dat"), templates, templates.findFirst("hero"), prefs,
                  InventoryRecord{}, [&](const std::string& w) { out.warnings.push_back(w); });
    return out;
}

TEST(DamagedObjects, MissingTemplatesOfManyPlacementsAreOneWarning) {
    const Loaded loaded = loadWithOnlyALamp();
    ASSERT_EQ(loaded.rooms.rooms.size(), 5u);
    for (const Room& room : loaded.rooms.rooms) {
        ASSERT_EQ(room.objects.size(), 2u);  // the empty main-character slot and the lamp
        EXPECT_EQ(room.objects[1].name(), "lamp");
    }
    EXPECT_EQ(loaded.rooms.startRoomName, "room4");
    ASSERT_EQ(loaded.warnings.size(), 2u);
    EXPECT_EQ(loaded.warnings[0],
              "5 play rooms ('room0', 'room1', 'room2', 'room3' and 1 more), but objects.dat "
              "has no template 'hero' for the main character");
    EXPECT_EQ(loaded.warnings[1],
              "Rooms place 25 objects that objects.dat has no template for ('thing1' in "
              "'room0', 'thing2' in 'room0', 'thing4' in 'room0', 'thing5' in 'room0' and 21 "
              "more); they are left out");
}

// A few kilobytes of rooms.dat placing the same objects over and over would ask for
// gigabytes: the rooms are refused before their objects are made. Names without a
// template make no object and do not count.
TEST(DamagedRooms, MoreObjectsThanAGameCanHoldAreRefused) {
    TempDir dir;
    const TemplateTable templates = onlyALamp(dir);
    auto load = [&](size_t rooms, const std::string& placed) {
        StoredRoomRecord room;
        room.setName("room");
        for (int p = 0; p < kPlacementsPerRoom; ++p) room.placement(p).setName(placed);
        writeBytes(dir.file("rooms.dat"), recordFile(std::vector<StoredRoomRecord>(rooms, room)));
        return loadRooms(dir.file("rooms.dat"), templates, 0, PreferencesRecord{},
                         InventoryRecord{}, [](const std::string&) {});
    };
    const size_t tooMany = kMaxRoomObjects / (1 + kPlacementsPerRoom) + 1;
    try {
        load(tooMany, "lamp");
        FAIL() << "loaded";
    } catch (const DataError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot read file 'rooms.dat': its rooms hold more than 10000 objects, more "
                  "than a game can hold");
    }
    EXPECT_EQ(load(300, "ghost").rooms.size(), 300u);
}

}  // namespace
}  // namespace zk
