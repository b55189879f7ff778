#pragma once
// Room objects on the screen: which picture an object shows, where and how large,
// the order in which a room's objects are painted, and which object the mouse is
// over. Drawing and hit testing share one placement, so a click lands on what the
// player sees.
#include <cstdint>
#include <optional>
#include <vector>

#include "data/game_state.h"
#include "platform/surface.h"

namespace zk {

// Image slots of a room object: slot 3 holds the look (`spriteFile`), slots 4..11 a
// character's eight animations, slot 12 the click mask.
inline constexpr int kSpriteSlot = 3;
inline constexpr int kFirstAnimationSlot = 4;
inline constexpr int kClickMaskSlot = 12;

// numerator / denominator (denominator > 0) rounded to the nearest integer, halves
// to the even neighbour: the rounding of every scaled size and offset.
int64_t divideRoundHalfEven(int64_t numerator, int64_t denominator);

// The image slot room object `index` of the current room is drawn and hit-tested
// from: slot 3, or for a "character" the slot of the last of its eight animation
// files equal to its `spriteFile`; -1 for a character matching none of them.
int objectPictureSlot(const ObjectRecord& o);
// That slot's picture list, null when there is none (no matching animation, or no
// pictures loaded for that position).
const PictureList* objectPictureList(const GameState& g, int index);

// Where a picture of `width` x `height` is placed for object `o` at its `scale`, its
// anchor on (`x`, `y`) shifted by the scene offset. A drawing destination (right and
// bottom excluded), or with all four edges included a hit-test area. Coordinates that
// would leave the 32-bit range are held at +-2^30.
Rect objectRect(const GameState& g, const ObjectRecord& o, int width, int height);

// The picture item room object `index` shows (item `frame` of its picture list), or
// nothing when the list has no such item or the object has no list; then the fault
// is reported (once per distinct message) and the object is neither drawn nor hit.
const PictureItem* objectPicture(const GameState& g, int index);

// One entry of a depth order table.
struct DepthEntry {
    int32_t depth = 0;
    int32_t index = 0;
    bool operator==(const DepthEntry&) const = default;
};
// Every room object of the current room as (depth, index), largest depth first;
// equal depths keep ascending index order. As long as the room's object list.
std::vector<DepthEntry> depthOrder(const GameState& g);

// Whether a draw pass shows `o`: named, not hidden, and in the party (`inParty` 1) for
// the interface pass, outside it (0) for the scene pass.
bool drawnInPass(const ObjectRecord& o, uint8_t party);
// The scale that room object `index` of the current room takes from its feet row
// when its `perspective` is 1 (the main character, index 0, with the room's limits).
// Whoever prepares a frame sets it before the object is drawn, and it is kept.
int32_t perspectiveScaleOf(const GameState& g, int index);

// Draws room object `index` onto the back surface at its `scale`: nothing for an empty
// name; alpha 255 draws colour-keyed, any other alpha blended (0 and below nothing,
// above 255 opaque).
void drawRoomObject(const GameState& g, int index);
// The scene pass: named, shown objects outside the party, in depth order.
void drawSceneObjects(const GameState& g);
// The interface pass part: named, shown party objects (`inParty` 1), in depth order.
void drawPartyObjects(const GameState& g);

// Index of the active room object under (mouseX, mouseY), -1 if none: the hit with
// the smallest depth key, the lowest index among equal keys. A click mask (slot 12)
// decides by its non-black pixels; otherwise a transparent picture by its pixels that
// are not the colour key, an opaque one by its whole rectangle. A hidden object's
// picture gets black as its (kept) colour key. Points inside the rectangle but
// outside the picture count as hits.
int objectUnderCursor(GameState& g);
// The same test at display point (x, y).
int objectAt(GameState& g, int x, int y);
// The rectangle (edges included) in which objectAt can find room object `index`;
// nothing when it has no picture to be found by.
std::optional<Rect> objectHitArea(const GameState& g, int index);

}  // namespace zk
