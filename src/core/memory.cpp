#include "core/memory.h"

#include <malloc.h>

namespace zk {

void keepFreedMemory() {
    constexpr int kLargeBlock = 64 * 1024 * 1024;  // larger blocks still come from mmap
    mallopt(M_MMAP_THRESHOLD, kLargeBlock);
    mallopt(M_TRIM_THRESHOLD, 2 * kLargeBlock);
}

}  // namespace zk
