#include "logic/loader.h"

#include "core/error.h"
#include "logic/cursor.h"
#include "logic/room_entry.h"
#include "package/package.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "save/save_folder.h"
#include "save/saved_games.h"

namespace zk {
namespace {

std::string tempFile(const GameState& g, const std::string& name) {
    return g.session.tempFolder + name;
}

void extractDataFiles(GameState& g, const std::vector<std::string>& names) {
    ExtractResult r = g.package->extractToFolder(names, g.session.tempFolder);
    // A missing data file is reported when it is opened, naming it; nothing to do here.
    (void)r;
}

// Puts a checked saved game into the running game. Nothing here can fail half-way:
// picture loading reports its own problems and goes on.
void applySavedGame(GameState& g, SavedGame s) {
    g.tables.inventory = s.inventory;
    for (size_t i = 0; i < s.rooms.size(); ++i)
        static_cast<RoomRecord&>(g.tables.rooms[i]) = s.rooms[i];
    for (size_t i = 0; i < g.tables.rooms.size(); ++i)
        g.tables.rooms[i].objects = std::move(s.objects[i]);

    // The numbers come first, so that the slot labels are translated into the
    // restored language.
    const AdditionalRecord& a = s.additional;
    g.ui.hitPoints = a.hitPoints();
    g.ui.statusCounters = {a.statusCounter1(), a.statusCounter2(), a.statusCounter3()};
    g.ui.language = a.language();
    if (s.meta) g.scripts.playTimeMs = s.meta->playSeconds * 1000;
    for (int i = 0; i < kInventorySlots; ++i) refreshSlotPicture(g, i);
    // The item put aside in the saved game comes back in hand; what the abandoned game
    // had put aside must not come back into this one.
    g.cursor.stashedHeldItem.clear();
    holdItem(g, a.stashedHeldItem());

    if (s.enterRoom >= 0) {
        enterRoom(g, s.enterRoom);
        // Room entry leaves the main character's pictures alone; after a load they must
        // show the character as saved.
        if (g.room().isGameRoom()) loadObjectPictures(g, 0, s.enterRoom);
    } else {
        // Saved with no game in progress: no room to enter, but the current room's
        // objects were replaced and need their pictures.
        g.scene.returnRoom = -1;
        if (g.hasRoom())
            for (int p = 1; p < static_cast<int>(g.objects().size()); ++p)
                loadObjectPictures(g, p, g.scene.currentRoom);
    }
}

}  // namespace

// Reads "zelkin.toml" and puts its code page in force wherever texts are converted.
// A damaged member is reported and the game goes on as a game without one.
void loadGameMetadata(GameState& g) {
    try {
        g.tables.metadata = loadMetadata(*g.package);
    } catch (const DataError& e) {
        g.tables.metadata = GameMetadata{};
        reportError(g, e.what());
    }
    g.package->setCodePage(g.tables.metadata.codePage);
    if (g.platform) {
        g.platform->canvas.setCodePage(g.tables.metadata.codePage);
        g.platform->errorReport.setCodePage(g.tables.metadata.codePage);
    }
}

void loadPreferencesFromPackage(GameState& g) {
    loadGameMetadata(g);
    ExtractResult r = g.package->extractToFolder({"prefs.dat"}, g.session.tempFolder);
    if (!r.unmatched.empty()) {
        // Say what the package holds instead: a game in a folder of its own, or not a
        // game package at all, is then plain to see.
        const std::vector<std::string> names = g.package->entryNames();
        std::string list;
        constexpr size_t kShown = 12;
        for (size_t i = 0; i < names.size() && i < kShown; ++i)
            list += (i ? ", '" : "'") + names[i] + "'";
        if (names.size() > kShown)
            list += " and " + std::to_string(names.size() - kShown) + " more";
        throw DataError(
            "'prefs.dat' is missing from the game package '" + g.session.packagePath + "'" +
            (names.empty() ? std::string(", which holds no files") : "; it holds " + list));
    }
    g.tables.prefs = loadPreferences(tempFile(g, "prefs.dat"));
    // The metadata's id names the game; without one, its title does.
    g.session.gameId = gameIdentity(g.tables.metadata.id.empty()
                                        ? std::nullopt
                                        : std::optional<std::string_view>(g.tables.metadata.id),
                                    g.tables.prefs.title());
}

void loadInventoryRecord(GameState& g, const std::string& fileName) {
    g.tables.inventory = loadInventory(tempFile(g, fileName), fileName);
    loadInventoryPanel(g);
    g.ui.slotPictures.clear();
    for (int i = 0; i < kInventorySlots; ++i) g.ui.slotPictures.add();
    g.ui.slotPictures.prepare();
    g.ui.slotLabels.assign(kInventorySlots, std::string());
}

void reloadRooms(GameState& g) {
    LoadedRooms loaded = loadRooms(
        tempFile(g, "rooms.dat"), g.tables.templates, g.tables.mainCharacterTemplate,
        g.tables.prefs, g.tables.inventory, [&g](const std::string& w) { reportError(g, w); });
    g.tables.rooms = std::move(loaded.rooms);
    g.tables.startRoomName = loaded.startRoomName;
    g.tables.roomList.insert(g.tables.roomList.end(), loaded.roomNames.begin(),
                             loaded.roomNames.end());
}

LoadOutcome loadGame(GameState& g) {
    g.ui.screenshotDib = Image{};
    extractDataFiles(
        g, {"objects.dat", "rooms.dat", "cursors.dat", "music.dat", "prefs.dat", "inv.dat"});
    // Music files go into a folder of their own, where the media player opens them.
    g.package->extractToFolder({"music\\*.*"}, g.session.tempFolder + "music/");

    g.tables.music = loadMusicTable(tempFile(g, "music.dat"));
    g.tables.cursors = loadCursorTable(tempFile(g, "cursors.dat"));
    g.tables.templates.assign(loadObjectTemplates(tempFile(g, "objects.dat")));
    g.tables.mainCharacterTemplate =
        g.tables.templates.findFirst(g.tables.prefs.mainCharacterName());
    loadInventoryRecord(g, "inv.dat");
    reloadRooms(g);

    g.scene.imageSlots.clear();
    g.scene.imageSlots.resize(kMinImageSlotRows);
    if (g.tables.prefs.dialogImages() == "true") loadPictureList(g, "dlg.dxg", g.ui.dlgImageList);
    loadPictureList(g, "saving.dxg", g.ui.savingImageList);

    // The language table comes before the slot labels, so that a game starting in a
    // language other than 0 labels the items it starts with.
    if (MemoryStream* s = g.package->extractToStream("languages.txt")) {
        std::string text(s->data().begin(), s->data().end());
        g.tables.languageTable = LanguageTable::fromText(text);
    } else {
        reportError(g, "'languages.txt' is missing from the game package");
    }
    for (int i = 0; i < kInventorySlots; ++i) refreshSlotPicture(g, i);

    g.cursor.heldItem.clear();
    g.walk = WalkState{};
    g.ui.hitPoints = 100;
    g.ui.statusCounters = {};
    g.ui.hintPreTranslated = false;
    g.scripts.queue.clear();

    if (MemoryStream* s = g.package->extractToStream("sounds.dxw")) {
        try {
            g.audio.sounds.loadFromStream(*s);
        } catch (const DataError& e) {
            reportError(g, std::string("Wave list 'sounds.dxw': ") + e.what());
        }
    } else {
        reportError(g, "'sounds.dxw' is missing from the game package");
    }
    if (g.platform) g.scripts.lastTickTime = g.platform->clock.ticks();

    if (g.tables.startRoomName.empty()) return LoadOutcome::NoStartRoom;
    int r = findRoom(g, g.tables.startRoomName);
    loadObjectPictures(g, 0, r);
    const auto& objects = g.tables.rooms[static_cast<size_t>(r)].objects;
    for (int p = 0; p < static_cast<int>(objects.size()); ++p)
        if (objects[static_cast<size_t>(p)].inParty()) loadObjectPictures(g, p, r);
    g.scripts.frozen = false;

    std::string startName = g.tables.prefs.startRoomOverride();
    if (startName == "<none>") startName = g.tables.startRoomName;
    int start = r;
    for (size_t i = 0; i < g.tables.rooms.size(); ++i)
        if (g.tables.rooms[i].name() == startName) start = static_cast<int>(i);
    g.scene.screenFaded = false;
    g.scene.returnRoom = -1;
    enterRoom(g, start);
    g.session.gameLoaded = true;
    return LoadOutcome::Loaded;
}

bool loadGame(GameState& g, int slot) {
    std::optional<SavedGame> saved = readSaveSlot(g, slot);
    if (!saved) return false;
    applySavedGame(g, std::move(*saved));
    return true;
}

bool continueFromAutosave(GameState& g) {
    std::optional<SavedGame> saved = readAutosave(g);
    if (!saved) return false;
    // The scripts the start room queued belong to a new game, not to the one resumed.
    g.scripts.queue.clear();
    std::optional<std::string> held = saved->meta ? saved->meta->heldItem : std::nullopt;
    applySavedGame(g, std::move(*saved));
    if (held && !held->empty()) holdItem(g, *held);
    return true;
}

}  // namespace zk
