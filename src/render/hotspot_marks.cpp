#include "render/hotspot_marks.h"

#include <algorithm>
#include <array>
#include <string>

#include "platform/platform.h"

namespace zk {
namespace {

constexpr uint32_t kMarkColor = 0xFFD000;  // a warm yellow, seen on dark and light rooms
constexpr uint32_t kOutline = 0x000000;
constexpr uint32_t kNameColor = 0xFFFFFF;
constexpr int kMarkRadius = 4;
constexpr int kGap = 3;  // between a marker and its name, and between names

bool overlaps(const Rect& a, const Rect& b) {
    return a.left <= b.right + kGap && b.left <= a.right + kGap && a.top <= b.bottom + kGap &&
           b.top <= a.bottom + kGap;
}

Rect placed(int left, int top, int w, int h) {
    return {left, top, left + w + 3, top + h + 1};
}

Rect keptOn(Rect r, int width, int height) {
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    r.left = std::clamp(r.left, 0, std::max(0, width - 1 - w));
    r.top = std::clamp(r.top, 0, std::max(0, height - 1 - h));
    return {r.left, r.top, r.left + w, r.top + h};
}

// A filled diamond with a dark rim, centred on (x, y).
void drawMarker(Canvas& canvas, int x, int y) {
    for (int d = -kMarkRadius - 1; d <= kMarkRadius + 1; ++d) {
        const int span = kMarkRadius + 1 - std::abs(d);
        canvas.setBrushColor(kOutline);
        canvas.fillRect({x - span, y + d, x + span + 1, y + d + 1});
        if (span > 1) {
            canvas.setBrushColor(kMarkColor);
            canvas.fillRect({x - span + 1, y + d, x + span, y + d + 1});
        }
    }
}

}  // namespace

std::vector<Rect> layoutHotspotNames(const std::vector<Hotspot>& hotspots,
                                     const std::vector<int>& widths, int height, int width,
                                     int displayHeight) {
    std::vector<Rect> out;
    for (size_t i = 0; i < hotspots.size(); ++i) {
        const Hotspot& h = hotspots[i];
        const int w = i < widths.size() ? widths[i] : 0;
        const int off = kMarkRadius + kGap + 2;
        // Right of the marker, left of it, above, below; then further down, step by step.
        const std::array<Rect, 4> tries = {
            placed(h.x + off, h.y - height / 2, w, height),
            placed(h.x - off - w - 3, h.y - height / 2, w, height),
            placed(h.x - w / 2, h.y - off - height - 1, w, height),
            placed(h.x - w / 2, h.y + off, w, height),
        };
        auto isFree = [&](const Rect& r) {
            for (const Rect& other : out)
                if (overlaps(r, other)) return false;
            for (const Hotspot& m : hotspots)
                if (overlaps(r, {m.x - kMarkRadius, m.y - kMarkRadius, m.x + kMarkRadius,
                                 m.y + kMarkRadius}))
                    return false;
            return true;
        };
        Rect chosen = keptOn(tries[0], width, displayHeight);
        bool found = false;
        for (int shift = 0; shift < 40 && !found; ++shift) {
            for (const Rect& t : tries) {
                Rect r = t;
                r.top += shift * (height / 2 + 1);
                r.bottom += shift * (height / 2 + 1);
                r = keptOn(r, width, displayHeight);
                if (isFree(r)) {
                    chosen = r;
                    found = true;
                    break;
                }
            }
        }
        out.push_back(chosen);
    }
    return out;
}

void drawHotspotMarks(const GameState& g) {
    if (g.scene.hotspots.empty() || !g.platform) return;
    Canvas& canvas = g.platform->canvas;
    const std::string font = canvas.fontName();
    const int size = canvas.fontSize();
    const uint32_t fontColor = canvas.fontColor();
    const uint32_t brush = canvas.brushColor();
    const BrushStyle style = canvas.brushStyle();

    canvas.setFont("Tahoma", 12);
    std::vector<int> widths;
    for (const Hotspot& h : g.scene.hotspots) widths.push_back(canvas.textWidth(h.name));
    const int height = canvas.textHeight("X");
    const std::vector<Rect> names =
        layoutHotspotNames(g.scene.hotspots, widths, height, g.tables.prefs.displayWidth(),
                           g.tables.prefs.displayHeight());
    for (size_t i = 0; i < names.size(); ++i) {
        canvas.setBrushColor(kOutline);
        canvas.fillRect(names[i]);
        canvas.setBrushColor(kMarkColor);
        canvas.frameRect(names[i]);
        canvas.setBrushStyle(BrushStyle::Clear);
        canvas.setFontColor(kNameColor);
        canvas.textOut(names[i].left + 2, names[i].top, g.scene.hotspots[i].name);
    }
    for (const Hotspot& h : g.scene.hotspots) drawMarker(canvas, h.x, h.y);

    canvas.setFont(font, size);
    canvas.setFontColor(fontColor);
    canvas.setBrushColor(brush);
    canvas.setBrushStyle(style);
}

}  // namespace zk
