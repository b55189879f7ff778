#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "assets/image.h"

namespace zk {

// Windows device-independent bitmaps: 1, 4, 8, 16, 24 and 32 bits per pixel,
// bottom-up or top-down rows, RLE8, RLE4 and bit-field masks.

// Decodes a DIB without file header (information header, optional masks, colour
// table, pixels) into 0xRRGGBB pixels. Empty data gives an empty image. Faults throw
// DataError: "DIB is invalid", "Bitcount in invalid (%d)", "PixelFormat in invalid",
// or "Stream read error" when uncompressed rows are cut short. The pixels are kept
// in `storage` when it is large enough (see reusePixels).
Image decodeDib(std::span<const uint8_t> dib, std::vector<uint32_t> storage = {});
// The same, but keeping the raw pixel values: the palette index of 1-, 4- and
// 8-bit images, the packed little-endian value of 16-, 24- and 32-bit ones.
Image decodeDibRaw(std::span<const uint8_t> dib);

// Decodes a complete BMP file (14-byte "BM" header, then a DIB). Every fault is
// reported as "Bitmap image is not valid".
Image decodeBmp(std::span<const uint8_t> file, std::vector<uint32_t> storage = {});
Image decodeBmpRaw(std::span<const uint8_t> file);

// Writes a DIB without file header: a 40-byte header with positive height, then for
// 32 bits the masks 0xFF0000, 0xFF00, 0xFF (compression 3), then rows bottom first.
// bitCount is 24 or 32. An empty image gives no bytes at all.
std::vector<uint8_t> encodeDib(const Image& image, int bitCount = 32);
// An 8-bit DIB with a 256-entry colour table (unused entries black).
std::vector<uint8_t> encodeDib(const IndexedImage& image);
// A complete BMP file holding the given DIB.
std::vector<uint8_t> bmpFile(std::span<const uint8_t> dib);

}  // namespace zk
