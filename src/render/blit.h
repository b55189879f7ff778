#pragma once
// Software blitters: picture items onto a 32-bit surface. Each call clips its
// destination to the surface once and then runs plain loops over rows; nothing is
// virtual per pixel. An item that is not prepared, has no picture, or has no
// pattern `pattern` draws nothing; so does an empty destination.
#include <cstdint>

#include "assets/picture_list.h"
#include "platform/surface.h"

namespace zk {

// Pattern `pattern` of `item`, unscaled, with its top-left corner at (x, y). Pixels
// equal to the item's colour key are skipped when the item is transparent.
void drawPattern(Surface& dst, const PictureItem& item, int pattern, int x, int y);

// Fills the whole surface with `color` and draws pattern `pattern` of `item` at (x, y)
// over it in one pass: the same pixels as a fill followed by drawPattern.
void fillAndDrawPattern(Surface& dst, uint32_t color, const PictureItem& item, int pattern, int x,
                        int y);

// Pattern `pattern` of `item` stretched into `dest` (right and bottom excluded),
// nearest-neighbour, with the colour key as above. The source position for a
// destination offset d (from the unclipped edge) is floor(d * step), step being
// (source size << 16) / destination size in 16.16 fixed point.
void drawStretched(Surface& dst, const PictureItem& item, const Rect& dest, int pattern = 0);

// As drawStretched, each drawn pixel blended over the destination:
// channel = source * a + destination * (1 - a), a = alpha / 255, rounded to the
// nearest unit. alpha 255 and above copies the source; 0 and below draws nothing.
void drawStretchedAlpha(Surface& dst, const PictureItem& item, const Rect& dest, int alpha,
                        int pattern = 0);

// One pixel blended with alpha 0..255, rounded to the nearest unit per channel.
uint32_t blendPixel(uint32_t src, uint32_t dst, uint32_t alpha);

}  // namespace zk
