#pragma once
// Checks shared by the fuzz targets: a failed check aborts, which the fuzzer and the
// replay programs report as a finding.
#include <cstdio>
#include <cstdlib>

#include "assets/image.h"

#define FUZZ_CHECK(cond)                                                                  \
    do {                                                                                  \
        if (!(cond)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                 \
        }                                                                                 \
    } while (0)

namespace zk::fuzz {

// A decoded image has one pixel per position and, in display form, no top byte.
inline void checkImage(const Image& img, bool display) {
    if (img.empty()) return;
    FUZZ_CHECK(img.pixels.size() ==
               static_cast<size_t>(img.width) * static_cast<size_t>(img.height));
    FUZZ_CHECK(img.width <= kMaxImageSide && img.height <= kMaxImageSide);
    if (display)
        for (uint32_t p : img.pixels) FUZZ_CHECK(p <= 0xFFFFFF);
}

}  // namespace zk::fuzz
