// Decodes arbitrary bytes as a bare DIB and as a BMP file. A bitmap that decodes must
// decode to the same size in raw form, and must survive being written again.
#include <cstddef>
#include <cstdint>
#include <span>

#include "assets/dib.h"
#include "core/error.h"
#include "fuzz_check.h"

namespace {

void decodeBoth(std::span<const uint8_t> bytes, zk::Image (*colour)(std::span<const uint8_t>),
                zk::Image (*raw)(std::span<const uint8_t>)) {
    using namespace zk;
    Image img;
    try {
        img = colour(bytes);
    } catch (const DataError&) {
        return;
    }
    fuzz::checkImage(img, true);
    Image r = raw(bytes);  // must not throw when the colour form decoded
    fuzz::checkImage(r, false);
    FUZZ_CHECK(r.width == img.width && r.height == img.height);
    // Writing again is checked on small images only: a few bytes of RLE data can make
    // a picture of hundreds of megabytes, which is allowed but slow to copy twice.
    if (!img.empty() && img.pixels.size() <= (1u << 20))
        FUZZ_CHECK(decodeDib(encodeDib(img, 24)).pixels == img.pixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> bytes(data, size);
    decodeBoth(bytes, zk::decodeDib, zk::decodeDibRaw);
    decodeBoth(bytes, zk::decodeBmp, zk::decodeBmpRaw);
    return 0;
}
