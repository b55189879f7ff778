// Seeds of the targets that read game data: record files, the language table, whole
// game packages and save slots, all made from one small game built in code.
#include "game_seeds.h"

#include <fstream>
#include <iterator>

#include "assets/wave_list.h"
#include "fuzz_game.h"
#include "save/saved_games.h"
#include "support/record_files.h"

namespace zk::fuzz {
namespace {

using test::GameBuilder;
using test::setCommand;

EventView event(ObjectRecord& o, int e, const std::string& name, int number = 0) {
    EventView v = o.event(e);
    v.setName(name);
    v.setNumber(number);
    return v;
}

void zone(StoredRoomRecord& room, int i, Box box, const std::string& target,
          const std::string& entrance) {
    ZoneView z = room.zone(i);
    z.setEnabled(1);
    z.setLeft(box[0]);
    z.setTop(box[1]);
    z.setRight(box[2]);
    z.setBottom(box[3]);
    z.setWalkX(static_cast<int16_t>((box[0] + box[2]) / 2));
    z.setWalkY(static_cast<int16_t>(box[3]));
    z.setHintKey("exit");
    z.setTargetRoom(target);
    z.setTargetEntrance(entrance);
}

void entrance(StoredRoomRecord& room, int i, const std::string& name, int x, int y) {
    EntranceView e = room.entrance(i);
    e.setName(name);
    e.setFacing("left");
    e.setX(x);
    e.setY(y);
    e.setWalkX(static_cast<int16_t>(x + 10));
    e.setWalkY(static_cast<int16_t>(y));
}

}  // namespace

test::GameBuilder fuzzGame() {
    GameBuilder b = GameBuilder::minimal();
    b.prefs.setTitle("Fuzz");
    b.prefs.setDisplayWidth(320);
    b.prefs.setDisplayHeight(240);
    b.prefs.setMainCharacterName("hero");
    b.prefs.setStartCursor("arrow");
    b.prefs.setStartRoomOverride("<none>");
    b.prefs.setLanguage(1);
    b.prefs.setShowObjectTexts(1);
    b.prefs.setShowZoneHints(1);
    b.inventory.setBarY(200);
    b.inventory.setShowStatus(1);
    b.inventory.setShowRoomTitle(1);
    b.pictures["inv.dxg"] = test::singlePictureList(test::solidImage(320, 40, 0x404040));
    for (int i = 0; i < 3; ++i) b.enableSlot(i, 10 + 40 * i, 205, 40 + 40 * i, 235);
    b.inventory.slot(0).setItem("lamp");
    b.inventory.party(0).setName("friend");
    b.inventory.party(0).setX(60);
    b.inventory.party(0).setY(150);
    b.addCursor("hand", 2, 2);

    ObjectRecord* hero = b.findTemplate("hero");
    hero->setWalkLeftSprite("wl.dxg");
    hero->setWalkRightSprite("wr.dxg");
    hero->setStandRightSprite("sr.dxg");
    hero->setWalkStep(4);
    b.addTemplate("friend", "character").setStandRightSprite("sr.dxg");

    ObjectRecord& lamp = b.addTemplate("lamp", "subject");
    lamp.setIconFile("icon.dxg");
    lamp.setSpriteFile("lamp.dxg");
    lamp.setDisplayNameKey("lamp");
    setCommand(event(lamp, 0, "onusewith"), 0, "playsnd", "lamp", "click");
    EventView tick = event(lamp, 1, "ontimer", 0);
    tick.setPeriod(200);
    setCommand(tick, 0, "changexy", "lamp", "<actual>", 90, 60);

    ObjectRecord& door = b.addTemplate("door");
    door.setSpriteFile("door.dxg");
    door.setHoverCursor("hand");
    setCommand(event(door, 0, "onclick"), 0, "walkto", "hero", "", 240, 120);
    setCommand(door.event(0), 1, "waitforchar", "hero");
    setCommand(door.event(0), 2, "changeroom", "cellar", "stairs");

    ObjectRecord& panel = b.addTemplate("panel");
    panel.setSpriteFile("panel.dxg");
    EventView talk = event(panel, 0, "onclick");
    setCommand(talk, 0, "startdialog", "panel", "", 0, 0);
    talk.command(0).setText("Yes#No#");
    setCommand(talk, 1, "waitfordlg");
    setCommand(talk, 2, "ifdlgresult", "", "", 1);
    setCommand(talk, 3, "savelastgs", "", "", 40, 30);
    setCommand(talk, 4, "savegame", "", "", 1);
    setCommand(event(panel, 1, "onkey", 0), 0, "loadgame", "", "", 1);
    EventView fade = event(panel, 2, "onkey", 1);
    setCommand(fade, 0, "fadeout");
    setCommand(fade, 1, "setlanguage", "", "", 2);
    setCommand(fade, 2, "fadein");
    setCommand(event(panel, 3, "onkey", 2), 0, "setslotspr", "", "", 1, 1);
    EventView restart = event(panel, 4, "onkey", 3);
    setCommand(restart, 0, "sethp", "", "", 40);
    setCommand(restart, 1, "newgame");
    setCommand(event(panel, 5, "onroomenter"), 0, "changemusic", "theme");

    StoredRoomRecord& hall = *b.findRoom("hall");
    hall.setTitleKey("hall");
    hall.setMusic("theme");
    hall.setWeather("Rain");
    b.findRoom("hall")->placement(0).setX(160);
    b.findRoom("hall")->placement(0).setY(180);
    b.place(hall, "lamp", 80, 60);
    b.place(hall, "door", 240, 120);
    b.place(hall, "panel", 160, 60, 80);
    zone(hall, 0, {280, 0, 319, 199}, "cellar", "stairs");
    entrance(hall, 0, "back", 250, 150);

    StoredRoomRecord& cellar = b.addRoom("cellar");
    cellar.setTitleKey("cellar");
    cellar.setMinScaleRow(50);
    cellar.setMaxScaleRow(200);
    cellar.setMinScale(40);
    b.place(cellar, "panel", 160, 60);
    b.place(cellar, "door", 80, 120);
    zone(cellar, 0, {0, 0, 40, 199}, "hall", "back");
    entrance(cellar, 0, "stairs", 60, 150);
    b.addRoom("menu", false).setBackground("menu.dxg");

    MusicRecord& theme = b.music.emplace_back();
    theme.setName("theme");
    theme.setFile("theme.mid");
    b.files["music\\theme.mid"] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96};
    b.sounds.items.push_back({"click", false, 2, {pcmFormat(1, 11025, 8), {128, 140, 120}}});
    b.languages =
        "text=\"hall\" lang1=\"The hall\" lang2=\"Die Halle\"\r\n"
        "text=\"cellar\" lang1=\"The cellar\" lang2=\"Der Keller\"\r\n"
        "text=\"lamp\" lang1=\"a lamp\"\r\n"
        "text=\"exit\" lang1=\"Out\" lang2=\"Raus\r\n";
    return b;
}

std::vector<Seed> recordSeeds() {
    const GameBuilder b = fuzzGame();
    auto seed = [](std::string name, RecordFile kind, std::vector<uint8_t> bytes) {
        bytes.insert(bytes.begin(), static_cast<uint8_t>(kind));
        return Seed{std::move(name), std::move(bytes)};
    };
    return {
        seed("music", RecordFile::Music, test::recordFile(b.music)),
        seed("cursors", RecordFile::Cursors, test::recordFile(b.cursors)),
        seed("objects", RecordFile::Objects, test::recordFile(b.templates)),
        seed("prefs", RecordFile::Preferences,
             test::recordFile(std::vector<PreferencesRecord>{b.prefs})),
        seed("inv", RecordFile::Inventory,
             test::recordFile(std::vector<InventoryRecord>{b.inventory})),
        seed("rooms", RecordFile::Rooms, test::recordFile(b.rooms)),
    };
}

std::vector<Seed> languageSeeds() {
    auto text = [](std::string name, std::string_view s) {
        return Seed{std::move(name), std::vector<uint8_t>(s.begin(), s.end())};
    };
    return {
        text("game", fuzzGame().languages),
        text("mixed",
             "text=\"a\" lang1=\"A\"\nlang2=\"B\" text=\"b\"\rtext=\"c\"lang1=\"\"\r\n"
             "text=\"\xE9t\xE9\" lang1=\"\xE9t\xE9\" lang12=\"x\"\n\ntext=\"open\" lang1=\"open"),
    };
}

std::vector<Seed> packageSeeds(const std::filesystem::path& folder) {
    const auto file = folder / "seed.tgp";
    fuzzGame().write(file);
    ArchiveImage image = ArchiveImage::read(file);
    std::vector<Seed> out;
    image.flags = 0;
    out.push_back({"entries", image.encode()});
    image.flags = ArchiveImage::kEncrypt;
    out.push_back({"encrypted", image.encode()});

    GameBuilder small = GameBuilder::minimal();
    small.prefs.setDisplayWidth(64);
    small.prefs.setDisplayHeight(48);
    small.write(file);
    out.push_back({"archive", readFile(file)});
    return out;
}

std::vector<Seed> slotSeeds(const std::filesystem::path& folder) {
    const auto package = folder / "game.tgp";
    const auto saves = folder / "saves";
    fuzzGame().write(package);
    std::vector<Seed> out;
    GameRun run(package, saves);
    if (!run.start()) return out;
    run.frames(3);
    captureThumbnail(run.game(), 8, 6);
    if (!saveGame(run.game(), 1)) return out;
    ArchiveImage image = ArchiveImage::read(saves / "slot1.sav");
    image.flags = 0;
    out.push_back({"members", image.encode()});
    out.push_back({"archive", readFile(saves / "slot1.sav")});
    return out;
}

std::vector<uint8_t> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace zk::fuzz
