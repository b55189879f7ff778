// The pictures of the objects: scenery, items with their inventory icons, the menu's
// buttons and the ending's ship and light beam. All are keyed on black.
#include <cmath>

#include "art.h"

namespace demo {
namespace {

constexpr float kPi = 3.14159265f;
const Color kIron = 0x2E3036;
const Color kBrass = 0xC09040;
const Color kEdge = 0x1E1612;

void edge(Paint& p, Color c = kEdge) {
    std::vector<std::pair<int, int>> e;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            if (!p.opaque(x, y) && (p.opaque(x - 1, y) || p.opaque(x + 1, y) ||
                                    p.opaque(x, y - 1) || p.opaque(x, y + 1)))
                e.emplace_back(x, y);
    for (auto [x, y] : e) p.set(x, y, c);
}

// ---------------------------------------------------------------- cottage

Paint cottageWindow() {
    Paint p(160, 160, 0, true);
    p.rect(0, 0, 160, 160, 0x4A2C16);
    for (int y = 10; y < 150; ++y)
        for (int x = 10; x < 150; ++x) {
            const float t = (y - 10) / 140.0f;
            const float n = fbm(x / 30.0f, y / 14.0f, 4, 601);
            p.set(x, y, scaleColor(mix(0x0E1628, 0x2A3A56, t), 0.6f + 0.8f * n * n));
        }
    // the sea, the cliff and the dark lighthouse
    p.rect(10, 104, 150, 150, 0x101C2A);
    p.polygon({{60, 104}, {100, 84}, {150, 80}, {150, 104}}, 0x141A20);
    p.rect(118, 56, 126, 82, 0x7A7A78);
    p.rect(116, 50, 128, 56, 0x1A1C20);
    paintedRain(p, 10, 10, 150, 150);
    p.rect(76, 10, 84, 150, 0x4A2C16);
    p.rect(10, 76, 150, 84, 0x4A2C16);
    p.rect(0, 148, 160, 160, 0x6A4024);  // sill
    edge(p);
    return p;
}

Paint clock(int door) {  // door: 0 closed, 1 open, 2 bird out, 3 bird calling
    Paint p(64, 124, 0, true);
    p.polygon({{2, 24}, {32, 2}, {62, 24}}, 0x5A3018);
    p.polygon({{6, 24}, {32, 6}, {58, 24}}, 0x7A4424);
    p.rect(8, 22, 56, 74, 0x6A3C20);
    p.rect(10, 24, 54, 72, 0x8A5430);
    // the little door above the face
    p.rect(24, 26, 40, 40, 0x1E120A);
    if (door == 0) p.rect(24, 26, 40, 40, 0x5A3018);
    if (door >= 1) p.rect(14, 26, 24, 40, 0x5A3018);
    if (door >= 2) {
        p.ellipse(32, 34, 7, 5, 0xC8A040);
        p.ellipse(36, 30, 4, 4, 0xC8A040);
        p.polygon({{40, 29}, {46, 30 + (door == 3 ? -2.0f : 0.0f)}, {40, 31}}, 0xE07020);
        if (door == 3) p.polygon({{40, 31}, {46, 34}, {40, 32}}, 0xE07020);
        p.ellipse(37, 29, 1, 1, 0x101010);
    }
    // the face at ten to twelve
    p.ellipse(32, 56, 14, 14, 0xF0E6C8);
    for (int i = 0; i < 12; ++i) {
        const float a = i * kPi / 6;
        p.rect(32 + std::sin(a) * 11 - 0.7f, 56 - std::cos(a) * 11 - 0.7f,
               32 + std::sin(a) * 11 + 0.7f, 56 - std::cos(a) * 11 + 0.7f, 0x3A2A1A);
    }
    p.line(32, 56, 32, 47, 2, 0x1A1410);
    p.line(32, 56, 32 - 9 * std::sin(kPi / 3), 56 - 9 * std::cos(kPi / 3), 1.5f, 0x1A1410);
    // carved leaves, pendulum and weights
    p.ellipse(8, 74, 6, 4, 0x5A3018);
    p.ellipse(56, 74, 6, 4, 0x5A3018);
    p.line(32, 74, 32, 110, 2, kBrass);
    p.ellipse(32, 112, 7, 7, kBrass);
    p.line(22, 74, 22, 96, 1, 0x6A6A6A);
    p.line(42, 74, 42, 90, 1, 0x6A6A6A);
    p.rect(19, 96, 25, 112, 0x8A6A30);
    p.rect(39, 90, 45, 106, 0x8A6A30);
    edge(p);
    return p;
}

// One tongue of flame: a teardrop rising from (x, base), bending with `sway`.
void flame(Paint& p, float x, float base, float h, float r, float sway, Color c) {
    p.shape(
        x - r - std::fabs(sway) - 1, base - h - 1, x + r + std::fabs(sway) + 1, base + 1,
        [&](float px, float py) {
            const float t = (base - py) / h;
            if (t < 0 || t > 1) return false;
            const float half = r * std::pow(1 - t, 0.8f) * std::min(1.0f, t * 3 + 0.45f);
            return std::fabs(px - (x + sway * t * t)) <= half;
        },
        c);
}

Paint fire(int frame) {
    Paint p(90, 70, 0, true);
    // logs
    p.line(12, 62, 78, 56, 10, 0x4A2A16);
    p.line(16, 56, 74, 64, 9, 0x5A341C);
    for (int i = 0; i < 6; ++i) {
        const float x = 20 + i * 10;
        const float h = 30 + 18 * hash01(i, frame, 701);
        flame(p, x, 60, h, 8, 6 * std::sin(frame * 1.7f + i * 1.3f), 0xD8400E);
    }
    for (int i = 0; i < 5; ++i) {
        const float x = 25 + i * 10;
        const float h = 22 + 12 * hash01(i, frame + 3, 703);
        flame(p, x, 60, h, 6, 4 * std::sin(frame * 2.3f + i * 2), 0xF08A1C);
    }
    for (int i = 0; i < 3; ++i) {
        const float x = 33 + i * 12;
        flame(p, x, 60, 12 + 8 * hash01(i, frame + 5, 705), 5, 3 * std::sin(frame * 2.9f + i),
              0xFFD860);
    }
    p.ellipse(45, 58, 22, 5, 0xFFF0A0);
    return p;
}

// A storm lantern: `oil` shows amber oil in its base, `flame` burns.
Paint lanternPicture(int w, int h, bool hook, bool oil, bool flame) {
    Paint p(w * 2, h * 2, 0, true);
    const float cx = w;
    const float top = hook ? 24.0f : 8.0f;
    const float bottom = h * 2 - 6.0f;
    if (hook)
        p.shape(
            cx - 14, 0, cx + 14, 28,
            [&](float x, float y) {
                const float r = std::hypot(x - cx, y - 14);
                return r > 9 && r < 13 && y < 22;
            },
            kIron);
    const float gw = w * 0.8f;
    const float gTop = top + 12, gBottom = bottom - 16;
    p.rect(cx - gw * 0.7f, top, cx + gw * 0.7f, top + 12, 0x8A2A20);
    p.polygon({{cx - gw * 0.5f, top - 4},
               {cx + gw * 0.5f, top - 4},
               {cx + gw * 0.7f, top + 2},
               {cx - gw * 0.7f, top + 2}},
              0x6A1A14);
    const Color glass = flame ? 0xFFE8A0 : 0x6A7A86;
    p.rect(cx - gw * 0.55f, gTop, cx + gw * 0.55f, gBottom, glass);
    if (flame) {
        p.ellipse(cx, (gTop + gBottom) / 2 + 6, gw * 0.18f, gw * 0.4f, 0xFFA030);
        p.ellipse(cx, (gTop + gBottom) / 2 + 10, gw * 0.1f, gw * 0.22f, 0xFFFFE0);
    } else {
        p.rect(cx - gw * 0.5f, gTop, cx - gw * 0.3f, gBottom, 0x8A9AA6);
    }
    for (float dx : {-gw * 0.6f, gw * 0.6f, 0.0f})
        p.line(cx + dx, gTop, cx + dx, gBottom, 3, kIron);
    p.rect(cx - gw * 0.75f, gBottom, cx + gw * 0.75f, bottom, 0x8A2A20);
    if (oil) p.rect(cx - gw * 0.6f, gBottom + 3, cx + gw * 0.6f, bottom - 4, 0xC88A20);
    p.rect(cx - gw * 0.8f, bottom - 3, cx + gw * 0.8f, bottom, 0x5A1A14);
    if (flame) p.glow(cx, (gTop + gBottom) / 2, gw * 1.4f, 0x806020, 0.8f);
    edge(p);
    return p.halved();
}

Paint icon(const Paint& thing) {  // an item centred on a 48 x 48 inventory picture
    Paint p(48, 48, 0, true);
    p.blit(thing, (48 - thing.width()) / 2, (48 - thing.height()) / 2);
    return p;
}

Paint matchbox(int w, int h) {
    Paint p(w * 2, h * 2, 0, true);
    const float W2 = w * 2.0f, H2 = h * 2.0f;
    p.rect(2, H2 * 0.3f, W2 - 2, H2 - 2, 0x2A4A8A);
    p.rect(2, H2 * 0.3f, W2 - 2, H2 * 0.45f, 0x8A5A3A);
    p.rect(W2 * 0.3f, H2 * 0.55f, W2 * 0.7f, H2 * 0.85f, 0xE8D8B0);
    p.ellipse(W2 * 0.5f, H2 * 0.7f, W2 * 0.08f, H2 * 0.1f, 0xC83020);
    // two matches sticking out
    p.line(W2 * 0.2f, H2 * 0.3f, W2 * 0.55f, 4, 3, 0xE8D0A0);
    p.ellipse(W2 * 0.55f, 5, 3, 3, 0xC83020);
    edge(p);
    return p.halved();
}

Paint oilcan(int w, int h) {
    Paint p(w * 2, h * 2, 0, true);
    const float W2 = w * 2.0f, H2 = h * 2.0f;
    p.rect(W2 * 0.18f, H2 * 0.3f, W2 * 0.82f, H2 - 4, 0x3A6A3A);
    p.rect(W2 * 0.18f, H2 * 0.3f, W2 * 0.35f, H2 - 4, 0x4A8A4A);
    p.rect(W2 * 0.15f, H2 - 8, W2 * 0.85f, H2 - 2, 0x2A4A2A);
    p.line(W2 * 0.7f, H2 * 0.34f, W2 * 0.95f, H2 * 0.06f, 5, 0x8A8A8A);
    p.shape(
        W2 * 0.15f, H2 * 0.02f, W2 * 0.75f, H2 * 0.34f,
        [&](float x, float y) {
            const float r =
                std::hypot((x - W2 * 0.42f) / (W2 * 0.26f), (y - H2 * 0.3f) / (H2 * 0.24f));
            return r > 0.75f && r < 1 && y < H2 * 0.3f;
        },
        0x2A2A2A);
    p.rect(W2 * 0.3f, H2 * 0.5f, W2 * 0.7f, H2 * 0.7f, 0xE8C040);
    edge(p);
    return p.halved();
}

Paint key(int w, int h) {
    Paint p(w * 2, h * 2, 0, true);
    const float cy = h;
    p.shape(
        4, cy - 16, 40, cy + 16,
        [&](float x, float y) {
            const float r = std::hypot(x - 20, y - cy);
            return r < 15 && r > 7;
        },
        kBrass);
    p.rect(34, cy - 4, w * 2 - 6.0f, cy + 4, kBrass);
    p.rect(w * 2 - 20.0f, cy + 4, w * 2 - 14.0f, cy + 14, kBrass);
    p.rect(w * 2 - 10.0f, cy + 4, w * 2 - 6.0f, cy + 12, kBrass);
    p.rect(36, cy - 4, w * 2 - 6.0f, cy - 1, 0xE8C070);
    edge(p);
    return p.halved();
}

// ---------------------------------------------------------------- harbour

Paint boat(int frame) {
    Paint p(180, 70, 0, true);
    const float dy = frame ? 2.0f : 0.0f;
    const float tilt = frame ? 0.02f : -0.02f;
    auto at = [&](float x, float y) { return Pt{x, y + dy + (x - 90) * tilt}; };
    p.polygon({at(8, 30), at(172, 26), at(150, 58), at(30, 60)}, 0x3A4A5A);
    p.polygon({at(8, 30), at(172, 26), at(170, 34), at(10, 38)}, 0xC8C0B0);
    p.polygon({at(10, 38), at(170, 34), at(164, 42), at(16, 46)}, 0x8A2A24);
    p.line(at(84, 28).x, at(84, 28).y, at(84, 0).x, at(84, 0).y + 2, 4, 0x5A4030);
    p.polygon({at(40, 28), at(130, 26), at(128, 18), at(44, 20)}, 0x5A4A3A);
    edge(p);
    // the waterline hides the keel
    for (int x = 0; x < 180; ++x)
        for (int y = 54 + static_cast<int>(dy); y < 70; ++y) p.clear(x, y);
    return p;
}

Paint streetlamp(float glowLevel) {
    Paint p(48, 210, 0, true);
    p.rect(21, 40, 27, 206, 0x1E2026);
    p.rect(17, 190, 31, 206, 0x2A2C32);
    p.rect(14, 196, 34, 206, 0x1E2026);
    p.line(24, 44, 38, 40, 3, 0x1E2026);
    p.polygon({{8, 14}, {40, 14}, {34, 40}, {14, 40}}, mix(0x6A5020, 0xFFE090, glowLevel));
    p.polygon({{4, 14}, {44, 14}, {24, 2}}, 0x1E2026);
    p.rect(12, 38, 36, 42, 0x1E2026);
    p.line(24, 14, 24, 40, 2, 0x1E2026);
    p.glow(24, 26, 22, 0x604020, glowLevel);
    edge(p);
    return p;
}

// ---------------------------------------------------------------- cliff path

Paint sign() {
    Paint p(60, 80, 0, true);
    p.rect(27, 20, 33, 78, 0x4A3420);
    p.polygon({{4, 8}, {48, 8}, {58, 22}, {48, 36}, {4, 36}}, 0x8A6A44);
    p.polygon({{4, 8}, {48, 8}, {50, 11}, {4, 11}}, 0xA8885A);
    // a little lighthouse painted on the board
    p.polygon({{20, 32}, {28, 32}, {26, 14}, {22, 14}}, 0xE8E6E0);
    p.rect(22, 20, 27, 23, 0xA03028);
    p.rect(21, 11, 27, 14, 0x2A2A2A);
    p.polygon({{33, 22}, {44, 22}, {44, 18}, {50, 23}, {44, 28}, {44, 24}, {33, 24}}, 0x3A2A1A);
    edge(p);
    return p;
}

bool gateArch(float x, float y) {
    const float dx = (x - 35) / 33;
    return (y > 34 && std::fabs(x - 35) <= 33) ||
           dx * dx + (y - 34) * (y - 34) / (32.0f * 32.0f) <= 1;
}

// The click shape of the gate, open or closed: the whole doorway.
Paint gateMask() {
    Paint p(70, 104, 0, true);
    p.shape(0, 0, 70, 104, gateArch, 0xFFFFFF);
    return p;
}

Paint gate(bool open) {
    Paint p(70, 104, 0, true);
    auto arch = gateArch;
    if (!open) {
        for (int i = 0; i < 7; ++i) {
            const float x = 6 + i * 9.6f;
            p.shape(
                x - 2, 0, x + 2, 104,
                [&](float px, float py) { return arch(px, py) && std::fabs(px - x) < 1.8f; },
                kIron);
        }
        for (float y : {40.0f, 70.0f, 100.0f}) p.rect(2, y, 68, y + 4, kIron);
        p.shape(
            0, 0, 70, 40,
            [&](float x, float y) {
                const float dx = (x - 35) / 33;
                const float r = dx * dx + (y - 34) * (y - 34) / (32.0f * 32.0f);
                return r <= 1 && r > 0.8f && y < 36;
            },
            kIron);
        p.rect(50, 60, 60, 74, 0x6A5A3A);  // the lock
        p.ellipse(55, 66, 2, 2, 0x101010);
    } else {
        // swung open against the wall: seen edge on, a narrow leaf on the left
        for (int i = 0; i < 3; ++i) p.rect(2 + i * 4, 8 + i * 2, 4 + i * 4, 104, kIron);
        for (float y : {40.0f, 70.0f, 100.0f}) p.rect(2, y, 14, y + 3, kIron);
    }
    edge(p, 0x0A0A0C);
    return p;
}

// ---------------------------------------------------------------- lamp room

Paint greatLamp(int litFrame) {  // -1: dark
    Paint p(360, 500, 0, true);
    // pedestal
    p.polygon({{120, 496}, {240, 496}, {222, 400}, {138, 400}}, 0x3A3A42);
    p.polygon({{120, 496}, {150, 496}, {146, 400}, {138, 400}}, 0x4E4E58);
    p.rect(100, 486, 260, 500, 0x2A2A30);
    p.rect(126, 380, 234, 402, kBrass);
    p.rect(126, 380, 234, 386, 0xE8C070);
    // the lens: stacked glass rings
    const bool lit = litFrame >= 0;
    for (int i = 0; i < 12; ++i) {
        const float y = 380 - i * 26;
        const float half = 92 - std::fabs(i - 5.5f) * 7;
        Color glass = lit ? mix(0xFFF0B0, 0xFFC860, hash01(i, litFrame, 801))
                          : mix(0x8AA0B0, 0x5A7080, (i % 3) / 2.0f);
        p.shape(
            180 - half, y - 26, 180 + half, y,
            [&](float x, float yy) { return std::fabs(x - 180) <= half && yy <= y && yy > y - 26; },
            [&](float x, float) {
                const float u = (x - 180) / half;
                return scaleColor(glass, 0.75f + 0.4f * std::sqrt(std::max(0.0f, 1 - u * u)));
            });
        p.rect(180 - half, y - 3, 180 + half, y, lit ? 0xC89A40 : 0x3A4650);
    }
    p.polygon({{110, 68}, {250, 68}, {210, 30}, {150, 30}}, kBrass);
    p.ellipse(180, 30, 30, 10, 0xE8C070);
    p.rect(176, 0, 184, 30, kBrass);
    if (lit) {
        p.glow(180, 230, 150, 0xFFE0A0, 0.6f + 0.2f * litFrame);
        p.ellipse(180, 230, 26 + 4 * litFrame, 40 + 4 * litFrame, 0xFFFFF0);
    } else {
        p.ellipse(180, 230, 8, 20, 0x3A3028);  // the cold wick
    }
    edge(p);
    return p.halved();
}

Paint distantShip(bool lightOn) {
    Paint p(120, 60, 0, true);
    p.polygon({{14, 40}, {106, 40}, {96, 50}, {22, 50}}, 0x1A1E26);
    p.rect(40, 30, 84, 40, 0x242A34);
    p.rect(56, 16, 64, 30, 0x242A34);
    p.line(30, 40, 30, 12, 2, 0x242A34);
    for (int i = 0; i < 5; ++i) p.ellipse(28 + i * 14, 45, 1.6f, 1.6f, 0xF0C060);
    if (lightOn) p.glow(30, 10, 10, 0xFF4020, 1.0f);
    p.ellipse(30, 10, 3, 3, lightOn ? 0xFF6040 : 0x5A2A20);
    return p;
}

// ---------------------------------------------------------------- ending

Paint beam(int frame) {
    Paint p(520, 200, 0, true);
    const float spread = 0.07f + 0.03f * std::sin(frame * kPi / 2);
    const float angle = 0.10f + 0.08f * std::cos(frame * kPi / 2);
    const float len = 380 + 120 * std::sin((frame + 1) * kPi / 2 * 0.5f);
    p.shape(
        8, 0, 520, 200,
        [&](float x, float y) {
            const float dx = x - 8;
            const float dy = y - 40;
            const float a = std::atan2(dy, dx);
            return dx > 0 && std::fabs(a - angle) < spread && dx < len;
        },
        [&](float x, float) { return mix(0xFFF4C0, 0xC8A060, (x - 8) / len); });
    return p;
}

Paint ship(int frame) {
    Paint p(160, 110, 0, true);
    const float dy = frame ? 2.0f : 0.0f;
    p.polygon({{6, 78 + dy}, {156, 74 + dy}, {140, 100 + dy}, {20, 102 + dy}}, 0x2A2A34);
    p.polygon({{6, 78 + dy}, {156, 74 + dy}, {154, 80 + dy}, {8, 84 + dy}}, 0x8A2A24);
    p.rect(40, 56 + dy, 120, 76 + dy, 0xE8E4DA);
    p.rect(56, 42 + dy, 100, 56 + dy, 0xE8E4DA);
    for (int i = 0; i < 6; ++i) p.ellipse(48 + i * 13, 66 + dy, 2.5f, 2.5f, 0x3A4A6A);
    p.rect(72, 14 + dy, 86, 42 + dy, 0x2A2A2A);
    p.rect(72, 20 + dy, 86, 26 + dy, 0xC83028);
    p.line(26, 76 + dy, 26, 20 + dy, 2, 0x3A3030);
    p.line(140, 74 + dy, 140, 28 + dy, 2, 0x3A3030);
    for (int i = 0; i < 3; ++i)
        p.ellipse(66 - i * 12 - frame * 3, 8 - i * 2 + dy, 7 + i * 2, 5 + i,
                  mix(0xB0A8A8, 0x8A8088, i / 3.0f));
    edge(p);
    return p;
}

// ---------------------------------------------------------------- menu buttons

Paint plaque() {
    Paint p(64, 48, 0, true);
    p.shape(
        0, 0, 64, 48,
        [](float x, float y) {
            const float rx = std::max(0.0f, std::max(6 - x, x - 58));
            const float ry = std::max(0.0f, std::max(6 - y, y - 42));
            return rx * rx + ry * ry <= 36;
        },
        [](float x, float y) {
            return scaleColor(0x7A5030, 0.85f + 0.3f * fbm(x / 3.0f, y / 20.0f, 3, 901));
        });
    p.shape(
        4, 4, 60, 44,
        [](float x, float y) {
            const float rx = std::max(0.0f, std::max(8 - x, x - 56));
            const float ry = std::max(0.0f, std::max(8 - y, y - 40));
            return rx * rx + ry * ry <= 16;
        },
        0x3A2414);
    return p;
}

void arrow(Paint& p, float x, float y, bool up, Color c) {
    const float s = up ? -1.0f : 1.0f;
    p.rect(x - 3, y - 8 * s > y ? y : y - 8 * s, x + 3, y - 8 * s > y ? y - 8 * s : y, c);
    p.polygon({{x - 9, y}, {x + 9, y}, {x, y + 9 * s}}, c);
}

Paint button(const std::string& kind) {
    Paint p = plaque();
    const Color ink = 0xE8D8B0;
    if (kind == "save" || kind == "load") {
        // a chest with an arrow going in or coming out
        p.rect(18, 26, 46, 40, 0xA07040);
        p.rect(18, 26, 46, 29, 0xC89A60);
        p.rect(30, 31, 34, 36, 0xE8C070);
        if (kind == "save")
            arrow(p, 32, 14, false, ink);
        else
            arrow(p, 32, 18, true, ink);
    } else if (kind == "english") {
        p.rect(10, 10, 54, 38, 0x243C8A);
        p.line(10, 10, 54, 38, 6, 0xF0F0F0);
        p.line(54, 10, 10, 38, 6, 0xF0F0F0);
        p.line(10, 10, 54, 38, 2, 0xC82830);
        p.line(54, 10, 10, 38, 2, 0xC82830);
        p.rect(28, 10, 36, 38, 0xF0F0F0);
        p.rect(10, 20, 54, 28, 0xF0F0F0);
        p.rect(30, 10, 34, 38, 0xC82830);
        p.rect(10, 22, 54, 26, 0xC82830);
    } else if (kind == "deutsch") {
        p.rect(10, 10, 54, 19, 0x202020);
        p.rect(10, 19, 54, 29, 0xD02020);
        p.rect(10, 29, 54, 38, 0xF0C020);
    } else if (kind == "resume") {
        p.polygon({{24, 12}, {24, 36}, {44, 24}}, ink);
    } else if (kind == "restart" || kind == "again") {
        p.shape(
            14, 8, 50, 42,
            [](float x, float y) {
                const float r = std::hypot(x - 32, y - 25);
                const float a = std::atan2(y - 25, x - 32);
                return r > 9 && r < 14 && a > -2.4f;
            },
            ink);
        p.polygon({{14, 12}, {28, 12}, {21, 22}}, ink);
    } else if (kind == "quit") {
        p.rect(18, 10, 36, 38, 0xA07040);
        p.rect(20, 12, 34, 38, 0x1A100A);
        p.polygon({{21, 13}, {30, 16}, {30, 38}, {21, 38}}, 0x8A5A30);
        arrow(p, 44, 24, false, ink);
        p.rect(38, 21, 46, 27, 0x3A2414);
        p.polygon({{40, 16}, {40, 32}, {50, 24}}, ink);
        p.rect(34, 21, 41, 27, ink);
    }
    return p;
}

Paint emptySlot() {
    Paint p(160, 120, 0x2A2622, true);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
            if ((x + y) % 16 < 2) p.set(x, y, 0x3A342E);
    return p;
}

}  // namespace

// Exposed for the room painter's window panes.
void paintedRain(Paint& p, int x0, int y0, int x1, int y1) {
    for (int i = 0; i < (x1 - x0) * (y1 - y0) / 120; ++i) {
        const float x = x0 + hash01(i, 1, 611) * (x1 - x0);
        const float y = y0 + hash01(i, 2, 611) * (y1 - y0);
        const float len = 4 + hash01(i, 3, 611) * 8;
        p.line(x, y, x - len * 0.25f, std::min<float>(y + len, y1 - 1), 1, 0x8A9AB8, 0.5f);
    }
}

void makeProps(const Output& out) {
    out.png(cottageWindow(), "objects/window/window.png");
    out.png(clock(0), "objects/clock/clock.png");
    const int doors[4] = {1, 2, 3, 1};
    for (int f = 0; f < 4; ++f)
        out.png(clock(doors[f]), "objects/clock/cuckoo" + std::to_string(f + 1) + ".png");
    for (int f = 0; f < 4; ++f)
        out.png(fire(f), "objects/fire/fire" + std::to_string(f + 1) + ".png");

    out.png(lanternPicture(28, 50, true, false, false), "objects/lantern/lantern.png");
    out.png(icon(lanternPicture(20, 22, false, false, false)), "objects/lantern/icon.png");
    out.png(icon(lanternPicture(20, 22, false, true, false)), "objects/oillantern/icon.png");
    out.png(icon(lanternPicture(20, 22, false, true, true)), "objects/litlantern/icon.png");
    out.png(matchbox(32, 16), "objects/matches/matches.png");
    out.png(icon(matchbox(40, 22)), "objects/matches/icon.png");
    out.png(oilcan(36, 40), "objects/oilcan/oilcan.png");
    out.png(icon(oilcan(36, 40)), "objects/oilcan/icon.png");
    out.png(icon(key(40, 16)), "objects/key/icon.png");

    for (int f = 0; f < 2; ++f)
        out.png(boat(f), "objects/boat/boat" + std::to_string(f + 1) + ".png");
    out.png(streetlamp(1.0f), "objects/streetlamp/lamp.png");
    const float flicker[3] = {0.3f, 0.8f, 0.15f};
    for (int f = 0; f < 3; ++f)
        out.png(streetlamp(flicker[f]),
                "objects/streetlamp/flicker" + std::to_string(f + 1) + ".png");

    out.png(sign(), "objects/sign/sign.png");
    out.png(gate(false), "objects/gate/closed.png");
    out.png(gate(true), "objects/gate/open.png");
    out.png(gateMask(), "objects/gate/mask.png");

    out.png(greatLamp(-1), "objects/lamp/dark.png");
    for (int f = 0; f < 3; ++f)
        out.png(greatLamp(f), "objects/lamp/lit" + std::to_string(f + 1) + ".png");
    for (int f = 0; f < 2; ++f)
        out.png(distantShip(f == 0),
                "objects/seawindow/seawindow" + std::to_string(f + 1) + ".png");

    for (int f = 0; f < 4; ++f)
        out.png(beam(f), "objects/beam/beam" + std::to_string(f + 1) + ".png");
    for (int f = 0; f < 2; ++f)
        out.png(ship(f), "objects/ship/ship" + std::to_string(f + 1) + ".png");
    out.png(Paint(4, 4, 0, true), "objects/narrator/blank.png");

    out.png(emptySlot(), "objects/thumb1/empty.png");
    out.png(button("save"), "objects/save1/button.png");
    out.png(button("load"), "objects/load1/button.png");
    for (const char* b : {"english", "deutsch", "resume", "restart", "quit", "again"})
        out.png(button(b), std::string("objects/") + b + "/button.png");
}

}  // namespace demo
