#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "assets/image.h"

namespace zk {

// The picture of a picture item: its stored form (the bytes of "Picture.Data": a
// kind name such as "TDIB" or "TJPEGImage", then the image data) and the decoded
// pixels. Keeping the stored form lets a list be written back without recompressing.
struct Picture {
    std::string kind;              // empty: the item has no picture
    std::vector<uint8_t> payload;  // as stored, kind name included
    Image image;                   // 0xRRGGBB pixels; empty for an empty picture

    bool hasPicture() const { return !kind.empty(); }
};

// Decodes a stored picture. Unknown and unsupported kinds give no picture. Faults
// throw DataError with the decoder's message ("DIB is invalid", "Bitmap image is not
// valid", "JPEG error #%d", ...) or "Stream read error" for a cut-off payload.
// The pixels are kept in `storage` when it is large enough (see reusePixels).
Picture decodePicture(std::vector<uint8_t> payload, std::vector<uint32_t> storage = {});

// New pictures for writing. A "TDIB" of 24 or 32 bits (an empty image gives an empty
// "TDIB"), an 8-bit "TDIB" keeping the given indexes and palette, or a "TJPEGImage"
// compressed at the given quality (its image is the decompressed result).
Picture makeDibPicture(const Image& image, int bitCount = 32);
Picture makeDibPicture(const IndexedImage& image);
Picture makeJpegPicture(const Image& image, int quality = 90);
// A "TBitmap" holding a complete BMP file as it is.
Picture makeBitmapPicture(std::span<const uint8_t> bmpFile);

// The raw pixel values of a picture, as the walk mask reads them: palette indexes
// for 1-, 4- and 8-bit bitmaps, packed values for 16-, 24- and 32-bit ones, and
// 0xRRGGBB for JPEG pictures. Decoded again from the stored form on each call.
Image rawPixels(const Picture& picture);

}  // namespace zk
