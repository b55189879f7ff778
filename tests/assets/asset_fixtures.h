#pragma once
// Byte builders for hand-made bitmaps, waves and lists used by the asset tests.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "assets/image.h"
#include "core/error.h"

namespace zk::test {

struct Bytes {
    std::vector<uint8_t> b;

    Bytes& u8(std::initializer_list<int> v) {
        for (int x : v) b.push_back(static_cast<uint8_t>(x));
        return *this;
    }
    Bytes& u16(uint32_t v) { return u8({int(v & 0xFF), int((v >> 8) & 0xFF)}); }
    Bytes& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Bytes& str(std::string_view s) {
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& add(const std::vector<uint8_t>& v) {
        b.insert(b.end(), v.begin(), v.end());
        return *this;
    }
};

// A 40-byte bitmap information header.
inline Bytes dibHeader(int32_t w, int32_t h, int bits, uint32_t compression = 0,
                       uint32_t colorsUsed = 0) {
    Bytes d;
    d.u32(40).u32(static_cast<uint32_t>(w)).u32(static_cast<uint32_t>(h)).u16(1).u16(bits);
    d.u32(compression).u32(0).u32(0).u32(0).u32(colorsUsed).u32(0);
    return d;
}

// A RIFF WAVE file from raw chunk bytes.
inline std::vector<uint8_t> riff(const std::vector<uint8_t>& chunks) {
    Bytes r;
    r.str("RIFF").u32(static_cast<uint32_t>(chunks.size() + 4)).str("WAVE").add(chunks);
    return r.b;
}

inline Bytes& chunk(Bytes& b, std::string_view id, const std::vector<uint8_t>& body) {
    return b.str(id).u32(static_cast<uint32_t>(body.size())).add(body);
}

// A test image whose every pixel differs from its neighbours.
inline Image pattern(int w, int h) {
    Image img{w, h, {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.pixels.push_back(static_cast<uint32_t>((x * 7 + y * 13) & 0xFF) << 16 |
                                 static_cast<uint32_t>((x * 3) & 0xFF) << 8 |
                                 static_cast<uint32_t>((y * 5 + 1) & 0xFF));
    return img;
}

// A smooth image that compresses well as JPEG.
inline Image gradient(int w, int h) {
    Image img{w, h, {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.pixels.push_back(static_cast<uint32_t>(x * 255 / w) << 16 |
                                 static_cast<uint32_t>(y * 255 / h) << 8 | 0x40);
    return img;
}

// The message of the DataError that f throws, or "no error".
inline std::string errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const DataError& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace zk::test
