#pragma once
#include <cstdint>

#include "data/game_state.h"
#include "platform/surface.h"

namespace zk {

// The development view of a `--debug` run, drawn over each frame: the running events
// (the listing the logic tick keeps) down the left edge and the room list down the
// right edge, the latest warnings along the bottom. A double click on a room name jumps there; a
// click on the list's heading turns its page when the rooms do not fit on one.
class DebugOverlay {
  public:
    static constexpr int kListWidth = 180;
    static constexpr uint32_t kDoubleClickMs = 500;
    static constexpr int kWarningLines = 4;  // the latest warnings shown at the bottom

    // A left press at (mouseX, mouseY); true when it fell on the room list, which then
    // keeps it from the game.
    bool press(GameState& g);
    void draw(GameState& g);

    // F5..F8 (bits 0..3 of `keys`) switch the room geometry on and off: the walk mask,
    // the zones and entrances, the objects, the walk path.
    void geometryKeys(unsigned keys);
    unsigned geometry() const { return geometry_; }

    int selectedRoom() const { return selected_; }
    int page() const { return page_; }

  private:
    struct Layout {
        int left = 0;
        int lineHeight = 16;
        int rowsPerPage = 1;
        int pages = 1;
    };
    Layout layout(GameState& g) const;

    unsigned geometry_ = 0;  // GeometryLayer bits drawn over the room
    int selected_ = -1;
    int page_ = 0;
    int lastRow_ = -1;
    uint32_t lastPressTime_ = 0;
};

}  // namespace zk
