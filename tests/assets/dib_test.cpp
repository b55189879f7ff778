#include "assets/dib.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>

#include "asset_fixtures.h"

namespace zk {
namespace {

using test::Bytes;
using test::dibHeader;
using test::errorOf;
using Px = std::vector<uint32_t>;

TEST(Dib, Rle8RunsAbsoluteDeltaAndClipping) {
    Bytes d = dibHeader(4, 3, 8, 1, 3);
    d.u8({0xFF, 0, 0, 0, 0x10, 0x20, 0x30, 0, 0xFF, 0xFF, 0xFF, 0});  // blue, 0x302010, white
    d.u8({2, 1, 0, 3, 2, 1, 2, 0, 0, 0});  // bottom row: 1 1, then 2 1 2 (last one clipped)
    d.u8({0, 2, 1, 0, 1, 2, 0, 0});        // middle row: move right by one, then 2
    d.u8({4, 5, 0, 1});                    // top row: index 5 is beyond the table
    Image img = decodeDib(d.b);
    ASSERT_EQ(img.width, 4);
    ASSERT_EQ(img.height, 3);
    EXPECT_EQ(img.pixels, (Px{0, 0, 0, 0,                              //
                              0x0000FF, 0xFFFFFF, 0x0000FF, 0x0000FF,  //
                              0x302010, 0x302010, 0xFFFFFF, 0x302010}));
    EXPECT_EQ(decodeDibRaw(d.b).pixels, (Px{5, 5, 5, 5, 0, 2, 0, 0, 1, 1, 2, 1}));
}

TEST(Dib, Rle4NibbleRunsAndAbsoluteMode) {
    Bytes d = dibHeader(5, 2, 4, 2, 4);
    d.u8({0, 0, 0, 0, 0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, 0, 0x99, 0x88, 0x77, 0});
    d.u8({5, 0x12, 0, 0});                    // bottom row: 1 2 1 2 1
    d.u8({0, 3, 0x34, 0x50, 2, 0x67, 0, 1});  // top row: 3 4 5 literally, then 6 7
    EXPECT_EQ(decodeDibRaw(d.b).pixels, (Px{3, 4, 5, 6, 7, 1, 2, 1, 2, 1}));
    EXPECT_EQ(decodeDib(d.b).pixels, (Px{0x778899, 0, 0, 0, 0,  //
                                         0x112233, 0x445566, 0x112233, 0x445566, 0x112233}));
}

TEST(Dib, RleDataWithoutEndCodeAndRunsBeyondThePicture) {
    Bytes d = dibHeader(2, 2, 8, 1, 2);
    d.u8({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0});
    d.u8({200, 1, 0, 2, 255, 255, 9, 1});  // long run, a delta far outside, data cut short
    Image img = decodeDib(d.b);
    EXPECT_EQ(img.pixels, (Px{0, 0, 0xFFFFFF, 0xFFFFFF}));
}

TEST(Dib, SixteenBitMasksAndDefaultFormat) {
    Bytes d565 = dibHeader(4, 1, 16, 3);
    d565.u32(0xF800).u32(0x07E0).u32(0x001F);
    d565.u16(0xF800).u16(0x07E0).u16(0x001F).u16(0x8410);
    EXPECT_EQ(decodeDib(d565.b).pixels, (Px{0xFF0000, 0x00FF00, 0x0000FF, 0x848284}));
    EXPECT_EQ(decodeDibRaw(d565.b).pixels, (Px{0xF800, 0x07E0, 0x001F, 0x8410}));

    Bytes d555 = dibHeader(4, 1, 16);
    d555.u16(0x7C00).u16(0x03E0).u16(0x001F).u16(0x4210);
    EXPECT_EQ(decodeDib(d555.b).pixels, (Px{0xFF0000, 0x00FF00, 0x0000FF, 0x848484}));
}

TEST(Dib, OneBitRowsArePaddedAndBottomUp) {
    Bytes d = dibHeader(10, 2, 1);
    d.u8({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0});
    d.u8({0xA0, 0xC0, 0, 0});  // bottom row: 1010000011
    d.u8({0xFF, 0xC0, 0, 0});  // top row: all set
    Image img = decodeDib(d.b);
    const uint32_t W = 0xFFFFFF;
    EXPECT_EQ(img.pixels, (Px{W, W, W, W, W, W, W, W, W, W,  //
                              W, 0, W, 0, 0, 0, 0, 0, W, W}));
    EXPECT_EQ(decodeDibRaw(d.b).pixels[11], 0u);
    EXPECT_EQ(decodeDibRaw(d.b).pixels[12], 1u);
}

TEST(Dib, TopDownAndBottomUpRows) {
    std::vector<uint8_t> rows = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    Bytes top = dibHeader(2, -2, 24);
    top.add(rows);
    Bytes bottom = dibHeader(2, 2, 24);
    bottom.add(rows);
    EXPECT_EQ(decodeDib(top.b).pixels, (Px{0x030201, 0x060504, 0x090807, 0x0C0B0A}));
    EXPECT_EQ(decodeDib(bottom.b).pixels, (Px{0x090807, 0x0C0B0A, 0x030201, 0x060504}));
}

TEST(Dib, PaletteIndexesAndRawValues) {
    Bytes d8 = dibHeader(3, 1, 8, 0, 2);
    d8.u8({0x01, 0x02, 0x03, 0, 0x04, 0x05, 0x06, 0});
    d8.u8({1, 7, 0, 0});  // index 7 is beyond the two-colour table
    EXPECT_EQ(decodeDib(d8.b).pixels, (Px{0x060504, 0, 0x030201}));
    EXPECT_EQ(decodeDibRaw(d8.b).pixels, (Px{1, 7, 0}));

    Bytes d4 = dibHeader(3, 1, 4);  // 16 entries
    for (int i = 0; i < 16; ++i) d4.u8({i, i, i, 0});
    d4.u8({0xF1, 0x20, 0, 0});
    EXPECT_EQ(decodeDib(d4.b).pixels, (Px{0x0F0F0F, 0x010101, 0x020202}));

    Bytes d32 = dibHeader(1, 1, 32);
    d32.u8({1, 0, 0, 0xFF});
    EXPECT_EQ(decodeDib(d32.b).pixels, (Px{0x000001}));
    EXPECT_EQ(decodeDibRaw(d32.b).pixels, (Px{0xFF000001}));
}

TEST(Dib, CoreHeaderHasThreeByteColours) {
    Bytes d;
    d.u32(12).u16(2).u16(1).u16(1).u16(1);
    d.u8({0, 0, 0, 0, 0, 0xFF});
    d.u8({0x40, 0, 0, 0});
    EXPECT_EQ(decodeDib(d.b).pixels, (Px{0, 0xFF0000}));
}

TEST(Dib, FaultsAreReportedWithTheirMessages) {
    EXPECT_EQ(decodeDib({}).width, 0);
    EXPECT_EQ(errorOf([] { decodeDib(std::vector<uint8_t>{40, 0, 0}); }), "DIB is invalid");
    Bytes size20;
    size20.u32(20).u32(0).u32(0).u32(0).u32(0);
    EXPECT_EQ(errorOf([&] { decodeDib(size20.b); }), "DIB is invalid");

    Bytes bits2 = dibHeader(1, 1, 2);
    bits2.add(std::vector<uint8_t>(16 + 4));
    EXPECT_EQ(errorOf([&] { decodeDib(bits2.b); }), "Bitcount in invalid (2)");

    Bytes badMasks = dibHeader(1, 1, 16, 3);
    badMasks.u32(0x0F00).u32(0x00F0).u32(0x000F).u32(0);
    EXPECT_EQ(errorOf([&] { decodeDib(badMasks.b); }), "PixelFormat in invalid");
    Bytes masks24 = dibHeader(1, 1, 24, 3);
    masks24.u32(0xF800).u32(0x07E0).u32(0x001F).u32(0);
    EXPECT_EQ(errorOf([&] { decodeDib(masks24.b); }), "PixelFormat in invalid");

    Bytes jpegInDib = dibHeader(1, 1, 24, 4);
    jpegInDib.u32(0);
    EXPECT_EQ(errorOf([&] { decodeDib(jpegInDib.b); }), "DIB is invalid");
    Bytes rleOf24 = dibHeader(1, 1, 24, 1);
    rleOf24.u8({1, 1, 0, 1});
    EXPECT_EQ(errorOf([&] { decodeDib(rleOf24.b); }), "DIB is invalid");

    Bytes cut = dibHeader(4, 4, 24);
    cut.add(std::vector<uint8_t>(40));
    EXPECT_EQ(errorOf([&] { decodeDib(cut.b); }), "Stream read error");
}

TEST(Dib, HugeOrNegativeSizesAreRefusedBeforeAllocating) {
    // None of these carries pixel data: a refusal must come before any row is read.
    for (auto [w, h] : {std::pair{16385, 1},
                        {1, 16385},
                        {1, -16385},
                        {-1, 1},
                        {1, INT32_MIN},
                        {INT32_MAX, INT32_MAX}}) {
        EXPECT_EQ(errorOf([&] { decodeDib(dibHeader(w, h, 24).b); }).rfind("DIB is invalid", 0), 0u)
            << w << " x " << h;
    }
    // A header that claims the largest picture with no rows behind it: refused as short
    // data, before a gigabyte of pixels is allocated for it (in a child whose address
    // space is too small for that gigabyte).
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_EXIT(
        {
            rlimit limit{};
            getrlimit(RLIMIT_AS, &limit);
            limit.rlim_cur = 512u << 20;
            setrlimit(RLIMIT_AS, &limit);
            const std::string error = errorOf([&] { decodeDib(dibHeader(16384, 16384, 32).b); });
            std::exit(error == "Stream read error" ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
#endif
    Bytes rle = dibHeader(16384, 16385, 8, 1, 1);  // RLE needs almost no data
    rle.u32(0).u8({0, 1});
    EXPECT_EQ(errorOf([&] { decodeDib(rle.b); }),
              "DIB is invalid: the picture is 16384 x 16385 pixels, more than 16384 x 16384");
}

TEST(Dib, WrittenBitmapsReadBackIdentically) {
    Image img = test::pattern(5, 3);
    auto d32 = encodeDib(img, 32);
    ASSERT_EQ(d32.size(), 40u + 12 + 5 * 4 * 3);
    EXPECT_EQ(d32[16], 3);         // bit fields
    EXPECT_EQ(d32[20], 60);        // image size
    EXPECT_EQ(d32[40 + 2], 0xFF);  // red mask 0x00FF0000
    EXPECT_EQ(decodeDib(d32).pixels, img.pixels);

    auto d24 = encodeDib(img, 24);
    ASSERT_EQ(d24.size(), 40u + 16 * 3);  // rows of 15 bytes padded to 16
    EXPECT_EQ(decodeDib(d24).pixels, img.pixels);
    EXPECT_EQ(errorOf([&] { decodeDib(bmpFile(d24)); }), "DIB is invalid");
    EXPECT_EQ(decodeBmp(bmpFile(d24)).pixels, img.pixels);

    IndexedImage mask{3, 2, {0, 1, 1, 2, 0, 1}, {0x000000, 0xFFFFFF, 0x808080}};
    auto d8 = encodeDib(mask);
    ASSERT_EQ(d8.size(), 40u + 1024 + 4 * 2);
    EXPECT_EQ(decodeDibRaw(d8).pixels, (Px{0, 1, 1, 2, 0, 1}));
    EXPECT_EQ(decodeDib(d8).pixels[3], 0x808080u);
    EXPECT_TRUE(encodeDib(Image{}, 32).empty());
}

TEST(Dib, IndexedImagesAreMadeFromFewColours) {
    Image img{2, 2, {5, 9, 5, 7}};
    auto idx = toIndexed(img);
    ASSERT_TRUE(idx);
    EXPECT_EQ(idx->indexes, (std::vector<uint8_t>{0, 1, 0, 2}));
    EXPECT_EQ(idx->palette, (Px{5, 9, 7}));
    Image many{257, 1, {}};
    for (uint32_t i = 0; i < 257; ++i) many.pixels.push_back(i);
    EXPECT_FALSE(toIndexed(many));
}

TEST(Bmp, FileHeaderOffsetAndLongHeaders) {
    Bytes gap;  // a BMP whose pixels start four bytes after the colour table
    gap.str("BM").u32(0).u32(0).u32(14 + 40 + 8 + 4);
    gap.add(dibHeader(1, 1, 1).b).u8({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0});
    gap.u8({0, 0, 0, 0, 0x80, 0, 0, 0});
    EXPECT_EQ(decodeBmp(gap.b).pixels, (Px{0xFFFFFF}));

    Bytes v5;  // 124-byte header with the masks inside it, as painting programs write
    v5.str("BM").u32(0).u32(0).u32(14 + 124);
    v5.u32(124).u32(1).u32(1).u16(1).u16(32).u32(3).u32(4).u32(0).u32(0).u32(0).u32(0);
    v5.u32(0xFF0000).u32(0xFF00).u32(0xFF).u32(0xFF000000);
    v5.add(std::vector<uint8_t>(124 - 56));
    v5.u8({0x11, 0x22, 0x33, 0xFF});
    EXPECT_EQ(decodeBmp(v5.b).pixels, (Px{0x332211}));

    EXPECT_EQ(errorOf([] { decodeBmp(std::vector<uint8_t>(20, 'X')); }),
              "Bitmap image is not valid");
    Bytes bad;
    bad.str("BM").u32(0).u32(0).u32(0).add(dibHeader(1, 1, 3).b);
    EXPECT_EQ(errorOf([&] { decodeBmp(bad.b); }), "Bitmap image is not valid");
}

}  // namespace
}  // namespace zk
