#include "render/object_draw.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "data/error_log.h"
#include "platform/platform.h"
#include "render/blit.h"
#include "walk/perspective.h"

namespace zk {
namespace {

constexpr int64_t kCoordinateLimit = int64_t{1} << 30;

int clampCoordinate(int64_t v) {
    return static_cast<int>(std::clamp(v, -kCoordinateLimit, kCoordinateLimit));
}

bool validIndex(const GameState& g, int index) {
    return g.hasRoom() && index >= 0 && index < static_cast<int>(g.room().objects.size());
}

const PictureList* slotList(const GameState& g, int index, int slot) {
    if (index < 0 || index >= static_cast<int>(g.scene.imageSlots.size())) return nullptr;
    return &g.scene.imageSlots[static_cast<size_t>(index)][static_cast<size_t>(slot)];
}

// The picture position under a screen position along one axis: the inverse of the
// placement, sampled half a pixel in. Nothing when it lies beyond any picture.
std::optional<int> picturePosition(int32_t mouse, int32_t offset, int32_t pos, int32_t anchor,
                                   double s) {
    const double v = (static_cast<double>(mouse) - offset - pos + anchor * s) / s - 0.5;
    if (!(std::fabs(v) < 2.0e9)) return std::nullopt;
    return static_cast<int>(std::trunc(v));
}

// Whether the cursor hits picture item `item` placed for `o`: with `maskRules` every
// pixel but black hits, otherwise every pixel but the item's colour key. Positions
// outside the picture hit.
bool pixelHit(const GameState& g, const ObjectRecord& o, const PictureItem& item, bool maskRules,
              int x, int y) {
    const double s = o.scale() / 100.0;
    const InventoryRecord& inv = g.tables.inventory;
    const auto u = picturePosition(x, inv.sceneOffsetX(), o.x(), o.anchorX(), s);
    const auto v = picturePosition(y, inv.sceneOffsetY(), o.y(), o.anchorY(), s);
    if (!u || !v) return true;
    const auto px = item.pixel(*u, *v);
    if (!px) return true;
    if (maskRules) return *px != 0;
    return *px != item.colorKey();
}

bool contains(const Rect& r, int x, int y) {
    return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

void drawPass(const GameState& g, uint8_t party) {
    for (const DepthEntry& e : depthOrder(g)) {
        const ObjectRecord& o = g.objects()[static_cast<size_t>(e.index)];
        if (drawnInPass(o, party)) drawRoomObject(g, e.index);
    }
}

}  // namespace

int64_t divideRoundHalfEven(int64_t numerator, int64_t denominator) {
    int64_t q = numerator / denominator;
    int64_t r = numerator % denominator;
    if (r < 0) {
        q -= 1;
        r += denominator;
    }
    if (2 * r > denominator || (2 * r == denominator && (q & 1) != 0)) ++q;
    return q;
}

int objectPictureSlot(const ObjectRecord& o) {
    if (o.kind() != "character") return kSpriteSlot;
    const std::string sprite = o.spriteFile();
    const std::string animations[] = {o.walkLeftSprite(), o.walkRightSprite(), o.walkUpSprite(),
                                      o.walkDownSprite(), o.standLeftSprite(), o.standRightSprite(),
                                      o.standUpSprite(),  o.standDownSprite()};
    int slot = -1;
    for (int k = 0; k < 8; ++k)
        if (animations[k] == sprite) slot = kFirstAnimationSlot + k;
    return slot;
}

const PictureList* objectPictureList(const GameState& g, int index) {
    if (!validIndex(g, index)) return nullptr;
    const int slot = objectPictureSlot(g.objects()[static_cast<size_t>(index)]);
    if (slot < 0) return nullptr;
    return slotList(g, index, slot);
}

Rect objectRect(const GameState& g, const ObjectRecord& o, int width, int height) {
    const int64_t s = o.scale();
    const int64_t left = int64_t{o.x()} + g.tables.inventory.sceneOffsetX() -
                         divideRoundHalfEven(int64_t{o.anchorX()} * s, 100);
    const int64_t top = int64_t{o.y()} + g.tables.inventory.sceneOffsetY() -
                        divideRoundHalfEven(int64_t{o.anchorY()} * s, 100);
    const int64_t right = left + divideRoundHalfEven(int64_t{width} * s, 100);
    const int64_t bottom = top + divideRoundHalfEven(int64_t{height} * s, 100);
    return {clampCoordinate(left), clampCoordinate(top), clampCoordinate(right),
            clampCoordinate(bottom)};
}

const PictureItem* objectPicture(const GameState& g, int index) {
    if (!validIndex(g, index)) return nullptr;
    const ObjectRecord& o = g.objects()[static_cast<size_t>(index)];
    const std::string who = "Room object '" + o.name() + "' of room '" + g.room().name() + "'";
    if (objectPictureSlot(o) < 0) {
        reportError(g, who + ": its picture '" + o.spriteFile() +
                           "' is none of its eight animation files; it is not shown");
        return nullptr;
    }
    const PictureList* list = objectPictureList(g, index);
    const int frame = o.frame();
    const int count = list ? list->count() : 0;
    if (frame < 0 || frame >= count) {
        reportError(g, who + ": frame " + std::to_string(frame) + " is beyond the " +
                           std::to_string(count) + " pictures of '" + o.spriteFile() +
                           "'; it is not shown");
        return nullptr;
    }
    return &list->items[static_cast<size_t>(frame)];
}

std::vector<DepthEntry> depthOrder(const GameState& g) {
    std::vector<DepthEntry> table;
    if (!g.hasRoom()) return table;
    const auto& objects = g.room().objects;
    table.reserve(objects.size());
    for (size_t i = 0; i < objects.size(); ++i)
        table.push_back({objects[i].depth(), static_cast<int32_t>(i)});
    std::stable_sort(table.begin(), table.end(),
                     [](const DepthEntry& a, const DepthEntry& b) { return a.depth > b.depth; });
    return table;
}

bool drawnInPass(const ObjectRecord& o, uint8_t party) {
    return !o.isEmpty() && o.inParty() == party && o.hidden() == 0;
}

int32_t perspectiveScaleOf(const GameState& g, int index) {
    const ObjectRecord& o = g.objects()[static_cast<size_t>(index)];
    const Room& room = g.room();
    Perspective p{room.minScaleRow(), room.maxScaleRow(), o.minScale(), o.maxScale()};
    if (index == 0) {
        p.minScale = room.minScale();
        p.maxScale = room.maxScale();
    }
    return perspectiveScale(p, o.y());
}

void drawRoomObject(const GameState& g, int index) {
    if (!validIndex(g, index) || !g.platform) return;
    const ObjectRecord& o = g.objects()[static_cast<size_t>(index)];
    if (o.isEmpty()) return;
    const PictureItem* item = objectPicture(g, index);
    if (!item) return;
    const Rect dest = objectRect(g, o, item->width(), item->height());
    Surface& back = g.platform->display.back();
    if (o.alpha() == 255)
        drawStretched(back, *item, dest);
    else
        drawStretchedAlpha(back, *item, dest, o.alpha());
}

void drawSceneObjects(const GameState& g) {
    drawPass(g, 0);
}

void drawPartyObjects(const GameState& g) {
    drawPass(g, 1);
}

int objectUnderCursor(GameState& g) {
    return objectAt(g, g.input.mouseX, g.input.mouseY);
}

std::optional<Rect> objectHitArea(const GameState& g, int index) {
    if (!validIndex(g, index)) return std::nullopt;
    const ObjectRecord& o = g.objects()[static_cast<size_t>(index)];
    if (o.isEmpty() || o.scale() <= 0) return std::nullopt;
    if (!o.clickMaskFile().empty()) {
        const PictureList* masks = slotList(g, index, kClickMaskSlot);
        if (!masks || masks->count() == 0) return std::nullopt;
        return objectRect(g, o, masks->items[0].width(), masks->items[0].height());
    }
    const PictureItem* item = objectPicture(g, index);
    if (!item) return std::nullopt;
    return objectRect(g, o, item->width(), item->height());
}

int objectAt(GameState& g, int x, int y) {
    if (!g.hasRoom()) return -1;
    int result = -1;
    const int count = static_cast<int>(g.objects().size());
    for (int i = 0; i < count; ++i) {
        ObjectRecord& o = g.objects()[static_cast<size_t>(i)];
        if (o.isEmpty() || o.active() != 1) continue;
        // A zero or negative scale shows nothing and has no picture to map back into.
        if (o.scale() <= 0) continue;
        bool hit = false;
        const std::string maskFile = o.clickMaskFile();
        if (!maskFile.empty()) {
            const PictureList* masks = slotList(g, i, kClickMaskSlot);
            if (!masks || masks->count() == 0) {
                reportError(g, "Room object '" + o.name() + "' of room '" + g.room().name() +
                                   "': its click mask '" + maskFile +
                                   "' has no picture; it cannot be clicked");
                continue;
            }
            const PictureItem& mask = masks->items[0];
            if (!contains(objectRect(g, o, mask.width(), mask.height()), x, y)) continue;
            hit = pixelHit(g, o, mask, true, x, y);
        } else {
            // The hit test is the one place that changes a picture: below.
            PictureItem* item = const_cast<PictureItem*>(objectPicture(g, i));
            if (!item) continue;
            if (o.hidden() != 0) {
                // A hidden object is found by its non-black pixels; the setting stays.
                item->setTransparentColor(0);
                item->transparent = true;
            }
            if (!contains(objectRect(g, o, item->width(), item->height()), x, y)) continue;
            hit = !item->transparent || pixelHit(g, o, *item, false, x, y);
        }
        if (!hit) continue;
        if (result < 0 || o.depth() < g.objects()[static_cast<size_t>(result)].depth()) result = i;
    }
    return result;
}

}  // namespace zk
