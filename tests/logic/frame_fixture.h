#pragma once
// A game running in-process: a package built with GameBuilder, the main window on the
// headless platform, loaded and ready for frames.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "data/game_state.h"
#include "platform/headless/headless_platform.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"

namespace zk::test {

class RunningGame {
  public:
    explicit RunningGame(const GameBuilder& builder, bool debug = false) {
        builder.write(dir_.path() / "game.tgp");
        WindowOptions o;
        o.packagePath = dir_.path() / "game.tgp";
        o.executableDir = dir_.path();
        o.saveDir = dir_.path() / "saves";
        o.seed = 7;
        o.debug = debug;
        window = std::make_unique<MainWindow>(platform_, o);
        window->FormCreate();
        window->Timer2Timer();
        window->Timer2Timer();
    }

    GameState& g() { return window->game(); }

    // One frame, `ms` of virtual time after the previous one.
    void frame(uint32_t ms = 25) {
        hp.clock.advance(ms);
        window->DXTimer1Timer();
    }
    void frames(int n, uint32_t ms = 25) {
        for (int i = 0; i < n; ++i) frame(ms);
    }
    // The motion that brings the cursor to (x, y) at the next frame.
    void moveTo(int x, int y) { hp.input.addMotion(x - g().input.mouseX, y - g().input.mouseY); }
    // Points at (x, y) for a frame, so the object there is hovered, then presses the
    // button for one frame: the click is dispatched in that frame, after its tick, so
    // what it queued is still in the queue. The release shows at the next frame.
    void press(int x, int y, int button = ButtonLeft) {
        moveTo(x, y);
        frame();
        hp.input.setButton(button, true);
        frame();
        hp.input.setButton(button, false);
    }

    // Names of the events in the queue slots in use, in slot order.
    std::vector<std::string> queued() const {
        std::vector<std::string> names;
        const GameState& s = window->game();
        for (int i = 0; i < kQueueSlots; ++i)
            if (s.scripts.queue.inUse(i)) names.push_back(s.scripts.queue.slot(i).name());
        return names;
    }
    // The first slot in use running `name`, -1 if none.
    int slotOf(const std::string& name) const {
        const GameState& s = window->game();
        for (int i = 0; i < kQueueSlots; ++i)
            if (s.scripts.queue.inUse(i) && s.scripts.queue.slot(i).name() == name) return i;
        return -1;
    }
    int roomObject(const std::string& name) {
        const auto& objects = g().objects();
        for (size_t i = 0; i < objects.size(); ++i)
            if (objects[i].name() == name) return static_cast<int>(i);
        return -1;
    }
    ObjectRecord& object(const std::string& name) {
        int i = roomObject(name);
        EXPECT_GE(i, 0) << name;
        return g().objects()[static_cast<size_t>(i < 0 ? 0 : i)];
    }

    HeadlessPlatform hp;

  private:
    TempDir dir_;
    Platform platform_ = hp.platform();

  public:
    // Last, so the window goes before the services it uses.
    std::unique_ptr<MainWindow> window;
};

// A short silent sound for the interface sound list.
inline WaveItem silentWave(const std::string& name) {
    WaveItem w;
    w.name = name;
    w.wave.format = pcmFormat(1, 8000, 8);
    w.wave.samples.assign(800, 128);
    return w;
}

// Gives event e of template `t` the name `name` and, at command 0, a verb the
// interpreter never finishes, so the queued copy stays visible in the queue.
inline EventView addLastingEvent(ObjectRecord& t, int e, const std::string& name) {
    EventView ev = t.event(e);
    ev.setName(name);
    ev.command(0).setVerb("marker");
    return ev;
}

}  // namespace zk::test
