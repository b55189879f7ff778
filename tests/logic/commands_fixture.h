#pragma once
// A game loaded in-process from a GameBuilder package, with helpers to queue scripts
// and run ticks: the script step alone (runQueue and freeing finished slots) or the
// whole logic tick.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "logic/commands.h"
#include "logic/loader.h"
#include "logic/logic.h"
#include "logic/room_entry.h"
#include "package/package.h"
#include "platform/headless/headless_platform.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"

namespace zk::test {

// One command of a test script; fields in record order, so designated initialisers
// read like the record.
struct C {
    std::string verb;
    std::string p1;
    std::string p2;
    std::string p3;
    std::string p4;
    std::string text;
    int num1 = 0;
    int num2 = 0;
    int num3 = 0;
    int num4 = 0;
};

// Writes `commands` into event `e`, with `self` as every command's own object.
inline void writeScript(EventView e, const std::vector<C>& commands, const std::string& self) {
    for (size_t k = 0; k < commands.size(); ++k) {
        CommandView c = e.command(static_cast<int>(k));
        const C& s = commands[k];
        c.setVerb(s.verb);
        c.setP1(s.p1);
        c.setP2(s.p2);
        c.setP3(s.p3);
        c.setP4(s.p4);
        c.setText(s.text);
        c.setNum1(s.num1);
        c.setNum2(s.num2);
        c.setNum3(s.num3);
        c.setNum4(s.num4);
        c.setSelf(self);
    }
}

// Gives template `o` event number `index` named `name` with `commands`.
inline EventView addEvent(ObjectRecord& o, int index, const std::string& name,
                          const std::vector<C>& commands) {
    EventView e = o.event(index);
    e.setName(name);
    writeScript(e, commands, o.name());
    return e;
}

class ScriptGame {
  public:
    explicit ScriptGame(const GameBuilder& builder) {
        builder.write(dir_.file("game.tgp"));
        package_.setPackagePath(dir_.path() / "game.tgp");
        package_.setPassword(std::string(kPackagePassword));
        std::filesystem::create_directories(dir_.path() / "extract");
        std::filesystem::create_directories(dir_.path() / "saves");
        g.platform = &platform_;
        g.package = &package_;
        g.session.tempFolder = dir_.file("extract") + "/";
        g.session.saveFolder = dir_.file("saves") + "/";
        // As the main window wires them.
        g.scripts.queue.onOverflow = [this] {
            platform_.messageBox.show("Event queue overflow", "");
        };
        loadPreferencesFromPackage(g);
        g.cursor.currentCursorName = "#";
        g.ui.language = g.tables.prefs.language();
        if (loadGame(g) != LoadOutcome::Loaded) ADD_FAILURE() << "the test game has no start room";
    }

    // Queues an event named `name` running `commands` as object `self`'s script.
    int run(const std::vector<C>& commands, const std::string& self = "hero",
            const std::string& name = "onclick") {
        EventRecord e;
        e.setName(name);
        writeScript(e.view(), commands, self);
        return g.scripts.queue.enqueue(e);
    }

    // The script step of a logic tick.
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            runQueue(g);
            g.scripts.queue.freeFinished();
        }
    }
    // Whole logic ticks (hints, animations, timers, scripts, walking).
    void logicTicks(int n = 1) {
        for (int i = 0; i < n; ++i) logicTick(g);
    }

    ObjectRecord& object(const std::string& name, const std::string& room = "<actual>") {
        const int r = findRoom(g, room);
        const int i = findRoomObject(g, name, r);
        EXPECT_GE(i, 0) << name << " in " << room;
        return g.tables.rooms[static_cast<size_t>(r < 0 ? 0 : r)]
            .objects[static_cast<size_t>(i < 0 ? 0 : i)];
    }
    std::vector<std::string> verbs(int slot) const {
        std::vector<std::string> out;
        for (int k = 0; k < kCommandsPerEvent; ++k)
            out.push_back(g.scripts.queue.slot(slot).command(k).verb());
        return out;
    }
    int slotsInUse() const {
        int n = 0;
        for (int s = 0; s < kQueueSlots; ++s) n += g.scripts.queue.inUse(s) ? 1 : 0;
        return n;
    }
    const std::vector<std::string>& errors() const { return headless_.errorReport.messages; }
    const std::vector<RecordingMessageBox::Shown>& messages() const {
        return headless_.messageBox.shown;
    }
    std::filesystem::path extractFolder() const { return dir_.path() / "extract"; }

    GameState g;

  private:
    TempDir dir_;
    HeadlessPlatform headless_;
    Platform platform_ = headless_.platform();
    Package package_;
};

// A picture list of `count` 20 x 40 pictures of different colours.
inline PictureList framesList(int count) {
    PictureList list;
    for (int i = 0; i < count; ++i) {
        PictureItem& item = list.add();
        item.picture =
            makeDibPicture(solidImage(20, 40, 0x102030u * static_cast<uint32_t>(i + 1)), 24);
    }
    list.prepare();
    return list;
}

// The minimal game (room "hall" with "hero") with a "door" in the hall, whose
// two-picture animation is "open.dxg", and an empty play room "cellar".
inline GameBuilder scriptTestGame() {
    GameBuilder b = GameBuilder::minimal();
    b.addTemplate("door");
    b.place(*b.findRoom("hall"), "door", 100, 300);
    b.pictures["objects\\door\\open.dxg"] = framesList(2);
    b.addRoom("cellar");
    return b;
}

}  // namespace zk::test
