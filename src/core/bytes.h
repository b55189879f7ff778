#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zk {

// Little-endian access to fixed offsets of a byte record. Callers keep offsets
// inside the record; the record classes are the only users and their layouts are
// fixed, so these do no bounds checks of their own.
inline uint8_t getU8(std::span<const uint8_t> b, size_t off) {
    return b[off];
}
inline int16_t getI16(std::span<const uint8_t> b, size_t off) {
    return static_cast<int16_t>(static_cast<uint16_t>(b[off] | (b[off + 1] << 8)));
}
inline uint16_t getU16(std::span<const uint8_t> b, size_t off) {
    return static_cast<uint16_t>(b[off] | (b[off + 1] << 8));
}
inline uint32_t getU32(std::span<const uint8_t> b, size_t off) {
    return static_cast<uint32_t>(b[off]) | (static_cast<uint32_t>(b[off + 1]) << 8) |
           (static_cast<uint32_t>(b[off + 2]) << 16) | (static_cast<uint32_t>(b[off + 3]) << 24);
}
inline int32_t getI32(std::span<const uint8_t> b, size_t off) {
    return static_cast<int32_t>(getU32(b, off));
}
inline void putU8(std::span<uint8_t> b, size_t off, uint8_t v) {
    b[off] = v;
}
inline void putI16(std::span<uint8_t> b, size_t off, int32_t v) {
    auto u = static_cast<uint16_t>(v);
    b[off] = static_cast<uint8_t>(u);
    b[off + 1] = static_cast<uint8_t>(u >> 8);
}
inline void putU32(std::span<uint8_t> b, size_t off, uint32_t v) {
    b[off] = static_cast<uint8_t>(v);
    b[off + 1] = static_cast<uint8_t>(v >> 8);
    b[off + 2] = static_cast<uint8_t>(v >> 16);
    b[off + 3] = static_cast<uint8_t>(v >> 24);
}
inline void putI32(std::span<uint8_t> b, size_t off, int32_t v) {
    putU32(b, off, static_cast<uint32_t>(v));
}

// Length-prefixed string of capacity `cap` (occupying cap + 1 bytes). A length byte
// larger than the capacity is clamped, so a damaged record never reads past its field.
inline std::string getPStr(std::span<const uint8_t> b, size_t off, size_t cap) {
    size_t len = b[off];
    if (len > cap) len = cap;
    return std::string(reinterpret_cast<const char*>(b.data() + off + 1), len);
}
// Writes at most `cap` characters; bytes after the last character are left as they were.
inline void putPStr(std::span<uint8_t> b, size_t off, size_t cap, std::string_view s) {
    size_t len = s.size() > cap ? cap : s.size();
    b[off] = static_cast<uint8_t>(len);
    for (size_t i = 0; i < len; ++i) b[off + 1 + i] = static_cast<uint8_t>(s[i]);
}

}  // namespace zk
