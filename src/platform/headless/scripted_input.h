#pragma once
#include "platform/input.h"

namespace zk {

// Input set by the headless runner. Motion given before a refresh is reported by
// that refresh only; button and key states hold from the next refresh on until
// they are changed.
class ScriptedInput : public DeviceInput {
  public:
    void addMotion(int dx, int dy);
    // button 1 (left) or 2 (right); others are ignored.
    void setButton(int button, bool down);
    // key 0..4; others are ignored.
    void setKey(int key, bool down);
    // Engine key 0..kEngineKeys-1 pressed: reported by the next refresh only.
    void pressEngineKey(int key);
    // A gamepad button (PadButton) held or let go; a pad counts as connected from
    // the first button or stick position on.
    void setPadButton(int button, bool down);
    // The left stick, each axis held in -kStickRange..kStickRange.
    void setStick(int x, int y);
    // A DeviceKey held or let go.
    void setDeviceKey(int key, bool down);
    // A finger event, reported by the next refresh only.
    void addTouch(const TouchEvent& touch);
    void refresh() override;

    // What the next refresh will report.
    const DeviceReading& pending() const { return pending_; }

  private:
    DeviceReading pending_;
};

}  // namespace zk
