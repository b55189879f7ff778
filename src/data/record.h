#pragma once
// Byte-exact records: every game record is held as its fixed-size byte array (the
// file format and the in-memory state at once) and read through named accessors at
// fixed offsets. Unread bytes survive copying and saving.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/bytes.h"

namespace zk {

// Accessor generators used inside record and view classes; each class provides
// `buf()` returning the span of its bytes.
#define ZK_STRING(getter, setter, offset, capacity)        \
    std::string getter() const {                           \
        return ::zk::getPStr(buf(), (offset), (capacity)); \
    }                                                      \
    void setter(std::string_view v) {                      \
        ::zk::putPStr(buf(), (offset), (capacity), v);     \
    }
#define ZK_BYTE(getter, setter, offset)      \
    uint8_t getter() const {                 \
        return ::zk::getU8(buf(), (offset)); \
    }                                        \
    void setter(uint8_t v) {                 \
        ::zk::putU8(buf(), (offset), v);     \
    }
#define ZK_I16(getter, setter, offset)        \
    int16_t getter() const {                  \
        return ::zk::getI16(buf(), (offset)); \
    }                                         \
    void setter(int32_t v) {                  \
        ::zk::putI16(buf(), (offset), v);     \
    }
#define ZK_I32(getter, setter, offset)        \
    int32_t getter() const {                  \
        return ::zk::getI32(buf(), (offset)); \
    }                                         \
    void setter(int32_t v) {                  \
        ::zk::putI32(buf(), (offset), v);     \
    }

// Owning record of N bytes, zero-filled when made. Copies copy every byte.
template <size_t N>
class ByteRecord {
  public:
    static constexpr size_t kSize = N;
    ByteRecord() : bytes_(N, 0) {}
    // Takes the first N bytes of `src` (missing bytes stay zero).
    explicit ByteRecord(std::span<const uint8_t> src) : bytes_(N, 0) { assign(src); }

    void assign(std::span<const uint8_t> src) {
        size_t n = src.size() < N ? src.size() : N;
        for (size_t i = 0; i < n; ++i) bytes_[i] = src[i];
    }
    std::span<const uint8_t> bytes() const { return {bytes_.data(), N}; }
    std::span<uint8_t> bytes() { return {bytes_.data(), N}; }
    // An element counts as empty when the length byte of its name (its first byte) is 0.
    bool isEmpty() const { return bytes_[0] == 0; }
    void clearName() { bytes_[0] = 0; }
    friend bool operator==(const ByteRecord& a, const ByteRecord& b) {
        return a.bytes_ == b.bytes_;
    }

  protected:
    std::span<const uint8_t> buf() const { return bytes(); }
    std::span<uint8_t> buf() { return bytes(); }

  private:
    std::vector<uint8_t> bytes_;
};

// Non-owning view of a sub-record inside a larger record (an event inside an object,
// a zone inside a room). Byte is uint8_t or const uint8_t.
template <typename Byte, size_t N>
class RecordView {
  public:
    static constexpr size_t kSize = N;
    explicit RecordView(std::span<Byte> b) : b_(b.subspan(0, N)) {}
    // A read-only view of a writable one.
    template <typename Other>
    requires(std::is_const_v<Byte>&& std::is_same_v<const Other, Byte>)
        RecordView(const RecordView<Other, N>& other)
        : b_(other.bytes()) {}
    std::span<Byte> bytes() const { return b_; }
    bool isEmpty() const { return b_[0] == 0; }

  protected:
    std::span<Byte> buf() const { return b_; }

  private:
    std::span<Byte> b_;
};

}  // namespace zk
