#pragma once
#include "platform/clock.h"
#include "platform/sdl/sdl_subsystem.h"

namespace zk {

// Real milliseconds since SDL started; wait() sleeps.
class SdlClock : public Clock {
  public:
    SdlClock();
    uint32_t ticks() const override;
    void wait(uint32_t ms) override;

  private:
    SdlSubsystem timer_;
};

}  // namespace zk
