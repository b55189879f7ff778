#include "logic/loader.h"

#include "core/error.h"
#include "logic/room_entry.h"
#include "package/package.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "save/save_folder.h"
#include "save/saved_games.h"

namespace zk {
namespace {

std::string tempFile(const GameState& g, const std::string& name) {
    return g.tempFolder + name;
}

void extractDataFiles(GameState& g, const std::vector<std::string>& names) {
    ExtractResult r = g.package->extractToFolder(names, g.tempFolder);
    // A missing data file is reported when it is opened, naming it; nothing to do here.
    (void)r;
}

// Puts a checked saved game into the running game. Nothing here can fail half-way:
// picture loading reports its own problems and goes on.
void applySavedGame(GameState& g, SavedGame s) {
    g.inventory = s.inventory;
    for (size_t i = 0; i < s.rooms.size(); ++i) static_cast<RoomRecord&>(g.rooms[i]) = s.rooms[i];
    for (size_t i = 0; i < g.rooms.size(); ++i) g.rooms[i].objects = std::move(s.objects[i]);

    // The numbers come first, so that the slot labels are translated into the
    // restored language.
    const AdditionalRecord& a = s.additional;
    g.hitPoints = a.hitPoints();
    g.statusCounters = {a.statusCounter1(), a.statusCounter2(), a.statusCounter3()};
    g.language = a.language();
    if (s.meta) g.playTimeMs = s.meta->playSeconds * 1000;
    for (int i = 0; i < kInventorySlots; ++i) refreshSlotPicture(g, i);
    // The item put aside in the saved game comes back in hand; what the abandoned game
    // had put aside must not come back into this one.
    g.stashedHeldItem.clear();
    holdItem(g, a.stashedHeldItem());

    if (s.enterRoom >= 0) {
        enterRoom(g, s.enterRoom);
        // Room entry leaves the main character's pictures alone; after a load they must
        // show the character as saved.
        if (g.room().isGameRoom()) loadObjectPictures(g, 0, s.enterRoom);
    } else {
        // Saved with no game in progress: no room to enter, but the current room's
        // objects were replaced and need their pictures.
        g.returnRoom = -1;
        if (g.hasRoom())
            for (int p = 1; p < static_cast<int>(g.objects().size()); ++p)
                loadObjectPictures(g, p, g.currentRoom);
    }
}

}  // namespace

// Reads "zelkin.toml" and puts its code page in force wherever texts are converted.
// A damaged member is reported and the game goes on as a game without one.
void loadGameMetadata(GameState& g) {
    try {
        g.metadata = loadMetadata(*g.package);
    } catch (const DataError& e) {
        g.metadata = GameMetadata{};
        reportError(g, e.what());
    }
    g.package->setCodePage(g.metadata.codePage);
    if (g.platform) {
        g.platform->canvas.setCodePage(g.metadata.codePage);
        g.platform->errorReport.setCodePage(g.metadata.codePage);
    }
}

void loadPreferencesFromPackage(GameState& g) {
    loadGameMetadata(g);
    ExtractResult r = g.package->extractToFolder({"prefs.dat"}, g.tempFolder);
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
            "'prefs.dat' is missing from the game package '" + g.packagePath + "'" +
            (names.empty() ? std::string(", which holds no files") : "; it holds " + list));
    }
    g.prefs = loadPreferences(tempFile(g, "prefs.dat"));
    // The metadata's id names the game; without one, its title does.
    g.gameId = gameIdentity(g.metadata.id.empty() ? std::nullopt
                                                  : std::optional<std::string_view>(g.metadata.id),
                            g.prefs.title());
}

void loadInventoryRecord(GameState& g, const std::string& fileName) {
    g.inventory = loadInventory(tempFile(g, fileName), fileName);
    loadInventoryPanel(g);
    g.slotPictures.clear();
    for (int i = 0; i < kInventorySlots; ++i) g.slotPictures.add();
    g.slotPictures.prepare();
    g.slotLabels.assign(kInventorySlots, std::string());
}

void reloadRooms(GameState& g) {
    LoadedRooms loaded =
        loadRooms(tempFile(g, "rooms.dat"), g.templates, g.mainCharacterTemplate, g.prefs,
                  g.inventory, [&g](const std::string& w) { reportError(g, w); });
    g.rooms = std::move(loaded.rooms);
    g.startRoomName = loaded.startRoomName;
    g.roomList.insert(g.roomList.end(), loaded.roomNames.begin(), loaded.roomNames.end());
}

LoadOutcome loadGame(GameState& g) {
    g.screenshotDib = Image{};
    extractDataFiles(
        g, {"objects.dat", "rooms.dat", "cursors.dat", "music.dat", "prefs.dat", "inv.dat"});
    // Music files go into a folder of their own, where the media player opens them.
    g.package->extractToFolder({"music\\*.*"}, g.tempFolder + "music/");

    g.music = loadMusicTable(tempFile(g, "music.dat"));
    g.cursors = loadCursorTable(tempFile(g, "cursors.dat"));
    g.templates.assign(loadObjectTemplates(tempFile(g, "objects.dat")));
    g.mainCharacterTemplate = g.templates.findFirst(g.prefs.mainCharacterName());
    loadInventoryRecord(g, "inv.dat");
    reloadRooms(g);

    g.imageSlots.clear();
    g.imageSlots.resize(kMinImageSlotRows);
    if (g.prefs.dialogImages() == "true") loadPictureList(g, "dlg.dxg", g.dlgImageList);
    loadPictureList(g, "saving.dxg", g.savingImageList);

    // The language table comes before the slot labels, so that a game starting in a
    // language other than 0 labels the items it starts with.
    if (MemoryStream* s = g.package->extractToStream("languages.txt")) {
        std::string text(s->data().begin(), s->data().end());
        g.languageTable = LanguageTable::fromText(text);
    } else {
        reportError(g, "'languages.txt' is missing from the game package");
    }
    for (int i = 0; i < kInventorySlots; ++i) refreshSlotPicture(g, i);

    g.heldItem.clear();
    g.walk = WalkState{};
    g.hitPoints = 100;
    g.statusCounters = {};
    g.hintPreTranslated = false;
    g.queue.clear();

    if (MemoryStream* s = g.package->extractToStream("sounds.dxw")) {
        try {
            g.sounds.loadFromStream(*s);
        } catch (const DataError& e) {
            reportError(g, std::string("Wave list 'sounds.dxw': ") + e.what());
        }
    } else {
        reportError(g, "'sounds.dxw' is missing from the game package");
    }
    if (g.platform) g.lastTickTime = g.platform->clock.ticks();

    if (g.startRoomName.empty()) return LoadOutcome::NoStartRoom;
    int r = findRoom(g, g.startRoomName);
    loadObjectPictures(g, 0, r);
    const auto& objects = g.rooms[static_cast<size_t>(r)].objects;
    for (int p = 0; p < static_cast<int>(objects.size()); ++p)
        if (objects[static_cast<size_t>(p)].inParty()) loadObjectPictures(g, p, r);
    g.frozen = false;

    std::string startName = g.prefs.startRoomOverride();
    if (startName == "<none>") startName = g.startRoomName;
    int start = r;
    for (size_t i = 0; i < g.rooms.size(); ++i)
        if (g.rooms[i].name() == startName) start = static_cast<int>(i);
    g.screenFaded = false;
    g.returnRoom = -1;
    enterRoom(g, start);
    g.gameLoaded = true;
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
    g.queue.clear();
    std::optional<std::string> held = saved->meta ? saved->meta->heldItem : std::nullopt;
    applySavedGame(g, std::move(*saved));
    if (held && !held->empty()) holdItem(g, *held);
    return true;
}

}  // namespace zk
