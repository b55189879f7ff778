#pragma once
#include <cstdint>

// Arithmetic on numbers that come from game records and scripts, which may hold any
// 32-bit value. Where such values are compared, the sums are taken in 64 bits (see
// data/hit_test.h); where a sum is stored back into a 32-bit field it wraps as the
// two's complement integers the games were made with did, without overflowing.
namespace zk {

inline int32_t wrappingAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

}  // namespace zk
