#include "app/debug_overlay.h"

#include <algorithm>

#include "logic/logic.h"
#include "platform/platform.h"

namespace zk {
namespace {

constexpr const char* kFont = "Lucida console";
constexpr int kFontPoints = 12;

// Keeps the canvas settings of the frame, so the overlay leaves no trace in them.
class CanvasState {
  public:
    explicit CanvasState(Canvas& c)
        : c_(c),
          font_(c.fontName()),
          points_(c.fontSize()),
          fontColor_(c.fontColor()),
          brushColor_(c.brushColor()),
          brushStyle_(c.brushStyle()) {}
    ~CanvasState() {
        c_.setFont(font_, points_);
        c_.setFontColor(fontColor_);
        c_.setBrushColor(brushColor_);
        c_.setBrushStyle(brushStyle_);
    }
    CanvasState(const CanvasState&) = delete;
    CanvasState& operator=(const CanvasState&) = delete;

  private:
    Canvas& c_;
    std::string font_;
    int points_;
    uint32_t fontColor_;
    uint32_t brushColor_;
    BrushStyle brushStyle_;
};

}  // namespace

DebugOverlay::Layout DebugOverlay::layout(GameState& g) const {
    Canvas& c = g.platform->canvas;
    CanvasState keep(c);
    c.setFont(kFont, kFontPoints);
    Layout l;
    const Surface& s = c.target();
    l.left = std::max(0, s.width - kListWidth);
    l.lineHeight = std::max(1, c.textHeight("a"));
    l.rowsPerPage = std::max(1, s.height / l.lineHeight - 1);
    const int rooms = static_cast<int>(g.tables.roomList.size());
    l.pages = std::max(1, (rooms + l.rowsPerPage - 1) / l.rowsPerPage);
    return l;
}

bool DebugOverlay::press(GameState& g) {
    if (!g.platform) return false;
    const Layout l = layout(g);
    const int x = g.input.mouseX;
    const int y = g.input.mouseY;
    if (x < l.left) return false;
    const int line = y / l.lineHeight;
    if (line == 0) {
        page_ = (page_ + 1) % l.pages;
        lastRow_ = -1;
        return true;
    }
    const int index = page_ * l.rowsPerPage + line - 1;
    if (line > l.rowsPerPage || index >= static_cast<int>(g.tables.roomList.size())) return false;
    const uint32_t now = g.platform->clock.ticks();
    if (index == lastRow_ && now - lastPressTime_ <= kDoubleClickMs) {
        ListBox1DblClick(g, index);
        lastRow_ = -1;
    } else {
        lastRow_ = index;
        lastPressTime_ = now;
    }
    selected_ = index;
    return true;
}

void DebugOverlay::draw(GameState& g) {
    if (!g.platform) return;
    const Layout l = layout(g);
    if (page_ >= l.pages) page_ = 0;
    Canvas& c = g.platform->canvas;
    CanvasState keep(c);
    c.setFont(kFont, kFontPoints);
    c.setBrushColor(0);
    const int height = c.target().height;

    c.setFontColor(0xFFFF00);
    int y = 0;
    for (const std::string& line : g.scripts.runningEvents) {
        if (y + l.lineHeight > height) break;
        if (!line.empty()) c.textOut(0, y, line);
        y += l.lineHeight;
    }

    const int rooms = static_cast<int>(g.tables.roomList.size());
    const int shown = std::clamp(rooms - page_ * l.rowsPerPage, 0, l.rowsPerPage);
    // The panel is only as tall as the list, so the room stays visible below it.
    c.fillRect({l.left, 0, c.target().width, std::min(height, (shown + 1) * l.lineHeight)});
    c.setFontColor(0xFFFFFF);
    std::string heading = "Rooms";
    if (l.pages > 1)
        heading += " " + std::to_string(page_ + 1) + "/" + std::to_string(l.pages) + " >>";
    c.textOut(l.left + 2, 0, heading);
    const std::string current = g.hasRoom() ? g.room().name() : std::string();
    for (int row = 0; row < shown; ++row) {
        const int index = page_ * l.rowsPerPage + row;
        const std::string& name = g.tables.roomList[static_cast<size_t>(index)];
        const int top = (row + 1) * l.lineHeight;
        if (index == selected_) {
            c.setBrushColor(0x404080);
            c.fillRect({l.left, top, c.target().width, top + l.lineHeight});
        } else {
            c.setBrushColor(0);
        }
        c.setFontColor(name == current ? 0x80FF80 : 0xC0C0C0);
        c.textOut(l.left + 2, top, (name == current ? "* " : "  ") + name);
    }
}

}  // namespace zk
