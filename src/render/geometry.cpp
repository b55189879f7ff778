#include "render/geometry.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "render/object_draw.h"

namespace zk {
namespace {

constexpr uint32_t kZoneColor = 0xFFE000;
constexpr uint32_t kDisabledColor = 0x808080;
constexpr uint32_t kEntranceColor = 0x00E0FF;
constexpr uint32_t kObjectColor = 0xFF60FF;
constexpr uint32_t kBaseLineColor = 0xFF8000;
constexpr uint32_t kPathColor = 0xFFFFFF;

uint32_t mix(uint32_t a, uint32_t b) {  // half of each
    return ((a >> 1) & 0x7F7F7F) + ((b >> 1) & 0x7F7F7F);
}

void line(Surface& s, int x0, int y0, int x1, int y1, uint32_t color) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    // Lines far outside the surface are clipped to a bounded number of steps.
    for (int steps = 0; steps < 20000; ++steps) {
        s.setPixel(x0, y0, color);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}

// A rectangle with its edges, as zones and hit areas count them.
void outline(Surface& s, int64_t l, int64_t t, int64_t r, int64_t b, uint32_t color) {
    auto clampX = [&](int64_t v) { return int(std::clamp<int64_t>(v, -1, s.width)); };
    auto clampY = [&](int64_t v) { return int(std::clamp<int64_t>(v, -1, s.height)); };
    const int L = clampX(l), T = clampY(t), R = clampX(r), B = clampY(b);
    line(s, L, T, R, T, color);
    line(s, R, T, R, B, color);
    line(s, R, B, L, B, color);
    line(s, L, B, L, T, color);
}

void cross(Surface& s, int x, int y, uint32_t color) {
    line(s, x - 4, y, x + 4, y, color);
    line(s, x, y - 4, x, y + 4, color);
}

class Labels {
  public:
    explicit Labels(const GameState& g, Surface& target)
        : canvas_(g.platform ? &g.platform->canvas : nullptr) {
        if (!canvas_) return;
        saved_ = &canvas_->target();
        font_ = canvas_->fontName();
        points_ = canvas_->fontSize();
        color_ = canvas_->fontColor();
        brush_ = canvas_->brushStyle();
        canvas_->setTarget(target);
        canvas_->setFont("Lucida console", 10);
        canvas_->setBrushStyle(BrushStyle::Clear);
    }
    ~Labels() {
        if (!canvas_) return;
        canvas_->setTarget(*saved_);
        canvas_->setFont(font_, points_);
        canvas_->setFontColor(color_);
        canvas_->setBrushStyle(brush_);
    }
    Labels(const Labels&) = delete;
    Labels& operator=(const Labels&) = delete;

    void put(int x, int y, const std::string& text, uint32_t color) {
        if (!canvas_ || text.empty()) return;
        canvas_->setFontColor(color);
        canvas_->textOut(x, y, text);
    }

  private:
    Canvas* canvas_;
    Surface* saved_ = nullptr;
    std::string font_;
    int points_ = 0;
    uint32_t color_ = 0;
    BrushStyle brush_ = BrushStyle::Solid;
};

}  // namespace

void drawRoomGeometry(const GameState& g, Surface& target, unsigned layers) {
    if (!g.hasRoom()) return;
    const Room& room = g.room();
    const int ox = g.tables.inventory.sceneOffsetX();
    const int oy = g.tables.inventory.sceneOffsetY();
    Labels labels(g, target);

    if (layers & kGeometryMask) {
        const WalkMask& mask = g.scene.walkMask;
        for (int y = 0; y < target.height; ++y)
            for (int x = 0; x < target.width; ++x) {
                const bool walk = mask.walkable(x - ox, y - oy);
                target.setPixel(x, y, mix(target.pixel(x, y), walk ? 0x00FF00 : 0xFF0000));
            }
    }
    if (layers & kGeometryZones) {
        for (int i = 0; i < kZonesPerRoom; ++i) {
            ConstZoneView z = room.zone(i);
            if (z.targetRoom().empty() && z.left() == 0 && z.right() == 0 && z.top() == 0 &&
                z.bottom() == 0)
                continue;
            const uint32_t color = z.enabled() ? kZoneColor : kDisabledColor;
            outline(target, int64_t{z.left()} + ox, int64_t{z.top()} + oy, int64_t{z.right()} + ox,
                    int64_t{z.bottom()} + oy, color);
            cross(target, z.walkX() + ox, z.walkY() + oy, color);
            std::string to = "zone " + std::to_string(i);
            if (!z.targetRoom().empty()) to += " -> " + z.targetRoom();
            if (!z.targetEntrance().empty()) to += " / " + z.targetEntrance();
            labels.put(z.left() + ox + 2, z.top() + oy + 2, to, color);
        }
    }
    if (layers & kGeometryEntrances) {
        for (int i = 0; i < kEntrancesPerRoom; ++i) {
            ConstEntranceView e = room.entrance(i);
            if (e.name().empty()) continue;
            cross(target, e.x() + ox, e.y() + oy, kEntranceColor);
            line(target, e.x() + ox, e.y() + oy, e.walkX() + ox, e.walkY() + oy, kEntranceColor);
            outline(target, e.walkX() + ox - 2, e.walkY() + oy - 2, e.walkX() + ox + 2,
                    e.walkY() + oy + 2, kEntranceColor);
            labels.put(e.x() + ox + 6, e.y() + oy - 14, "entrance " + e.name(), kEntranceColor);
        }
    }
    if (layers & kGeometryObjects) {
        for (size_t i = 0; i < room.objects.size(); ++i) {
            const ObjectRecord& o = room.objects[i];
            if (o.name().empty()) continue;
            const PictureList* list = objectPictureList(g, int(i));
            int w = 0, h = 0;
            if (list && o.frame() >= 0 && o.frame() < list->count()) {
                const Picture& p = list->items[size_t(o.frame())].picture;
                w = p.image.width;
                h = p.image.height;
            }
            const Rect r = objectRect(g, o, w, h);
            outline(target, r.left, r.top, r.right - 1, r.bottom - 1, kObjectColor);
            cross(target, o.x() + ox, o.y() + oy, kObjectColor);
            std::string keys = o.name() + " depth " + std::to_string(o.depth());
            if (o.fixedDepth() == 0) {
                const int64_t base = int64_t{o.y()} - o.anchorY() + o.baseLineOffset() + oy;
                line(target, r.left, int(std::clamp<int64_t>(base, -1, target.height)), r.right - 1,
                     int(std::clamp<int64_t>(base, -1, target.height)), kBaseLineColor);
                keys += " behind " + std::to_string(o.depthBehind()) + " front " +
                        std::to_string(o.depthInFront());
            }
            labels.put(r.left, r.bottom + 1, keys, kObjectColor);
        }
    }
    if ((layers & kGeometryPath) && g.walk.walking) {
        const auto& points = g.walk.path.points;
        for (size_t i = 1; i < points.size(); ++i)
            line(target, points[i - 1].x + ox, points[i - 1].y + oy, points[i].x + ox,
                 points[i].y + oy, kPathColor);
        cross(target, g.walk.path.target.x + ox, g.walk.path.target.y + oy, kPathColor);
    }
}

}  // namespace zk
