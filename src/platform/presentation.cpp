#include "platform/presentation.h"

#include <algorithm>
#include <cmath>

namespace zk {

Rect presentationRect(int outputWidth, int outputHeight, int gameWidth, int gameHeight,
                      PictureScale mode) {
    if (outputWidth < 1 || outputHeight < 1 || gameWidth < 1 || gameHeight < 1) return {0, 0, 1, 1};
    if (mode == PictureScale::Stretch) return {0, 0, outputWidth, outputHeight};
    const double fit = std::min(static_cast<double>(outputWidth) / gameWidth,
                                static_cast<double>(outputHeight) / gameHeight);
    const double whole = std::floor(fit);
    // A whole multiple keeps every game pixel the same size; take it unless it would
    // leave much of the screen unused (a 800 x 600 game on 1920 x 1080 is drawn 1.8x).
    double scale = (whole >= 1 && whole >= 0.85 * fit) ? whole : fit;
    if (mode == PictureScale::Integer && whole >= 1) scale = whole;
    if (mode == PictureScale::Fit) scale = fit;
    const int w = std::max(1, static_cast<int>(std::lround(gameWidth * scale)));
    const int h = std::max(1, static_cast<int>(std::lround(gameHeight * scale)));
    const int left = (outputWidth - w) / 2;
    const int top = (outputHeight - h) / 2;
    return {left, top, left + w, top + h};
}

Point outputToGame(int x, int y, const Rect& rect, int gameWidth, int gameHeight) {
    const int64_t w = std::max(1, rect.right - rect.left);
    const int64_t h = std::max(1, rect.bottom - rect.top);
    auto map = [](int64_t v, int64_t origin, int64_t size, int64_t game) {
        int64_t d = (v - origin) * game;
        // Floor division, so that the pixel left of the picture maps to -1, not 0.
        int64_t q = d / size;
        if (d % size != 0 && d < 0) --q;
        return static_cast<int>(q);
    };
    return {map(x, rect.left, w, gameWidth), map(y, rect.top, h, gameHeight)};
}

}  // namespace zk
