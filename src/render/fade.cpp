#include "render/fade.h"

namespace zk {

void fadeOut(GameState& g) {
    g.screenFaded = true;
}
void fadeIn(GameState& g) {
    g.screenFaded = false;
}

}  // namespace zk
