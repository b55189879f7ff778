// Reads arbitrary bytes as a picture list. A list that loads must give patterns
// inside its pictures, and must write and read back to the same bytes.
#include <cstddef>
#include <cstdint>

#include "assets/picture_list.h"
#include "core/error.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zk;
    PictureList list;
    MemoryStream s(std::vector<uint8_t>(data, data + size));
    try {
        list.loadFromStream(s);
    } catch (const DataError&) {
        return 0;
    }
    for (const auto& item : list.items) {
        fuzz::checkImage(item.image(), true);
        for (const Pattern& p : item.patterns()) {
            FUZZ_CHECK(p.x >= 0 && p.y >= 0 && p.width > 0 && p.height > 0);
            FUZZ_CHECK(int64_t{p.x} + p.width <= item.image().width);
            FUZZ_CHECK(int64_t{p.y} + p.height <= item.image().height);
        }
        Image raw = rawPixels(item.picture);
        FUZZ_CHECK(raw.width == item.image().width && raw.height == item.image().height);
    }
    auto written = writePictureList(list);
    PictureList back = readPictureList(written);  // must not throw
    FUZZ_CHECK(back.count() == list.count());
    FUZZ_CHECK(writePictureList(back) == written);
    return 0;
}
