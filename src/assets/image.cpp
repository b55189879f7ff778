#include "assets/image.h"

#include <unordered_map>

namespace zk {

std::optional<IndexedImage> toIndexed(const Image& image) {
    IndexedImage out;
    out.width = image.width;
    out.height = image.height;
    out.indexes.reserve(image.pixels.size());
    std::unordered_map<uint32_t, uint8_t> index;
    for (uint32_t p : image.pixels) {
        auto [it, added] = index.try_emplace(p, static_cast<uint8_t>(out.palette.size()));
        if (added) {
            if (out.palette.size() == 256) return std::nullopt;
            out.palette.push_back(p);
        }
        out.indexes.push_back(it->second);
    }
    return out;
}

}  // namespace zk
