#include "logic/walking.h"

namespace zk {

void walkTo(GameState&, int, int) {}
bool waitForChar(GameState&, int, int) {
    return true;
}
void walkingStep(GameState&) {}
void stopChar(GameState& g) {
    g.walk.walking = false;
}
void changeRoom(GameState&, const std::string&, const std::string&) {}

}  // namespace zk
