#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

// A growable in-memory byte stream with a read/write position. Reads past the end
// throw DataError("Stream read error") instead of returning garbage.
class MemoryStream {
  public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}

    const std::vector<uint8_t>& data() const { return data_; }
    std::vector<uint8_t>& data() { return data_; }
    size_t size() const { return data_.size(); }
    size_t position() const { return pos_; }
    size_t remaining() const { return pos_ < data_.size() ? data_.size() - pos_ : 0; }
    bool atEnd() const { return pos_ >= data_.size(); }
    void seek(size_t pos) { pos_ = pos; }
    void clear() {
        data_.clear();
        pos_ = 0;
    }

    void read(void* out, size_t n);
    uint8_t readU8();
    int8_t readI8() { return static_cast<int8_t>(readU8()); }
    uint16_t readU16();
    int16_t readI16() { return static_cast<int16_t>(readU16()); }
    uint32_t readU32();
    int32_t readI32() { return static_cast<int32_t>(readU32()); }
    int64_t readI64();
    std::vector<uint8_t> readBytes(size_t n);
    std::string readString(size_t n);

    void write(const void* in, size_t n);
    void writeU8(uint8_t v) { write(&v, 1); }
    void writeU16(uint16_t v);
    void writeI16(int16_t v) { writeU16(static_cast<uint16_t>(v)); }
    void writeU32(uint32_t v);
    void writeI32(int32_t v) { writeU32(static_cast<uint32_t>(v)); }
    void writeI64(int64_t v);
    void writeString(std::string_view s) { write(s.data(), s.size()); }

  private:
    std::vector<uint8_t> data_;
    size_t pos_ = 0;
};

}  // namespace zk
