#include "logic/logic.h"

namespace zk {

void logicTick(GameState&) {}
void clickDispatch(GameState&) {}
void hoverUpdate(GameState&) {}
void returnHeldItem(GameState&) {}

}  // namespace zk
