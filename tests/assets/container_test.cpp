#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "asset_fixtures.h"
#include "assets/color.h"
#include "assets/component_stream.h"
#include "assets/picture_list.h"
#include "assets/wave_list.h"

namespace zk {
namespace {

using test::errorOf;

// A container whose holder properties are written by body.
std::vector<uint8_t> holder(const std::function<void(ComponentWriter&)>& body,
                            std::string_view resourceName = "VantrelPictureCollection") {
    MemoryStream s;
    ComponentWriter w(s, resourceName, "TPictureCollectionComponent");
    body(w);
    w.finish();
    return s.data();
}

// A list of items, each written by one function.
std::vector<uint8_t> listOf(std::vector<std::function<void(ComponentWriter&)>> items) {
    return holder([&](ComponentWriter& w) {
        w.name("List");
        w.beginCollection();
        for (auto& item : items) {
            w.beginEntry();
            item(w);
            w.end();
        }
        w.end();
    });
}

std::string loadError(const std::vector<uint8_t>& bytes, PictureList& list) {
    return errorOf([&] {
        MemoryStream s(bytes);
        list.loadFromStream(s);
    });
}

TEST(Container, ResourceHeaderNameIsIgnored) {
    auto withName = [](std::string_view name) {
        return holder(
            [](ComponentWriter& w) {
                w.name("List");
                w.beginCollection();
                w.beginEntry();
                w.name("PatternWidth");
                w.integer(7);
                w.end();
                w.end();
            },
            name);
    };
    for (std::string_view name : {"", "X", "SOMETHING ELSE ENTIRELY"}) {
        PictureList list = readPictureList(withName(name));
        ASSERT_EQ(list.count(), 1) << name;
        EXPECT_EQ(list.item(0).patternWidth, 7);
    }
    // Names are cut to 63 characters when written.
    auto bytes = withName(std::string(100, 'n'));
    EXPECT_EQ(bytes[3 + 63], 0);
    EXPECT_EQ(readPictureList(bytes).count(), 1);
}

TEST(Container, BrokenHeadersAreInvalidStreamFormat) {
    PictureList list;
    std::vector<std::vector<uint8_t>> broken = {
        {}, {0xFF}, {0xFF, 10}, {'T', 'P', 'F', '0', 0, 0, 0}, {0xFF, 11, 0, 0, 0x30, 0x10}};
    broken.push_back(std::vector<uint8_t>(90, 'A'));  // no NUL after the name
    broken.back()[0] = 0xFF;
    broken.back()[1] = 10;
    broken.back()[2] = 0;
    auto wrongSignature = holder([](ComponentWriter&) {});
    wrongSignature[34 + 3] = '1';
    broken.push_back(wrongSignature);
    for (const auto& b : broken) EXPECT_EQ(loadError(b, list), "Invalid stream format");
}

TEST(Container, EveryTruncationFailsCleanly) {
    PictureList full;
    auto& it = full.add();
    it.name = "cut";
    it.picture = makeDibPicture(test::pattern(3, 2));
    auto bytes = writePictureList(full);
    const std::set<std::string> allowed = {"Invalid stream format", "Stream read error"};
    for (size_t n = 0; n < bytes.size(); ++n) {
        PictureList list;
        std::string err = loadError({bytes.begin(), bytes.begin() + static_cast<long>(n)}, list);
        EXPECT_TRUE(allowed.count(err)) << n << ": " << err;
    }
    EXPECT_EQ(loadError({bytes.begin(), bytes.begin() + 500}, full), "Stream read error");
}

TEST(Container, OrderingIntegerAndPrefixAreSkipped) {
    auto bytes = holder([](ComponentWriter& w) {
        w.name("List");
        w.beginCollection();
        w.integer(40000);  // an ordering value before the entry
        w.beginEntry();
        w.name("PatternWidth");
        w.integer(12);
        w.end();
        w.end();
    });
    EXPECT_EQ(readPictureList(bytes).item(0).patternWidth, 12);
    // A prefix byte whose flag 2 announces an integer, between signature and class name.
    bytes.insert(bytes.begin() + 38, {0xF2, 0x03, 0x10, 0x27});
    EXPECT_EQ(readPictureList(bytes).item(0).patternWidth, 12);
}

TEST(Container, HolderAndItemPropertyNames) {
    PictureList list;
    auto tagged = holder([](ComponentWriter& w) {
        for (auto name : {"Tag", "Left", "Top"}) {
            w.name(name);
            w.integer(-70000);
        }
    });
    EXPECT_EQ(loadError(tagged, list), "no error");
    auto unknownHolder = holder([](ComponentWriter& w) {
        w.name("Width");
        w.integer(1);
    });
    EXPECT_EQ(loadError(unknownHolder, list), "Property Width does not exist");
    WaveList waves;
    auto colorTable = holder([](ComponentWriter& w) {
        w.name("List.ColorTable");
        w.binary(std::vector<uint8_t>(1024));
    });
    EXPECT_EQ(errorOf([&] { readWaveList(colorTable); }),
              "Property List.ColorTable does not exist");

    // Items read before the fault stay; the list is not prepared.
    auto third = listOf({
        [](ComponentWriter& w) {
            w.name("Picture.Data");
            w.binary(makeDibPicture(test::pattern(2, 2)).payload);
        },
        [](ComponentWriter& w) {
            w.name("Name");
            w.string("second");
            w.name("Colour");
            w.integer(1);
        },
        [](ComponentWriter& w) { w.name("Name"); },
    });
    EXPECT_EQ(loadError(third, list), "Property Colour does not exist");
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(0).image().width, 2);
    EXPECT_TRUE(list.item(0).patterns().empty());
    EXPECT_EQ(list.item(1).name, "second");
}

TEST(Container, ValuesWithTheWrongTag) {
    using Item = std::function<void(ComponentWriter&)>;
    const std::vector<Item> wrong = {
        [](ComponentWriter& w) {
            w.name("PatternWidth");
            w.string("10");
        },
        [](ComponentWriter& w) {
            w.name("SkipHeight");
            w.boolean(true);
        },
        [](ComponentWriter& w) {
            w.name("Transparent");
            w.integer(1);
        },
        [](ComponentWriter& w) {
            w.name("Name");
            w.integer(1);
        },
        [](ComponentWriter& w) {
            w.name("Name");
            w.identifier("clRed");
        },
        [](ComponentWriter& w) {
            w.name("TransparentColor");
            w.identifier("clNotAColour");
        },
        [](ComponentWriter& w) {
            w.name("TransparentColor");
            w.string("clRed");
        },
        [](ComponentWriter& w) {
            w.name("Picture.Data");
            w.string("TDIB");
        },
    };
    PictureList list;
    for (size_t i = 0; i < wrong.size(); ++i)
        EXPECT_EQ(loadError(listOf({wrong[i]}), list), "Invalid property value") << i;

    auto notACollection = holder([](ComponentWriter& w) {
        w.name("List");
        w.integer(0);
    });
    EXPECT_EQ(loadError(notACollection, list), "Invalid property value");
    auto entryWithoutBegin = holder([](ComponentWriter& w) {
        w.name("List");
        w.beginCollection();
        w.boolean(true);
    });
    EXPECT_EQ(loadError(entryWithoutBegin, list), "Invalid property value");

    auto named = listOf({[](ComponentWriter& w) {
        w.name("TransparentColor");
        w.identifier("clFuchsia");
    }});
    EXPECT_EQ(readPictureList(named).item(0).transparentColor, 0xFF00FFu);
}

TEST(Container, NegativeAndOversizedLengths) {
    auto bytes = listOf({[](ComponentWriter& w) {
        w.name("Picture.Data");
        w.binary(std::vector<uint8_t>{0, 1, 2, 3});
    }});
    // The 32-bit length follows the binary tag, which follows the name.
    auto lengthAt = std::search(bytes.begin(), bytes.end(), std::begin("Picture.Data") + 0,
                                std::begin("Picture.Data") + 12) -
                    bytes.begin() + 13;
    PictureList list;
    for (auto [len, message] : {std::pair{0x80000000u, "Invalid stream format"},
                                {0xFFFFFFFFu, "Invalid stream format"},
                                {0x7FFFFFFFu, "Stream read error"},
                                {5000u, "Stream read error"}}) {
        auto b = bytes;
        for (int k = 0; k < 4; ++k) b[static_cast<size_t>(lengthAt + k)] = uint8_t(len >> (8 * k));
        EXPECT_EQ(loadError(b, list), message) << len;
    }
}

TEST(Container, StringEncodingsRoundTrip) {
    const std::string e = "\xE9", euro = "\x80";  // Windows-1252 e-acute and euro sign
    const std::vector<std::pair<std::string, uint8_t>> cases = {
        {"plain", 0x06},
        {std::string(300, 'x'), 0x0C},
        {"caf" + e, 0x14},
        {e, 0x12},
        {"a" + euro, 0x12},
        {"ab" + euro, 0x14},
        // Bytes that the code page leaves unassigned survive too.
        {"\x81", 0x12},
        {"x\x8D\x90", 0x14},
    };
    for (const auto& [text, tag] : cases) {
        PictureList list;
        list.add().name = text;
        auto bytes = writePictureList(list);
        auto at = std::search(bytes.begin(), bytes.end(), std::begin("\x04Name") + 0,
                              std::begin("\x04Name") + 5);
        ASSERT_NE(at, bytes.end());
        EXPECT_EQ(at[5], tag) << text;
        EXPECT_EQ(readPictureList(bytes).item(0).name, text);
    }
}

TEST(Colors, IdentifierTableAndDrawingValues) {
    EXPECT_EQ(colorIdentifier(0), "clBlack");
    EXPECT_EQ(colorIdentifier(0xFFFFFF), "clWhite");
    EXPECT_EQ(colorIdentifier(0xFF00000F), "clBtnFace");
    EXPECT_EQ(colorIdentifier(kColorNone), "clNone");
    EXPECT_FALSE(colorIdentifier(0x123456));
    EXPECT_FALSE(colorIdentifier(0xFF000019));  // index 25 has no name
    EXPECT_EQ(colorFromIdentifier("clMedGray"), 0xA4A0A0u);
    EXPECT_EQ(colorFromIdentifier("clDefault"), kColorDefault);
    EXPECT_FALSE(colorFromIdentifier("clblack"));

    EXPECT_EQ(colorToRgb(0x0000FF), 0xFF0000u);  // stored red is 0x00BBGGRR
    EXPECT_EQ(colorToRgb(0x123456), 0x563412u);
    EXPECT_EQ(colorToRgb(*colorFromIdentifier("clWindow")), 0xFFFFFFu);
    EXPECT_EQ(colorToRgb(*colorFromIdentifier("clWindowText")), 0u);
    EXPECT_EQ(colorToRgb(0xFF0000FF), 0u);  // no such system colour
}

}  // namespace
}  // namespace zk
