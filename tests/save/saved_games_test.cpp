#include "save/saved_games.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "logic/cursor.h"
#include "save/save_folder.h"
#include "save/slot_format.h"
#include "save_fixture.h"
#include "support/record_files.h"

namespace zk {
namespace {

using test::bytesOf;
using test::fileBytes;
using test::GameBuilder;
using test::readSlot;
using test::RunningGame;
using test::snapshot;
using test::writeSlot;
namespace fs = std::filesystem;

constexpr size_t kObject = ObjectRecord::kSize;
constexpr size_t kRoom = RoomRecord::kSize;

// A script waiting in the queue.
void queueScript(GameState& g) {
    EventRecord e;
    e.setName("onclick");
    g.scripts.queue.enqueue(e);
}

long fileCount(const fs::path& folder) {
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
}

// Rooms "hall", "cellar", "menu" holding 5, 0 and 2 objects; the player is in the hall.
class SavedGamesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(run.g.tables.rooms.size(), 3u);
        ASSERT_EQ(run.g.room().name(), "hall");
        run.setObjectCount(0, 5);
        run.setObjectCount(1, 0);
        run.setObjectCount(2, 2);
    }
    GameState& g() { return run.g; }
    const std::vector<std::string>& errors() const { return run.hp.errorReport.messages; }
    fs::path slot(int n) { return slotPath(run.g, n); }

    RunningGame run;
};

TEST_F(SavedGamesTest, SaveWritesTheSixMembersInOrderWithTheirLayouts) {
    g().tables.rooms[1].setMusic("cellar.mid");
    g().tables.rooms[1].setMinScale(-7);
    g().tables.rooms[1].zone(3).setTargetRoom("hall");
    g().tables.rooms[2].entrance(9).setX(123456);
    // Bytes after a string's characters and the padding are not part of a saved room.
    g().tables.rooms[0].bytes()[186] = 0xAB;
    g().tables.rooms[0].setWeather("Rainstorm");
    g().tables.rooms[0].setWeather("Rain");

    ASSERT_TRUE(saveGame(g(), 4));
    EXPECT_EQ(slot(4), run.saveFolder() / "slot4.sav");
    auto c = readSlot(slot(4));
    // The game's six members, then the engine's own.
    EXPECT_EQ(c.order, (std::vector<std::string>{"screenshot.dxg", "objcounts.txt", "savedinv.dat",
                                                 "roomobjs.dat", "savedrooms.dat", "additional.dat",
                                                 "zelkin-meta.txt"}));
    EXPECT_EQ(c.text("objcounts.txt"), "5\r\n0\r\n2\r\n");
    EXPECT_EQ(c["savedinv.dat"], std::vector<uint8_t>(g().tables.inventory.bytes().begin(),
                                                      g().tables.inventory.bytes().end()));
    EXPECT_EQ(c["additional.dat"].size(), 72u);

    const auto& objs = c["roomobjs.dat"];
    ASSERT_EQ(objs.size(), 7 * kObject);
    // Room 0's five objects in list order, then room 2's two.
    for (size_t k = 0; k < 7; ++k) {
        const ObjectRecord& o =
            k < 5 ? g().tables.rooms[0].objects[k] : g().tables.rooms[2].objects[k - 5];
        EXPECT_TRUE(std::equal(o.bytes().begin(), o.bytes().end(), objs.begin() + k * kObject))
            << "object record " << k;
    }

    const auto& rooms = c["savedrooms.dat"];
    ASSERT_EQ(rooms.size(), 3 * kRoom);
    const RoomRecord hall{std::span(rooms).first(kRoom)};
    const RoomRecord cellar{std::span(rooms).subspan(kRoom, kRoom)};
    const RoomRecord menu{std::span(rooms).subspan(2 * kRoom, kRoom)};
    EXPECT_EQ(hall.name(), "hall");
    EXPECT_EQ(hall.weather(), "Rain");
    EXPECT_EQ(rooms[155 + 5], 0) << "no leftover of a longer weather text";
    EXPECT_EQ(rooms[186], 0);
    EXPECT_EQ(rooms[187], 0);
    EXPECT_EQ(hall.isGameRoom(), 1);
    EXPECT_EQ(cellar.music(), "cellar.mid");
    EXPECT_EQ(cellar.minScale(), -7);
    EXPECT_EQ(cellar.zone(3).targetRoom(), "hall");
    EXPECT_EQ(menu.name(), "menu");
    EXPECT_EQ(menu.isGameRoom(), 0);
    EXPECT_EQ(menu.entrance(9).x(), 123456);

    // No thumbnail captured: one item with an empty "TDIB" and the default properties.
    PictureList shot = readPictureList(c["screenshot.dxg"]);
    ASSERT_EQ(shot.count(), 1);
    EXPECT_EQ(shot.items[0].picture.kind, "TDIB");
    EXPECT_TRUE(shot.items[0].image().empty());
    EXPECT_TRUE(shot.items[0].transparent);
    EXPECT_EQ(shot.items[0].transparentColor, 0u);
    EXPECT_EQ(shot.items[0].patternWidth, 0);
    EXPECT_FALSE(shot.items[0].systemMemory);
    EXPECT_TRUE(errors().empty());
}

TEST_F(SavedGamesTest, AdditionalRecordKeepsLowSixteenBitsAndCutsTheStashedItem) {
    g().ui.hitPoints = 40000;
    g().ui.statusCounters = {-1, 70000, 12};
    g().ui.language = 1;
    g().cursor.stashedHeldItem = std::string(31, 'x');
    g().scene.returnRoom = 1;
    ASSERT_TRUE(saveGame(g(), 1));
    AdditionalRecord a(readSlot(slot(1))["additional.dat"]);
    EXPECT_EQ(a.returnRoomName(), "cellar");
    EXPECT_EQ(a.bytes()[31], 30) << "length byte of the cut item";
    EXPECT_EQ(a.stashedHeldItem(), std::string(30, 'x'));
    EXPECT_EQ(a.hitPoints(), -25536);
    EXPECT_EQ(a.statusCounter1(), -1);
    EXPECT_EQ(a.statusCounter2(), 4464);
    EXPECT_EQ(a.statusCounter3(), 12);
    EXPECT_EQ(a.language(), 1);

    g().ui.hitPoints = 5;
    g().ui.language = 0;
    ASSERT_TRUE(loadGame(g(), 1));
    EXPECT_EQ(g().ui.hitPoints, -25536);
    EXPECT_EQ(g().ui.statusCounters, (std::array<int32_t, 3>{-1, 4464, 12}));
    EXPECT_EQ(g().ui.language, 1);
    EXPECT_EQ(g().ui.slotLabels[0], "Lampe") << "labels follow the restored language";
    EXPECT_EQ(g().room().name(), "cellar");
}

TEST_F(SavedGamesTest, LoadRestoresEveryRoomAndObjectListWhateverTheyHeld) {
    g().tables.inventory.slot(1).setItem("key");
    g().ui.hitPoints = 77;
    g().tables.rooms[2].objects[1].setNumVar(2, 9);
    g().scene.returnRoom = 0;
    ASSERT_TRUE(saveGame(g(), 2));
    const auto saved = snapshot(g());

    // Play on: objects appear in the empty room, others move, the inventory changes.
    run.setObjectCount(1, 3);
    run.setObjectCount(0, 2);
    g().tables.rooms[2].objects[1].setX(555);
    g().tables.rooms[2].setBackground("other.dxg");
    g().tables.inventory.slot(1).setItem("");
    g().tables.inventory.slot(2).setItem("lamp");
    g().ui.hitPoints = 3;
    enterRoom(g(), 1);
    g().scene.imageSlots[0][3].clear();

    ASSERT_TRUE(loadGame(g(), 2));
    EXPECT_TRUE(g().tables.rooms[1].objects.empty());
    ASSERT_EQ(g().tables.rooms[0].objects.size(), 5u);
    ASSERT_EQ(g().tables.rooms[2].objects.size(), 2u);
    EXPECT_EQ(g().tables.rooms[2].objects[1].numVar(2), 9);
    EXPECT_EQ(g().scene.currentRoom, 0);
    EXPECT_EQ(g().scene.returnRoom, 0);
    auto now = snapshot(g());
    EXPECT_EQ(now.rooms, saved.rooms);
    EXPECT_EQ(now.objects, saved.objects);
    EXPECT_EQ(now.inventory, saved.inventory);
    EXPECT_EQ(now.hitPoints, 77);
    EXPECT_EQ(g().ui.slotLabels[1], "key") << "slot pictures and labels follow the inventory";
    // The current room's objects got their pictures, the main character included.
    EXPECT_GT(g().scene.imageSlots[4][3].count(), 0);
    EXPECT_GT(g().scene.imageSlots[0][3].count(), 0);
    EXPECT_TRUE(errors().empty()) << errors().front();
}

TEST_F(SavedGamesTest, TheStashedItemIsHeldAfterLoading) {
    g().cursor.stashedHeldItem = "key";
    g().scene.returnRoom = 0;
    ASSERT_TRUE(saveGame(g(), 3));
    g().cursor.stashedHeldItem = "lamp";  // put aside in the game being left
    g().cursor.heldItem.clear();
    ASSERT_TRUE(loadGame(g(), 3));
    EXPECT_EQ(g().cursor.heldItem, "key");
    EXPECT_EQ(g().cursor.stashedHeldItem, "");
    EXPECT_GT(g().cursor.curImageList.count(), 0);
    EXPECT_EQ(g().cursor.cursorIndex, kCursorRows - 1);
}

TEST_F(SavedGamesTest, SavingOverASlotReplacesEveryMember) {
    g().ui.hitPoints = 1;
    g().ui.screenshotDib = test::solidImage(4, 3, 0x112233);
    ASSERT_TRUE(saveGame(g(), 1));
    const auto first = readSlot(slot(1));

    run.setObjectCount(0, 1);
    run.setObjectCount(1, 4);
    run.setObjectCount(2, 0);
    g().tables.inventory.slot(0).setItem("key");
    g().ui.hitPoints = 2;
    g().tables.rooms[2].setTitleKey("options");
    g().ui.screenshotDib = test::solidImage(2, 2, 0x445566);
    g().scripts.playTimeMs = 60000;
    ASSERT_TRUE(saveGame(g(), 1));
    const auto second = readSlot(slot(1));
    EXPECT_EQ(second.order, first.order);
    for (const auto& name : first.order) EXPECT_NE(first[name], second[name]) << name;
    EXPECT_EQ(second.text("objcounts.txt"), "1\r\n4\r\n0\r\n");
    EXPECT_EQ(second["roomobjs.dat"].size(), 5 * kObject);
    EXPECT_EQ(fileCount(run.saveFolder()), 1) << "no temporary file is left behind";

    run.setObjectCount(1, 9);
    ASSERT_TRUE(loadGame(g(), 1));
    EXPECT_EQ(g().tables.rooms[0].objects.size(), 1u);
    EXPECT_EQ(g().tables.rooms[1].objects.size(), 4u);
    EXPECT_TRUE(g().tables.rooms[2].objects.empty());
    EXPECT_EQ(g().tables.rooms[2].titleKey(), "options");
    EXPECT_EQ(g().ui.hitPoints, 2);
}

TEST_F(SavedGamesTest, LoadingAMissingSlotChangesNothing) {
    const auto before = snapshot(g());
    EXPECT_FALSE(loadGame(g(), 7));
    EXPECT_TRUE(snapshot(g()) == before);
    EXPECT_TRUE(errors().empty());
}

TEST_F(SavedGamesTest, TheGamePackageStaysInUseAfterSaveAndLoad) {
    g().scene.returnRoom = 0;
    ASSERT_TRUE(saveGame(g(), 1));
    ASSERT_TRUE(loadGame(g(), 1));
    EXPECT_EQ(run.package.packagePath(), run.packageFile());
    MemoryStream* prefs = run.package.extractToStream("prefs.dat");
    ASSERT_NE(prefs, nullptr);
    EXPECT_EQ(prefs->size(), PreferencesRecord::kSize);
    run.package.extractToFolder({"rooms.dat"}, run.dir.path() / "check");
    EXPECT_TRUE(fs::exists(run.dir.path() / "check" / "rooms.dat"));
    // A failed load too.
    writeSlot(slot(2), {{"objcounts.txt", bytesOf("x")}});
    EXPECT_FALSE(loadGame(g(), 2));
    EXPECT_NE(run.package.extractToStream("inv.dat"), nullptr);
}

TEST_F(SavedGamesTest, ASlotSavedWithNoGameInProgressEntersNoRoom) {
    g().scene.returnRoom = -1;
    ASSERT_TRUE(saveGame(g(), 5));
    EXPECT_EQ(AdditionalRecord(readSlot(slot(5))["additional.dat"]).returnRoomName(), "");

    enterRoom(g(), 2);
    g().scene.returnRoom = 1;
    ASSERT_TRUE(loadGame(g(), 5));
    EXPECT_EQ(g().scene.currentRoom, 2);
    EXPECT_EQ(g().scene.returnRoom, -1) << "the loaded game has no game in progress";
    EXPECT_TRUE(errors().empty());
}

TEST_F(SavedGamesTest, SavingShowsTheSavingPictureCentredWithItsColourKey) {
    // 20 x 10, black (the colour key) in the left half.
    Image img = test::solidImage(20, 10, 0x3366CC);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) img.pixels[static_cast<size_t>(y * 20 + x)] = 0;
    g().ui.savingImageList = test::singlePictureList(img);
    run.hp.display.back().fill(0x00FF00);
    const auto flips = run.hp.display.flips();
    ASSERT_TRUE(saveGame(g(), 1));
    EXPECT_EQ(run.hp.display.flips(), flips + 1);
    const Surface& shown = run.hp.display.lastFrame();
    EXPECT_EQ(shown.pixel(400, 295), 0x3366CCu);
    EXPECT_EQ(shown.pixel(409, 304), 0x3366CCu);
    EXPECT_EQ(shown.pixel(395, 300), 0x00FF00u) << "colour key";
    EXPECT_EQ(shown.pixel(410, 300), 0x00FF00u);
    EXPECT_EQ(shown.pixel(400, 294), 0x00FF00u);
    EXPECT_EQ(shown.pixel(400, 305), 0x00FF00u);
}

// ---- Slots of one game only ------------------------------------------------------

TEST_F(SavedGamesTest, TheMetaMemberSaysWhichGameWroteTheSlotAndWhatABrowserShows) {
    g().scripts.playTimeMs = 3723500;
    g().ui.language = 1;
    g().tables.rooms[0].setTitleKey("lamp");  // a key the language table translates
    enterRoom(g(), 2);                        // saved from the menu room
    ASSERT_TRUE(saveGame(g(), 1));
    const std::string text = readSlot(slot(1)).text("zelkin-meta.txt");
    SlotMeta meta = readSlotMeta(text);
    EXPECT_EQ(meta.game, "Test game");
    EXPECT_EQ(meta.title, "Test game");
    EXPECT_EQ(meta.room, "Lampe") << "the room a load enters, translated";
    EXPECT_EQ(meta.playSeconds, 3723u);
    // '9' stands for any digit, '+' for one or more digits.
    auto shaped = [](const std::string& text, const std::string& shape) {
        size_t t = 0;
        for (char c : shape) {
            const auto digit = [&] { return t < text.size() && text[t] >= '0' && text[t] <= '9'; };
            if (c == '9' || c == '+') {
                if (!digit()) return false;
                ++t;
                while (c == '+' && digit()) ++t;
            } else if (t < text.size() && text[t] == c) {
                ++t;
            } else {
                return false;
            }
        }
        return t == text.size();
    };
    EXPECT_TRUE(shaped(meta.engine, "+.+.+")) << meta.engine;
    EXPECT_TRUE(shaped(meta.saved, "9999-99-99T99:99:99Z")) << meta.saved;
    EXPECT_FALSE(meta.heldItem) << "only the autosave records the item in hand";
    EXPECT_EQ(text.find('\r'), std::string::npos);

    // Values stay on their line; the held item goes through UTF-8 and back.
    meta.title = "Two\nlines";
    meta.heldItem = "K\xE9y";
    const SlotMeta back = readSlotMeta(writeSlotMeta(meta));
    EXPECT_EQ(back.title, "Two lines");
    EXPECT_EQ(back.heldItem, "K\xE9y");
    EXPECT_EQ(back.game, "Test game");

    g().scripts.playTimeMs = 5;
    g().scene.returnRoom = 0;
    ASSERT_TRUE(loadGame(g(), 1));
    EXPECT_EQ(g().scripts.playTimeMs, 3723000u) << "a loaded game goes on with its own play time";
}

TEST(SlotOwnership, TwoGamesSavingSlotOneKeepTheirOwnAndRefuseEachOthers) {
    test::TempDir home;
    GameBuilder alpha = test::threeRoomGame();
    alpha.prefs.setTitle("Alpha");
    GameBuilder beta = test::threeRoomGame();  // the same rooms: only the meta tells them apart
    beta.prefs.setTitle("Beta");
    RunningGame a(alpha), b(beta);
    for (RunningGame* r : {&a, &b}) {
        r->g.session.saveFolder =
            playerSaveFolder(home.path(), home.path(), r->g.session.gameId).string() + "/";
        r->g.scene.returnRoom = 0;
    }
    a.g.ui.hitPoints = 11;
    b.g.ui.hitPoints = 22;
    ASSERT_TRUE(saveGame(a.g, 1));
    ASSERT_TRUE(saveGame(b.g, 1));
    EXPECT_EQ(slotPath(a.g, 1), home.path() / "zelkin" / "Alpha" / "saves" / "slot1.sav");
    EXPECT_EQ(slotPath(b.g, 1), home.path() / "zelkin" / "Beta" / "saves" / "slot1.sav");
    a.g.ui.hitPoints = 0;
    b.g.ui.hitPoints = 0;
    ASSERT_TRUE(loadGame(a.g, 1));
    ASSERT_TRUE(loadGame(b.g, 1));
    EXPECT_EQ(a.g.ui.hitPoints, 11);
    EXPECT_EQ(b.g.ui.hitPoints, 22);

    // Beta's slot put into Alpha's folder (an old shared folder, a copied file).
    fs::copy_file(slotPath(b.g, 1), slotPath(a.g, 3));
    fs::copy_file(slotPath(b.g, 1), autosavePath(a.g));
    a.g.ui.hitPoints = 5;
    enterRoom(a.g, 1);
    const auto before = snapshot(a.g);
    EXPECT_FALSE(loadGame(a.g, 3));
    EXPECT_FALSE(continueFromAutosave(a.g));
    EXPECT_TRUE(snapshot(a.g) == before);
    EXPECT_EQ(a.hp.errorReport.messages,
              (std::vector<std::string>{"slot 3 belongs to another game ('Beta')",
                                        "the autosave belongs to another game ('Beta')"}));
    EXPECT_TRUE(isSlotOfGame(a.g, slotPath(a.g, 1)));
    EXPECT_FALSE(isSlotOfGame(a.g, slotPath(a.g, 3)));
}

TEST_F(SavedGamesTest, ASlotWrittenBeforeTheMetaMemberStillLoads) {
    g().scene.returnRoom = 0;
    g().ui.hitPoints = 31;
    ASSERT_TRUE(saveGame(g(), 1));
    auto members = readSlot(slot(1)).members;
    members.erase("zelkin-meta.txt");
    writeSlot(slot(1), members);
    const auto saved = snapshot(g());
    g().ui.hitPoints = 1;
    run.setObjectCount(1, 3);
    ASSERT_TRUE(loadGame(g(), 1));
    EXPECT_TRUE(snapshot(g()) == saved);
    EXPECT_TRUE(errors().empty());
    // Checked by its rooms: the same slot with a room this game lacks is not this game's.
    EXPECT_TRUE(isSlotOfGame(g(), slot(1)));
    RoomRecord cellar{std::span(members["savedrooms.dat"]).subspan(kRoom, kRoom)};
    cellar.setName("crypt");
    std::copy(cellar.bytes().begin(), cellar.bytes().end(),
              members["savedrooms.dat"].begin() + kRoom);
    writeSlot(slot(1), members);
    EXPECT_FALSE(isSlotOfGame(g(), slot(1)));
}

TEST_F(SavedGamesTest, TheFirstStartCopiesThisGamesSlotsFromTheSharedFoldersAndDeletesNothing) {
    const fs::path besideExe = run.dir.path() / "bin" / "saves";
    const fs::path shared = run.dir.path() / "data" / "zelkin" / "saves";
    auto saveInto = [&](const fs::path& folder, int n, int hitPoints) {
        g().session.saveFolder = folder.string() + "/";
        g().ui.hitPoints = hitPoints;
        g().scene.returnRoom = 0;
        EXPECT_TRUE(saveGame(g(), n));
        return slotPath(g(), n);
    };
    saveInto(besideExe, 1, 1);
    const fs::path noMeta = saveInto(besideExe, 2, 2);
    auto members = readSlot(noMeta).members;
    members.erase("zelkin-meta.txt");
    writeSlot(noMeta, members);
    saveInto(shared, 1, 99);  // slot 1 beside the executable wins
    saveInto(shared, 5, 5);
    const fs::path other = saveInto(shared, 3, 3);
    members = readSlot(other).members;
    const auto& text = members["zelkin-meta.txt"];
    SlotMeta meta = readSlotMeta(std::string(text.begin(), text.end()));
    meta.game = "Another";
    members["zelkin-meta.txt"] = bytesOf(writeSlotMeta(meta));
    writeSlot(other, members);
    std::ofstream(shared / "notes.txt") << "not a slot";

    g().session.saveFolder = (run.dir.path() / "new").string() + "/";
    CopiedSlots copied = copySlotsFromSharedFolders(g(), {besideExe, shared});
    EXPECT_EQ(copied.count, 3);
    EXPECT_EQ(copied.from, (std::vector<fs::path>{besideExe, shared}));
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(g().session.saveFolder))
        names.insert(e.path().filename());
    EXPECT_EQ(names, (std::set<std::string>{"slot1.sav", "slot2.sav", "slot5.sav"}));
    EXPECT_EQ(fileCount(besideExe), 2) << "nothing is deleted";
    EXPECT_EQ(fileCount(shared), 4);
    ASSERT_TRUE(loadGame(g(), 1));
    EXPECT_EQ(g().ui.hitPoints, 1);
    // Only into an empty folder: a second start copies nothing.
    fs::remove(fs::path(g().session.saveFolder) / "slot5.sav");
    EXPECT_EQ(copySlotsFromSharedFolders(g(), {besideExe, shared}).count, 0);
}

// ---- Autosave ------------------------------------------------------------------

TEST_F(SavedGamesTest, TheAutosaveWaitsForAQuietMomentInAPlayRoom) {
    EXPECT_TRUE(autosaveAllowed(g(), false));
    g().walk.walking = true;
    EXPECT_FALSE(autosaveAllowed(g(), false));
    EXPECT_TRUE(autosaveAllowed(g(), true)) << "quitting does not wait for the walk";
    g().walk.walking = false;
    const struct {
        const char* what;
        std::function<void(GameState&)> set, reset;
    } cases[] = {
        {"dialogue", [](GameState& s) { s.dialogue.dialogueOpen = true; },
         [](GameState& s) { s.dialogue.dialogueOpen = false; }},
        {"fade", [](GameState& s) { s.scene.fading = true; },
         [](GameState& s) { s.scene.fading = false; }},
        {"faded", [](GameState& s) { s.scene.screenFaded = true; },
         [](GameState& s) { s.scene.screenFaded = false; }},
        {"script", [](GameState& s) { queueScript(s); },
         [](GameState& s) { s.scripts.queue.clear(); }},
        {"menu room", [](GameState& s) { enterRoom(s, 2); }, [](GameState& s) { enterRoom(s, 0); }},
    };
    for (const auto& c : cases) {
        c.set(g());
        EXPECT_FALSE(autosaveAllowed(g(), true)) << c.what;
        c.reset(g());
        EXPECT_TRUE(autosaveAllowed(g(), false)) << c.what;
    }
}

TEST_F(SavedGamesTest, ContinueRestoresTheAutosaveWithTheItemInHand) {
    enterRoom(g(), 1);
    g().tables.inventory.slot(1).setItem("key");
    g().tables.rooms[0].objects[2].setNumVar(4, 1234);
    g().ui.hitPoints = 64;
    holdItem(g(), "lamp");
    g().ui.screenshotDib = test::solidImage(3, 3, 0x010203);
    run.hp.display.back().fill(0x336699);
    ASSERT_TRUE(writeAutosave(g()));
    EXPECT_EQ(g().ui.screenshotDib.width, 3) << "the game's own next thumbnail stays";
    const auto c = readSlot(autosavePath(g()));
    PictureList shot = readPictureList(c["screenshot.dxg"]);
    ASSERT_EQ(shot.count(), 1);
    EXPECT_EQ(shot.items[0].width(), 160);
    EXPECT_EQ(shot.items[0].image().at(5, 5), 0x336699u);
    const auto saved = snapshot(g());

    // A fresh start of the same game resumes it.
    RunningGame next;
    next.g.session.saveFolder = g().session.saveFolder;
    queueScript(next.g);  // a start-room script of the new game
    ASSERT_TRUE(continueFromAutosave(next.g));
    const auto resumed = snapshot(next.g);
    EXPECT_EQ(resumed.rooms, saved.rooms);
    EXPECT_EQ(resumed.objects, saved.objects);
    EXPECT_EQ(resumed.inventory, saved.inventory);
    EXPECT_EQ(resumed.hitPoints, 64);
    EXPECT_EQ(next.g.scene.currentRoom, 1);
    EXPECT_EQ(next.g.cursor.heldItem, "lamp");
    EXPECT_EQ(next.g.scripts.queue.inUse(0), false) << "the new game's scripts do not run on";
    EXPECT_TRUE(next.hp.errorReport.messages.empty());

    // Without an autosave nothing changes.
    fs::remove(autosavePath(g()));
    const auto before = snapshot(next.g);
    EXPECT_FALSE(continueFromAutosave(next.g));
    EXPECT_TRUE(snapshot(next.g) == before);
}

// ---- Failed saves --------------------------------------------------------------

// Runs `body` in a child process (to change its user or limits) and expects exit 0.
void expectInChild(const std::function<void()>& body) {
    EXPECT_EXIT(body(), ::testing::ExitedWithCode(0), "");
}

TEST_F(SavedGamesTest, ASaveIntoAReadOnlyFolderLeavesTheOldSlotAsItWas) {
    ASSERT_TRUE(saveGame(g(), 1));
    const auto old = fileBytes(slot(1));
    run.setObjectCount(1, 3);
    ASSERT_EQ(::chmod(run.dir.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(run.saveFolder().c_str(), 0555), 0);
    expectInChild([&] {
        // Root writes anywhere; play an ordinary user.
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
        bool saved = saveGame(g(), 1);
        const auto& e = errors();
        _exit(!saved && e.size() == 1 && e[0].find(slot(1).string()) != std::string::npos ? 0 : 1);
    });
    ::chmod(run.saveFolder().c_str(), 0755);
    EXPECT_EQ(fileBytes(slot(1)), old);
    EXPECT_EQ(fileCount(run.saveFolder()), 1);
}

TEST_F(SavedGamesTest, ASaveThatFailsHalfwayLeavesTheOldSlotAsItWas) {
    ASSERT_TRUE(saveGame(g(), 1));
    const auto old = fileBytes(slot(1));
    // Objects that do not compress, so the new archive outgrows the file size limit.
    Random random;
    random.seed(7);
    for (auto& o : g().tables.rooms[0].objects)
        for (auto& b : o.bytes()) b = static_cast<uint8_t>(random.below(256));
    expectInChild([&] {
        struct rlimit limit = {64 * 1024, 64 * 1024};
        signal(SIGXFSZ, SIG_IGN);
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(3);
        bool saved = saveGame(g(), 1);
        const auto& e = errors();
        _exit(!saved && e.size() == 1 && e[0].find("slot1.sav") != std::string::npos ? 0 : 1);
    });
    EXPECT_EQ(fileBytes(slot(1)), old);
    EXPECT_EQ(fileCount(run.saveFolder()), 1);
    // Without the limit the same save goes through.
    EXPECT_TRUE(saveGame(g(), 1));
    EXPECT_NE(fileBytes(slot(1)), old);
}

TEST_F(SavedGamesTest, ASaveWhoseFolderCannotBeMadeReportsOneError) {
    g().session.saveFolder = (run.dir.path() / "game.tgp" / "saves").string() + "/";
    EXPECT_FALSE(saveGame(g(), 1));
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_NE(errors()[0].find("slot1.sav"), std::string::npos) << errors()[0];
    // Tried again, it is reported again.
    EXPECT_FALSE(saveGame(g(), 1));
    EXPECT_EQ(errors().size(), 2u);
}

// ---- Broken slots ----------------------------------------------------------------

class BrokenSlotTest : public SavedGamesTest {
  protected:
    void SetUp() override {
        SavedGamesTest::SetUp();
        g().scene.returnRoom = 0;
        ASSERT_TRUE(saveGame(g(), 1));
        members = readSlot(slot(1)).members;
        // The game moves on, so a load that changed anything would show.
        run.setObjectCount(1, 2);
        g().ui.hitPoints = 12;
        g().tables.inventory.slot(2).setItem("key");
        enterRoom(g(), 2);
        before = snapshot(g());
    }

    std::map<std::string, std::vector<uint8_t>> members;
    test::SavedState before;
};

// Each damage is refused with one error naming the slot and the fault; nothing changes.
TEST_F(BrokenSlotTest, DamagedMembersAreRefused) {
    using Members = std::map<std::string, std::vector<uint8_t>>;
    auto setText = [](const char* text) {
        return [text](Members& m) { m["objcounts.txt"] = bytesOf(text); };
    };
    const struct {
        std::function<void(Members&)> damage;
        std::string message;
    } cases[] = {
        {setText("5\r\nzwei\r\n2\r\n"), "'zwei' is not a valid integer value"},
        {setText("5\r\n0\r\n"), "List index out of bounds (2)"},
        {setText("8\r\n-1\r\n0\r\n"), "'-1' is not a valid object count"},
        {setText("5\r\n1\r\n2\r\n"), "'objcounts.txt' counts 8"},
        {[](Members& m) { m["roomobjs.dat"].resize(7 * kObject - 100); }, "'roomobjs.dat' holds"},
        {[](Members& m) { m.erase("objcounts.txt"); }, "'objcounts.txt' is missing"},
        {[](Members& m) {
             auto& rooms = m["savedrooms.dat"];
             rooms.insert(rooms.end(), rooms.begin(), rooms.begin() + kRoom);
         },
         "'savedrooms.dat' holds 4 rooms"},
        {[](Members& m) { m["additional.dat"].push_back(0); }, "'additional.dat' holds 73 bytes"},
        {[](Members& m) {
             AdditionalRecord a(m["additional.dat"]);
             a.setReturnRoomName("attic");
             m["additional.dat"].assign(a.bytes().begin(), a.bytes().end());
         },
         "'attic'"},
    };
    size_t reported = 0;
    for (const auto& c : cases) {
        Members damaged = members;
        c.damage(damaged);
        writeSlot(slot(1), damaged);
        EXPECT_FALSE(loadGame(g(), 1)) << c.message;
        ASSERT_EQ(errors().size(), ++reported) << c.message;
        EXPECT_NE(errors().back().find(c.message), std::string::npos) << errors().back();
        EXPECT_NE(errors().back().find(slot(1).string()), std::string::npos) << errors().back();
        EXPECT_TRUE(snapshot(g()) == before) << c.message;
    }
}

TEST_F(BrokenSlotTest, NotAnArchive) {
    test::writeBytes(slot(1).string(), bytesOf("not a zip archive"));
    EXPECT_FALSE(loadGame(g(), 1));
    EXPECT_EQ(errors().size(), 1u);
    EXPECT_TRUE(snapshot(g()) == before);
    EXPECT_FALSE(loadGame(g(), 1));
    EXPECT_EQ(errors().size(), 2u) << "a second try is reported again";
}

TEST_F(BrokenSlotTest, FewerSavedRoomsKeepTheOthersAndAGoodSlotStillLoads) {
    members["savedrooms.dat"].resize(kRoom);
    RoomRecord hall(members["savedrooms.dat"]);
    hall.setMusic("saved.mid");
    members["savedrooms.dat"].assign(hall.bytes().begin(), hall.bytes().end());
    g().tables.rooms[2].setMusic("kept.mid");
    writeSlot(slot(1), members);
    ASSERT_TRUE(loadGame(g(), 1));
    EXPECT_EQ(g().tables.rooms[0].music(), "saved.mid");
    EXPECT_EQ(g().tables.rooms[2].music(), "kept.mid");
    EXPECT_EQ(g().tables.rooms[1].objects.size(), 0u);
    // The slot loaded; entering the hall starts its saved music, which this game lacks.
    EXPECT_EQ(errors(), std::vector<std::string>{
                            "Music 'saved.mid' of room 'hall' is not in the music table"});
}

// ---- Thumbnails -------------------------------------------------------------------

TEST_F(SavedGamesTest, TheThumbnailSamplesTheLastFrameNearestAndTruncated) {
    Surface& screen = run.hp.display.back();  // 800 x 600
    for (int y = 0; y < screen.height; ++y)
        for (int x = 0; x < screen.width; ++x)
            screen.setPixel(x, y, (uint32_t(y) << 12) | uint32_t(x));
    captureThumbnail(g(), 3, 7);
    const Image& t = g().ui.screenshotDib;
    ASSERT_EQ(t.width, 3);
    ASSERT_EQ(t.height, 7);
    // Columns 800 / 3 * x = 0, 266.67, 533.33; rows 600 / 7 * y = 0, 85.71, ... 514.29.
    auto at = [&](int x, int y) { return screen.pixel(x, y); };
    EXPECT_EQ(t.at(0, 0), at(0, 0));
    EXPECT_EQ(t.at(1, 1), at(266, 85));
    EXPECT_EQ(t.at(2, 6), at(533, 514));
    EXPECT_EQ(t.at(2, 3), at(533, 257));

    // Larger than the screen: pixels repeat.
    captureThumbnail(g(), 1600, 1200);
    EXPECT_EQ(g().ui.screenshotDib.at(1599, 1199), at(799, 599));
    EXPECT_EQ(g().ui.screenshotDib.at(3, 2), at(1, 1));

    captureThumbnail(g(), 0, 5);
    EXPECT_TRUE(g().ui.screenshotDib.empty());
}

TEST_F(SavedGamesTest, TheSlotThumbnailBecomesTheObjectsOpaqueSprite) {
    Surface& screen = run.hp.display.back();
    screen.fill(0);
    screen.fillRect({0, 0, 400, 600}, 0xAA5500);
    captureThumbnail(g(), 8, 6);
    ASSERT_TRUE(saveGame(g(), 6));

    enterRoom(g(), 0);
    ASSERT_EQ(g().objects().size(), 5u);
    PictureList& sprite = g().scene.imageSlots[3][3];
    sprite = test::singlePictureList(test::solidImage(20, 40, 0x102030));
    showSlotThumbnail(g(), 3, 9);  // no such slot
    EXPECT_EQ(sprite.item(0).pixel(0, 0), 0x102030u);

    showSlotThumbnail(g(), 3, 6);
    ASSERT_EQ(sprite.count(), 1);
    EXPECT_FALSE(sprite.item(0).transparent) << "black pixels are drawn";
    EXPECT_EQ(sprite.item(0).width(), 8);
    EXPECT_EQ(sprite.item(0).pixel(3, 5), 0xAA5500u);
    EXPECT_EQ(sprite.item(0).pixel(4, 0), 0u);
    EXPECT_EQ(sprite.item(0).patterns().size(), 1u);

    // A slot without a thumbnail leaves the picture as it was.
    sprite = test::singlePictureList(test::solidImage(20, 40, 0x102030));
    auto members = readSlot(slot(6)).members;
    members.erase("screenshot.dxg");
    writeSlot(slot(6), members);
    showSlotThumbnail(g(), 3, 6);
    EXPECT_EQ(sprite.item(0).pixel(0, 0), 0x102030u);
    EXPECT_TRUE(errors().empty());

    // A damaged one is reported and leaves it too.
    members["screenshot.dxg"] = bytesOf("TPF0 broken");
    writeSlot(slot(6), members);
    showSlotThumbnail(g(), 3, 6);
    EXPECT_EQ(sprite.item(0).pixel(0, 0), 0x102030u);
    EXPECT_EQ(errors().size(), 1u);
}

}  // namespace
}  // namespace zk
