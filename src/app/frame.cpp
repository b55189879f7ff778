#include "app/frame.h"

#include <algorithm>

#include "app/debug_overlay.h"
#include "audio/audio.h"
#include "core/error.h"
#include "logic/logic.h"
#include "logic/room_entry.h"
#include "logic/scene.h"
#include "platform/platform.h"
#include "render/compose.h"

namespace zk {
namespace {

void readMouse(GameState& g, Input& input) {
    input.refresh();
    g.mouseX = std::clamp(saturatingAdd(g.mouseX, input.motionX()), 0, kMouseMaxX);
    g.mouseY = std::clamp(saturatingAdd(g.mouseY, input.motionY()), 0, kMouseMaxY);
}

void frame(GameState& g, DebugOverlay* debug) {
    Platform& p = *g.platform;
    restartMusicIfStopped(g);
    // Unsigned difference: the tick count may wrap around.
    if (p.clock.ticks() - g.lastTickTime >= kLogicTickMs) {
        g.lastTickTime = p.clock.ticks();
        g.playTimeMs += kLogicTickMs;
        logicTick(g);
    }
    Input& input = p.input;
    readMouse(g, input);
    const bool left = input.buttonDown(ButtonLeft);
    const bool right = input.buttonDown(ButtonRight);
    // Each press is acted on once, on the first frame that sees it.
    if (left && !g.leftLatch) {
        g.leftLatch = true;
        if (!debug || !debug->press(g)) clickDispatch(g);
    }
    if (right && !g.rightLatch) {
        g.rightLatch = true;
        returnHeldItem(g);
    }
    if (!left) g.leftLatch = false;
    if (!right) g.rightLatch = false;
    hoverUpdate(g);
    prepareScene(g);
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
