#pragma once
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace zk::test {

// Concatenates whole records (anything with bytes()) into one data file image.
template <typename Records>
std::vector<uint8_t> recordFile(const Records& records) {
    size_t total = 0;
    for (const auto& r : records) total += r.bytes().size();
    std::vector<uint8_t> out(total);
    size_t at = 0;
    for (const auto& r : records) {
        std::memcpy(out.data() + at, r.bytes().data(), r.bytes().size());
        at += r.bytes().size();
    }
    return out;
}

inline void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace zk::test
