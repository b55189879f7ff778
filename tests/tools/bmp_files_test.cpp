// BMP files as other programs write them: walk masks of every kind, V5 headers and a
// gap before the pixels.
#include <gtest/gtest.h>

#include "assets/dib.h"
#include "assets/picture_list.h"
#include "core/bytes.h"
#include "logic/loader.h"
#include "package/package.h"
#include "platform/headless/headless_platform.h"
#include "source_fixture.h"
#include "started_package.h"

namespace zk::test {
namespace {

// The floor: white below row 300, black above, as a mask kind writes it.
Image floorImage(uint32_t wall, uint32_t floor) {
    Image img = solidImage(800, 600, wall);
    for (int y = 300; y < 600; ++y)
        for (int x = 0; x < 800; ++x) img.pixels[size_t(y * 800 + x)] = floor;
    return img;
}

IndexedImage indexed(const Image& img, std::vector<uint32_t> palette) {
    IndexedImage out;
    out.width = img.width;
    out.height = img.height;
    out.palette = std::move(palette);
    for (uint32_t p : img.pixels)
        out.indexes.push_back(
            uint8_t(std::find(out.palette.begin(), out.palette.end(), p) - out.palette.begin()));
    return out;
}

// Packs the minimal game with this mask file and returns the walk mask the engine reads.
bool walksOn(const std::vector<uint8_t>& maskFile, WalkMask& mask, std::string& errors) {
    SourceTree s;
    s.minimalGame();
    s.remove("rooms/hall/mask.png");
    s.bytes("rooms/hall/mask.bmp", maskFile);
    std::vector<tools::PackageEntry> entries;
    tools::Diagnostics diag;
    if (!s.build(entries, diag)) {
        for (const auto& d : diag.all()) errors += d.text() + "\n";
        return false;
    }
    tools::writePackage(entries, s.dir.file("game.tgp"));
    StartedPackage started(s.dir.file("game.tgp"), s.dir.path() / "x");
    if (started.start() != LoadOutcome::Loaded) return false;
    for (const std::string& e : started.hp.errorReport.messages) errors += e + "\n";
    mask = started.g.scene.walkMask;
    return true;
}

TEST(BmpFiles, EveryKindOfWalkMaskWalksOnItsWhite) {
    const Image floor = floorImage(0x000000, 0xFFFFFF);
    const Image grey = floorImage(0x404040, 0xFFFFFF);
    std::vector<uint32_t> greys;
    for (uint32_t v = 0; v < 256; ++v) greys.push_back(v * 0x010101);
    struct Kind {
        const char* what;
        std::vector<uint8_t> file;
    } kinds[] = {
        {"24-bit", bmpFile(encodeDib(floor, 24))},
        {"32-bit", bmpFile(encodeDib(grey, 32))},
        {"8-bit grey scale", bmpFile(encodeDib(indexed(floor, greys)))},
        {"white at index 0", bmpFile(encodeDib(indexed(floor, {0xFFFFFF, 0x000000})))},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.what);
        WalkMask mask;
        std::string errors;
        ASSERT_TRUE(walksOn(k.file, mask, errors)) << errors;
        EXPECT_TRUE(errors.empty()) << errors;
        EXPECT_TRUE(mask.walkable(400, 450));
        EXPECT_FALSE(mask.walkable(400, 100));
    }
    // Three colours are no mask: refused, naming them.
    Image three = floorImage(0x000000, 0xFFFFFF);
    three.pixels[0] = 0xFF0000;
    WalkMask mask;
    std::string errors;
    EXPECT_FALSE(walksOn(bmpFile(encodeDib(three, 24)), mask, errors));
    EXPECT_NE(errors.find("a walk mask must have two colours"), std::string::npos) << errors;
}

// A 24-bit BMP with a 124-byte header, and one with 20 bytes between its header and
// its pixels, as ImageMagick and some editors write them.
std::vector<uint8_t> bmpWithHeader(const Image& img, uint32_t headerSize, uint32_t gap) {
    const uint32_t rowBytes = (uint32_t(img.width) * 3 + 3) & ~3u;
    const uint32_t offset = 14 + headerSize + gap;
    std::vector<uint8_t> f(offset + rowBytes * uint32_t(img.height), 0);
    f[0] = 'B';
    f[1] = 'M';
    putU32(f, 2, uint32_t(f.size()));
    putU32(f, 10, offset);
    putU32(f, 14, headerSize);
    putI32(f, 18, img.width);
    putI32(f, 22, img.height);
    putI16(f, 26, 1);
    putI16(f, 28, 24);
    if (headerSize >= 108) putU32(f, 14 + 56, 0x73524742);  // "sRGB" colour space
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            const uint32_t p = img.at(x, img.height - 1 - y);
            const size_t at = offset + rowBytes * uint32_t(y) + uint32_t(x) * 3;
            f[at] = uint8_t(p);
            f[at + 1] = uint8_t(p >> 8);
            f[at + 2] = uint8_t(p >> 16);
        }
    return f;
}

TEST(BmpFiles, BackgroundsFromBmpStayLosslessWhateverTheirHeader) {
    Image img = solidImage(64, 32, 0);
    for (size_t i = 0; i < img.pixels.size(); ++i)
        img.pixels[i] = uint32_t(i * 0x030507) & 0xFFFFFF;
    for (auto [header, gap] : {std::pair{40u, 0u}, {124u, 0u}, {40u, 20u}, {108u, 6u}}) {
        SCOPED_TRACE(std::to_string(header) + " " + std::to_string(gap));
        SourceTree s;
        s.minimalGame();
        s.remove("rooms/hall/background.png");
        s.bytes("rooms/hall/background.bmp", bmpWithHeader(img, header, gap));
        std::vector<tools::PackageEntry> entries;
        tools::Diagnostics diag;
        ASSERT_TRUE(s.build(entries, diag));
        const tools::PackageEntry* e = findEntry(entries, "rooms\\hall\\background.dxg");
        ASSERT_NE(e, nullptr);
        PictureList list = readPictureList(e->bytes);
        ASSERT_EQ(list.items.size(), 1u);
        list.items[0].prepare();
        EXPECT_NE(list.items[0].picture.kind, "TJPEGImage");
        EXPECT_EQ(list.items[0].picture.image.pixels, img.pixels);
    }
}

TEST(BmpFiles, TransparentPartsOfABackgroundAreLaidOverBlack) {
    SourceTree s;
    s.minimalGame();
    std::vector<uint8_t> alpha(800 * 600, 255);
    alpha[0] = 0;
    alpha[1] = 128;
    s.png("rooms/hall/background.png", solidImage(800, 600, 0xFF8040), &alpha);
    std::vector<tools::PackageEntry> entries;
    tools::Diagnostics diag;
    ASSERT_TRUE(s.build(entries, diag));
    PictureList list = readPictureList(findEntry(entries, "rooms\\hall\\background.dxg")->bytes);
    ASSERT_EQ(list.items.size(), 1u);
    list.items[0].prepare();
    const Image& bg = list.items[0].picture.image;
    EXPECT_EQ(bg.pixels[0], 0x000000u);
    EXPECT_EQ(bg.pixels[1], 0x804020u);
    EXPECT_EQ(bg.pixels[2], 0xFF8040u);
}

}  // namespace
}  // namespace zk::test
