#pragma once
#include "platform/clock.h"

namespace zk {

// Time that moves only when told: advance() and wait() add to it, nothing sleeps.
class VirtualClock : public Clock {
  public:
    explicit VirtualClock(uint32_t start = 0) : now_(start) {}
    uint32_t ticks() const override { return now_; }
    void wait(uint32_t ms) override { now_ += ms; }
    void advance(uint32_t ms) { now_ += ms; }

  private:
    uint32_t now_;
};

}  // namespace zk
