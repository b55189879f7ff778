#pragma once
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace zk::test {

// Concatenates whole records (anything with bytes()) into one data file image.
template <typename Records>
std::vector<uint8_t> recordFile(const Records& records) {
    std::vector<uint8_t> out;
    for (const auto& r : records) out.insert(out.end(), r.bytes().begin(), r.bytes().end());
    return out;
}

inline void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace zk::test
