#include "fuzz_seeds.h"

#include "assets/asset_fixtures.h"
#include "assets/component_stream.h"
#include "assets/dib.h"
#include "assets/picture_list.h"
#include "assets/wave_list.h"
#include "fuzz_game.h"
#include "game_seeds.h"

namespace zk::fuzz {
namespace {

using test::Bytes;
using test::dibHeader;

std::vector<Seed> dibSeeds() {
    std::vector<Seed> out;
    Bytes rle8 = dibHeader(4, 3, 8, 1, 3);
    rle8.u8({0xFF, 0, 0, 0, 0x10, 0x20, 0x30, 0, 0xFF, 0xFF, 0xFF, 0});
    rle8.u8({2, 1, 0, 3, 2, 1, 2, 0, 0, 0, 0, 2, 1, 0, 1, 2, 0, 0, 4, 5, 0, 1});
    out.push_back({"rle8", rle8.b});
    Bytes rle4 = dibHeader(5, 2, 4, 2, 4);
    rle4.u8({0, 0, 0, 0, 0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, 0, 0x99, 0x88, 0x77, 0});
    rle4.u8({5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 2, 0x67, 0, 1});
    out.push_back({"rle4", rle4.b});
    Bytes d565 = dibHeader(4, 1, 16, 3);
    d565.u32(0xF800).u32(0x07E0).u32(0x001F).u16(0xF800).u16(0x07E0).u16(0x001F).u16(0x8410);
    out.push_back({"bitfields565", d565.b});
    Bytes d555 = dibHeader(2, -2, 16);
    d555.u16(0x7C00).u16(0x03E0).u16(0x001F).u16(0x4210);
    out.push_back({"topdown555", d555.b});
    Bytes d1 = dibHeader(10, 2, 1);
    d1.u8({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0xA0, 0xC0, 0, 0, 0xFF, 0xC0, 0, 0});
    out.push_back({"mono", d1.b});
    Bytes d4 = dibHeader(3, 1, 4, 0, 3);
    d4.u8({1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 0x12, 0x30, 0, 0});
    out.push_back({"nibbles", d4.b});
    Bytes core;
    core.u32(12).u16(2).u16(1).u16(1).u16(1).u8({0, 0, 0, 0, 0, 0xFF, 0x40, 0, 0, 0});
    out.push_back({"core", core.b});
    Image img = test::pattern(5, 3);
    out.push_back({"rgb32", encodeDib(img, 32)});
    out.push_back({"rgb24", encodeDib(img, 24)});
    IndexedImage mask{3, 2, {0, 1, 1, 2, 0, 1}, {0x000000, 0xFFFFFF, 0x808080}};
    out.push_back({"indexed8", encodeDib(mask)});
    out.push_back({"bmp24", bmpFile(encodeDib(img, 24))});
    out.push_back({"bmp_rle8", bmpFile(rle8.b)});
    Bytes v5;
    v5.str("BM").u32(0).u32(0).u32(14 + 124);
    v5.u32(124).u32(1).u32(1).u16(1).u16(32).u32(3).u32(4).u32(0).u32(0).u32(0).u32(0);
    v5.u32(0xFF0000).u32(0xFF00).u32(0xFF).u32(0xFF000000);
    v5.add(std::vector<uint8_t>(124 - 56)).u8({0x11, 0x22, 0x33, 0xFF});
    out.push_back({"bmp_v5", v5.b});
    return out;
}

std::vector<uint8_t> payloadOf(std::string_view kind, const std::vector<uint8_t>& data,
                               bool lengthPrefix) {
    Bytes b;
    b.u8({static_cast<int>(kind.size())}).str(kind);
    if (lengthPrefix) b.u32(static_cast<uint32_t>(data.size()));
    return b.add(data).b;
}

std::vector<Seed> pictureListSeeds() {
    std::vector<Seed> out;
    PictureList shot;
    shot.add().picture = makeDibPicture(test::pattern(4, 3), 32);
    out.push_back({"screenshot", writePictureList(shot)});

    PictureList kinds;
    auto& sheet = kinds.add();
    sheet.name = "sheet";
    sheet.patternWidth = 3;
    sheet.patternHeight = 2;
    sheet.skipWidth = 1;
    sheet.skipHeight = 1;
    sheet.transparentColor = 0x123456;
    sheet.picture = makeDibPicture(test::pattern(8, 6), 24);
    auto& mask = kinds.add();
    mask.name = "caf\xE9";
    mask.transparentColor = 0xFF00000F;
    mask.picture = makeDibPicture(IndexedImage{2, 2, {0, 1, 1, 0}, {0, 0xFFFFFF}});
    auto& photo = kinds.add();
    photo.name = "\x80";
    photo.systemMemory = true;
    photo.picture = makeJpegPicture(test::gradient(16, 16), 75);
    auto& bitmap = kinds.add();
    bitmap.name = std::string(260, 'n');
    bitmap.transparent = false;
    bitmap.picture = makeBitmapPicture(bmpFile(encodeDib(test::pattern(3, 2), 24)));
    kinds.add().picture = makeDibPicture(Image{});
    out.push_back({"kinds", writePictureList(kinds)});

    PictureList other;
    for (auto [kind, data, prefix] : {std::tuple{"TPNGGraphic", bmpFile(dibSeeds()[0].bytes), true},
                                      {"TDIB", dibSeeds()[1].bytes, false},
                                      {"TDIB", dibSeeds()[2].bytes, false},
                                      {"TMetafile", std::vector<uint8_t>{1, 2}, true}}) {
        auto& it = other.add();
        it.picture.kind = kind;
        it.picture.payload = payloadOf(kind, data, prefix);
    }
    out.push_back({"compressed", writePictureList(other)});

    MemoryStream s;
    ComponentWriter w(s, "Other", "TPictureCollectionComponent");
    for (auto name : {"Tag", "Left", "Top"}) {
        w.name(name);
        w.integer(300);
    }
    w.name("List");
    w.beginCollection();
    w.integer(0);
    w.beginEntry();
    w.name("TransparentColor");
    w.identifier("clFuchsia");
    w.end();
    w.end();
    w.finish();
    auto tagged = s.data();
    // A prefix byte announcing an integer, after the header (10 + 5) and "TPF0".
    tagged.insert(tagged.begin() + 10 + 5 + 4, {0xF2, 0x02, 0x01});
    out.push_back({"holder", tagged});
    return out;
}

std::vector<Seed> waveListSeeds() {
    std::vector<Seed> out;
    const auto fmt = pcmFormat(1, 11025, 8);
    WaveList list;
    list.items.push_back({"click", false, 2, {fmt, {1, 2, 3, 4}}});
    list.items.push_back({"loop", true, -1, {fmt, {5, 6, 7}}});
    out.push_back({"written", writeWaveList(list)});

    Bytes chunks;
    auto fmt18 = fmt;
    fmt18.insert(fmt18.end(), {0, 0});
    test::chunk(chunks, "fmt ", fmt18);
    test::chunk(chunks, "LIST", {'I', 'N', 'F', 'O', 'a'});
    test::chunk(chunks, "data", {9, 9});
    test::chunk(chunks, "data", {8});
    MemoryStream s;
    ComponentWriter w(s, "", "TWaveCollectionComponent");
    w.name("List");
    w.beginCollection();
    w.beginEntry();
    w.name("Wave.WAVE");
    w.binary(test::riff(chunks.b));
    w.name("Name");
    w.string("\xC9t\xE9");
    w.end();
    w.end();
    w.finish();
    out.push_back({"chunks", s.data()});
    return out;
}

std::filesystem::path seedFolder() {
    const auto folder = scratchFolder() / "seeds";
    clearFolder(folder);
    return folder;
}

}  // namespace

std::vector<Seed> seedsFor(std::string_view target) {
    if (target == "dib") return dibSeeds();
    if (target == "picture_list") return pictureListSeeds();
    if (target == "wave_list") return waveListSeeds();
    if (target == "records") return recordSeeds();
    if (target == "language") return languageSeeds();
    if (target == "startup") return packageSeeds(seedFolder());
    if (target == "save_slot") return slotSeeds(seedFolder());
    return {};
}

}  // namespace zk::fuzz
