#include "core/code_page.h"

#include <gtest/gtest.h>

#include "core/text.h"

namespace zk {
namespace {

std::string bytes(std::initializer_list<int> list) {
    std::string out;
    for (int b : list) out += static_cast<char>(b);
    return out;
}

TEST(CodePage, ConvertsTheTextsOfEachAlphabet) {
    struct Case {
        int page;
        const char* utf8;
        std::string record;
    };
    const Case cases[] = {
        {1251, "Привет, Ёж", bytes({0xCF, 0xF0, 0xE8, 0xE2, 0xE5, 0xF2, ',', ' ', 0xA8, 0xE6})},
        {1250, "Žluťoučký kůň",
         bytes({0x8E, 'l', 'u', 0x9D, 'o', 'u', 0xE8, 'k', 0xFD, ' ', 'k', 0xF9, 0xF2})},
        {1253, "Καλημέρα", bytes({0xCA, 0xE1, 0xEB, 0xE7, 0xEC, 0xDD, 0xF1, 0xE1})},
        {1254, "ŞIğ", bytes({0xDE, 'I', 0xF0})},
        {1257, "Ąžuolas", bytes({0xC0, 0xFE, 'u', 'o', 'l', 'a', 's'})},
        {1252, "Tür €", bytes({'T', 0xFC, 'r', ' ', 0x80})},
    };
    for (const Case& c : cases) {
        const CodePage page = *CodePage::byNumber(c.page);
        EXPECT_EQ(page.toUtf8(c.record), c.utf8) << c.page;
        EXPECT_EQ(page.fromUtf8(c.utf8), c.record) << c.page;
    }
    std::string bad;
    EXPECT_FALSE(CodePage::byNumber(1251)->fromUtf8("Tür", &bad));
    EXPECT_EQ(bad, "ü");
    EXPECT_FALSE(CodePage::byNumber(1252)->fromUtf8("Ж", &bad));
    EXPECT_EQ(bad, "Ж");
    EXPECT_FALSE(CodePage::byNumber(866));
    EXPECT_EQ(CodePage().number(), 1252);
}

TEST(CodePage, EveryByteSurvivesTheTripToUtf8AndBack) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    for (int number : CodePage::known()) {
        const CodePage page = *CodePage::byNumber(number);
        EXPECT_EQ(page.fromUtf8(page.toUtf8(all)), all) << number;
    }
    // Windows-1252 is the engine's own conversion, byte for byte.
    EXPECT_EQ(CodePage().toUtf8(all), cp1252ToUtf8(all));
}

TEST(CodePage, LowerCaseFollowsTheAlphabetOfThePage) {
    const CodePage latin = CodePage();
    EXPECT_EQ(latin.lower(bytes({'K', 0xDC, 'C', 'H', 'E'})), bytes({'k', 0xFC, 'c', 'h', 'e'}));
    EXPECT_EQ(latin.lower(bytes({0xD7, 0x8A, 0x9F})), bytes({0xD7, 0x9A, 0xFF}));  // ×, Š, Ÿ
    const CodePage cyrillic = *CodePage::byNumber(1251);
    EXPECT_EQ(cyrillic.lower(cyrillic.fromUtf8("КУХНЯ Ёж").value()),
              cyrillic.fromUtf8("кухня ёж").value());
    const CodePage greek = *CodePage::byNumber(1253);
    EXPECT_EQ(greek.lower(greek.fromUtf8("ΚΟΥΖΊΝΑ").value()), greek.fromUtf8("κουζίνα").value());
    const CodePage central = *CodePage::byNumber(1250);
    EXPECT_EQ(central.lower(central.fromUtf8("ŘÍČNÍ ĽŠ").value()),
              central.fromUtf8("říční ľš").value());
    EXPECT_EQ(lowerLetter(U'Ł'), U'ł');
    EXPECT_EQ(lowerLetter(U'ı'), U'ı');
    EXPECT_EQ(lowerLetter(U'7'), U'7');
}

TEST(CodePage, MixedMessagesKeepTheirUtf8) {
    const CodePage cyrillic = *CodePage::byNumber(1251);
    const std::string record = cyrillic.fromUtf8("кухня").value();
    EXPECT_EQ(cyrillic.mixedToUtf8("Room '" + record + "' in “/tmp/ü”"),
              "Room 'кухня' in “/tmp/ü”");
}

}  // namespace
}  // namespace zk
