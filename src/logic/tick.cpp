// The logic tick: everything that moves by itself, one 25 ms step at a time.
#include <algorithm>

#include "logic/commands.h"
#include "logic/cursor.h"
#include "logic/logic.h"
#include "logic/room_entry.h"
#include "logic/walking.h"
#include "platform/platform.h"
#include "render/object_draw.h"

namespace zk {
namespace {

constexpr int kHintOver = -30;

void moveRain(GameState& g) {
    if (g.room().weather() != "Rain") return;
    const int32_t width = g.tables.prefs.displayWidth();
    for (RainDrop& d : g.scene.rain) {
        d.y += 40 - 20 * d.kind;
        // Drops fall until y reaches the display width, as room entry scatters them.
        if (d.y < width) continue;
        d.kind = g.random.below(2);
        d.x = g.random.below(width);
        d.y = 0;
    }
}

void fireKeyEvents(GameState& g) {
    if (g.scripts.frozen || g.dialogue.dialogueOpen || !g.platform) return;
    Input& input = g.platform->input;
    std::array<bool, kLogicalKeys> flagged{};
    // Every object sees the press before it is released, so several may react to it.
    for (const ObjectRecord& o : g.objects()) {
        if (o.isEmpty()) continue;
        for (int e = 0; e < kEventsPerObject; ++e) {
            ConstEventView ev = o.event(e);
            if (ev.name() != "onkey" || !input.keyPressed(ev.number())) continue;
            g.scripts.queue.enqueue(ev.bytes());
            flagged[static_cast<size_t>(ev.number())] = true;
        }
    }
    for (int k = 0; k < kLogicalKeys; ++k)
        if (flagged[static_cast<size_t>(k)]) input.releaseKey(k);
}

// One full cycle of `name`'s animation ended: counts down the scripts waiting for it.
void animationCycleEnded(GameState& g, const std::string& name) {
    for (int s = 0; s < kQueueSlots; ++s) {
        if (!g.scripts.queue.inUse(s)) continue;
        EventRecord& e = g.scripts.queue.slot(s);
        for (int k = 0; k < kCommandsPerEvent; ++k) {
            CommandView c = e.command(k);
            if (c.verb() != "waitforanim" || c.p1() != name) continue;
            c.setNum1(c.num1() - 1);
            // A count written as 0 or less ends with the first cycle instead of never.
            if (c.num1() <= 0) c.setVerb("");
        }
    }
}

// The objects of the room whose hint a script waits for ("waitforhint").
std::vector<bool> awaitedHints(const GameState& g) {
    std::vector<bool> awaited(g.objects().size());
    for (int s = 0; s < kQueueSlots; ++s) {
        if (!g.scripts.queue.inUse(s)) continue;
        const EventRecord& e = g.scripts.queue.slot(s);
        for (int k = 0; k < kCommandsPerEvent; ++k) {
            ConstCommandView c = e.command(k);
            if (c.verb() != "waitforhint") continue;
            std::string name = c.p1();
            if (name == "<self>") name = c.self();
            const int o = findRoomObject(g, name, g.scene.currentRoom);
            if (o >= 0) awaited[static_cast<size_t>(o)] = true;
        }
    }
    return awaited;
}

void updateHintsAndAnimations(GameState& g) {
    auto& objects = g.objects();
    // A player who reads at a click keeps the texts that scripts wait for until then.
    const std::vector<bool> held =
        g.playerSettings().textSkip == TextSkip::Clicks ? awaitedHints(g) : std::vector<bool>();
    for (size_t i = 0; i < objects.size(); ++i) {
        ObjectRecord& o = objects[i];
        if (o.isEmpty()) continue;
        const int hint = o.hintTimer();
        if (hint > 0) {
            if (i >= held.size() || !held[i]) o.setHintTimer(hint - kTickMs);
        } else if (hint > kHintOver) {
            o.setHintTimer(kHintOver);
            o.setDisplayName(g.translate(o.displayNameKey()));
        }
        if (!o.animating()) continue;
        o.setFrameTicks(o.frameTicks() + 1);
        if (o.frameTicks() * kTickMs < o.frameDelay()) continue;
        const PictureList* list = objectPictureList(g, static_cast<int>(i));
        const int pictures = list ? list->count() : 0;
        if (o.frame() < pictures - 1) {
            o.setFrame(o.frame() + 1);
        } else {
            o.setFrame(0);
            animationCycleEnded(g, o.name());
        }
        o.setFrameTicks(0);
    }
}

void runObjectTimers(GameState& g) {
    const auto& objects = g.objects();
    const int timed = std::min<int>(kTimedObjects, static_cast<int>(objects.size()));
    for (int i = 0; i < timed; ++i) {
        const ObjectRecord& o = objects[static_cast<size_t>(i)];
        if (o.isEmpty()) continue;
        for (int n = 0; n < kTimersPerObject; ++n) {
            ObjectTimer& t =
                g.scripts
                    .timers[static_cast<size_t>(i) * kTimersPerObject + static_cast<size_t>(n)];
            if (t.period == -1) continue;
            ++t.ticks;
            if (int64_t{t.ticks} * kTickMs < t.period) continue;
            t.ticks = 0;
            for (int e = 0; e < kEventsPerObject; ++e) {
                ConstEventView ev = o.event(e);
                if (ev.name() == "ontimer" && ev.number() == n) g.scripts.queue.enqueue(ev.bytes());
            }
        }
    }
}

}  // namespace

std::vector<std::string> runningEventListing(const EventQueue& queue) {
    std::vector<std::string> lines;
    for (int s = 0; s < kQueueSlots; ++s) {
        if (!queue.inUse(s)) continue;
        const EventRecord& e = queue.slot(s);
        lines.push_back((e.name() + "{").substr(0, 31));
        for (int k = 0; k < kCommandsPerEvent; ++k) {
            ConstCommandView c = e.command(k);
            if (c.verb().empty()) continue;
            lines.push_back("  " + c.verb() + " " + std::to_string(c.num1()) + " " +
                            std::to_string(c.num2()));
        }
        lines.emplace_back("}");
        lines.emplace_back("");
    }
    return lines;
}

void logicTick(GameState& g) {
    if (!g.hasRoom()) return;
    moveRain(g);
    g.scripts.runningEvents = runningEventListing(g.scripts.queue);
    fireKeyEvents(g);
    updateHintsAndAnimations(g);
    runObjectTimers(g);
    runQueue(g);
    g.scripts.queue.freeFinished();
    // The scripts may have changed the room; the rest works on the one now current.
    if (!g.hasRoom()) return;
    animateCursor(g);
    if (g.walk.walking) walkingStep(g);
}

}  // namespace zk
