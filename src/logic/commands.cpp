#include "logic/commands.h"

namespace zk {

void runQueue(GameState&) {}

}  // namespace zk
