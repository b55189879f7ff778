#include "core/stream.h"

#include <cstring>

#include "core/error.h"

namespace zk {

void MemoryStream::read(void* out, size_t n) {
    if (n > remaining()) throw DataError("Stream read error");
    if (n) std::memcpy(out, data_.data() + pos_, n);
    pos_ += n;
}

uint8_t MemoryStream::readU8() {
    uint8_t v;
    read(&v, 1);
    return v;
}

uint16_t MemoryStream::readU16() {
    uint8_t b[2];
    read(b, 2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t MemoryStream::readU32() {
    uint8_t b[4];
    read(b, 4);
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
           (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

int64_t MemoryStream::readI64() {
    uint64_t lo = readU32();
    uint64_t hi = readU32();
    return static_cast<int64_t>(lo | (hi << 32));
}

std::vector<uint8_t> MemoryStream::readBytes(size_t n) {
    if (n > remaining()) throw DataError("Stream read error");
    std::vector<uint8_t> out(data_.begin() + static_cast<std::ptrdiff_t>(pos_),
                             data_.begin() + static_cast<std::ptrdiff_t>(pos_ + n));
    pos_ += n;
    return out;
}

std::string MemoryStream::readString(size_t n) {
    if (n > remaining()) throw DataError("Stream read error");
    std::string out(reinterpret_cast<const char*>(data_.data() + pos_), n);
    pos_ += n;
    return out;
}

void MemoryStream::write(const void* in, size_t n) {
    if (pos_ + n > data_.size()) data_.resize(pos_ + n);
    if (n) std::memcpy(data_.data() + pos_, in, n);
    pos_ += n;
}

void MemoryStream::writeU16(uint16_t v) {
    uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    write(b, 2);
}

void MemoryStream::writeU32(uint32_t v) {
    uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                    static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    write(b, 4);
}

void MemoryStream::writeI64(int64_t v) {
    auto u = static_cast<uint64_t>(v);
    writeU32(static_cast<uint32_t>(u));
    writeU32(static_cast<uint32_t>(u >> 32));
}

}  // namespace zk
