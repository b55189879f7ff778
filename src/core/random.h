#pragma once
#include <cstdint>
#include <random>

namespace zk {

// The game's one random generator; seeded so that headless runs repeat exactly.
class Random {
  public:
    explicit Random(uint32_t seed = 1) : engine_(seed) {}
    void seed(uint32_t s) { engine_.seed(s); }
    // Uniform integer in [0, n); 0 when n <= 0.
    int32_t below(int32_t n) {
        if (n <= 0) return 0;
        return static_cast<int32_t>(engine_() % static_cast<uint32_t>(n));
    }

  private:
    std::mt19937 engine_;
};

}  // namespace zk
