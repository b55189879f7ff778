#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace zk {

// Stored colours are 0x00BBGGRR, or 0xFF0000nn for the system colour nn, or one of
// the two special values below.
constexpr uint32_t kColorNone = 0x1FFFFFFF;
constexpr uint32_t kColorDefault = 0x20000000;

// The value of a colour identifier such as "clBlack" or "clBtnFace".
std::optional<uint32_t> colorFromIdentifier(std::string_view name);
// The first identifier whose value is the colour, if any.
std::optional<std::string_view> colorIdentifier(uint32_t color);

// A stored colour as the 0xRRGGBB value that drawing compares pixels with. System
// colours take fixed values of a classic desktop theme; the special values keep
// their low 24 bits.
uint32_t colorToRgb(uint32_t color);

}  // namespace zk
