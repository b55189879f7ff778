#include "app/frame.h"

#include <algorithm>

#include "app/debug_overlay.h"
#include "audio/audio.h"
#include "core/error.h"
#include "logic/logic.h"
#include "logic/narrator.h"
#include "logic/room_entry.h"
#include "logic/scene.h"
#include "platform/platform.h"
#include "render/compose.h"

namespace zk {
namespace {

void readMouse(GameState& g, Input& input) {
    input.refresh();
    g.input.mouseX = std::clamp(saturatingAdd(g.input.mouseX, input.motionX()), 0, kMouseMaxX);
    g.input.mouseY = std::clamp(saturatingAdd(g.input.mouseY, input.motionY()), 0, kMouseMaxY);
}

void frame(GameState& g, DebugOverlay* debug) {
    Platform& p = *g.platform;
    restartMusicIfStopped(g);
    // Unsigned difference: the tick count may wrap around.
    if (p.clock.ticks() - g.scripts.lastTickTime >= kLogicTickMs) {
        g.scripts.lastTickTime = p.clock.ticks();
        g.scripts.playTimeMs += kLogicTickMs;
        logicTick(g);
    }
    Input& input = p.input;
    readMouse(g, input);
    const bool left = input.buttonDown(ButtonLeft);
    const bool right = input.buttonDown(ButtonRight);
    // Each press is acted on once, on the first frame that sees it.
    if (left && !g.input.leftLatch) {
        g.input.leftLatch = true;
        if (!debug || !debug->press(g)) clickDispatch(g);
    }
    if (right && !g.input.rightLatch) {
        g.input.rightLatch = true;
        returnHeldItem(g);
    }
    if (!left) g.input.leftLatch = false;
    if (!right) g.input.rightLatch = false;
    hoverUpdate(g);
    prepareScene(g);
    narrate(g);
    composeScene(g);
    if (debug) debug->draw(g);
    p.display.flip();
}

}  // namespace

void runFrame(GameState& g, DebugOverlay* debug) {
    try {
        frame(g, debug);
    } catch (const DataError& e) {
        reportError(g, e.what());
    }
}

}  // namespace zk
