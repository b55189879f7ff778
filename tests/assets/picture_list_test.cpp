#include "assets/picture_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>

#include "asset_fixtures.h"
#include "assets/color.h"
#include "assets/component_stream.h"
#include "assets/dib.h"
#include "assets/jpeg.h"
#include "core/bytes.h"

namespace zk {
namespace {

using test::Bytes;
using test::errorOf;

std::vector<uint8_t> payload(std::string_view kind, const std::vector<uint8_t>& data,
                             bool lengthPrefix) {
    Bytes b;
    b.u8({static_cast<int>(kind.size())}).str(kind);
    if (lengthPrefix) b.u32(static_cast<uint32_t>(data.size()));
    return b.add(data).b;
}

PictureList oneItem(Picture picture) {
    PictureList list;
    list.add().picture = std::move(picture);
    return list;
}

TEST(PictureList, OneItemRoundTripKeepsPropertiesAndPixels) {
    PictureList list;
    list.colorTable[5] = 0x42;
    PictureItem& it = list.add();
    it.name = "door";
    it.patternWidth = 4;
    it.patternHeight = 3;
    it.skipWidth = 1;
    it.skipHeight = -1;
    it.systemMemory = true;
    it.transparent = false;
    it.transparentColor = 0x123456;
    it.picture = makeDibPicture(test::pattern(9, 5));
    list.add();  // an item without a picture

    PictureList back = readPictureList(writePictureList(list));
    ASSERT_EQ(back.count(), 2);
    const PictureItem& b = back.item(0);
    EXPECT_EQ(b.name, "door");
    EXPECT_EQ(b.patternWidth, 4);
    EXPECT_EQ(b.patternHeight, 3);
    EXPECT_EQ(b.skipWidth, 1);
    EXPECT_EQ(b.skipHeight, -1);
    EXPECT_TRUE(b.systemMemory);
    EXPECT_FALSE(b.transparent);
    EXPECT_EQ(b.transparentColor, 0x123456u);
    EXPECT_EQ(b.colorKey(), 0x563412u);
    EXPECT_EQ(b.image().pixels, test::pattern(9, 5).pixels);
    EXPECT_EQ(b.picture.payload, list.item(0).picture.payload);
    EXPECT_EQ(back.colorTable, list.colorTable);
    EXPECT_FALSE(back.item(1).picture.hasPicture());
    EXPECT_TRUE(back.item(1).transparent);
    EXPECT_EQ(writePictureList(back), writePictureList(list));
}

TEST(PictureList, EveryWrittenKindReadsBackToTheSamePixels) {
    Image img = test::pattern(7, 4);
    IndexedImage mask{3, 2, {1, 0, 1, 0, 1, 1}, {0x000000, 0xFFFFFF}};
    std::vector<Picture> pictures = {
        makeDibPicture(img, 32),
        makeDibPicture(img, 24),
        makeDibPicture(mask),
        makeJpegPicture(test::gradient(40, 30), 85),
        makeBitmapPicture(bmpFile(encodeDib(img, 24))),
    };
    for (const auto& p : pictures) {
        PictureList back = readPictureList(writePictureList(oneItem(p)));
        EXPECT_EQ(back.item(0).picture.kind, p.kind);
        EXPECT_EQ(back.item(0).image().pixels, p.image.pixels) << p.kind;
        EXPECT_FALSE(back.item(0).image().empty());
    }
    EXPECT_EQ(pictures[2].image.pixels[0], 0xFFFFFFu);
}

TEST(PictureList, ScreenshotFileLayout) {
    PictureList list;
    list.add().picture = makeDibPicture(Image{2, 1, {0x112233, 0x445566}}, 32);
    auto bytes = writePictureList(list);

    Bytes dib = test::dibHeader(2, 1, 32, 3);
    dib.b[20] = 8;  // image size
    dib.u32(0xFF0000).u32(0xFF00).u32(0xFF).u8({0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, 0});
    Bytes pic;
    pic.u8({4}).str("TDIB").add(dib.b);

    Bytes e;
    e.u8({0xFF}).u16(10).str("VANTRELPICTURECOLLECTION").u8({0}).u16(0x1030).u32(0);
    e.str("TPF0").u8({0x1B}).str("TPictureCollectionComponent").u8({0});
    e.u8({0x0F}).str("List.ColorTable").u8({0x0A}).u32(1024).add(std::vector<uint8_t>(1024));
    e.u8({0x04}).str("List").u8({0x0E, 0x01});
    e.u8({0x0D}).str("PatternHeight").u8({0x02, 0});
    e.u8({0x0C}).str("PatternWidth").u8({0x02, 0});
    e.u8({0x0C}).str("Picture.Data").u8({0x0A}).u32(static_cast<uint32_t>(pic.b.size())).add(pic.b);
    e.u8({0x0C}).str("SystemMemory").u8({0x08});
    e.u8({0x0B}).str("Transparent").u8({0x09});
    e.u8({0x10}).str("TransparentColor").u8({0x07, 0x07}).str("clBlack");
    e.u8({0, 0, 0, 0});
    putU32(e.b, 30, static_cast<uint32_t>(e.b.size() - 34));
    EXPECT_EQ(bytes, e.b);
    EXPECT_EQ(bytes[1112], 0x04);
    EXPECT_EQ(bytes[1118], 0x01);

    // Written at a stream position other than 0, the size is patched in place.
    MemoryStream s;
    s.writeString("lead");
    list.saveToStream(s);
    EXPECT_EQ(std::vector<uint8_t>(s.data().begin() + 4, s.data().end()), bytes);
    EXPECT_EQ(s.position(), s.size());
}

TEST(PictureList, ColoursWithAndWithoutIdentifiers) {
    auto colourBytes = [](uint32_t color) {
        PictureList list;
        list.add().transparentColor = color;
        auto b = writePictureList(list);
        auto at = std::search(b.begin(), b.end(), std::begin("TransparentColor") + 0,
                              std::begin("TransparentColor") + 16);
        return std::vector<uint8_t>(at + 16, b.end() - 4);
    };
    EXPECT_EQ(colourBytes(0x123456), (std::vector<uint8_t>{0x04, 0x56, 0x34, 0x12, 0x00}));
    EXPECT_EQ(colourBytes(0x7F), (std::vector<uint8_t>{0x02, 0x7F}));
    Bytes red;
    red.u8({0x07, 0x05}).str("clRed");
    EXPECT_EQ(colourBytes(0x0000FF), red.b);
    Bytes face;
    face.u8({0x07, 0x09}).str("clBtnFace");
    EXPECT_EQ(colourBytes(0xFF00000F), face.b);
}

TEST(PictureList, PatternGeometry) {
    auto patternsOf = [](int w, int h, int pw, int ph, int sw, int sh) {
        PictureItem it;
        it.picture = makeDibPicture(Image{w, h, std::vector<uint32_t>(size_t(w) * size_t(h))});
        it.patternWidth = pw;
        it.patternHeight = ph;
        it.skipWidth = sw;
        it.skipHeight = sh;
        it.prepare();
        std::vector<std::array<int, 4>> out;
        for (auto p : it.patterns()) out.push_back({p.x, p.y, p.width, p.height});
        return out;
    };
    using P = std::vector<std::array<int, 4>>;
    EXPECT_EQ(patternsOf(100, 50, 30, 50, 5, 0),
              (P{{0, 0, 30, 50}, {35, 0, 30, 50}, {70, 0, 30, 50}}));
    EXPECT_EQ(patternsOf(100, 50, 0, 0, 5, 5), (P{{0, 0, 100, 50}}));
    EXPECT_EQ(patternsOf(100, 50, -3, 50, 0, 0), (P{{0, 0, 100, 50}}));
    EXPECT_EQ(patternsOf(10, 10, 4, 4, 1, 2),  // numbered row by row
              (P{{0, 0, 4, 4}, {5, 0, 4, 4}, {0, 6, 4, 4}, {5, 6, 4, 4}}));
    EXPECT_EQ(patternsOf(100, 50, 150, 0, 0, 0), P{});   // cells larger than the picture
    EXPECT_EQ(patternsOf(100, 50, 30, 0, -30, 0), P{});  // zero stride
    EXPECT_EQ(patternsOf(100, 50, 30, 0, -40, 0), P{});  // negative stride
    EXPECT_EQ(patternsOf(100, 50, 30, 0, INT32_MIN, 0), P{});
    EXPECT_EQ(patternsOf(100, 50, 30, 0, INT32_MAX, 0), (P{{0, 0, 30, 50}}));
    EXPECT_EQ(patternsOf(4, 2, 1, 1, 0, 0).size(), 8u);

    PictureItem noImage;
    noImage.patternWidth = 10;
    noImage.prepare();
    EXPECT_TRUE(noImage.patterns().empty());
    EXPECT_EQ(noImage.width(), 10);
    EXPECT_EQ(noImage.height(), 0);
}

TEST(PictureList, UnknownAndUnsupportedKindsGiveEmptyPictures) {
    PictureList list;
    list.add().picture.payload = payload("TSomethingNew", {1, 2, 3}, false);
    list.item(0).picture.kind = "TSomethingNew";
    list.add().picture.payload = payload("TIcon", {0, 0, 1, 0}, false);
    list.item(1).picture.kind = "TIcon";
    list.add().picture = makeDibPicture(test::pattern(2, 2));
    list.add().picture.payload = payload("tdib", {}, false);  // kinds are case-sensitive
    list.item(3).picture.kind = "tdib";
    PictureList back = readPictureList(writePictureList(list));
    ASSERT_EQ(back.count(), 4);
    EXPECT_FALSE(back.item(0).picture.hasPicture());
    EXPECT_FALSE(back.item(1).picture.hasPicture());
    EXPECT_TRUE(back.item(0).patterns().empty());
    EXPECT_EQ(back.item(2).image().width, 2);
    EXPECT_EQ(back.item(2).patterns().size(), 1u);
    EXPECT_FALSE(back.item(3).picture.hasPicture());
}

TEST(PictureList, EmptyPicturesOfKnownKinds) {
    for (auto [kind, prefix] : {std::pair{"TDIB", false},
                                {"TBitmap", true},
                                {"TJPEGImage", true},
                                {"TPNGGraphic", true}}) {
        Picture p = decodePicture(payload(kind, {}, prefix));
        EXPECT_EQ(p.kind, kind);
        EXPECT_TRUE(p.image.empty());
        PictureList back = readPictureList(writePictureList(oneItem(p)));
        EXPECT_EQ(back.item(0).picture.payload, p.payload);
        EXPECT_TRUE(back.item(0).patterns().empty());
    }
    // A screenshot that was never captured: an empty "TDIB" picture.
    Picture none = makeDibPicture(Image{});
    EXPECT_EQ(none.payload, payload("TDIB", {}, false));
    EXPECT_FALSE(decodePicture({0}).hasPicture());
}

TEST(PictureList, PayloadFaults) {
    auto bmp = bmpFile(encodeDib(test::pattern(2, 2), 24));
    Picture png = decodePicture(payload("TPNGGraphic", bmp, true));
    EXPECT_EQ(png.image.pixels, test::pattern(2, 2).pixels);

    EXPECT_EQ(errorOf([] { decodePicture({}); }), "Stream read error");
    EXPECT_EQ(errorOf([] { decodePicture({9, 'T', 'D'}); }), "Stream read error");
    EXPECT_EQ(errorOf([] { decodePicture(payload("TDIB", {1, 2}, false)); }), "DIB is invalid");
    EXPECT_EQ(errorOf([&] {
                  decodePicture(payload("TBitmap", {'B', 'M', 0}, true));
              }),
              "Bitmap image is not valid");
    auto cut = payload("TBitmap", bmp, true);
    cut.resize(cut.size() - 1);
    EXPECT_EQ(errorOf([&] { decodePicture(cut); }), "Stream read error");
    EXPECT_EQ(errorOf([] {
                  decodePicture(payload("TBitmap", {0xFF, 0xFF, 0xFF, 0xFF}, false));
              }),
              "Invalid stream format");
    EXPECT_EQ(errorOf([] {
                  decodePicture(payload("TJPEGImage", {0xFF, 0xFF, 0xFF, 0xFF}, false));
              }),
              "Invalid stream format");
    std::string jpegError = errorOf([] {
        decodePicture(payload("TJPEGImage", {1, 2, 3, 4}, true));
    });
    EXPECT_EQ(jpegError.rfind("JPEG error #", 0), 0u) << jpegError;
    EXPECT_NE(jpegError, "JPEG error #0");
}

TEST(PictureList, JpegPayloadDecodes) {
    Image src = test::gradient(64, 48);
    auto jpeg = encodeJpeg(src, 95);
    Picture p = decodePicture(payload("TJPEGImage", jpeg, true));
    ASSERT_EQ(p.image.width, 64);
    ASSERT_EQ(p.image.height, 48);
    int worst = 0;
    for (size_t i = 0; i < src.pixels.size(); ++i)
        for (int shift : {0, 8, 16})
            worst = std::max(worst, std::abs(int((src.pixels[i] >> shift) & 0xFF) -
                                             int((p.image.pixels[i] >> shift) & 0xFF)));
    EXPECT_LT(worst, 12);
    for (uint32_t px : p.image.pixels) ASSERT_EQ(px >> 24, 0u);
    // A file whose compressed data is cut short still decodes (the rest is filled in),
    // as image viewers show it.
    auto big = encodeJpeg(test::pattern(160, 120), 90);
    big.resize(big.size() * 3 / 4);
    EXPECT_EQ(decodePicture(payload("TJPEGImage", big, true)).image.width, 160);
}

TEST(PictureList, RawPixelsForTheWalkMask) {
    IndexedImage mask{4, 2, {0, 1, 2, 1, 1, 1, 0, 0}, {0xFFFFFF, 0x000000, 0xFF0000}};
    PictureList list = readPictureList(writePictureList(oneItem(makeDibPicture(mask))));
    Image raw = rawPixels(list.item(0).picture);
    EXPECT_EQ(raw.pixels, (std::vector<uint32_t>{0, 1, 2, 1, 1, 1, 0, 0}));
    EXPECT_EQ(list.item(0).pixel(1, 0), 0u);  // index 1 is black

    Image rgb = test::pattern(3, 3);
    EXPECT_EQ(rawPixels(makeDibPicture(rgb, 24)).pixels, rgb.pixels);
    EXPECT_EQ(rawPixels(makeBitmapPicture(bmpFile(encodeDib(mask)))).pixels, raw.pixels);
    EXPECT_TRUE(rawPixels(Picture{}).empty());
}

TEST(PictureList, ReloadingGivesTheSameAsAFreshLoad) {
    // The second load takes over the buffers of the first: bigger, smaller and
    // run-length pictures must not show anything of the old pixels.
    PictureList first;
    for (int n : {3, 9, 6})
        first.add().picture =
            makeDibPicture(Image{n, n, std::vector<uint32_t>(size_t(n) * size_t(n), 0xABCDEF)});
    Bytes rle = test::dibHeader(4, 2, 8, 1, 2);
    rle.u8(
        {0x10, 0x20, 0x30, 0, 0xFF, 0xFF, 0xFF, 0, 2, 1, 0, 1});  // two white pixels, then the end
    PictureList second;
    second.add().picture = makeDibPicture(test::pattern(5, 4));
    second.add().picture = decodePicture(payload("TDIB", rle.b, false));
    second.add().picture = makeJpegPicture(test::gradient(16, 8));
    second.add().picture = makeDibPicture(test::pattern(2, 2));
    const auto bytes = writePictureList(second);

    PictureList list = readPictureList(writePictureList(first));
    MemoryStream s(bytes);
    list.loadFromStream(s);
    const PictureList fresh = readPictureList(bytes);
    ASSERT_EQ(list.count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list.item(i).image().pixels, fresh.item(i).image().pixels) << i;
        EXPECT_EQ(list.item(i).picture.payload, fresh.item(i).picture.payload) << i;
    }
    EXPECT_EQ(list.item(1).image().pixels[4], 0xFFFFFFu);
    EXPECT_EQ(list.item(1).image().pixels[2], 0x302010u);
}

TEST(PictureList, ItemOperations) {
    PictureList list;
    PictureItem& it = list.add();
    it.picture = makeDibPicture(Image{2, 1, {0x000000, 0x00FF00}});
    it.transparentColor = 0x00FF00;
    list.prepare();
    EXPECT_EQ(it.colorKey(), 0x00FF00u);
    it.setTransparentColor(0x0000FF);
    EXPECT_EQ(it.transparentColor, 0x0000FFu);
    EXPECT_EQ(it.colorKey(), 0xFF0000u);
    EXPECT_EQ(it.pixel(1, 0), 0x00FF00u);
    EXPECT_FALSE(it.pixel(2, 0));
    EXPECT_FALSE(it.pixel(-1, 0));

    PictureList other;
    other.add() = list.item(0);  // copying keeps picture and drawing data
    EXPECT_EQ(other.item(0).patterns().size(), 1u);
    EXPECT_EQ(other.item(0).colorKey(), 0xFF0000u);
    EXPECT_EQ(errorOf([&] { list.item(1); }), "List index out of bounds (1)");
    EXPECT_EQ(errorOf([&] { list.item(-1); }), "List index out of bounds (-1)");

    // Loading replaces everything, the colour table included.
    list.colorTable[0] = 9;
    MemoryStream s(writePictureList(PictureList{}));
    list.loadFromStream(s);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.colorTable[0], 0);

    auto shortTable = [] {
        MemoryStream m;
        ComponentWriter w(m, "x", "TPictureCollectionComponent");
        w.name("List.ColorTable");
        w.binary(std::vector<uint8_t>(1000));
        w.finish();
        return m.data();
    }();
    EXPECT_EQ(errorOf([&] { readPictureList(shortTable); }), "Stream read error");
}

}  // namespace
}  // namespace zk
