// Decodes arbitrary bytes as a bare DIB and as a BMP file. A bitmap that decodes must
// decode to the same size in raw form, to the same pixels into reused storage full
// of old pixels, and must survive being written again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <span>

#include "assets/dib.h"
#include "core/bytes.h"
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
    if (img.empty()) return;
    FUZZ_CHECK(decodeDib(encodeDib(img, 24)).pixels == img.pixels);
    FUZZ_CHECK(colour(bytes, std::vector<uint32_t>(img.pixels.size() + 3, 0xABCDEF)).pixels ==
               img.pixels);
}

// True for a bitmap header at `at` that declares an accepted but very large picture.
// A few bytes of RLE data can ask for hundreds of megabytes; decoding them is allowed
// but takes seconds, which would leave the fuzzer stuck on such inputs.
bool declaresHugePicture(std::span<const uint8_t> b, size_t at) {
    if (b.size() < at + 12 || zk::getU32(b, at) != 40) return false;
    const int64_t w = zk::getI32(b, at + 4), h = std::abs(int64_t{zk::getI32(b, at + 8)});
    return w <= zk::kMaxImageSide && h <= zk::kMaxImageSide && w * h > (int64_t{1} << 22);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> bytes(data, size);
    if (declaresHugePicture(bytes, 0) || declaresHugePicture(bytes, 14)) return 0;
    decodeBoth(
        bytes, [](auto b, auto s) { return zk::decodeDib(b, std::move(s)); }, zk::decodeDibRaw);
    decodeBoth(
        bytes, [](auto b, auto s) { return zk::decodeBmp(b, std::move(s)); }, zk::decodeBmpRaw);
    return 0;
}
