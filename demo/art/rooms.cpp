// Room backgrounds (800 x 600; play rooms keep their floor above the inventory bar
// at row 520) and their walk masks. The coordinates here match the rooms' .toml files:
// entrances, zone walk points and the places scripts walk to lie on white mask pixels.
#include <cmath>

#include "art.h"

namespace demo {
namespace {

constexpr int W = 800;
constexpr int H = 600;

// ---------------------------------------------------------------- shared pieces

void stormSky(Paint& p, int bottom, Color top, Color horizon, uint32_t seed, float light = 0.0f) {
    for (int y = 0; y < bottom; ++y) {
        const Color base = mix(top, horizon, static_cast<float>(y) / bottom);
        for (int x = 0; x < W; ++x) {
            const float n = fbm(x / 160.0f, y / 70.0f, 5, seed);
            const float streak = fbm(x / 400.0f, y / 25.0f, 3, seed + 7);
            float f = 0.55f + 0.9f * n * n + 0.25f * streak +
                      light * (1 - static_cast<float>(y) / bottom);
            p.set(x, y, scaleColor(base, f));
        }
    }
}

// Rain painted into glass: thin slanted streaks.
void glassRain(Paint& p, int x0, int y0, int x1, int y1, uint32_t seed, Color c, float alpha) {
    for (int i = 0; i < (x1 - x0) * (y1 - y0) / 500; ++i) {
        const float x = x0 + hash01(i, 1, seed) * (x1 - x0);
        const float y = y0 + hash01(i, 2, seed) * (y1 - y0);
        const float len = 8 + hash01(i, 3, seed) * 14;
        p.line(x, y, x - len * 0.25f, y + len, 1, c, alpha);
    }
}

void sea(Paint& p, int x0, int x1, int top, int bottom, Color far, Color near, uint32_t seed) {
    for (int y = top; y < bottom; ++y) {
        const float t = static_cast<float>(y - top) / (bottom - top);
        const Color base = mix(far, near, t);
        for (int x = x0; x < x1; ++x) {
            const float w = noise2(x / (30.0f + 60 * t), y / (2.0f + 6 * t), seed);
            const float f = 0.8f + 0.45f * w * w * w;
            p.set(x, y, scaleColor(base, f));
        }
    }
}

// A warm or cold light laid over everything: multiply by ambient plus lights.
struct Light {
    float x, y, r;
    float strength;
    float cr, cg, cb;
};

void light(Paint& p, float ambient, const std::vector<Light>& lights, int y0 = 0, int y1 = H) {
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < W; ++x) {
            float r = ambient, g = ambient, b = ambient;
            for (const Light& l : lights) {
                const float d = std::hypot(x - l.x, y - l.y) / l.r;
                if (d >= 1) continue;
                const float a = l.strength * (1 - d) * (1 - d);
                r += a * l.cr;
                g += a * l.cg;
                b += a * l.cb;
            }
            const Color c = p.at(x, y);
            p.set(x, y,
                  rgb(static_cast<int>(red(c) * r), static_cast<int>(green(c) * g),
                      static_cast<int>(blue(c) * b)));
        }
}

void vignette(Paint& p, float strength) {
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const float dx = (x - W / 2.0f) / (W / 2.0f);
            const float dy = (y - H / 2.0f) / (H / 2.0f);
            const float f = 1 - strength * std::min(1.0f, (dx * dx + dy * dy) * 0.5f);
            p.set(x, y, scaleColor(p.at(x, y), f));
        }
}

// Wooden planks, vertical (a wall) in a box.
void plankWall(Paint& p, int x0, int y0, int x1, int y1, int plank, Color base, uint32_t seed) {
    for (int x = x0; x < x1; ++x) {
        const int k = (x - x0) / plank;
        const float v = 0.85f + 0.3f * hash01(k, 0, seed);
        const bool gap = (x - x0) % plank == 0;
        for (int y = y0; y < y1; ++y) {
            const float grain = fbm(x / 3.0f, y / 60.0f + k * 13.0f, 3, seed + 3);
            Color c = scaleColor(base, v * (0.8f + 0.4f * grain));
            if (gap)
                c = scaleColor(base, 0.35f);
            else if ((x - x0) % plank == 1)
                c = scaleColor(c, 1.2f);
            p.set(x, y, c);
        }
    }
}

// Floor boards running away from the viewer towards a vanishing point.
void boardFloor(Paint& p, int top, int bottom, float vx, float vy, Color base, uint32_t seed) {
    for (int y = top; y < bottom; ++y) {
        const float depth = (y - vy) / (bottom - vy);
        for (int x = 0; x < W; ++x) {
            // the board index at this point, by the x where its line meets the bottom row
            const float bx = vx + (x - vx) / depth;
            const float u = bx / 64.0f;
            const int k = static_cast<int>(std::floor(u));
            const float f = u - k;
            const float v = 0.8f + 0.35f * hash01(k, 5, seed);
            const float grain = noise2(u * 8, y / 3.0f / depth, seed + k);
            Color c = scaleColor(base, v * (0.85f + 0.25f * grain));
            // staggered joints across the boards
            const float along = (1 / depth) * 9 + hash01(k, 9, seed) * 7;
            const float jf = along - std::floor(along);
            if (f < 0.035f / depth * 0.6f || (jf < 0.03f)) c = scaleColor(base, 0.4f);
            p.set(x, y, c);
        }
    }
}

void stoneBlocks(Paint& p, int x0, int y0, int x1, int y1, int bw, int bh, Color base,
                 uint32_t seed, float mortar = 0.45f) {
    for (int y = y0; y < y1; ++y) {
        const int row = (y - y0) / bh;
        const int off = (row % 2) * bw / 2;
        for (int x = x0; x < x1; ++x) {
            const int col = (x - x0 + off) / bw;
            const float v = 0.8f + 0.35f * hash01(col, row, seed);
            const float n = fbm(x / 9.0f, y / 9.0f, 3, seed + 1);
            Color c = scaleColor(base, v * (0.8f + 0.35f * n));
            if ((y - y0) % bh < 2 || (x - x0 + off) % bw < 2) c = scaleColor(base, mortar);
            p.set(x, y, c);
        }
    }
}

void grass(Paint& p, const std::vector<Pt>& area, Color base, uint32_t seed) {
    p.shape(
        0, 0, W, H, [&](float x, float y) { return insidePolygon(area, x, y); },
        [&](float x, float y) {
            const float n = fbm(x / 14.0f, y / 5.0f, 4, seed);
            const float blade = noise2(x / 1.6f, y / 6.0f, seed + 9);
            return scaleColor(base, 0.6f + 0.6f * n + 0.25f * blade);
        });
}

// ---------------------------------------------------------------- cottage

void cottage(const Output& out) {
    Paint p(W, H);
    plankWall(p, 0, 0, W, 394, 38, 0x8C5C36, 11);
    // ceiling beams
    p.rect(0, 0, W, 26, 0x3E2614);
    p.rect(0, 24, W, 30, 0x2A180C);
    for (int x = 60; x < W; x += 190) p.rect(x, 0, x + 22, 40, 0x4A2E18);
    boardFloor(p, 394, H, 400, -260, 0x7A4A28, 21);
    p.rect(0, 384, W, 396, 0x4A2C16);  // skirting board
    // door
    p.rect(24, 160, 136, 396, 0x3A2212);
    plankWall(p, 32, 168, 128, 394, 24, 0x6E4426, 31);
    for (int y : {196, 340}) p.rect(32, y, 128, y + 10, 0x4A2C16);
    for (int y : {200, 344}) p.rect(34, y, 60, y + 6, 0x2C2C30);
    p.ellipse(116, 284, 5, 5, 0x9A8A60);
    // a wall peg for the lantern
    p.rect(512, 162, 528, 170, 0x3A2212);
    p.line(520, 170, 520, 177, 3, 0x2C2C30);
    // a shelf with jars above the table
    p.rect(300, 286, 480, 294, 0x4A2C16);
    const Color jars[] = {0x4A6A8A, 0x8A4A3A, 0xC8B070, 0x5A7A4A};
    for (int i = 0; i < 4; ++i) {
        const float x = 322 + i * 42;
        p.rect(x - 10, 256 + (i % 2) * 6, x + 10, 286, jars[i]);
        p.rect(x - 11, 252 + (i % 2) * 6, x + 11, 258 + (i % 2) * 6, scaleColor(jars[i], 0.7f));
    }
    // fireplace: chimney breast, mantel, opening, hearth
    stoneBlocks(p, 590, 110, 792, 396, 40, 22, 0x7E746A, 41);
    p.rect(578, 250, 800, 264, 0x5A3820);
    p.rect(578, 262, 800, 268, 0x3A2212);
    p.shape(
        628, 290, 744, 396,
        [](float x, float y) {
            const float dx = (x - 686) / 58;
            return y > 320 || (y - 320) * (y - 320) / (30.0f * 30.0f) + dx * dx <= 1;
        },
        [](float, float y) { return mix(0x0C0806, 0x2A140A, (y - 290) / 106); });
    stoneBlocks(p, 596, 394, 792, 424, 48, 15, 0x6A625A, 43);
    p.rect(640, 230, 656, 250, 0xB0A080);  // a candlestick on the mantel
    p.rect(700, 226, 730, 250, 0x4A6A8A);
    // rug
    p.shape(
        80, 452, 400, 512,
        [](float x, float y) {
            const float dx = (x - 240) / 150;
            const float dy = (y - 482) / 27;
            return dx * dx + dy * dy <= 1;
        },
        [](float x, float y) {
            const float dx = (x - 240) / 150;
            const float dy = (y - 482) / 27;
            const float r = std::sqrt(dx * dx + dy * dy);
            return r > 0.82f ? 0x7A2A22 : (r > 0.7f ? 0xC8A060 : (r > 0.4f ? 0x9A3A2C : 0x6A8A5A));
        });
    // the table (its footprint is off the walk mask)
    p.rect(340, 380, 350, 426, 0x3E2414);
    p.rect(490, 380, 500, 426, 0x3E2414);
    p.rect(326, 374, 340, 452, 0x5A361C);
    p.rect(500, 374, 514, 452, 0x5A361C);
    p.polygon({{334, 350}, {506, 350}, {520, 372}, {320, 372}}, 0x8A5A30);
    p.rect(320, 372, 520, 384, 0x5A361C);
    p.rect(402, 334, 412, 352, 0xE8E0C8);  // candle
    p.ellipse(407, 328, 3, 6, 0xFFD060);
    light(p, 0.5f,
          {{686, 350, 560, 0.95f, 1.0f, 0.62f, 0.3f},
           {407, 330, 240, 0.45f, 1.0f, 0.8f, 0.45f},
           {360, 190, 220, 0.15f, 0.4f, 0.5f, 0.8f}});
    vignette(p, 0.35f);
    p.glow(407, 328, 24, 0xFFD080, 0.8f);
    out.png(p, "rooms/cottage/background.png");

    Mask m(W, H);
    m.allow({{20, 402}, {596, 402}, {612, 428}, {792, 428}, {792, 516}, {20, 516}});
    m.block({{312, 396}, {528, 396}, {528, 456}, {312, 456}});
    m.save(out.root().string() + "/rooms/cottage/mask.png");
}

// ---------------------------------------------------------------- harbour

void harbour(const Output& out) {
    Paint p(W, H);
    stormSky(p, 272, 0x0A101E, 0x2C3A50, 101);
    p.glow(560, 70, 140, 0x506070, 0.5f);
    // the distant cliff and the dark lighthouse on it
    p.polygon({{470, 272}, {560, 236}, {620, 196}, {660, 176}, {800, 160}, {800, 272}}, 0x141C22);
    p.polygon({{700, 164}, {728, 164}, {724, 80}, {704, 80}}, 0x8A8A88);
    p.rect(703, 100, 725, 112, 0x6A2A26);
    p.rect(702, 130, 727, 142, 0x6A2A26);
    p.rect(700, 66, 728, 80, 0x1A1E24);
    p.polygon({{698, 66}, {730, 66}, {714, 54}}, 0x2A2A2E);
    sea(p, 0, W, 262, 406, 0x16283A, 0x0E1A26, 103);
    // the quay: wet stone slabs, their rows widening towards the viewer
    for (int y = 398; y < H; ++y) {
        const float depth = (y - 300.0f) / (H - 300.0f);
        const float v = 1.0f / depth;
        const int row = static_cast<int>(v * 9);
        const float rowf = v * 9 - row;
        for (int x = 0; x < W; ++x) {
            const float u = (x - 400) * v / 90.0f + row * 0.5f;
            const int col = static_cast<int>(std::floor(u));
            const float colf = u - col;
            const float shade = 0.8f + 0.3f * hash01(col, row, 107);
            const float n = fbm(x / 7.0f, y / 4.0f, 3, 109);
            Color c = scaleColor(0x4C505A, shade * (0.75f + 0.4f * n));
            if (rowf > 0.94f || colf < 0.03f * depth + 0.01f) c = 0x24262C;
            p.set(x, y, c);
        }
    }
    p.rect(0, 396, W, 408, 0x6A6E76);  // kerb
    p.rect(0, 406, W, 410, 0x2A2C32);
    // the cottage on the left
    stoneBlocks(p, 0, 210, 214, 404, 34, 20, 0x6E6A64, 111);
    plankWall(p, 0, 170, 214, 212, 26, 0x5A3A24, 113);
    p.polygon({{-30, 178}, {110, 92}, {250, 178}}, 0x262A34);
    p.polygon({{-30, 178}, {110, 92}, {110, 100}, {-10, 178}}, 0x343A46);
    p.rect(150, 90, 172, 140, 0x4A4440);
    p.rect(30, 232, 86, 292, 0x2A1A10);
    p.rect(34, 236, 82, 288, 0xF0C060);
    p.rect(56, 236, 60, 288, 0x3A2212);
    p.rect(34, 260, 82, 264, 0x3A2212);
    p.rect(104, 292, 176, 404, 0x2A1A10);
    plankWall(p, 110, 298, 170, 404, 20, 0x6E4426, 117);
    p.ellipse(160, 354, 4, 4, 0x9A8A60);
    // Harald's awning, nets and barrel
    p.rect(452, 248, 460, 454, 0x4A3020);
    p.rect(566, 256, 574, 454, 0x4A3020);
    p.polygon({{430, 236}, {600, 250}, {598, 266}, {428, 252}}, 0x6A4A2C);
    p.polygon({{430, 236}, {600, 250}, {600, 254}, {430, 240}}, 0x8A6A44);
    for (int i = 0; i < 9; ++i) {
        p.line(466 + i * 10, 262, 470 + i * 10, 330 + (i % 3) * 8, 1.5f, 0x8A8A70, 0.8f);
        p.line(466, 280 + i * 6, 560, 282 + i * 6, 1.2f, 0x8A8A70, 0.5f);
    }
    p.shape(
        560, 392, 616, 460,
        [](float x, float y) {
            const float bulge = 4 * std::sin((y - 392) / 68 * 3.14159f);
            return x > 562 - bulge && x < 614 + bulge;
        },
        [](float x, float) {
            return scaleColor(0x7A5030, 0.7f + 0.5f * std::sin((x - 560) / 56 * 3.14159f));
        });
    for (int y : {400, 424, 448}) p.rect(558, y, 618, y + 4, 0x3A3A3E);
    // bollard and rope
    p.rect(640, 380, 660, 412, 0x2A2C30);
    p.ellipse(650, 380, 12, 5, 0x3A3C42);
    // stairs up to the cliffs on the right
    for (int i = 0; i < 9; ++i) {
        const float y = 430 - i * 16;
        p.rect(722 + i * 4, y - 16, W, y, scaleColor(0x5A5C64, 0.8f + 0.05f * i));
        p.rect(722 + i * 4, y - 16, W, y - 13, 0x7A7C84);
    }
    p.line(716, 440, 790, 290, 4, 0x3A2A1C);
    for (int i = 0; i < 5; ++i)
        p.line(716 + i * 18, 440 - i * 36, 716 + i * 18, 410 - i * 36, 3, 0x3A2A1C);
    light(p, 0.8f,
          {{252, 232, 260, 0.9f, 1.0f, 0.75f, 0.4f}, {58, 262, 150, 0.7f, 1.0f, 0.7f, 0.35f}});
    // reflections of the lamp on the wet quay
    for (int y = 410; y < 520; ++y)
        for (int x = 232; x < 272; ++x) {
            const float a = 0.35f * (1 - std::fabs(x - 252) / 20.0f) * (1 - (y - 410) / 110.0f);
            if (a > 0) p.put(x, y, 0xE8C070, a * (0.6f + 0.4f * noise2(x / 3.0f, y / 2.0f, 5)));
        }
    vignette(p, 0.3f);
    out.png(p, "rooms/harbour/background.png");

    Mask m(W, H);
    m.allow({{20, 408}, {800, 408}, {800, 516}, {20, 516}});
    m.allow({{730, 404}, {800, 404}, {800, 450}, {730, 450}});
    m.allow({{120, 404}, {170, 404}, {170, 420}, {120, 420}});
    m.block({{450, 404}, {562, 404}, {562, 458}, {450, 458}});
    m.block({{558, 404}, {620, 404}, {620, 462}, {558, 462}});
    m.block({{240, 408}, {266, 408}, {266, 428}, {240, 428}});
    m.block({{638, 404}, {662, 404}, {662, 416}, {638, 416}});
    m.save(out.root().string() + "/rooms/harbour/mask.png");
}

// ---------------------------------------------------------------- cliff path

// The path's middle line and its half height at each row: wide in front, narrow far back.
const std::vector<Pt> kPath = {{-20, 476}, {140, 478}, {300, 452},
                               {430, 410}, {540, 378}, {612, 356}};

float pathHalf(float y) {
    return 8 + (y - 356) / 159 * 30;
}

std::vector<Pt> pathPolygon() {
    std::vector<Pt> upper, lower;
    for (size_t i = 0; i + 1 < kPath.size(); ++i) {
        for (int s = 0; s < 10; ++s) {
            const float t = s / 10.0f;
            const float x = kPath[i].x + (kPath[i + 1].x - kPath[i].x) * t;
            const float y = kPath[i].y + (kPath[i + 1].y - kPath[i].y) * t;
            upper.push_back({x, y - pathHalf(y)});
            lower.push_back({x, y + pathHalf(y)});
        }
    }
    upper.push_back({612, 350});
    lower.push_back({612, 362});
    std::vector<Pt> poly = upper;
    for (auto it = lower.rbegin(); it != lower.rend(); ++it) poly.push_back(*it);
    return poly;
}

const std::vector<Pt> kDoorstep = {{566, 348}, {658, 348}, {666, 390}, {554, 390}};

void cliffpath(const Output& out) {
    Paint p(W, H);
    stormSky(p, 300, 0x141C30, 0x4A5670, 201, 0.1f);
    p.glow(200, 90, 160, 0x6A7A90, 0.5f);
    sea(p, 0, W, 250, 420, 0x2A3C52, 0x162434, 203);
    // the cliff top: grass from the edge to the tower and down to the viewer
    const std::vector<Pt> land = {{-10, 420}, {80, 396},  {200, 352}, {330, 300}, {450, 268},
                                  {560, 250}, {810, 240}, {810, 610}, {-10, 610}};
    grass(p, land, 0x2A4224, 205);
    // the rocky edge of the cliff
    for (int i = 0; i < 40; ++i) {
        const float t = i / 40.0f;
        const float x = -10 + t * 570;
        const float y = 420 - t * 170 + 6 * noise2(i * 0.7f, 0, 207);
        p.ellipse(x, y + 4, 12 + 8 * hash01(i, 0, 209), 6,
                  scaleColor(0x5A5850, 0.7f + 0.5f * hash01(i, 1, 209)));
    }
    // the path
    const std::vector<Pt> path = pathPolygon();
    p.shape(
        0, 300, W, 520,
        [&](float x, float y) {
            return insidePolygon(path, x, y) || insidePolygon(kDoorstep, x, y);
        },
        [](float x, float y) {
            const float n = fbm(x / 6.0f, y / 3.0f, 4, 211);
            return scaleColor(0x7A6A50, 0.65f + 0.55f * n);
        });
    // the tower: white-washed, a red band, the doorway
    p.shape(
        520, 0, 710, 356,
        [](float x, float y) {
            const float half = 60 + (y / 352) * 16;
            return std::fabs(x - 614) <= half;
        },
        [](float x, float y) {
            const float half = 60 + (y / 352) * 16;
            const float u = (x - 614) / half;
            const float round = 0.55f + 0.55f * std::sqrt(std::max(0.0f, 1 - u * u)) - 0.25f * u;
            const float n = fbm(x / 8.0f, y / 8.0f, 3, 213);
            const Color base = (y > 120 && y < 166) ? 0x7A2622 : 0xA8AAB0;
            return scaleColor(base, round * (0.85f + 0.25f * n));
        });
    p.shape(
        578, 246, 648, 354,
        [](float x, float y) {
            const float dx = (x - 613) / 34;
            return y > 280 || dx * dx + (y - 280) * (y - 280) / (34.0f * 34.0f) <= 1;
        },
        0x0E0C0C);
    for (int i = 0; i < 3; ++i)
        p.rect(562 - i * 6, 352 + i * 6, 664 + i * 6, 358 + i * 6,
               scaleColor(0x8A8880, 0.9f - i * 0.1f));
    // the fence along the edge
    for (int i = 0; i < 6; ++i) {
        const float x = 40 + i * 62;
        const float y = 414 - i * 24;
        const float h = 40 - i * 3;
        p.line(x, y, x, y - h, 5 - i * 0.4f, 0x4A3420);
        if (i > 0) {
            const float px = x - 62, py = y + 24, ph = h + 3;
            p.line(px, py - ph * 0.8f, x, y - h * 0.8f, 2, 0x6A5A40);
            p.line(px, py - ph * 0.4f, x, y - h * 0.4f, 2, 0x6A5A40);
        }
    }
    // rocks and tufts in the grass
    for (int i = 0; i < 7; ++i) {
        const float x = 420 + hash01(i, 0, 215) * 360;
        const float y = 440 + hash01(i, 1, 215) * 70;
        if (insidePolygon(path, x, y)) continue;
        const float rx = 10 + 12 * hash01(i, 2, 215);
        const float ry = 5 + 5 * hash01(i, 3, 215);
        p.ellipse(x + 3, y + 2, rx, ry, 0x1A2218, 0.6f);
        p.ellipse(x, y, rx, ry, 0x55554E);
        p.ellipse(x - rx * 0.2f, y - ry * 0.35f, rx * 0.7f, ry * 0.55f, 0x76766C);
    }
    for (int i = 0; i < 60; ++i) {
        const float x = hash01(i, 5, 217) * W;
        const float y = 300 + hash01(i, 6, 217) * 220;
        if (!insidePolygon(land, x, y) || insidePolygon(path, x, y) ||
            (x > 530 && x < 700 && y < 370))
            continue;
        for (int b = -2; b <= 2; ++b)
            p.line(x, y, x + b * 2.5f, y - 7 - std::abs(b) * -1.0f, 1.2f, 0x4A6A38);
    }
    light(p, 0.72f, {{200, 90, 500, 0.3f, 0.5f, 0.6f, 0.8f}});
    vignette(p, 0.35f);
    out.png(p, "rooms/cliffpath/background.png");

    Mask m(W, H);
    m.allow(path);
    m.allow(kDoorstep);
    m.allow({{0, 440}, {24, 440}, {24, 508}, {0, 508}});
    m.save(out.root().string() + "/rooms/cliffpath/mask.png");
}

// ---------------------------------------------------------------- lamp room

void lighthouse(const Output& out) {
    Paint p(W, H);
    // the night outside the windows
    stormSky(p, 262, 0x0C1220, 0x26344A, 301);
    sea(p, 0, W, 252, 340, 0x18283A, 0x0E1A26, 303);
    glassRain(p, 0, 100, W, 340, 305, 0x8A9AB0, 0.35f);
    // iron roof with its ribs
    p.shape(
        0, 0, W, 140,
        [](float x, float y) { return y < 100 + 24 * ((x - 400) / 400) * ((x - 400) / 400); },
        [](float x, float y) {
            return scaleColor(0x2A2A30, 0.7f + 0.3f * noise2(x / 30.0f, y / 10.0f, 307));
        });
    for (int i = 0; i <= 8; ++i) {
        const float x = i * 100.0f;
        p.line(400 + (x - 400) * 0.3f, 0, x, 100 + 24 * ((x - 400) / 400) * ((x - 400) / 400), 6,
               0x141418);
    }
    // window frames: mullions and a sill
    for (int i = 0; i <= 4; ++i) {
        const float x = 10 + i * 195.0f;
        p.rect(x - 7, 90, x + 7, 344, 0x1E1E22);
        p.rect(x - 3, 90, x + 1, 344, 0x3A3A40);
    }
    p.rect(0, 200, W, 205, 0x1E1E22);
    // the lower wall and the brass rail
    p.rect(0, 340, W, 406, 0x5A2622);
    for (int x = 0; x < W; x += 50) p.rect(x, 340, x + 2, 406, 0x3A1614);
    p.rect(0, 336, W, 344, 0xB08A40);
    p.rect(0, 342, W, 346, 0x6A4A20);
    // the floor, and the stairwell cut into it
    boardFloor(p, 404, H, 400, 180, 0x6A5036, 311);
    p.ellipse(125, 466, 80, 34, 0x1A120C);
    p.ellipse(125, 462, 76, 28, 0x0A0604);
    for (int i = 0; i < 3; ++i)
        p.rect(70 + i * 10, 456 + i * 8, 180 - i * 10, 462 + i * 8,
               scaleColor(0x4A3624, 0.9f - i * 0.2f));
    for (int i = 0; i < 6; ++i)
        p.line(52 + i * 30, 440, 52 + i * 30, 462 - (i == 0 || i == 5 ? 4 : 0) + 0, 3, 0xB08A40);
    p.line(48, 438, 204, 438, 3, 0xB08A40);
    light(p, 0.75f, {{400, 200, 520, 0.3f, 0.4f, 0.5f, 0.8f}});
    vignette(p, 0.35f);
    out.png(p, "rooms/lighthouse/background.png");

    Mask m(W, H);
    m.allow({{10, 422}, {790, 422}, {790, 516}, {10, 516}});
    m.blockEllipse(125, 466, 84, 38);
    m.block({{318, 402}, {482, 402}, {482, 458}, {318, 458}});
    m.save(out.root().string() + "/rooms/lighthouse/mask.png");
}

// ---------------------------------------------------------------- menu

// Rooms without the main character need no floor; their masks still hold both colours.
void emptyMask(const Output& out, const std::string& room) {
    Mask m(W, H);
    m.allow({{0, 0}, {4, 0}, {4, 4}, {0, 4}});
    m.save(out.root().string() + "/rooms/" + room + "/mask.png");
}

void menu(const Output& out) {
    Paint p(W, H);
    plankWall(p, 0, 0, W, H, 44, 0x5A3820, 401);
    // parchment panel
    p.shape(
        40, 40, 760, 560, [](float x, float y) { return x > 44 && x < 756 && y > 44 && y < 556; },
        [](float x, float y) {
            return scaleColor(0xE6D4A8, 0.82f + 0.2f * fbm(x / 40.0f, y / 40.0f, 4, 403));
        });
    p.rect(52, 52, 748, 56, 0x8A6A3A);
    p.rect(52, 544, 748, 548, 0x8A6A3A);
    const std::string title = "Tolvan";
    const int tw = textWidth("DejaVu Serif", 40, title);
    paintText(p, "DejaVu Serif", 40, title, (W - tw) / 2, 70, 0x3A2A1A);
    // a small lighthouse beside the title
    const float lx = (W - tw) / 2.0f - 40;
    p.polygon({{lx - 9, 130}, {lx + 9, 130}, {lx + 6, 84}, {lx - 6, 84}}, 0x8A2A24);
    p.rect(lx - 7, 74, lx + 7, 84, 0xF0C040);
    p.polygon({{lx - 9, 74}, {lx + 9, 74}, {lx, 66}}, 0x3A2A1A);
    // frames for the three slot pictures and the buttons under them
    for (int i = 0; i < 3; ++i) {
        const float cx = 160 + i * 240.0f;
        p.rect(cx - 88, 164, cx + 88, 298, 0x5A3820);
        p.rect(cx - 84, 168, cx + 84, 294, 0x2A1A10);
        paintText(p, "DejaVu Serif", 14, std::to_string(i + 1), static_cast<int>(cx) - 5, 136,
                  0x5A3820, false);
    }
    p.rect(180, 430, 620, 434, 0x8A6A3A);
    vignette(p, 0.3f);
    out.png(p, "rooms/menu/background.png");
    emptyMask(out, "menu");
}

// ---------------------------------------------------------------- ending

void ending(const Output& out) {
    Paint p(W, H);
    for (int y = 0; y < 300; ++y) {
        const float t = y / 300.0f;
        const Color base = t < 0.6f ? mix(0x28386A, 0xC87A80, t / 0.6f)
                                    : mix(0xC87A80, 0xF4B070, (t - 0.6f) / 0.4f);
        for (int x = 0; x < W; ++x) {
            const float n = fbm(x / 180.0f, y / 40.0f, 4, 501);
            p.set(x, y, mix(base, scaleColor(base, 1.25f), n * n));
        }
    }
    p.glow(560, 300, 220, 0xFFD0A0, 0.8f);
    p.ellipse(560, 300, 40, 40, 0xFFE6B0);
    sea(p, 0, W, 300, H, 0x6A6A8A, 0x2A3A5A, 503);
    for (int y = 304; y < H; ++y)  // the sun's path on the water
        for (int x = 460; x < 660; ++x) {
            const float a = (1 - std::fabs(x - 560) / 100.0f) * (1 - (y - 300) / 300.0f);
            if (a > 0 && noise2(x / 6.0f, y / 1.5f, 505) > 0.55f) p.put(x, y, 0xFFD8A0, a);
        }
    // the cliff with the lighthouse, its lamp burning
    p.polygon({{-10, 250}, {60, 210}, {150, 196}, {230, 230}, {290, 320}, {330, 600}, {-10, 600}},
              0x2A2630);
    p.polygon({{-10, 250}, {60, 210}, {150, 196}, {160, 206}, {60, 224}, {-10, 262}}, 0x4A5A3A);
    p.polygon({{118, 200}, {158, 200}, {152, 170}, {124, 170}}, 0xD8D6D0);
    p.rect(124, 180, 153, 188, 0x8A2A24);
    p.rect(126, 140, 150, 170, 0xE8E6E0);
    p.rect(122, 130, 154, 142, 0x2A2A30);
    p.rect(126, 142, 150, 160, 0xFFE090);
    p.glow(138, 150, 60, 0xFFD070, 1.0f);
    p.polygon({{120, 130}, {156, 130}, {138, 116}}, 0x3A2A2A);
    // a few gulls
    for (int i = 0; i < 4; ++i) {
        const float x = 380 + i * 70, y = 110 + (i % 2) * 30;
        p.line(x - 10, y - 4, x, y, 2, 0x3A3040);
        p.line(x, y, x + 10, y - 4, 2, 0x3A3040);
    }
    out.png(p, "rooms/ending/background.png");
    emptyMask(out, "ending");
}

}  // namespace

void makeRooms(const Output& out) {
    cottage(out);
    harbour(out);
    cliffpath(out);
    lighthouse(out);
    menu(out);
    ending(out);
}

}  // namespace demo
