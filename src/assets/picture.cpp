#include "assets/picture.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "assets/dib.h"
#include "assets/jpeg.h"
#include "core/bytes.h"
#include "core/error.h"

namespace zk {
namespace {

constexpr std::string_view kDib = "TDIB";
constexpr std::string_view kBitmap = "TBitmap";
constexpr std::string_view kJpeg = "TJPEGImage";

// Kinds named after the format an image was imported from; their pixels are
// always stored as a BMP file, like "TBitmap".
constexpr std::array<std::string_view, 13> kImportKinds = {
    "TPNGGraphic", "TTargaGraphic",    "TTIFFGraphic", "TPCXGraphic", "TPCDGraphic",
    "TPPMGraphic", "TCUTGraphic",      "TRLAGraphic",  "TPSDGraphic", "TPSPGraphic",
    "TSGIGraphic", "TAutodeskGraphic", "TEPSGraphic"};

bool storedAsBmp(std::string_view kind) {
    return kind == kBitmap ||
           std::find(kImportKinds.begin(), kImportKinds.end(), kind) != kImportKinds.end();
}

// The image data of a payload: everything after the kind name.
std::span<const uint8_t> imageData(const std::vector<uint8_t>& payload) {
    if (payload.empty() || 1u + payload[0] > payload.size()) throw DataError("Stream read error");
    return std::span(payload).subspan(1u + payload[0]);
}

// The bytes of a file that the image data holds behind a 32-bit length.
std::span<const uint8_t> lengthPrefixed(std::span<const uint8_t> data) {
    if (data.size() < 4) throw DataError("Stream read error");
    int32_t n = getI32(data, 0);
    if (n < 0) throw DataError("Invalid stream format");
    if (static_cast<size_t>(n) > data.size() - 4) throw DataError("Stream read error");
    return data.subspan(4, static_cast<size_t>(n));
}

std::vector<uint8_t> withKind(std::string_view kind, std::span<const uint8_t> data,
                              bool lengthPrefix) {
    std::vector<uint8_t> out;
    out.reserve(1 + kind.size() + 4 + data.size());
    out.push_back(static_cast<uint8_t>(kind.size()));
    out.insert(out.end(), kind.begin(), kind.end());
    if (lengthPrefix) {
        out.resize(out.size() + 4);
        putI32(out, out.size() - 4, static_cast<int32_t>(data.size()));
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

}  // namespace

Picture decodePicture(std::vector<uint8_t> payload, std::vector<uint32_t> storage) {
    auto data = imageData(payload);
    std::string_view kind(reinterpret_cast<const char*>(payload.data() + 1), payload[0]);
    Picture p;
    if (kind == kDib) {
        p.image = decodeDib(data, std::move(storage));
    } else if (storedAsBmp(kind)) {
        auto file = lengthPrefixed(data);
        if (!file.empty()) p.image = decodeBmp(file, std::move(storage));
    } else if (kind == kJpeg) {
        auto file = lengthPrefixed(data);
        if (!file.empty()) p.image = decodeJpeg(file, std::move(storage));
    } else {
        return {};  // no picture, or a kind that is not supported
    }
    p.kind = kind;
    p.payload = std::move(payload);
    return p;
}

Picture makeDibPicture(const Image& image, int bitCount) {
    Picture p;
    p.kind = kDib;
    p.payload = withKind(kDib, encodeDib(image, bitCount), false);
    if (!image.empty()) {
        p.image = image;
        for (auto& px : p.image.pixels) px &= 0xFFFFFF;
    }
    return p;
}

Picture makeDibPicture(const IndexedImage& image) {
    Picture p;
    p.kind = kDib;
    auto dib = encodeDib(image);
    p.image = decodeDib(dib);
    p.payload = withKind(kDib, dib, false);
    return p;
}

Picture makeJpegPicture(const Image& image, int quality) {
    Picture p;
    p.kind = kJpeg;
    auto jpeg = encodeJpeg(image, quality);
    p.image = decodeJpeg(jpeg);
    p.payload = withKind(kJpeg, jpeg, true);
    return p;
}

Picture makeBitmapPicture(std::span<const uint8_t> bmpFile) {
    Picture p;
    p.kind = kBitmap;
    if (!bmpFile.empty()) p.image = decodeBmp(bmpFile);
    p.payload = withKind(kBitmap, bmpFile, true);
    return p;
}

Image rawPixels(const Picture& picture) {
    if (picture.kind == kDib) return decodeDibRaw(imageData(picture.payload));
    if (storedAsBmp(picture.kind)) {
        auto file = lengthPrefixed(imageData(picture.payload));
        return file.empty() ? Image{} : decodeBmpRaw(file);
    }
    return picture.image;
}

}  // namespace zk
