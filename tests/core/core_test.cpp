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
    EXPECT_EQ(utf8ToCp1252(utf8), raw);
    const std::string unassigned = "\x81\x8D\x8F\x90\x9D";
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(unassigned)), unassigned);
    EXPECT_EQ(latin1ToUtf8("\x80"), "\xC2\x80");
    EXPECT_TRUE(equalsIgnoreCase("Door.WAV", "door.wav"));
    EXPECT_FALSE(equalsIgnoreCase("door", "doors"));
}

TEST(Text, LinesEndInCrLfLfOrCr) {
    EXPECT_EQ(splitLines("5\r\n0\r\n2\r\n"), (std::vector<std::string>{"5", "0", "2"}));
    EXPECT_EQ(splitLines("5\n\r\n2"), (std::vector<std::string>{"5", "", "2"}));
    EXPECT_EQ(splitLines("5\r0"), (std::vector<std::string>{"5", "0"}));
    EXPECT_TRUE(splitLines("").empty());
}

}  // namespace
}  // namespace zk
