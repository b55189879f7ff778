// Decodes arbitrary bytes as a bare DIB and as a BMP file. A bitmap that decodes must
// decode to the same size in raw form, to the same pixels into reused storage full
// of old pixels, and must survive being written again.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "assets/dib.h"
#include "core/error.h"
#include "fuzz_check.h"

namespace {

using Decoder = std::function<zk::Image(std::span<const uint8_t>, std::vector<uint32_t>)>;

void decodeBoth(std::span<const uint8_t> bytes, const Decoder& colour,
                zk::Image (*raw)(std::span<const uint8_t>)) {
    using namespace zk;
    Image img;
    try {
        img = colour(bytes, {});
    } catch (const DataError&) {
        return;
    }
    fuzz::checkImage(img, true);
    Image r = raw(bytes);  // must not throw when the colour form decoded
    fuzz::checkImage(r, false);
    FUZZ_CHECK(r.width == img.width && r.height == img.height);
    // Rewriting and reusing storage are checked on small images only: a few bytes of
    // RLE data can make a picture of hundreds of megabytes, allowed but slow to copy.
    if (img.empty() || img.pixels.size() > (1u << 20)) return;
    FUZZ_CHECK(decodeDib(encodeDib(img, 24)).pixels == img.pixels);
    FUZZ_CHECK(colour(bytes, std::vector<uint32_t>(img.pixels.size() + 3, 0xABCDEF)).pixels ==
               img.pixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> bytes(data, size);
    decodeBoth(
        bytes, [](auto b, auto s) { return zk::decodeDib(b, std::move(s)); }, zk::decodeDibRaw);
    decodeBoth(
        bytes, [](auto b, auto s) { return zk::decodeBmp(b, std::move(s)); }, zk::decodeBmpRaw);
    return 0;
}
