#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "core/code_page.h"
#include "platform/fonts.h"
#include "platform/surface.h"

namespace zk {

enum class BrushStyle { Solid, Clear };

// Drawing state and operations on a surface, in software. The state (font, colours,
// brush, pen position) persists between uses, like the canvas of a window. Texts are
// bytes in the canvas's code page (the game's; Windows-1252 unless set). Everything is
// clipped to the surface.
//
// Brush: fillRect, frameRect and the box behind text use the brush colour; a clear
// brush draws none of them. Setting a brush colour makes a clear brush solid again.
// frameRect draws in the brush colour (not the pen colour), as the interface's slot
// highlight expects. Pen: lines.
class Canvas {
  public:
    Canvas(Surface& target, Fonts& fonts) : target_(&target), fonts_(&fonts) {}

    Surface& target() { return *target_; }
    void setCodePage(const CodePage& codePage) { codePage_ = codePage; }
    const CodePage& codePage() const { return codePage_; }
    void setTarget(Surface& target) { target_ = &target; }

    void setFont(std::string_view name, int points);
    void setFontName(std::string_view name) { setFont(name, fontSize_); }
    void setFontSize(int points) { setFont(fontName_, points); }
    const std::string& fontName() const { return fontName_; }
    int fontSize() const { return fontSize_; }
    void setFontColor(uint32_t color) { fontColor_ = color & kColorMask; }
    uint32_t fontColor() const { return fontColor_; }

    void setBrushColor(uint32_t color) {
        brushColor_ = color & kColorMask;
        brushStyle_ = BrushStyle::Solid;
    }
    uint32_t brushColor() const { return brushColor_; }
    void setBrushStyle(BrushStyle style) { brushStyle_ = style; }
    BrushStyle brushStyle() const { return brushStyle_; }
    void setPenColor(uint32_t color) { penColor_ = color & kColorMask; }
    uint32_t penColor() const { return penColor_; }

    // Text with its top-left corner at (x, y); with a solid brush over a box of the
    // brush colour as large as the text's extent. The pen moves to the text's end.
    void textOut(int x, int y, std::string_view text);
    int textWidth(std::string_view text);
    // The font's line height, whatever the text.
    int textHeight(std::string_view text);

    void moveTo(int x, int y) { pen_ = {x, y}; }
    // A one-pixel line from the pen position to (x, y), the end point left out;
    // the pen moves to (x, y).
    void lineTo(int x, int y);
    Point penPos() const { return pen_; }

    void fillRect(const Rect& r);
    // A one-pixel border along the inside of r (right and bottom edges excluded).
    void frameRect(const Rect& r);

  private:
    const Font& font();

    Surface* target_;
    Fonts* fonts_;
    const Font* font_ = nullptr;  // the open font for fontName_ and fontSize_
    std::string fontName_ = "Tahoma";
    int fontSize_ = 12;
    uint32_t fontColor_ = 0;
    uint32_t brushColor_ = 0xFFFFFF;
    BrushStyle brushStyle_ = BrushStyle::Solid;
    uint32_t penColor_ = 0;
    Point pen_;
    CodePage codePage_;
};

// Draws a coverage mask in `color` with its top-left at (x, y), blending partial
// coverage with what is below; clipped to the surface.
void blendMask(Surface& s, const TextMask& mask, int x, int y, uint32_t color);

}  // namespace zk
