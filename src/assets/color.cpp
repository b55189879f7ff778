#include "assets/color.h"

#include <array>

namespace zk {
namespace {

struct NamedColor {
    std::string_view name;
    uint32_t value;
};

constexpr uint32_t sys(uint32_t index) {
    return 0xFF000000u + index;
}

// In search order: the RGB colours, then the system colours and the special values.
constexpr NamedColor kColors[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clScrollBar", sys(0)},
    {"clBackground", sys(1)},
    {"clActiveCaption", sys(2)},
    {"clInactiveCaption", sys(3)},
    {"clMenu", sys(4)},
    {"clWindow", sys(5)},
    {"clWindowFrame", sys(6)},
    {"clMenuText", sys(7)},
    {"clWindowText", sys(8)},
    {"clCaptionText", sys(9)},
    {"clActiveBorder", sys(10)},
    {"clInactiveBorder", sys(11)},
    {"clAppWorkSpace", sys(12)},
    {"clHighlight", sys(13)},
    {"clHighlightText", sys(14)},
    {"clBtnFace", sys(15)},
    {"clBtnShadow", sys(16)},
    {"clGrayText", sys(17)},
    {"clBtnText", sys(18)},
    {"clInactiveCaptionText", sys(19)},
    {"clBtnHighlight", sys(20)},
    {"cl3DDkShadow", sys(21)},
    {"cl3DLight", sys(22)},
    {"clInfoText", sys(23)},
    {"clInfoBk", sys(24)},
    {"clHotLight", sys(26)},
    {"clGradientActiveCaption", sys(27)},
    {"clGradientInactiveCaption", sys(28)},
    {"clMenuHighlight", sys(29)},
    {"clMenuBar", sys(30)},
    {"clNone", kColorNone},
    {"clDefault", kColorDefault},
};

// System colours as 0xRRGGBB, by index: the classic grey desktop theme.
constexpr std::array<uint32_t, 31> kSystemRgb = {
    0xD4D0C8,  // scroll bar
    0x3A6EA5,  // desktop background
    0x0A246A,  // active caption
    0x808080,  // inactive caption
    0xD4D0C8,  // menu
    0xFFFFFF,  // window
    0x000000,  // window frame
    0x000000,  // menu text
    0x000000,  // window text
    0xFFFFFF,  // caption text
    0xD4D0C8,  // active border
    0xD4D0C8,  // inactive border
    0x808080,  // application workspace
    0x0A246A,  // highlight
    0xFFFFFF,  // highlight text
    0xD4D0C8,  // button face
    0x808080,  // button shadow
    0x808080,  // grey text
    0x000000,  // button text
    0xD4D0C8,  // inactive caption text
    0xFFFFFF,  // button highlight
    0x404040,  // 3D dark shadow
    0xD4D0C8,  // 3D light
    0x000000,  // tooltip text
    0xFFFFE1,  // tooltip background
    0x000000,  // (unused index)
    0x0000FF,  // hot-tracked item
    0xA6CAF0,  // gradient of the active caption
    0xC0C0C0,  // gradient of the inactive caption
    0x316AC5,  // menu highlight
    0xD4D0C8,  // menu bar
};

}  // namespace

std::optional<uint32_t> colorFromIdentifier(std::string_view name) {
    for (const auto& c : kColors)
        if (c.name == name) return c.value;
    return std::nullopt;
}

std::optional<std::string_view> colorIdentifier(uint32_t color) {
    for (const auto& c : kColors)
        if (c.value == color) return c.name;
    return std::nullopt;
}

uint32_t colorToRgb(uint32_t color) {
    if (color & 0x80000000u) {  // a system colour: its index is the low byte
        uint32_t index = color & 0xFF;
        return index < kSystemRgb.size() ? kSystemRgb[index] : 0;
    }
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

}  // namespace zk
