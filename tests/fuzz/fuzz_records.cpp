// Reads arbitrary bytes as one of the record files of a game package (the first byte
// names which) and builds the room table from it and the other files of a small game.
// A file loads when it holds at least one record, and then gives the records it holds
// up to its table's size; the rooms built from it hold only objects made from known
// templates, and the whole state dumps.
#include <cstddef>
#include <cstdint>
#include <fstream>

#include "app/state_dump.h"
#include "core/error.h"
#include "data/game_state.h"
#include "data/tables.h"
#include "fuzz_check.h"
#include "fuzz_game.h"
#include "game_seeds.h"
#include "platform/headless/headless_platform.h"
#include "support/record_files.h"

namespace {

using namespace zk;
using fuzz::RecordFile;

size_t recordSize(RecordFile kind) {
    switch (kind) {
        case RecordFile::Music:
            return MusicRecord::kSize;
        case RecordFile::Cursors:
            return CursorRecord::kSize;
        case RecordFile::Objects:
            return ObjectRecord::kSize;
        case RecordFile::Preferences:
            return PreferencesRecord::kSize;
        case RecordFile::Inventory:
            return InventoryRecord::kSize;
        default:
            return StoredRoomRecord::kSize;
    }
}

// The record files of the small game, written once.
struct Game {
    std::filesystem::path folder = fuzz::scratchFolder() / "records";

    Game() {
        fuzz::clearFolder(folder);
        const test::GameBuilder b = fuzz::fuzzGame();
        write(RecordFile::Music, test::recordFile(b.music));
        write(RecordFile::Cursors, test::recordFile(b.cursors));
        write(RecordFile::Objects, test::recordFile(b.templates));
        write(RecordFile::Preferences, test::recordFile(std::vector<PreferencesRecord>{b.prefs}));
        write(RecordFile::Inventory, test::recordFile(std::vector<InventoryRecord>{b.inventory}));
        write(RecordFile::Rooms, test::recordFile(b.rooms));
    }
    std::string path(RecordFile kind) const {
        return (folder / ("file" + std::to_string(static_cast<int>(kind)))).string();
    }
    void write(RecordFile kind, const std::vector<uint8_t>& bytes) const {
        test::writeBytes(path(kind), bytes);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const Game game;
    static HeadlessPlatform platform;
    const auto kind = static_cast<RecordFile>(data[0] % static_cast<int>(RecordFile::Count));
    const size_t bytes = size - 1;
    const std::string fuzzed = (game.folder / "fuzzed").string();
    test::writeBytes(fuzzed, std::vector<uint8_t>(data + 1, data + size));
    auto path = [&](RecordFile k) { return k == kind ? fuzzed : game.path(k); };

    GameState g;
    LoadedRooms loaded;
    int warnings = 0;
    try {
        g.tables.music = loadMusicTable(path(RecordFile::Music));
        g.tables.cursors = loadCursorTable(path(RecordFile::Cursors));
        g.tables.templates.assign(loadObjectTemplates(path(RecordFile::Objects)));
        g.tables.prefs = loadPreferences(path(RecordFile::Preferences));
        g.tables.inventory = loadInventory(path(RecordFile::Inventory));
        g.tables.mainCharacterTemplate =
            g.tables.templates.findFirst(g.tables.prefs.mainCharacterName());
        loaded =
            loadRooms(path(RecordFile::Rooms), g.tables.templates, g.tables.mainCharacterTemplate,
                      g.tables.prefs, g.tables.inventory, [&](const std::string&) { ++warnings; });
    } catch (const DataError&) {
        FUZZ_CHECK(bytes < recordSize(kind));
        return 0;
    }
    FUZZ_CHECK(bytes >= recordSize(kind));
    if (kind == RecordFile::Objects)
        FUZZ_CHECK(static_cast<size_t>(g.tables.templates.storedCount()) ==
                   std::min<size_t>(bytes / ObjectRecord::kSize, kTemplateCapacity));

    FUZZ_CHECK(loaded.roomNames.size() == loaded.rooms.size());
    bool startFound = loaded.startRoomName.empty();
    for (const Room& room : loaded.rooms) {
        FUZZ_CHECK(!room.name().empty());
        FUZZ_CHECK(!room.objects.empty());
        FUZZ_CHECK(room.objects.size() <= 1 + kPartyMembers + kPlacementsPerRoom);
        for (size_t p = 1; p < room.objects.size(); ++p)
            FUZZ_CHECK(g.tables.templates.findTemplate(room.objects[p].name()) >= 0);
        if (room.name() == loaded.startRoomName) startFound = true;
    }
    FUZZ_CHECK(startFound);

    g.tables.rooms = std::move(loaded.rooms);
    g.scene.currentRoom = g.tables.rooms.empty() ? -1 : 0;
    const std::string dump = stateDump(g, platform, 0);
    FUZZ_CHECK(!dump.empty() && dump.front() == '{' && dump.back() != ',');
    return 0;
}
