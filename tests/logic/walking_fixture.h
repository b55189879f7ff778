#pragma once
// A game loaded in-process from a package made by GameBuilder, and a small script runner
// that plays the part of the command interpreter for the walk commands, so that walking
// can be tested on its own.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "logic/loader.h"
#include "logic/room_entry.h"
#include "logic/walking.h"
#include "package/package.h"
#include "platform/headless/headless_platform.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"

namespace zk::test {

// A two-colour walk mask of the display's size: walkable where `walkable(x, y)` holds.
inline PictureList maskPictures(int width, int height,
                                const std::function<bool(int, int)>& walkable) {
    IndexedImage mask;
    mask.width = width;
    mask.height = height;
    mask.palette = {0x000000, 0xFFFFFF};
    mask.indexes.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            mask.indexes[static_cast<size_t>(y) * static_cast<size_t>(width) +
                         static_cast<size_t>(x)] = walkable(x, y) ? 1 : 0;
    PictureList list;
    PictureItem& item = list.add();
    item.name = "mask";
    item.picture = makeDibPicture(mask);
    list.prepare();
    return list;
}

// One command of a test script.
struct Cmd {
    std::string verb;
    std::string p1;
    std::string p2;
    std::string p4;
    int num1 = 0;
    int num2 = 0;
    int num3 = 0;
};

class LoadedGame {
  public:
    explicit LoadedGame(const GameBuilder& builder) {
        builder.write(dir_.file("game.tgp"));
        package_.setPackagePath(dir_.path() / "game.tgp");
        package_.setPassword(std::string(kPackagePassword));
        std::filesystem::create_directories(dir_.path() / "extract");
        g.platform = &platform_;
        g.package = &package_;
        g.session.tempFolder = dir_.file("extract") + "/";
        loadPreferencesFromPackage(g);
        if (loadGame(g) != LoadOutcome::Loaded) ADD_FAILURE() << "the test game has no start room";
    }

    ObjectRecord& object(const std::string& name) {
        int i = findRoomObject(g, name, g.scene.currentRoom);
        EXPECT_GE(i, 0) << name;
        return g.objects()[static_cast<size_t>(i < 0 ? 0 : i)];
    }
    int index(const std::string& name) { return findRoomObject(g, name, g.scene.currentRoom); }
    ObjectRecord& hero() { return g.objects()[0]; }
    WalkPoint at(const std::string& name) { return {object(name).x(), object(name).y()}; }

    // Queues an event named `name` holding `commands`; returns its slot.
    int enqueue(const std::vector<Cmd>& commands, const std::string& name = "onclick") {
        EventRecord e;
        e.setName(name);
        for (size_t k = 0; k < commands.size(); ++k) {
            CommandView c = e.command(static_cast<int>(k));
            c.setVerb(commands[k].verb);
            c.setP1(commands[k].p1);
            c.setP4(commands[k].p4);
            c.setP2(commands[k].p2);
            c.setSelf("hero");
            c.setNum1(commands[k].num1);
            c.setNum2(commands[k].num2);
            c.setNum3(commands[k].num3);
        }
        return g.scripts.queue.enqueue(e);
    }

    // The scripts and walking steps of one logic tick. Verbs other than the walk
    // commands and the block markers are done at once and noted in `ran`.
    void tick() {
        ++ticks;
        for (int s = 0; s < kQueueSlots; ++s) {
            if (!g.scripts.queue.inUse(s)) continue;
            for (int k = 0; k < kCommandsPerEvent; ++k) {
                CommandView c = g.scripts.queue.slot(s).command(k);
                const std::string verb = c.verb();
                if (verb.empty()) continue;
                if (verb == "walkto") {
                    walkTo(g, s, k);
                } else if (verb == "waitforchar") {
                    if (!waitForChar(g, s, k)) break;
                } else if (verb == "changeroom") {
                    c.setVerb("");
                    changeRoom(g, c.p1(), c.p2());
                } else {
                    if (verb != "begin" && verb != "end") ran.push_back(verb);
                    c.setVerb("");
                }
            }
        }
        g.scripts.queue.freeFinished();
        if (g.walk.walking) walkingStep(g);
    }
    void ticksUntilIdle(int limit = 1000) {
        for (int i = 0; i < limit && (g.walk.walking || anySlotInUse()); ++i) tick();
    }
    bool anySlotInUse() const {
        for (int s = 0; s < kQueueSlots; ++s)
            if (g.scripts.queue.inUse(s)) return true;
        return false;
    }
    std::vector<std::string> errors() const { return headless_.errorReport.messages; }

    GameState g;
    std::vector<std::string> ran;  // verbs run by the scripts, in order
    int ticks = 0;

  private:
    TempDir dir_;
    HeadlessPlatform headless_;
    Platform platform_ = headless_.platform();
    Package package_;
};

}  // namespace zk::test
