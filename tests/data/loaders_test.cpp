#include <gtest/gtest.h>

#include "core/error.h"
#include "data/language.h"
#include "data/tables.h"
#include "support/record_files.h"
#include "support/temp_dir.h"

namespace zk {
namespace {

using test::recordFile;
using test::TempDir;
using test::writeBytes;

ObjectRecord makeTemplate(const std::string& name, const std::string& kind = "") {
    ObjectRecord o;
    o.setName(name);
    o.setKind(kind);
    o.setStandRightSprite(name + "-right.dxg");
    o.setDisplayNameKey(name + " key");
    return o;
}

class RoomLoading : public ::testing::Test {
  protected:
    void SetUp() override {
        prefs.setMainCharacterName("hero");
        std::vector<ObjectRecord> list;
        list.push_back(makeTemplate("hero", "character"));
        ObjectRecord first = makeTemplate("lamp");
        first.setDepth(1);
        list.push_back(first);
        ObjectRecord second = makeTemplate("lamp");
        second.setDepth(2);
        second.setNumVar(3, 9);
        list.push_back(second);
        ObjectRecord hero2 = makeTemplate("hero", "character");
        hero2.setDepth(7);
        list.push_back(hero2);
        list.push_back(makeTemplate("dog", "character"));
        writeBytes(dir.file("objects.dat"), recordFile(list));
        templates.assign(loadObjectTemplates(dir.file("objects.dat")));
        mainTemplate = templates.findFirst(prefs.mainCharacterName());
    }

    LoadedRooms load(const std::vector<StoredRoomRecord>& rooms) {
        writeBytes(dir.file("rooms.dat"), recordFile(rooms));
        return loadRooms(dir.file("rooms.dat"), templates, mainTemplate, prefs, inventory,
                         [this](const std::string& w) { warnings.push_back(w); });
    }

    TempDir dir;
    PreferencesRecord prefs;
    InventoryRecord inventory;
    TemplateTable templates;
    int mainTemplate = 0;
    std::vector<std::string> warnings;
};

StoredRoomRecord storedRoom(const std::string& name, bool play) {
    StoredRoomRecord r;
    r.setName(name);
    r.setIsGameRoom(play ? 1 : 0);
    return r;
}

TEST_F(RoomLoading, TemplatesReadFromFileWithEmptyRestAndDisplayNames) {
    EXPECT_EQ(templates.storedCount(), 5);
    EXPECT_TRUE(templates.at(5).isEmpty());
    EXPECT_TRUE(templates.at(999).isEmpty());
    EXPECT_EQ(templates.at(1).displayName(), "lamp key");
    // An empty main-character name selects the first empty template.
    EXPECT_EQ(templates.findFirst(""), 5);
    EXPECT_EQ(templates.findTemplate("nothing"), -1);
}

TEST_F(RoomLoading, EmptyNamedRoomIsSkippedAndLaterRoomsMoveUp) {
    auto loaded = load({storedRoom("a", false), storedRoom("", false), storedRoom("c", false)});
    ASSERT_EQ(loaded.rooms.size(), 2u);
    EXPECT_EQ(loaded.rooms[1].name(), "c");
    EXPECT_EQ(loaded.roomNames, (std::vector<std::string>{"a", "c"}));
}

TEST_F(RoomLoading, PlacementsTakeTheLaterTemplateAndTheMainCharacterTheEarlier) {
    StoredRoomRecord r = storedRoom("hall", true);
    r.placement(0).setName("lamp");
    r.placement(0).setX(10);
    r.placement(0).setY(20);
    r.placement(0).setScale(80);
    r.placement(1).setName("hero");
    r.placement(1).setX(300);
    r.placement(1).setY(400);
    auto loaded = load({r});
    ASSERT_EQ(loaded.rooms.size(), 1u);
    const Room& room = loaded.rooms[0];
    ASSERT_EQ(room.objects.size(), 2u);
    EXPECT_EQ(room.objects[0].depth(), 0);  // first "hero", not the later one (depth 7)
    EXPECT_EQ(room.objects[0].x(), 300);
    EXPECT_EQ(room.objects[0].spriteFile(), "hero-right.dxg");
    const ObjectRecord& lamp = room.objects[1];
    EXPECT_EQ(lamp.depth(), 2);
    EXPECT_EQ(lamp.numVar(3), 0);  // variables cleared
    EXPECT_EQ(lamp.scale(), 80);
    EXPECT_EQ(lamp.x(), 10);
    EXPECT_EQ(lamp.event(9).command(19).self(), "lamp");
    EXPECT_EQ(loaded.startRoomName, "hall");
}

TEST_F(RoomLoading, NonPlayRoomPlacingTheMainCharacterStillBecomesTheStartRoom) {
    StoredRoomRecord menu = storedRoom("menu", false);
    menu.placement(3).setName("hero");
    menu.placement(3).setX(5);
    menu.placement(4).setName("dog");
    auto loaded = load({storedRoom("a", true), menu});
    EXPECT_EQ(loaded.startRoomName, "menu");
    const Room& room = loaded.rooms[1];
    ASSERT_EQ(room.objects.size(), 2u);
    EXPECT_TRUE(room.objects[0].isEmpty());
    EXPECT_EQ(room.objects[0].x(), 5);
    EXPECT_EQ(room.objects[1].name(), "dog");
    EXPECT_EQ(room.objects[1].spriteFile(), "dog-right.dxg");  // characters stand right
}

TEST_F(RoomLoading, PartyFollowsTheMainCharacterInPlayRoomsOnly) {
    inventory.party(2).setName("dog");
    inventory.party(2).setX(40);
    inventory.party(2).setY(50);
    StoredRoomRecord r = storedRoom("hall", true);
    r.placement(0).setName("lamp");
    auto loaded = load({r, storedRoom("menu", false)});
    const Room& hall = loaded.rooms[0];
    ASSERT_EQ(hall.objects.size(), 3u);
    EXPECT_EQ(hall.objects[0].name(), "hero");
    EXPECT_EQ(hall.objects[1].name(), "dog");
    EXPECT_EQ(hall.objects[1].inParty(), 1);
    EXPECT_EQ(hall.objects[1].scale(), 100);
    EXPECT_EQ(hall.objects[1].x(), 40);
    EXPECT_EQ(hall.objects[2].name(), "lamp");
    EXPECT_EQ(loaded.rooms[1].objects.size(), 1u);
}

TEST_F(RoomLoading, UnknownTemplatesAreLeftOutWithAWarning) {
    StoredRoomRecord r = storedRoom("hall", false);
    r.placement(0).setName("ghost");
    r.placement(1).setName("lamp");
    auto loaded = load({r});
    ASSERT_EQ(loaded.rooms[0].objects.size(), 2u);
    EXPECT_EQ(loaded.rooms[0].objects[1].name(), "lamp");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("ghost"), std::string::npos);
    EXPECT_NE(warnings[0].find("hall"), std::string::npos);
}

TEST_F(RoomLoading, ZonesGetTheirHintFromTheKey) {
    StoredRoomRecord r = storedRoom("hall", false);
    r.zone(4).setHintKey("to the street");
    r.zone(4).setEnabled(1);
    r.entrance(2).setName("door");
    auto loaded = load({r});
    EXPECT_EQ(loaded.rooms[0].zone(4).hint(), "to the street");
    EXPECT_EQ(loaded.rooms[0].entrance(2).name(), "door");
}

TEST(RecordFiles, MissingOrShortFilesAreErrorsNamingTheFile) {
    TempDir dir;
    try {
        loadPreferences(dir.file("prefs.dat"));
        FAIL() << "no error for a missing file";
    } catch (const DataError& e) {
        EXPECT_NE(std::string(e.what()).find("prefs.dat"), std::string::npos);
    }
    writeBytes(dir.file("prefs.dat"), std::vector<uint8_t>(563, 0));
    EXPECT_THROW(loadPreferences(dir.file("prefs.dat")), DataError);
    // Records beyond the table size and a trailing partial record are ignored.
    std::vector<CursorRecord> cursors(31);
    cursors[29].setName("last");
    cursors[30].setName("extra");
    auto bytes = recordFile(cursors);
    bytes.resize(bytes.size() + 10);
    writeBytes(dir.file("cursors.dat"), bytes);
    CursorTable table = loadCursorTable(dir.file("cursors.dat"));
    EXPECT_EQ(table[29].name(), "last");
}

TEST(LanguageTable, TranslatesByLanguageNumber) {
    auto table = LanguageTable::fromText(
        "text=\"door\" lang1=\"Door\" lang2=\"Tuer\"\r\n"
        "text=\"door\" lang2=\"second\"\r\n"
        "text=\"lamp\" lang2=\"Lampe\r\n"
        "text=\"key\" lang1=\"Key\"");
    ASSERT_EQ(table.size(), 4u);
    EXPECT_EQ(table.translate("door", 0), "door");
    EXPECT_EQ(table.translate("door", 2), "Tuer");  // first matching line wins
    EXPECT_EQ(table.translate("nothing", 2), "");
    EXPECT_EQ(table.translate("", 0), "");
    // Unclosed quote: the value loses the line's last character.
    EXPECT_EQ(table.translate("lamp", 2), "Lamp");
    // A translation missing for the language gives an empty text.
    EXPECT_EQ(table.translate("key", 2), "");
}

}  // namespace
}  // namespace zk
