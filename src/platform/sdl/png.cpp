#include "platform/png.h"

#include <SDL.h>
#include <SDL_image.h>

#include <memory>

#include "platform/platform_error.h"

namespace zk {

void writePng(const Surface& surface, const std::string& path) {
    if (surface.width < 1 || surface.height < 1) {
        throw PlatformError("Cannot write " + path + ": the image is empty");
    }
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> rgb(
        SDL_CreateRGBSurfaceWithFormat(0, surface.width, surface.height, 24, SDL_PIXELFORMAT_RGB24),
        SDL_FreeSurface);
    if (!rgb) throw PlatformError("Cannot write " + path + ": " + SDL_GetError());
    for (int y = 0; y < surface.height; ++y) {
        const uint32_t* src = surface.row(y);
        auto* dst = static_cast<uint8_t*>(rgb->pixels) + static_cast<size_t>(y) * rgb->pitch;
        for (int x = 0; x < surface.width; ++x) {
            dst[3 * x] = static_cast<uint8_t>(src[x] >> 16);
            dst[3 * x + 1] = static_cast<uint8_t>(src[x] >> 8);
            dst[3 * x + 2] = static_cast<uint8_t>(src[x]);
        }
    }
    if (IMG_SavePNG(rgb.get(), path.c_str()) != 0) {
        throw PlatformError("Cannot write " + path + ": " + IMG_GetError());
    }
}

}  // namespace zk
