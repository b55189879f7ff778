// Pictures above 16384 pixels on a side are refused, before their pixels are
// allocated, with an error that gives the size.
#include <gtest/gtest.h>

#include "assets/jpeg.h"
#include "core/error.h"

namespace zk {
namespace {

std::string jpegErrorFor(int width, int height) {
    Image img{8, 8, std::vector<uint32_t>(64, 0x336699)};
    std::vector<uint8_t> jpeg = encodeJpeg(img, 80);
    // The frame header: FF C0, length, precision, height and width (big-endian).
    for (size_t at = 0; at + 9 <= jpeg.size(); ++at) {
        if (jpeg[at] != 0xFF || jpeg[at + 1] != 0xC0) continue;
        jpeg[at + 5] = static_cast<uint8_t>(height >> 8);
        jpeg[at + 6] = static_cast<uint8_t>(height);
        jpeg[at + 7] = static_cast<uint8_t>(width >> 8);
        jpeg[at + 8] = static_cast<uint8_t>(width);
        break;
    }
    try {
        decodeJpeg(jpeg);
    } catch (const DataError& e) {
        return e.what();
    }
    return "";
}

TEST(PictureLimits, HugeJpegPicturesAreRefusedWithTheirSize) {
    const std::string wide = jpegErrorFor(16385, 2);
    EXPECT_EQ(wide.rfind("JPEG error #", 0), 0u) << wide;
    EXPECT_NE(wide.find(": the picture is 16385 x 2 pixels, more than 16384 x 16384"),
              std::string::npos)
        << wide;
    EXPECT_NE(jpegErrorFor(60000, 60000).find("60000 x 60000 pixels"), std::string::npos);
    // At the limit the header is accepted (the data then ends early, which is another
    // error).
    EXPECT_EQ(jpegErrorFor(16384, 1).find("more than"), std::string::npos);
}

}  // namespace
}  // namespace zk
