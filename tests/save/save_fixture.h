#pragma once
// A running game in process (loaded from a GameBuilder package, headless), and helpers
// to look into and build save slots.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "logic/loader.h"
#include "logic/room_entry.h"
#include "package/entry_names.h"
#include "package/package.h"
#include "platform/archive.h"
#include "platform/headless/headless_platform.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"

namespace zk::test {

// Three rooms: the play rooms "hall" (with the hero) and "cellar", and the menu room
// "menu"; subject templates "lamp" and "key" (with icons), scenery "crate".
inline GameBuilder threeRoomGame() {
    GameBuilder b = GameBuilder::minimal();
    b.addTemplate("lamp", "subject");
    b.addTemplate("key", "subject");
    b.addTemplate("crate");
    b.place(*b.findRoom("hall"), "crate", 100, 300);
    StoredRoomRecord& cellar = b.addRoom("cellar");
    b.place(cellar, "crate", 200, 300);
    b.addRoom("menu", false);
    b.languages = "text=\"lamp\" lang1=\"Lampe\"\r\ntext=\"key\" lang1=\"Schluessel\"\r\n";
    for (int i = 0; i < 3; ++i) b.enableSlot(i, 10 + 40 * i, 545, 40 + 40 * i, 580);
    b.inventory.slot(0).setItem("lamp");
    return b;
}

class RunningGame {
  public:
    explicit RunningGame(const GameBuilder& builder = threeRoomGame()) {
        builder.write(packageFile());
        package.setPackagePath(packageFile());
        package.setPassword(std::string(kPackagePassword));
        g.platform = &platform;
        g.package = &package;
        g.session.tempFolder = dir.file("extract") + "/";
        g.session.saveFolder = saveFolder().string() + "/";
        loadPreferencesFromPackage(g);
        hp.display.initialize(g.tables.prefs.displayWidth(), g.tables.prefs.displayHeight(), false);
        g.ui.language = g.tables.prefs.language();
        loadGame(g);
    }

    std::filesystem::path packageFile() const { return dir.path() / "game.tgp"; }
    std::filesystem::path saveFolder() const { return dir.path() / "saves"; }

    // Copies of template `name` made room objects.
    ObjectRecord object(const std::string& name, int x = 0) {
        ObjectRecord o = g.tables.templates.at(g.tables.templates.findTemplate(name));
        o.setX(x);
        return o;
    }
    // Gives room `room` exactly `count` objects (position 0 kept when there is one).
    void setObjectCount(int room, int count) {
        auto& list = g.tables.rooms[static_cast<size_t>(room)].objects;
        list.resize(static_cast<size_t>(count), object("crate"));
        for (int i = 1; i < count; ++i) list[static_cast<size_t>(i)].setX(1000 * room + i);
    }

    TempDir dir;
    HeadlessPlatform hp;
    Platform platform = hp.platform();
    Package package;
    GameState g;
};

// Everything a load restores, in one comparable value.
struct SavedState {
    std::vector<std::vector<uint8_t>> rooms;
    std::vector<std::vector<std::vector<uint8_t>>> objects;
    std::vector<uint8_t> inventory;
    int32_t hitPoints = 0;
    std::array<int32_t, 3> statusCounters{};
    int32_t language = 0;
    int32_t currentRoom = 0;
    int32_t returnRoom = 0;
    std::string heldItem;
    std::string stashedHeldItem;
    std::vector<std::string> slotLabels;
    bool operator==(const SavedState&) const = default;
};

inline SavedState snapshot(const GameState& g) {
    SavedState s;
    for (const Room& r : g.tables.rooms) {
        s.rooms.emplace_back(r.bytes().begin(), r.bytes().end());
        auto& list = s.objects.emplace_back();
        for (const ObjectRecord& o : r.objects)
            list.emplace_back(o.bytes().begin(), o.bytes().end());
    }
    s.inventory.assign(g.tables.inventory.bytes().begin(), g.tables.inventory.bytes().end());
    s.hitPoints = g.ui.hitPoints;
    s.statusCounters = g.ui.statusCounters;
    s.language = g.ui.language;
    s.currentRoom = g.scene.currentRoom;
    s.returnRoom = g.scene.returnRoom;
    s.heldItem = g.cursor.heldItem;
    s.stashedHeldItem = g.cursor.stashedHeldItem;
    s.slotLabels = g.ui.slotLabels;
    return s;
}

inline std::vector<uint8_t> fileBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The members of an archive by name, and their order.
struct SlotContents {
    std::vector<std::string> order;
    std::map<std::string, std::vector<uint8_t>> members;
    const std::vector<uint8_t>& operator[](const std::string& name) const {
        return members.at(name);
    }
    std::string text(const std::string& name) const {
        const auto& b = members.at(name);
        return {b.begin(), b.end()};
    }
};

inline SlotContents readSlot(const std::filesystem::path& path) {
    SlotContents c;
    auto archive = openArchive(path);
    for (size_t i = 0; i < archive->entries().size(); ++i) {
        c.order.push_back(archive->entries()[i].name);
        c.members[archive->entries()[i].name] = archive->read(i, "");
    }
    return c;
}

// Writes an archive holding exactly `members`, in name order.
inline void writeSlot(const std::filesystem::path& path,
                      const std::map<std::string, std::vector<uint8_t>>& members) {
    std::vector<ArchiveAddition> additions;
    for (const auto& [name, bytes] : members) {
        ArchiveAddition& a = additions.emplace_back();
        a.name = name;
        a.bytes = bytes;
    }
    writeArchive(path, ArchiveWriteMode::Create, additions);
}

inline std::vector<uint8_t> bytesOf(std::string_view s) {
    return {s.begin(), s.end()};
}

}  // namespace zk::test
