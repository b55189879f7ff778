#pragma once
#include <cstdint>

namespace zk {

// Milliseconds: real ones in a window, virtual ones in headless runs. The count
// wraps around after 2^32 ms; compare ticks by unsigned difference.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual uint32_t ticks() const = 0;
    virtual void wait(uint32_t ms) = 0;
};

}  // namespace zk
