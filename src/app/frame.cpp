#include "app/frame.h"

#include "platform/platform.h"

namespace zk {

void runFrame(GameState& g) {
    Platform& p = *g.platform;
    p.display.back().fill(0);
    p.display.flip();
}

}  // namespace zk
