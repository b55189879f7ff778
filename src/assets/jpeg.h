#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "assets/image.h"

namespace zk {

// Decodes a JPEG (JFIF) file into 0xRRGGBB pixels. Faults throw DataError
// "JPEG error #%d" with the decoder's message code. The pixels are kept in
// `storage` when it is large enough (see reusePixels).
Image decodeJpeg(std::span<const uint8_t> jpeg, std::vector<uint32_t> storage = {});

// Compresses an image as a baseline JPEG file; quality 1..100.
std::vector<uint8_t> encodeJpeg(const Image& image, int quality = 90);

}  // namespace zk
