#include "platform/fonts.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zk {
namespace {

std::string fileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

std::string wineTahoma() {
    for (const char* p :
         {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/fonts/truetype/wine/tahoma.ttf"}) {
        if (std::filesystem::exists(p)) return p;
    }
    return {};
}

TEST(Fonts, TahomaComesFromTheWineFontsWhenInstalled) {
    const std::string wine = wineTahoma();
    const std::string found = Fonts::resolve("Tahoma");
    if (!wine.empty()) {
        EXPECT_EQ(found, wine);
        EXPECT_EQ(Fonts::resolve("TAHOMA"), wine);
    } else {
        EXPECT_FALSE(found.empty());
        EXPECT_TRUE(std::filesystem::exists(found));
    }
}

TEST(Fonts, UnknownFamiliesFallBackToDejaVu) {
    EXPECT_EQ(fileName(Fonts::resolve("No Such Family Zelkin")), "DejaVuSans.ttf");
    EXPECT_EQ(fileName(Fonts::resolve("")), "DejaVuSans.ttf");
    const std::string lucida = Fonts::resolve("Lucida console");
    ASSERT_FALSE(lucida.empty());
    // A machine may have the real font; otherwise the fixed-pitch fallback is used.
    if (fileName(lucida) != "lucon.ttf") {
        EXPECT_EQ(fileName(lucida), "DejaVuSansMono.ttf");
    }
}

TEST(Fonts, OpensEachFontOnceAtNinetySixDpi) {
    Fonts fonts;
    const Font& a = fonts.get("Tahoma", 12);
    EXPECT_EQ(&a, &fonts.get("tahoma", 12));
    EXPECT_NE(&a, &fonts.get("Tahoma", 9));
    EXPECT_EQ(a.points(), 12);
    // 12 points at 96 dpi is a 16-pixel em: the line is a little taller than that.
    EXPECT_GE(a.height(), 16);
    EXPECT_LE(a.height(), 24);
    EXPECT_LT(fonts.get("Tahoma", 9).height(), a.height());
    // A proportional face and a fixed-pitch one.
    EXPECT_LT(a.width("iiii"), a.width("WWWW"));
    const Font& mono = fonts.get("Lucida console", 12);
    EXPECT_EQ(mono.width("iiii"), mono.width("WWWW"));
    EXPECT_EQ(fonts.get("Tahoma", 0).points(), 1);
}

TEST(Fonts, RenderedMaskMatchesTheMeasuredSize) {
    Fonts fonts;
    const Font& f = fonts.get("Tahoma", 12);
    const TextMask mask = f.render("Hello");
    EXPECT_EQ(mask.width, f.width("Hello"));
    EXPECT_EQ(mask.height, f.height());
    ASSERT_EQ(mask.alpha.size(), static_cast<size_t>(mask.width * mask.height));
    int covered = 0;
    for (uint8_t a : mask.alpha) covered += a > 0;
    EXPECT_GT(covered, 30);
    const TextMask empty = f.render("");
    EXPECT_EQ(empty.width, 0);
    EXPECT_TRUE(empty.alpha.empty());
}

}  // namespace
}  // namespace zk
