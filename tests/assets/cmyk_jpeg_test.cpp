// Four-colour JPEG files as Photoshop, ImageMagick and print workflows write them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "assets/jpeg.h"
#include "support/temp_dir.h"

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace zk {
namespace {

struct Inks {
    int width = 48, height = 24;
    std::vector<uint8_t> cmyk;  // four bytes per pixel, 255 = full ink
    uint8_t at(int x, int y, int i) const { return cmyk[size_t((y * width + x) * 4 + i)]; }
};

Inks testInks() {
    Inks inks;
    for (int y = 0; y < inks.height; ++y)
        for (int x = 0; x < inks.width; ++x)
            for (int c : {x * 5, y * 10, (x + y) * 3, x < 24 ? 0 : 100})
                inks.cmyk.push_back(static_cast<uint8_t>(std::min(c, 255)));
    return inks;
}

// A JPEG of the inks in `space` (JCS_CMYK or JCS_YCCK); libjpeg writes Adobe's marker
// for both, so the inks are stored inverted as Adobe's applications store them.
std::vector<uint8_t> encodeInks(const Inks& inks, J_COLOR_SPACE space) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = JDIMENSION(inks.width);
    c.image_height = JDIMENSION(inks.height);
    c.input_components = 4;
    c.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&c);
    jpeg_set_colorspace(&c, space);
    jpeg_set_quality(&c, 100, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<uint8_t> row(size_t(inks.width) * 4);
    while (c.next_scanline < c.image_height) {
        for (size_t i = 0; i < row.size(); ++i)
            row[i] = uint8_t(255 - inks.cmyk[size_t(c.next_scanline) * row.size() + i]);
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

int channelDifference(uint32_t a, uint32_t b) {
    int worst = 0;
    for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    return worst;
}

TEST(CmykJpeg, CmykAndYcckDecodeToTheColoursOfTheirInks) {
    const Inks inks = testInks();
    for (J_COLOR_SPACE space : {JCS_CMYK, JCS_YCCK}) {
        const Image img = decodeJpeg(encodeInks(inks, space));
        ASSERT_EQ(img.width, inks.width);
        ASSERT_EQ(img.height, inks.height);
        int worst = 0;
        for (int y = 0; y < img.height; ++y)
            for (int x = 0; x < img.width; ++x) {
                auto light = [&](int i) {
                    return uint32_t((255 - inks.at(x, y, i)) * (255 - inks.at(x, y, 3)) / 255);
                };
                const uint32_t want = light(0) << 16 | light(1) << 8 | light(2);
                worst = std::max(worst, channelDifference(img.at(x, y), want));
            }
        EXPECT_LE(worst, 4) << (space == JCS_CMYK ? "CMYK" : "YCCK");
    }
}

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The ImageMagick program, empty when it is not installed.
std::string imageMagick() {
    FILE* p = popen(
        "for c in magick convert /usr/bin/convert; do $c -version 2>/dev/null | "
        "grep -q ImageMagick && echo $c && break; done",
        "r");
    if (!p) return {};
    char line[256] = {};
    std::string found = std::fgets(line, sizeof line, p) ? line : "";
    pclose(p);
    while (!found.empty() && found.back() == '\n') found.pop_back();
    return found;
}

// ImageMagick writes the file and converts it back itself: the reference decoder.
TEST(CmykJpeg, MatchesImageMagicksOwnDecoding) {
    const std::string convert = imageMagick();
    if (convert.empty()) GTEST_SKIP() << "ImageMagick is not installed";
    test::TempDir dir;
    const std::string jpg = dir.file("cmyk.jpg"), ppm = dir.file("ref.ppm");
    const std::string make = convert +
                             " -size 64x32 gradient:'#E03010'-'#10A0F0' -colorspace CMYK "
                             "-quality 95 '" +
                             jpg + "' && " + convert + " '" + jpg +
                             "' -colorspace sRGB -depth 8 '" + ppm + "'";
    ASSERT_EQ(std::system(make.c_str()), 0);
    const Image img = decodeJpeg(fileBytes(jpg));
    const std::vector<uint8_t> ref = fileBytes(ppm);
    // A binary PPM: "P6\n64 32\n255\n" and then RGB triples.
    size_t at = 0;
    for (int fields = 0; fields < 4 && at < ref.size(); ++at)
        if (ref[at] == '\n' || ref[at] == ' ') ++fields;
    ASSERT_EQ(ref.size() - at, size_t(64 * 32 * 3));
    ASSERT_EQ(img.width, 64);
    int worst = 0;
    for (int i = 0; i < 64 * 32; ++i) {
        const uint32_t want = uint32_t(ref[at + 3 * size_t(i)]) << 16 |
                              uint32_t(ref[at + 3 * size_t(i) + 1]) << 8 |
                              ref[at + 3 * size_t(i) + 2];
        worst = std::max(worst, channelDifference(img.pixels[size_t(i)], want));
    }
    EXPECT_LE(worst, 3);
}

}  // namespace
}  // namespace zk
