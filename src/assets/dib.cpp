#include "assets/dib.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "core/bytes.h"
#include "core/error.h"

namespace zk {
namespace {

[[noreturn]] void invalidDib() {
    throw DataError("DIB is invalid");
}

// Bounds-checked little-endian reads from a byte span.
struct Reader {
    std::span<const uint8_t> data;
    size_t pos = 0;

    size_t remaining() const { return data.size() - pos; }
    void need(size_t n) const {
        if (n > remaining()) throw DataError("Stream read error");
    }
    uint8_t u8() {
        need(1);
        return data[pos++];
    }
    uint16_t u16() {
        need(2);
        pos += 2;
        return getU16(data, pos - 2);
    }
    uint32_t u32() {
        need(4);
        pos += 4;
        return getU32(data, pos - 4);
    }
    void skip(size_t n) {
        need(n);
        pos += n;
    }
};

enum : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

struct Format {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitCount = 0;
    uint32_t compression = kRgb;
    std::array<uint32_t, 3> masks{};
    bool hasMasks = false;
    std::vector<uint32_t> palette;  // 0xRRGGBB
};

bool masksAre(const Format& f, uint32_t r, uint32_t g, uint32_t b) {
    return f.masks[0] == r && f.masks[1] == g && f.masks[2] == b;
}

// Reads everything up to the pixel data. Besides the 12- and 40-byte headers a BMP
// file may carry the longer version 4 and 5 headers that painting programs write.
Format readFormat(Reader& r, bool longHeaders) {
    Format f;
    uint32_t headerSize = r.u32();
    int64_t width = 0, height = 0;
    uint32_t colorsUsed = 0;
    size_t entrySize = 4;
    if (headerSize == 12) {
        width = r.u16();
        height = r.u16();
        r.u16();  // planes
        f.bitCount = r.u16();
        entrySize = 3;
    } else if (headerSize == 40 || (longHeaders && headerSize > 40 && headerSize <= 1024)) {
        width = static_cast<int32_t>(r.u32());
        height = static_cast<int32_t>(r.u32());
        r.u16();  // planes
        f.bitCount = r.u16();
        f.compression = r.u32();
        r.skip(12);  // image size, resolution
        colorsUsed = r.u32();
        r.u32();  // important colours
        size_t extra = headerSize - 40;
        if (f.compression == kBitFields && (headerSize == 40 || extra >= 12)) {
            for (auto& m : f.masks) m = r.u32();
            f.hasMasks = true;
            if (headerSize > 40) extra -= 12;
        }
        if (headerSize > 40) r.skip(extra);
    } else {
        invalidDib();
    }

    size_t colors = colorsUsed;
    if (colors == 0 && f.bitCount <= 8) colors = size_t{1} << f.bitCount;
    if (colors > 256) colors = 256;
    r.need(colors * entrySize);
    f.palette.resize(colors);
    for (auto& c : f.palette) {
        uint32_t b = r.u8(), g = r.u8(), red = r.u8();
        if (entrySize == 4) r.u8();
        c = (red << 16) | (g << 8) | b;
    }

    switch (f.bitCount) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            break;
        default:
            throw DataError("Bitcount in invalid (" + std::to_string(f.bitCount) + ")");
    }
    if (f.compression > kBitFields) invalidDib();
    if (f.compression == kRle8 && f.bitCount != 8) invalidDib();
    if (f.compression == kRle4 && f.bitCount != 4) invalidDib();
    if (f.hasMasks) {
        bool ok = true;
        if (f.bitCount == 16)
            ok = masksAre(f, 0x7C00, 0x03E0, 0x001F) || masksAre(f, 0xF800, 0x07E0, 0x001F);
        else if (f.bitCount >= 24)
            ok = masksAre(f, 0xFF0000, 0x00FF00, 0x0000FF);
        if (!ok) throw DataError("PixelFormat in invalid");
    }

    f.topDown = height < 0;
    height = std::llabs(height);
    if (width < 0) invalidDib();
    if (width > kMaxImageSide || height > kMaxImageSide)
        throw oversizedImage("DIB is invalid", width, height);
    f.width = static_cast<int>(width);
    f.height = static_cast<int>(height);
    return f;
}

size_t rowIndex(const Format& f, int fileRow) {
    return static_cast<size_t>(f.topDown ? fileRow : f.height - 1 - fileRow);
}

size_t rowStride(const Format& f) {
    return (static_cast<size_t>(f.bitCount) * static_cast<size_t>(f.width) + 31) / 32 * 4;
}

// Uncompressed rows must all be in the data (the padding of the last row may be
// missing; the pixels may not). Checked before the pixels are allocated, so that a
// header alone cannot claim a picture of a gigabyte.
void needRows(const Reader& r, const Format& f) {
    const size_t rowBytes =
        (static_cast<size_t>(f.bitCount) * static_cast<size_t>(f.width) + 7) / 8;
    r.need((static_cast<size_t>(f.height) - 1) * rowStride(f) + rowBytes);
}

void readRows(Reader& r, const Format& f, std::vector<uint32_t>& px) {
    const size_t w = static_cast<size_t>(f.width);
    const size_t stride = rowStride(f);
    for (int y = 0; y < f.height; ++y) {
        const uint8_t* s = r.data.data() + r.pos + static_cast<size_t>(y) * stride;
        uint32_t* d = px.data() + rowIndex(f, y) * w;
        switch (f.bitCount) {
            case 1:
                for (size_t x = 0; x < w; ++x) d[x] = (s[x >> 3] >> (7 - (x & 7))) & 1;
                break;
            case 4:
                for (size_t x = 0; x < w; ++x) d[x] = (s[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
                break;
            case 8:
                for (size_t x = 0; x < w; ++x) d[x] = s[x];
                break;
            case 16:
                for (size_t x = 0; x < w; ++x) d[x] = s[2 * x] | (s[2 * x + 1] << 8);
                break;
            case 24:
                for (size_t x = 0; x < w; ++x, s += 3)
                    d[x] = s[0] | (s[1] << 8) | (static_cast<uint32_t>(s[2]) << 16);
                break;
            default:
                for (size_t x = 0; x < w; ++x, s += 4)
                    d[x] = s[0] | (s[1] << 8) | (s[2] << 16) | (static_cast<uint32_t>(s[3]) << 24);
                break;
        }
    }
}

// Run-length encoded indexes. Runs and deltas that leave the picture are clipped,
// and data that ends without an end-of-bitmap code ends the picture there.
void readRle(Reader& r, const Format& f, std::vector<uint32_t>& px) {
    const bool four = f.bitCount == 4;
    int x = 0, y = 0;  // y counts stored rows
    auto put = [&](uint32_t v) {
        if (x >= f.width) return;
        px[rowIndex(f, y) * static_cast<size_t>(f.width) + static_cast<size_t>(x)] = v;
        ++x;
    };
    while (y < f.height && r.remaining() >= 2) {
        uint8_t n = r.u8(), c = r.u8();
        if (n > 0) {
            for (int i = 0; i < n && x < f.width; ++i) put(four ? ((i & 1) ? c & 15 : c >> 4) : c);
            continue;
        }
        if (c == 0) {  // end of line
            x = 0;
            ++y;
        } else if (c == 1) {  // end of bitmap
            return;
        } else if (c == 2) {  // delta
            if (r.remaining() < 2) return;
            x += r.u8();
            y += r.u8();
            if (x > f.width) x = f.width;
        } else {  // absolute run of c pixels, padded to a 16-bit boundary
            size_t bytes = four ? (c + 1u) / 2 : c;
            bytes += bytes & 1;
            if (r.remaining() < bytes) bytes = r.remaining();
            const uint8_t* s = r.data.data() + r.pos;
            r.pos += bytes;
            for (int i = 0; i < c && static_cast<size_t>(four ? i / 2 : i) < bytes; ++i) {
                uint8_t b = s[four ? i / 2 : i];
                put(four ? ((i & 1) ? b & 15 : b >> 4) : b);
            }
        }
    }
}

void toColours(const Format& f, std::vector<uint32_t>& px) {
    if (f.bitCount <= 8) {
        std::array<uint32_t, 256> lut{};
        for (size_t i = 0; i < f.palette.size(); ++i) lut[i] = f.palette[i];
        for (auto& p : px) p = lut[p & 0xFF];
    } else if (f.bitCount == 16) {
        const bool g6 = f.hasMasks && f.masks[1] == 0x07E0;
        for (auto& p : px) {
            uint32_t r5 = g6 ? p >> 11 : (p >> 10) & 31;
            uint32_t g = g6 ? (p >> 5) & 63 : (p >> 5) & 31;
            uint32_t b5 = p & 31;
            uint32_t g8 = g6 ? (g << 2) | (g >> 4) : (g << 3) | (g >> 2);
            p = (((r5 << 3) | (r5 >> 2)) << 16) | (g8 << 8) | ((b5 << 3) | (b5 >> 2));
        }
    } else if (f.bitCount == 32) {
        for (auto& p : px) p &= 0xFFFFFF;
    }
}

// pixelOffset, when not 0, is where a BMP file header says the pixels start.
Image decode(std::span<const uint8_t> dib, bool raw, std::vector<uint32_t> storage,
             bool inFile = false, size_t pixelOffset = 0) {
    if (dib.empty()) return {};
    if (dib.size() < 4) invalidDib();
    Reader r{dib};
    Format f = readFormat(r, inFile);
    if (pixelOffset >= r.pos && pixelOffset <= dib.size()) r.pos = pixelOffset;
    Image img;
    if (f.width == 0 || f.height == 0) return img;
    const bool runLength = f.compression == kRle8 || f.compression == kRle4;
    if (!runLength) needRows(r, f);
    img.pixels = reusePixels(std::move(storage),
                             static_cast<size_t>(f.width) * static_cast<size_t>(f.height));
    if (runLength) {
        std::fill(img.pixels.begin(), img.pixels.end(), 0);  // what the runs skip is index 0
        readRle(r, f, img.pixels);
    } else {
        readRows(r, f, img.pixels);
    }
    if (!raw) toColours(f, img.pixels);
    img.width = f.width;
    img.height = f.height;
    return img;
}

Image decodeFile(std::span<const uint8_t> file, bool raw, std::vector<uint32_t> storage) {
    try {
        if (file.size() < 18 || file[0] != 'B' || file[1] != 'M') throw DataError("");
        // The pixel offset of the file header is honoured when it points past the
        // colour table; otherwise the pixels follow the table directly.
        uint32_t offBits = getU32(file, 10);
        return decode(file.subspan(14), raw, std::move(storage), true,
                      offBits > 14 ? offBits - 14 : 0);
    } catch (const DataError&) {
        throw DataError("Bitmap image is not valid");
    }
}

void putHeader(std::vector<uint8_t>& out, int w, int h, int bitCount, uint32_t compression) {
    const uint32_t stride = (static_cast<uint32_t>(bitCount * w) + 31) / 32 * 4;
    out.resize(40);
    putU32(out, 0, 40);
    putI32(out, 4, w);
    putI32(out, 8, h);
    putI16(out, 12, 1);
    putI16(out, 14, bitCount);
    putU32(out, 16, compression);
    putU32(out, 20, stride * static_cast<uint32_t>(h));
}

}  // namespace

Image decodeDib(std::span<const uint8_t> dib, std::vector<uint32_t> storage) {
    return decode(dib, false, std::move(storage));
}
Image decodeDibRaw(std::span<const uint8_t> dib) {
    return decode(dib, true, {});
}
Image decodeBmp(std::span<const uint8_t> file, std::vector<uint32_t> storage) {
    return decodeFile(file, false, std::move(storage));
}
Image decodeBmpRaw(std::span<const uint8_t> file) {
    return decodeFile(file, true, {});
}

std::vector<uint8_t> encodeDib(const Image& image, int bitCount) {
    if (bitCount != 24 && bitCount != 32) throw std::invalid_argument("encodeDib: 24 or 32 bits");
    if (image.empty()) return {};
    const size_t w = static_cast<size_t>(image.width);
    const size_t stride = (static_cast<size_t>(bitCount) * w + 31) / 32 * 4;
    std::vector<uint8_t> out;
    putHeader(out, image.width, image.height, bitCount, bitCount == 32 ? kBitFields : kRgb);
    if (bitCount == 32) {
        for (uint32_t m : {0xFF0000u, 0x00FF00u, 0x0000FFu})
            for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(m >> (8 * k)));
    }
    size_t base = out.size();
    out.resize(base + stride * static_cast<size_t>(image.height));
    for (int y = image.height - 1; y >= 0; --y, base += stride) {
        const uint32_t* s = image.pixels.data() + static_cast<size_t>(y) * w;
        uint8_t* d = out.data() + base;
        for (size_t x = 0; x < w; ++x) {
            *d++ = static_cast<uint8_t>(s[x]);
            *d++ = static_cast<uint8_t>(s[x] >> 8);
            *d++ = static_cast<uint8_t>(s[x] >> 16);
            if (bitCount == 32) *d++ = 0;
        }
    }
    return out;
}

std::vector<uint8_t> encodeDib(const IndexedImage& image) {
    if (image.palette.size() > 256 ||
        image.indexes.size() != static_cast<size_t>(std::max(image.width, 0)) *
                                    static_cast<size_t>(std::max(image.height, 0)))
        throw std::invalid_argument("encodeDib: bad indexed image");
    if (image.width <= 0 || image.height <= 0) return {};
    const size_t w = static_cast<size_t>(image.width);
    const size_t stride = (w + 3) / 4 * 4;
    std::vector<uint8_t> out;
    putHeader(out, image.width, image.height, 8, kRgb);
    for (size_t i = 0; i < 256; ++i) {
        uint32_t c = i < image.palette.size() ? image.palette[i] : 0;
        out.insert(out.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8),
                               static_cast<uint8_t>(c >> 16), 0});
    }
    for (int y = image.height - 1; y >= 0; --y) {
        auto row = image.indexes.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(y) * w);
        out.insert(out.end(), row, row + static_cast<std::ptrdiff_t>(w));
        out.resize(out.size() + stride - w, 0);
    }
    return out;
}

std::vector<uint8_t> bmpFile(std::span<const uint8_t> dib) {
    size_t pixels = 0;
    if (!dib.empty()) {
        Reader r{dib};
        readFormat(r, true);
        pixels = r.pos;
    }
    std::vector<uint8_t> out(14 + dib.size());
    out[0] = 'B';
    out[1] = 'M';
    putU32(out, 2, static_cast<uint32_t>(out.size()));
    putU32(out, 10, static_cast<uint32_t>(14 + pixels));
    std::copy(dib.begin(), dib.end(), out.begin() + 14);
    return out;
}

}  // namespace zk
