// Commands about the game as a whole: new game, leaving, returning from menu rooms,
// dialogues, sounds and music.
#include <filesystem>

#include "logic/commands_fixture.h"
#include "support/record_files.h"

namespace zk::test {
namespace {

WaveItem beep(const std::string& name) {
    WaveItem w;
    w.name = name;
    w.wave.format = pcmFormat(1, 8000, 16);
    w.wave.samples.assign(1600, 0);
    return w;
}

GameBuilder menuGame() {
    GameBuilder b = scriptTestGame();
    b.addRoom("menu", false);
    b.addTemplate("key", "subject");
    b.sounds.items = {beep("take")};
    WaveList doorSounds;
    doorSounds.items = {beep("creak")};
    b.files["objects\\door\\waves.dxw"] = writeWaveList(doorSounds);
    MusicRecord& m = b.music.emplace_back();
    m.setName("calm");
    m.setFile("calm.mid");
    b.files["music\\calm.mid"] = std::vector<uint8_t>(64, 0);
    b.addCursor("hand");
    return b;
}

TEST(CommandGame, NewgameRebuildsTheRoomsAndEntersTheStartRoom) {
    ScriptGame game(menuGame());
    GameState& g = game.g;
    g.tables.inventory.slot(0).setItem("changed");
    game.run({{.verb = "changexy", .p1 = "door", .p2 = "hall", .num1 = 1, .num2 = 1},
              {.verb = "changeroom", .p1 = "menu"}});
    game.tick();
    ASSERT_EQ(g.room().name(), "menu");
    EXPECT_EQ(game.object("door", "hall").x(), 1);
    g.walk.walking = true;
    game.run({{.verb = "newgame"}, {.verb = "sethp", .num1 = 3}});
    game.tick();
    EXPECT_EQ(g.room().name(), "hall");
    EXPECT_FALSE(g.walk.walking);
    EXPECT_EQ(g.scene.returnRoom, g.scene.currentRoom);
    EXPECT_EQ(game.object("door").x(), 100);
    EXPECT_EQ(g.tables.inventory.slot(0).item(), "");
    EXPECT_EQ(g.ui.hitPoints, 3);
    EXPECT_TRUE(game.messages().empty());
    EXPECT_FALSE(g.session.quitRequested);
}

TEST(CommandGame, NewgameWithoutAStartRoomEndsTheProgram) {
    ScriptGame game(menuGame());
    GameState& g = game.g;
    // The rooms file now places nobody: there is no room to start in.
    StoredRoomRecord hall;
    hall.setName("hall");
    hall.setIsGameRoom(1);
    writeBytes((game.extractFolder() / "rooms.dat").string(),
               recordFile(std::vector<StoredRoomRecord>{hall}));
    game.run({{.verb = "newgame"}, {.verb = "sethp", .num1 = 3}});
    game.run({{.verb = "sethp", .num1 = 4}});
    game.tick();
    ASSERT_EQ(game.messages().size(), 1u);
    EXPECT_EQ(game.messages()[0].caption, "No game startroom found");
    EXPECT_EQ(game.messages()[0].text, "Error");
    EXPECT_TRUE(g.session.quitRequested);
    EXPECT_EQ(g.session.exitStatus, 1);  // the program ends on an error
    EXPECT_EQ(g.ui.hitPoints, 100);
}

TEST(CommandGame, ExitgameEndsTheProgramAndTheTick) {
    ScriptGame game(menuGame());
    game.run({{.verb = "exitgame"}, {.verb = "sethp", .num1 = 3}});
    game.tick();
    EXPECT_TRUE(game.g.session.quitRequested);
    EXPECT_EQ(game.g.ui.hitPoints, 100);
}

TEST(CommandGame, BacktogameReturnsWithTheStashedItemOnce) {
    ScriptGame game(menuGame());
    GameState& g = game.g;
    g.cursor.heldItem = "key";
    game.run({{.verb = "changeroom", .p1 = "menu"}});
    game.tick();
    ASSERT_EQ(g.room().name(), "menu");
    EXPECT_EQ(g.cursor.heldItem, "");
    EXPECT_EQ(g.cursor.stashedHeldItem, "key");
    game.run({{.verb = "backtogame"}});
    game.tick();
    EXPECT_EQ(g.room().name(), "hall");
    EXPECT_EQ(g.cursor.heldItem, "key");
    EXPECT_EQ(g.cursor.cursorIndex, kCursorRows - 1);
    EXPECT_EQ(g.cursor.stashedHeldItem, "");

    game.run({{.verb = "clearinprogress"}, {.verb = "backtogame"}});
    game.tick();
    ASSERT_EQ(game.messages().size(), 1u);
    EXPECT_EQ(game.messages()[0].caption, "Message");
    EXPECT_EQ(game.messages()[0].text, "No game in progress");
    // A room name that matches no room changes nothing.
    game.run({{.verb = "changeroom", .p1 = "attic"}, {.verb = "sethp", .num1 = 8}});
    game.tick();
    EXPECT_EQ(g.room().name(), "hall");
    EXPECT_EQ(g.ui.hitPoints, 8);
}

TEST(CommandGame, SoundsMusicCursorsAndLanguage) {
    GameBuilder b = menuGame();
    b.languages = "text=\"door\" lang2=\"Tuer\"\n";
    b.findRoom("cellar")->setMusic("calm");
    ScriptGame game(b);
    GameState& g = game.g;
    game.run({{.verb = "addobj", .p1 = "key", .p4 = "holdingsubj"},
              {.verb = "playsnd", .p1 = "<self>", .p2 = "creak"},
              {.verb = "changemusic", .p1 = "<actual>", .p2 = "calm"},
              {.verb = "changemusic", .p1 = "cellar", .p2 = ""},
              {.verb = "setlanguage", .num1 = 2},
              {.verb = "fadeout"}},
             "door");
    game.tick();
    EXPECT_TRUE(g.scene.screenFaded);
    game.run({{.verb = "fadein"}});
    game.tick();
    EXPECT_FALSE(g.scene.screenFaded);
    ASSERT_EQ(g.audio.soundLog.size(), 2u);
    EXPECT_FALSE(g.audio.soundLog[0].fromObject);
    EXPECT_EQ(g.audio.soundLog[0].index, 0);
    EXPECT_TRUE(g.audio.soundLog[1].fromObject);
    EXPECT_EQ(g.audio.soundLog[1].object, "door");
    EXPECT_EQ(g.audio.soundLog[1].sound, "creak");
    EXPECT_EQ(g.room().music(), "calm");
    EXPECT_EQ(g.tables.rooms[static_cast<size_t>(findRoom(g, "cellar"))].music(), "");
    EXPECT_EQ(g.ui.language, 2);
    EXPECT_EQ(game.object("door").displayName(), "Tuer");
    EXPECT_TRUE(game.errors().empty());
}

TEST(CommandGame, SavedGamesRoundTrip) {
    ScriptGame game(menuGame());
    GameState& g = game.g;
    game.run({{.verb = "savelastgs", .num1 = 40, .num2 = 30},
              {.verb = "changevar", .p1 = "door", .p2 = "hall", .text = "9"},
              {.verb = "savegame", .num1 = 3},
              {.verb = "changevar", .p1 = "door", .p2 = "hall", .text = "1"}});
    game.tick();
    EXPECT_EQ(game.object("door").numVar(0), 1);
    ASSERT_TRUE(std::filesystem::exists(g.session.saveFolder + "slot3.sav"));
    game.run({{.verb = "loadgame", .num1 = 3}, {.verb = "setslotspr", .p1 = "door", .num1 = 3}});
    game.tick();
    EXPECT_EQ(game.object("door").numVar(0), 9);
    EXPECT_EQ(g.scene.imageSlots[1][3].count(), 1);
    EXPECT_EQ(g.scene.imageSlots[1][3].items[0].width(), 40);
    EXPECT_FALSE(g.scene.imageSlots[1][3].items[0].transparent);
    EXPECT_EQ(game.slotsInUse(), 0);
}

}  // namespace
}  // namespace zk::test
