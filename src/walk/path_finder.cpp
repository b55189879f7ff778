#include "walk/path_finder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace zk {

namespace {

struct Step {
    int32_t dx;
    int32_t dy;
};

// Neighbour order used everywhere in the search: up, left, down, right.
constexpr Step kNeighbours[4] = {{0, -1}, {-1, 0}, {0, 1}, {1, 0}};

// Keeps every label and cell index well inside 32 bits whatever the mask's size.
constexpr int64_t kMaxGridSide = 32767;

}  // namespace

void PathFinder::prepareGrid(const WalkMask& mask, int32_t displayWidth, int32_t displayHeight) {
    // The grid covers the display at half resolution. Cells beyond the mask can never be
    // walked, so the grid stops at the mask's edge as well; the result is the same and a
    // small mask on a large display costs no more than its own size.
    auto side = [](int32_t display, int32_t maskSize) {
        int64_t cells = std::min<int64_t>(display / 2, (static_cast<int64_t>(maskSize) + 1) / 2);
        return static_cast<int32_t>(std::clamp<int64_t>(cells, 0, kMaxGridSide));
    };
    gridW_ = side(displayWidth, mask.width());
    gridH_ = side(displayHeight, mask.height());
    paddedW_ = gridW_ + 2;

    size_t cells = static_cast<size_t>(gridW_) * static_cast<size_t>(gridH_);
    labels_.assign(static_cast<size_t>(paddedW_) * static_cast<size_t>(gridH_ + 2), kBlocked);
    // Every cell enters the queue at most once: when it receives its label.
    if (queue_.size() < cells) queue_.resize(cells);

    for (int32_t cy = 0; cy < gridH_; ++cy) {
        uint32_t* row = &labels_[index(0, cy)];
        for (int32_t cx = 0; cx < gridW_; ++cx)
            if (mask.walkable(2 * cx, 2 * cy)) row[cx] = 0;
    }
}

uint32_t PathFinder::labelAt(int64_t cx, int64_t cy) const {
    if (!inGrid(cx, cy)) return 0;
    uint32_t label = labels_[index(cx, cy)];
    return label == kBlocked ? 0 : label;
}

void PathFinder::enqueue(uint32_t cell, uint32_t distance) {
    labels_[cell] = distance;
    queue_[tail_++] = {cell, distance};
}

// The start may lie outside the grid (a walker beyond the display), so its neighbours
// are checked one by one; it receives no label itself.
void PathFinder::expandStart(int64_t sx, int64_t sy) {
    for (const Step& s : kNeighbours) {
        int64_t nx = sx + s.dx;
        int64_t ny = sy + s.dy;
        if (!inGrid(nx, ny)) continue;
        uint32_t cell = index(nx, ny);
        if (labels_[cell] == 0) enqueue(cell, 1);
    }
}

void PathFinder::expand(QueueEntry e) {
    const int64_t offsets[4] = {-paddedW_, -1, paddedW_, 1};
    uint32_t next = e.distance + 1;
    for (int64_t off : offsets) {
        auto cell = static_cast<uint32_t>(e.cell + off);
        if (labels_[cell] == 0) enqueue(cell, next);
    }
}

bool PathFinder::targetReached() const {
    for (int i = 0; i < targetNeighbourCount_; ++i)
        if (labels_[targetNeighbours_[i]] != 0) return true;
    return false;
}

void PathFinder::aimAt(int64_t tx, int64_t ty) {
    tx_ = tx;
    ty_ = ty;
    targetNeighbourCount_ = 0;
    for (const Step& s : kNeighbours) {
        int64_t nx = tx + s.dx;
        int64_t ny = ty + s.dy;
        if (!inGrid(nx, ny)) continue;
        uint32_t cell = index(nx, ny);
        if (labels_[cell] != kBlocked) targetNeighbours_[targetNeighbourCount_++] = cell;
    }
}

// The target cannot be reached and every reachable cell is labelled: look for a labelled
// cell on growing rings around the target. Returns false when the walk must fail.
bool PathFinder::ringSearch(int32_t displayWidth) {
    // The probes of ring m lie between m and 2m cells from the target (the larger of the x
    // and y distances). Rings too small to reach the grid are skipped and rings beyond its
    // farthest cell are not tried: they find nothing, so the result is the same, and a
    // far-away target costs no more than a near one.
    auto outside = [](int64_t v, int32_t size) {
        return v < 0 ? -v : (v >= size ? v - size + 1 : 0);
    };
    const int64_t nearest = std::max(outside(tx_, gridW_), outside(ty_, gridH_));
    const int64_t reach = std::max(
        {std::abs(tx_), std::abs(tx_ - (gridW_ - 1)), std::abs(ty_), std::abs(ty_ - (gridH_ - 1))});
    const int64_t first = std::max<int64_t>(1, (nearest + 1) / 2);
    if (first - 1 > displayWidth) return false;  // a skipped ring was already the last
    for (int64_t m = first;; ++m) {
        const int64_t h = m / 2;
        const int64_t probes[16][2] = {
            {0, -2 * m}, {2 * m, 0}, {0, 2 * m}, {-2 * m, 0}, {m, -m}, {m, m},  {-m, m},  {-m, -m},
            {h, -m},     {m, -h},    {m, h},     {h, m},      {-h, m}, {-m, h}, {-m, -h}, {-h, -m}};
        bool found = false;
        for (const auto& p : probes) {
            if (labelAt(tx_ + p[0], ty_ + p[1]) != 0) {
                tx_ += p[0];
                ty_ += p[1];
                found = true;
                break;
            }
        }
        if (m > displayWidth) return false;
        if (found) {
            // A labelled cell whose only route runs through an unwalkable start has no
            // labelled neighbour to walk back from; no walk is possible then.
            aimAt(tx_, ty_);
            return targetReached();
        }
        if (m > reach) return false;
    }
}

void PathFinder::backtrack(const PathRequest& request, WalkPath& out) const {
    uint32_t last = 0;
    for (const Step& s : kNeighbours) {
        uint32_t label = labelAt(tx_ + s.dx, ty_ + s.dy);
        if (label != 0) last = label;
    }

    int64_t cx = tx_;
    int64_t cy = ty_;
    Step dir{0, 0};
    const int64_t walkStep = request.walkStep;
    int64_t spacing = walkStep == 0 ? 1 : walkStep;
    int64_t spacingRow = std::numeric_limits<int64_t>::min();
    for (uint32_t w = last; w >= 1; --w) {
        // Keep going the same way while the labels allow it, so the walk runs straight.
        const Step tries[5] = {dir, kNeighbours[0], kNeighbours[1], kNeighbours[2], kNeighbours[3]};
        for (const Step& t : tries) {
            if (labelAt(cx + t.dx, cy + t.dy) == w) {
                cx += t.dx;
                cy += t.dy;
                dir = t;
                break;
            }
        }
        if (request.perspective && cy != spacingRow) {
            spacingRow = cy;
            double scale = perspectiveScale(request.scale, static_cast<int32_t>(2 * cy));
            spacing =
                static_cast<int64_t>(std::ceil(scale * static_cast<double>(walkStep) / 100.0));
            if (spacing == 0) spacing = 1;
        }
        if (static_cast<int64_t>(w) % spacing == 0)
            out.points.push_back({static_cast<int32_t>(2 * cx), static_cast<int32_t>(2 * cy)});
    }
}

void PathFinder::findPath(const WalkMask& mask, const PathRequest& request, WalkPath& out) {
    prepareGrid(mask, request.displayWidth, request.displayHeight);
    head_ = 0;
    tail_ = 0;
    aimAt(request.target.x / 2, request.target.y / 2);

    expandStart(request.start.x / 2, request.start.y / 2);
    bool reached = true;
    for (;;) {
        if (head_ == tail_) {
            reached = ringSearch(request.displayWidth);
            break;
        }
        if (targetReached()) break;
        expand(queue_[head_++]);
    }

    out.points.clear();
    if (!reached) {
        out.points.push_back(request.start);
        out.target = request.start;
        return;
    }

    backtrack(request, out);
    // The backtrack ran from the target towards the start; its first point, the one next
    // to the target, gives way to the start, and the rest is turned around.
    const WalkPoint target{static_cast<int32_t>(2 * tx_), static_cast<int32_t>(2 * ty_)};
    if (out.points.empty()) {
        out.points.push_back(target);
    } else {
        out.points.front() = request.start;
        out.points.push_back(target);
        std::reverse(out.points.begin() + 1, out.points.end() - 1);
    }
    out.target = target;
}

}  // namespace zk
