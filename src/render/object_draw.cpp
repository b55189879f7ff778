#include "render/object_draw.h"

namespace zk {

int objectUnderCursor(GameState&) {
    return -1;
}

}  // namespace zk
