#include "logic/interactives.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "data/hit_test.h"
#include "render/object_draw.h"

namespace zk {
namespace {

// Samples taken across a thing's area, at most this many along each side.
constexpr int kSamplesPerSide = 32;
// Points whose rows are this close belong to one row of the reading order.
constexpr int kRowHeight = 24;

struct Area {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;
};

Area onScreen(const GameState& g, int64_t left, int64_t top, int64_t right, int64_t bottom) {
    const int64_t w = std::max<int64_t>(1, g.tables.prefs.displayWidth());
    const int64_t h = std::max<int64_t>(1, g.tables.prefs.displayHeight());
    return {static_cast<int>(std::clamp<int64_t>(left, 0, w - 1)),
            static_cast<int>(std::clamp<int64_t>(top, 0, h - 1)),
            static_cast<int>(std::clamp<int64_t>(right, -1, w - 1)),
            static_cast<int>(std::clamp<int64_t>(bottom, -1, h - 1))};
}

// Of the sample points of `a` that `accepts`, the one nearest to their middle: inside
// the thing also where it is not convex. False when no sample is accepted.
template <typename Accepts>
bool pointIn(const Area& a, Accepts&& accepts, int& x, int& y) {
    if (a.right < a.left || a.bottom < a.top) return false;
    const int w = a.right - a.left + 1;
    const int h = a.bottom - a.top + 1;
    const int step = std::max(1, (std::max(w, h) + kSamplesPerSide - 1) / kSamplesPerSide);
    std::vector<std::pair<int, int>> hits;
    // The samples are centred in the area, so that a small area is sampled at its middle.
    const int x0 = a.left + ((w - 1) % step) / 2;
    const int y0 = a.top + ((h - 1) % step) / 2;
    for (int py = y0; py <= a.bottom; py += step)
        for (int px = x0; px <= a.right; px += step)
            if (accepts(px, py)) hits.emplace_back(px, py);
    if (hits.empty()) return false;
    int64_t sx = 0, sy = 0;
    for (auto [px, py] : hits) {
        sx += px;
        sy += py;
    }
    const int64_t n = static_cast<int64_t>(hits.size());
    const int64_t mx = sx / n, my = sy / n;
    auto distance = [&](const std::pair<int, int>& p) {
        return (p.first - mx) * (p.first - mx) + (p.second - my) * (p.second - my);
    };
    const auto best = std::min_element(hits.begin(), hits.end(),
                                       [&](auto& l, auto& r) { return distance(l) < distance(r); });
    x = best->first;
    y = best->second;
    return true;
}

void addObjects(GameState& g, std::vector<Interactive>& out) {
    const int count = static_cast<int>(g.objects().size());
    for (int i = 0; i < count; ++i) {
        const ObjectRecord& o = g.objects()[static_cast<size_t>(i)];
        if (o.isEmpty() || o.active() != 1 || o.hidden() != 0) continue;
        const std::optional<Rect> r = objectHitArea(g, i);
        if (!r) continue;
        Interactive t{.kind = Interactive::Kind::Object, .index = i};
        if (!pointIn(
                onScreen(g, r->left, r->top, r->right, r->bottom),
                [&](int x, int y) { return objectAt(g, x, y) == i; }, t.x, t.y))
            continue;
        t.name = g.translate(o.displayNameKey());
        if (t.name.empty()) t.name = o.name();
        out.push_back(std::move(t));
    }
}

void addZones(GameState& g, std::vector<Interactive>& out) {
    const Room& room = g.room();
    const int64_t dx = g.tables.inventory.sceneOffsetX();
    const int64_t dy = g.tables.inventory.sceneOffsetY();
    const bool playRoom = room.isGameRoom();
    for (int z = 0; z < kZonesPerRoom; ++z) {
        ConstZoneView zone = room.zone(z);
        if (!zone.enabled()) continue;
        // A click goes to the first enabled zone under it, after objects and the bar.
        auto takes = [&](int x, int y) {
            for (int earlier = 0; earlier < z; ++earlier) {
                ConstZoneView e = room.zone(earlier);
                if (e.enabled() && zoneUnder(g, e, x, y)) return false;
            }
            return objectAt(g, x, y) < 0 && !(playRoom && inventoryBarUnder(g, x, y));
        };
        Interactive t{.kind = Interactive::Kind::Zone, .index = z};
        const Area a =
            onScreen(g, zone.left() + dx, zone.top() + dy, zone.right() + dx, zone.bottom() + dy);
        if (!pointIn(a, takes, t.x, t.y)) continue;
        t.name = zone.hint();
        if (t.name.empty()) t.name = zone.targetRoom();
        out.push_back(std::move(t));
    }
}

void addSlots(const GameState& g, std::vector<Interactive>& out) {
    if (!g.room().isGameRoom()) return;
    for (int i = 0; i < kInventorySlots; ++i) {
        ConstSlotView s = g.tables.inventory.slot(i);
        if (!s.enabled() || s.item().empty()) continue;
        Interactive t{.kind = Interactive::Kind::Slot, .index = i};
        t.x = static_cast<int>((int64_t{s.left()} + s.right()) / 2);
        t.y = static_cast<int>((int64_t{s.top()} + s.bottom()) / 2);
        if (static_cast<size_t>(i) < g.ui.slotLabels.size())
            t.name = g.ui.slotLabels[static_cast<size_t>(i)];
        if (t.name.empty()) t.name = s.item();
        out.push_back(std::move(t));
    }
}

void addChoices(const GameState& g, std::vector<Interactive>& out) {
    const auto& boxes = g.dialogue.dialogueLayout.choiceBoxes;
    const auto& lines = g.dialogue.dialogueLines;
    for (size_t w = 0; w < boxes.size() && w + 1 < lines.size(); ++w) {
        const Box& b = boxes[w];
        out.push_back({.kind = Interactive::Kind::Choice,
                       .index = static_cast<int>(w),
                       .name = lines[w + 1],
                       .x = static_cast<int>((int64_t{b[0]} + b[2]) / 2),
                       .y = static_cast<int>((int64_t{b[1]} + b[3]) / 2)});
    }
}

// Reading order: a point's row is the row of the topmost point within kRowHeight above
// it, chained; rows from the top, left to right within a row.
std::vector<int> rowsOf(const std::vector<std::pair<int, int>>& points) {
    std::vector<size_t> order(points.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return points[a].second < points[b].second; });
    std::vector<int> row(points.size(), 0);
    int current = 0;
    for (size_t k = 0; k < order.size(); ++k) {
        if (k > 0 && points[order[k]].second - points[order[k - 1]].second > kRowHeight) ++current;
        row[order[k]] = current;
    }
    return row;
}

}  // namespace

std::vector<Interactive> interactiveThings(GameState& g) {
    std::vector<Interactive> things;
    if (!g.session.gameLoaded || !g.hasRoom()) return things;
    if (g.dialogue.dialogueOpen) {
        addChoices(g, things);
        return things;
    }
    addObjects(g, things);
    addZones(g, things);
    addSlots(g, things);
    std::vector<std::pair<int, int>> points;
    for (const Interactive& t : things) points.emplace_back(t.x, t.y);
    const std::vector<int> row = rowsOf(points);
    std::vector<size_t> order(things.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (row[a] != row[b]) return row[a] < row[b];
        return things[a].x < things[b].x;
    });
    std::vector<Interactive> sorted;
    sorted.reserve(things.size());
    for (size_t i : order) sorted.push_back(std::move(things[i]));
    return sorted;
}

int jumpTarget(const std::vector<Interactive>& things, int x, int y, bool forward) {
    const int n = static_cast<int>(things.size());
    if (n == 0) return -1;
    for (int i = 0; i < n; ++i)
        if (things[static_cast<size_t>(i)].x == x && things[static_cast<size_t>(i)].y == y)
            return forward ? (i + 1) % n : (i + n - 1) % n;
    // Not on a thing: the cursor takes its place in the reading order among them.
    std::vector<std::pair<int, int>> points;
    for (const Interactive& t : things) points.emplace_back(t.x, t.y);
    points.emplace_back(x, y);
    const std::vector<int> row = rowsOf(points);
    const int cursorRow = row.back();
    auto after = [&](int i) {
        const int r = row[static_cast<size_t>(i)];
        return r > cursorRow || (r == cursorRow && things[static_cast<size_t>(i)].x > x);
    };
    if (forward) {
        for (int i = 0; i < n; ++i)
            if (after(i)) return i;
        return 0;
    }
    for (int i = n - 1; i >= 0; --i)
        if (!after(i)) return i;
    return n - 1;
}

}  // namespace zk
