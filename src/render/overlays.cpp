#include "render/overlays.h"

namespace zk {

void drawInterfacePass(GameState&) {}
void drawTextsAndDialogue(GameState&) {}

}  // namespace zk
