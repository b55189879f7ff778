// Reads arbitrary bytes as a picture list, into a new list and into a list that held
// other pictures (whose buffers the new ones take over): both must end the same way.
// A list that loads must give patterns inside its pictures, and must write and read
// back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "assets/picture_list.h"
#include "core/error.h"
#include "fuzz_check.h"

namespace {

// Loads bytes into list; the error message, or empty on success.
std::string load(zk::PictureList& list, const uint8_t* data, size_t size) {
    zk::MemoryStream s(std::vector<uint8_t>(data, data + size));
    try {
        list.loadFromStream(s);
    } catch (const zk::DataError& e) {
        return e.what();
    }
    return {};
}

// A list of pictures of several sizes filled with a colour no input gives by chance.
zk::PictureList primedList() {
    static const std::vector<uint8_t> bytes = [] {
        zk::PictureList primer;
        for (int n : {1, 7, 40}) {
            zk::Image img{n, n, std::vector<uint32_t>(size_t(n) * size_t(n), 0xABCDEF)};
            primer.add().picture = zk::makeDibPicture(img, 24);
        }
        return zk::writePictureList(primer);
    }();
    return zk::readPictureList(bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zk;
    PictureList list;
    PictureList reused = primedList();
    const std::string error = load(list, data, size);
    FUZZ_CHECK(load(reused, data, size) == error);
    FUZZ_CHECK(reused.count() == list.count());
    for (int i = 0; i < list.count(); ++i) {
        FUZZ_CHECK(reused.item(i).image().pixels == list.item(i).image().pixels);
        FUZZ_CHECK(reused.item(i).picture.payload == list.item(i).picture.payload);
    }
    if (!error.empty()) return 0;

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
