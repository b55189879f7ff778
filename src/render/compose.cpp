#include "render/compose.h"

#include "platform/platform.h"

namespace zk {

void composeScene(GameState& g) {
    g.platform->display.back().fill(0);
}

}  // namespace zk
