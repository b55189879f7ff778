#include <gtest/gtest.h>

#include <array>

#include "core/bytes.h"
#include "core/error.h"
#include "core/stream.h"
#include "core/text.h"

namespace zk {
namespace {

TEST(Bytes, LittleEndianSignedFields) {
    std::array<uint8_t, 8> b{};
    putI16(b, 0, -2);
    putI32(b, 2, -123456);
    EXPECT_EQ(b[0], 0xFE);
    EXPECT_EQ(b[1], 0xFF);
    EXPECT_EQ(getI16(b, 0), -2);
    EXPECT_EQ(getI32(b, 2), -123456);
    putI16(b, 6, 40000);  // stored as its low 16 bits
    EXPECT_EQ(getI16(b, 6), -25536);
}

TEST(Bytes, StringLengthIsClampedToCapacity) {
    std::array<uint8_t, 31> b{};
    b[0] = 200;  // damaged length byte
    for (size_t i = 1; i < b.size(); ++i) b[i] = 'a';
    EXPECT_EQ(getPStr(b, 0, 30).size(), 30u);
    putPStr(b, 0, 30, std::string(40, 'x'));
    EXPECT_EQ(b[0], 30);
    EXPECT_EQ(getPStr(b, 0, 30), std::string(30, 'x'));
    putPStr(b, 0, 30, "ab");
    EXPECT_EQ(getPStr(b, 0, 30), "ab");
}

TEST(MemoryStream, ReadsBackWhatWasWrittenAndRefusesToReadPastTheEnd) {
    MemoryStream s;
    s.writeI16(-5);
    s.writeI32(70000);
    s.writeString("TPF0");
    s.seek(0);
    EXPECT_EQ(s.readI16(), -5);
    EXPECT_EQ(s.readI32(), 70000);
    EXPECT_EQ(s.readString(4), "TPF0");
    EXPECT_TRUE(s.atEnd());
    EXPECT_THROW(s.readU8(), DataError);
    s.seek(4);
    EXPECT_THROW(s.readBytes(10), DataError);
}

TEST(Text, Windows1252ConvertsToUtf8AndBack) {
    std::string raw = "caf\xE9 \x80 \x9F";
    std::string utf8 = cp1252ToUtf8(raw);
    EXPECT_EQ(utf8, "caf\xC3\xA9 \xE2\x82\xAC \xC5\xB8");
    // Every byte, the five unassigned ones too, comes back from its character.
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const std::string one = cp1252ToUtf8(std::string_view(&byte, 1));
        const Utf8Char c = decodeUtf8(one, 0);
        EXPECT_EQ(c.length, one.size()) << b;
        EXPECT_EQ(c.cp, cp1252CodePoint(byte)) << b;
        EXPECT_EQ(cp1252Byte(c.cp), byte) << b;
    }
    EXPECT_EQ(cp1252Byte(0x80), std::nullopt);  // no byte stands for U+0080
    EXPECT_EQ(cp1252Byte(0x3A9), std::nullopt);
    EXPECT_EQ(latin1ToUtf8("\x80"), "\xC2\x80");
    EXPECT_TRUE(equalsIgnoreCase("Door.WAV", "door.wav"));
    EXPECT_FALSE(equalsIgnoreCase("door", "doors"));
}

TEST(Text, Utf8DecoderTakesOnlyWellFormedSequences) {
    const Utf8Char emoji = decodeUtf8("a\xF0\x9F\x99\x82", 1);
    EXPECT_EQ(emoji.cp, 0x1F642u);
    EXPECT_EQ(emoji.length, 4u);
    for (std::string_view bad : {"\x80", "\xC3", "\xC3(", "\xC1\x81", "\xE0\x80\xAF",
                                 "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF8\x88\x80\x80"})
        EXPECT_EQ(decodeUtf8(bad, 0).length, 0u) << bad;
}

TEST(Text, LinesEndInCrLfLfOrCr) {
    EXPECT_EQ(splitLines("5\r\n0\r\n2\r\n"), (std::vector<std::string>{"5", "0", "2"}));
    EXPECT_EQ(splitLines("5\n\r\n2"), (std::vector<std::string>{"5", "", "2"}));
    EXPECT_EQ(splitLines("5\r0"), (std::vector<std::string>{"5", "0"}));
    EXPECT_TRUE(splitLines("").empty());
}

}  // namespace
}  // namespace zk
