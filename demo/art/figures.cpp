// The characters: Tove (eight picture lists), Pip the dog and Harald the fisherman.
// Everything is drawn at twice the final size and halved, which smooths the inner
// edges while the outer ones stay hard for the colour key.
#include <cmath>

#include "art.h"

namespace demo {
namespace {

constexpr float kPi = 3.14159265f;

// A dark border around every opaque area of a keyed picture, `thickness` pixels wide.
void outline(Paint& p, Color c, int thickness) {
    for (int pass = 0; pass < thickness; ++pass) {
        std::vector<std::pair<int, int>> edge;
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x) {
                if (p.opaque(x, y)) continue;
                if (p.opaque(x - 1, y) || p.opaque(x + 1, y) || p.opaque(x, y - 1) ||
                    p.opaque(x, y + 1))
                    edge.emplace_back(x, y);
            }
        for (auto [x, y] : edge) p.set(x, y, c);
    }
}

// Soft top-left light and bottom-right shade over the opaque pixels of a figure.
void shadeFigure(Paint& p, float cx, float strength) {
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            if (!p.opaque(x, y)) continue;
            const float f = 1.0f + strength * ((cx - x) / p.width());
            p.set(x, y, scaleColor(p.at(x, y), f));
        }
}

// ---------------------------------------------------------------- Tove

const Color kSkin = 0xF0C29A;
const Color kSkinShade = 0xD69E78;
const Color kHair = 0xE2B24E;
const Color kHairShade = 0xB98A2E;
const Color kCoat = 0xF0BE2C;
const Color kCoatShade = 0xC48E18;
const Color kScarf = 0xC4302A;
const Color kTrousers = 0x2C3E6B;
const Color kTrousersShade = 0x1D2A4A;
const Color kBoot = 0x5C3B22;
const Color kBootShade = 0x3A2413;
const Color kLine = 0x2A1D16;

enum class View { Side, Front, Back };

struct Pose {
    View view = View::Side;
    float swing = 0;      // legs: -1 .. 1 (side: the near leg forward at +1)
    bool lifted = false;  // passing pose: the swinging leg lifted
    float bob = 0;        // body raised by this many pixels (2x scale)
};

void sideLeg(Paint& p, float hipX, float hipY, float footX, bool lift, bool far) {
    const float footY = lift ? 252.0f : 262.0f;
    const float kneeX = (hipX + footX) / 2 + (lift ? 12.0f : 4.0f);
    const float kneeY = (hipY + footY) / 2 + (lift ? -6.0f : 0.0f);
    const Color t = far ? kTrousersShade : kTrousers;
    p.line(hipX, hipY, kneeX, kneeY, 17, t);
    p.line(kneeX, kneeY, footX, footY - 18, 16, t);
    const Color b = far ? kBootShade : kBoot;
    const float fy = footY;
    p.polygon({{footX - 10, fy - 26},
               {footX + 7, fy - 26},
               {footX + 9, fy - 10},
               {footX + 22, fy - 6},
               {footX + 22, fy + 4},
               {footX - 11, fy + 4}},
              b);
    p.rect(footX - 11, fy + 1, footX + 22, fy + 5, kBootShade);
}

void sideArm(Paint& p, float sx, float sy, float swing, bool far) {
    const float a = swing * 0.55f;
    const float ex = sx + std::sin(a) * 30;
    const float ey = sy + std::cos(a) * 30;
    const float b = a + (swing > 0 ? 0.35f : 0.1f);
    const float hx = ex + std::sin(b) * 28;
    const float hy = ey + std::cos(b) * 28;
    const Color c = far ? kCoatShade : kCoat;
    p.line(sx, sy, ex, ey, 19, c);
    p.line(ex, ey, hx, hy, 17, c);
    p.ellipse(hx, hy + 3, 8, 8, far ? kSkinShade : kSkin);
}

void sideHead(Paint& p, float bob) {
    const float cy = 48 - bob;
    // Braid down the back.
    for (int i = 0; i < 6; ++i)
        p.ellipse(42 - i * 1.2f, cy + 10 + i * 10, 7, 7, i % 2 ? kHairShade : kHair);
    p.rect(35, cy + 66, 45, cy + 72, kScarf);
    p.ellipse(64, cy, 23, 25, kSkin);
    p.shape(
        36, cy - 30, 92, cy + 26,
        [&](float x, float y) {
            const float dx = (x - 63) / 25.5f;
            const float dy = (y - cy + 2) / 28;
            return dx * dx + dy * dy <= 1 && (y < cy - 12 + 0.28f * (x - 60) || x < 58);
        },
        [&](float x, float y) { return (x + y * 0.5f) < 70 + cy * 0.5f ? kHairShade : kHair; });
    p.ellipse(59, cy + 3, 5, 6, kSkinShade);   // ear
    p.ellipse(86, cy + 4, 4.5f, 4, kSkin);     // nose
    p.ellipse(76, cy - 1, 2.6f, 3.6f, kLine);  // eye
    p.ellipse(76.8f, cy - 2, 0.9f, 1.1f, 0xFFFFFF);
    p.line(72, cy - 8, 80, cy - 9, 2, kHairShade);    // brow
    p.ellipse(74, cy + 10, 5, 3.5f, 0xF09A8A, 0.5f);  // cheek
    p.line(79, cy + 15, 84, cy + 14, 2, 0xA0503C);    // mouth
}

void drawSide(Paint& p, const Pose& pose) {
    const float by = -pose.bob;
    const float hipY = 190 + by;
    // far arm and far leg behind the coat
    sideArm(p, 60, 94 + by, pose.swing, true);
    sideLeg(p, 58, hipY, 60 - 22 * pose.swing, pose.lifted && pose.swing == 0, true);
    // coat with its hood lying on the back
    p.polygon({{47, 80 + by},
               {74, 80 + by},
               {82, 104 + by},
               {88, 206 + by},
               {36, 206 + by},
               {41, 104 + by}},
              kCoat);
    p.polygon({{36, 190 + by}, {88, 190 + by}, {88, 206 + by}, {36, 206 + by}}, kCoatShade, 0.55f);
    p.ellipse(44, 90 + by, 12, 10, kCoatShade);
    for (int i = 0; i < 4; ++i)
        p.ellipse(80.5f + i * 1.3f, 114 + i * 22 + by, 2.4f, 2.4f, 0x8A6210);
    p.line(52, 150 + by, 70, 150 + by, 2, kCoatShade);  // pocket
    // near leg
    sideLeg(p, 64, hipY, 60 + 22 * pose.swing, false, false);
    // scarf and head
    p.rect(48, 72 + by, 78, 86 + by, kScarf);
    p.polygon({{50, 82 + by}, {58, 82 + by}, {52, 112 + by}, {44, 110 + by}}, 0xA82420);
    sideHead(p, pose.bob);
    // near arm in front of the body
    sideArm(p, 62, 94 + by, -pose.swing, false);
}

void frontLeg(Paint& p, float x, float lift, bool shade) {
    const float foot = 262 - lift;
    p.line(x, 188, x, foot - 20, 18, shade ? kTrousersShade : kTrousers);
    p.shape(
        x - 11, foot - 28, x + 11, foot + 5,
        [&](float px, float py) {
            if (py < foot - 8) return std::fabs(px - x) <= 10;
            const float dx = (px - x) / 11;
            const float dy = (py - foot + 8) / 12;
            return dx * dx + dy * dy <= 1 || (py < foot && std::fabs(px - x) <= 10);
        },
        kBoot);
    p.rect(x - 11, foot + 2, x + 11, foot + 5, kBootShade);
}

void frontBody(Paint& p, const Pose& pose, bool back) {
    const float by = -pose.bob;
    const float s = pose.swing;
    // Walking towards or away from the viewer: the swinging foot is lifted.
    const float liftL = pose.lifted ? (s >= 0 ? 10.0f : 0.0f) : 0.0f;
    const float liftR = pose.lifted ? (s < 0 ? 10.0f : 0.0f) : 0.0f;
    const float stepL = s > 0 ? 6.0f : 0.0f;
    const float stepR = s < 0 ? 6.0f : 0.0f;
    frontLeg(p, 50, liftL + stepL, back);
    frontLeg(p, 70, liftR + stepR, back);
    // arms, swinging a little forward and back
    const float armL = 154 + 8 * s + by;
    const float armR = 154 - 8 * s + by;
    p.line(38, 92 + by, 29, armL - 26, 18, kCoatShade);
    p.line(29, armL - 26, 30, armL, 16, kCoatShade);
    p.line(82, 92 + by, 91, armR - 26, 18, kCoatShade);
    p.line(91, armR - 26, 90, armR, 16, kCoatShade);
    p.ellipse(30, armL + 6, 8, 8, back ? kSkinShade : kSkin);
    p.ellipse(90, armR + 6, 8, 8, back ? kSkinShade : kSkin);
    // coat
    p.polygon({{38, 80 + by}, {82, 80 + by}, {92, 206 + by}, {28, 206 + by}}, kCoat);
    p.polygon({{28, 190 + by}, {92, 190 + by}, {92, 206 + by}, {28, 206 + by}}, kCoatShade, 0.55f);
    if (back) {
        p.ellipse(60, 96 + by, 20, 14, kCoatShade);  // hood
        p.line(60, 110 + by, 60, 204 + by, 2, kCoatShade);
    } else {
        p.line(60, 88 + by, 60, 206 + by, 2, kCoatShade);
        for (int i = 0; i < 4; ++i) p.ellipse(65, 110 + i * 24 + by, 2.4f, 2.4f, 0x8A6210);
        p.line(36, 150 + by, 50, 150 + by, 2, kCoatShade);
        p.line(70, 150 + by, 84, 150 + by, 2, kCoatShade);
    }
    p.rect(40, 72 + by, 80, 86 + by, kScarf);
    if (!back) p.polygon({{62, 84 + by}, {72, 84 + by}, {74, 114 + by}, {64, 114 + by}}, 0xA82420);
}

void frontHead(Paint& p, float bob) {
    const float cy = 48 - bob;
    // braids on both sides
    for (int i = 0; i < 5; ++i) {
        p.ellipse(36 - i * 0.8f, cy + 14 + i * 10, 7, 7, i % 2 ? kHairShade : kHair);
        p.ellipse(84 + i * 0.8f, cy + 14 + i * 10, 7, 7, i % 2 ? kHairShade : kHair);
    }
    p.rect(28, cy + 62, 40, cy + 67, kScarf);
    p.rect(80, cy + 62, 92, cy + 67, kScarf);
    p.ellipse(60, cy, 24, 26, kSkin);
    // hair: crown and a fringe
    p.shape(
        32, cy - 30, 88, cy + 20,
        [&](float x, float y) {
            const float dx = (x - 60) / 26;
            const float dy = (y - cy + 1) / 28;
            if (dx * dx + dy * dy > 1) return false;
            const float fringe = cy - 12 + 4 * std::sin((x - 36) * 0.45f);
            return y < fringe || std::fabs(x - 60) > 20;
        },
        [&](float x, float) { return x < 60 ? kHair : kHairShade; });
    for (float ex : {50.0f, 70.0f}) {
        p.ellipse(ex, cy + 1, 3, 4, kLine);
        p.ellipse(ex + 0.8f, cy, 1, 1.2f, 0xFFFFFF);
        p.line(ex - 4, cy - 7, ex + 4, cy - 7, 2, kHairShade);
        p.ellipse(ex + (ex < 60 ? -4.0f : 4.0f), cy + 11, 5, 3.5f, 0xF09A8A, 0.5f);
    }
    p.ellipse(60, cy + 7, 2.5f, 2, kSkinShade);
    p.shape(
        52, cy + 12, 68, cy + 20,
        [&](float x, float y) {
            const float d = (x - 60) / 7;
            const float arc = cy + 14 + 3 * (1 - d * d);
            return std::fabs(d) <= 1 && y >= arc - 1.2f && y <= arc + 1.2f;
        },
        0xA0503C);
}

void backHead(Paint& p, float bob) {
    const float cy = 48 - bob;
    p.ellipse(60, cy, 25, 27, kHair);
    p.shape(
        34, cy - 28, 86, cy + 28,
        [&](float x, float y) {
            const float dx = (x - 60) / 25;
            const float dy = (y - cy) / 27;
            return dx * dx + dy * dy <= 1 && std::fabs(x - 60 + 0.2f * (y - cy)) < 2;
        },
        kHairShade);
    for (int i = 0; i < 7; ++i)
        p.ellipse(60, cy + 24 + i * 10, 7.5f, 7, i % 2 ? kHairShade : kHair);
    p.rect(54, cy + 94, 66, cy + 100, kScarf);
    p.ellipse(35, cy + 4, 4, 6, kSkinShade);
    p.ellipse(85, cy + 4, 4, 6, kSkinShade);
}

Paint tove(const Pose& pose) {
    Paint p(120, 272, 0, true);
    switch (pose.view) {
        case View::Side:
            drawSide(p, pose);
            break;
        case View::Front:
            frontBody(p, pose, false);
            frontHead(p, pose.bob);
            break;
        case View::Back:
            frontBody(p, pose, true);
            p.rect(40, 72 - pose.bob, 80, 86 - pose.bob, kScarf);
            backHead(p, pose.bob);
            break;
    }
    shadeFigure(p, 40, 0.18f);
    outline(p, kLine, 3);
    // drawn on a 120 x 272 grid, shown at 72 x 163
    return p.resized(72, 163);
}

void makeTove(const Output& out) {
    const std::string dir = "objects/hero/";
    const float swings[4] = {1, 0, -1, 0};
    const float bobs[4] = {0, 3, 0, 3};
    for (int f = 0; f < 4; ++f) {
        Pose side{View::Side, swings[f], f % 2 == 1, bobs[f]};
        Paint right = tove(side);
        out.png(right, dir + "walkright" + std::to_string(f + 1) + ".png");
        out.png(right.mirrored(), dir + "walkleft" + std::to_string(f + 1) + ".png");
        out.png(tove({View::Front, swings[f], true, bobs[f]}),
                dir + "walkdown" + std::to_string(f + 1) + ".png");
        out.png(tove({View::Back, swings[f], true, bobs[f]}),
                dir + "walkup" + std::to_string(f + 1) + ".png");
    }
    Paint standRight = tove({View::Side, 0.25f, false, 0});
    out.png(standRight, dir + "standright.png");
    out.png(standRight.mirrored(), dir + "standleft.png");
    out.png(tove({View::Front, 0, false, 0}), dir + "standdown.png");
    out.png(tove({View::Back, 0, false, 0}), dir + "standup.png");
}

// ---------------------------------------------------------------- Pip

const Color kFur = 0x9C6A3C;
const Color kFurShade = 0x74492A;
const Color kFurLight = 0xF0E6D6;

Paint pip(float tailAngle, bool barking, float breath) {
    Paint p(160, 120, 0, true);
    // tail
    const float a = tailAngle * kPi / 180;
    const float mx = 42 - std::cos(a) * 14, my = 92 - std::sin(a) * 14;
    const float tx = mx - std::cos(a + 0.3f) * 16, ty = my - std::sin(a + 0.3f) * 16;
    p.line(46, 94, mx, my, 9, kFurShade);
    p.line(mx, my, tx, ty, 7, kFur);
    // haunch and back paw
    p.ellipse(70, 86, 30, 26 + breath, kFur);
    p.ellipse(58, 112, 17, 6, kFurShade);
    // chest and front legs
    p.ellipse(98, 76, 18, 27 + breath, kFurLight);
    p.rect(90, 82, 101, 113, kFurLight);
    p.rect(104, 82, 115, 113, 0xE2D6C4);
    p.ellipse(96, 113, 8, 4, kFurLight);
    p.ellipse(110, 113, 8, 4, 0xE2D6C4);
    // collar with its tag
    p.line(96, 56, 122, 62, 6, 0xC4302A);
    p.ellipse(108, 66, 3.5f, 3.5f, 0xE8C040);
    // head
    p.ellipse(114, 40, 21, 19, kFur);
    p.ellipse(114, 30, 7, 10, kFurLight);  // blaze
    p.ellipse(133, 49, 14, 10, kFurLight);
    if (barking) p.polygon({{124, 54}, {146, 55}, {142, 66}, {128, 62}}, 0x8A2A2A);
    p.ellipse(145, 45, 4.5f, 3.8f, 0x2A1A14);  // nose
    p.ellipse(120, 34, 3, 3.4f, 0x2A1A14);     // eye
    p.ellipse(120.8f, 33, 1, 1, 0xFFFFFF);
    p.polygon({{100, 24}, {110, 22}, {106, 54}, {96, 50}}, kFurShade);  // floppy ear
    shadeFigure(p, 60, 0.15f);
    outline(p, kLine, 2);
    return p.halved();
}

void makePip(const Output& out) {
    const std::string dir = "objects/dog/";
    out.png(pip(100, false, 0), dir + "sit1.png");
    out.png(pip(92, false, 1.5f), dir + "sit2.png");
    const float wag[4] = {50, 100, 145, 100};
    for (int f = 0; f < 4; ++f)
        out.png(pip(wag[f], f % 2 == 1, 0), dir + "wag" + std::to_string(f + 1) + ".png");
}

// ---------------------------------------------------------------- Harald

const Color kOilskin = 0xD9A521;
const Color kOilskinShade = 0xA87A12;
const Color kBeard = 0xCFCBC2;
const Color kFace = 0xE0A882;

Paint harald(int smokeFrame) {
    Paint p(200, 280, 0, true);
    // crate
    p.rect(44, 196, 156, 276, 0x7A5430);
    for (int i = 0; i < 4; ++i) p.rect(44, 196 + i * 20, 156, 198 + i * 20, 0x5A3C20);
    p.rect(44, 196, 50, 276, 0x5A3C20);
    p.rect(150, 196, 156, 276, 0x5A3C20);
    // legs: thighs forward (to the left), shins down, boots
    p.line(110, 196, 62, 200, 26, 0x3C4A3A);
    p.line(62, 200, 58, 254, 22, 0x3C4A3A);
    p.polygon({{44, 244}, {72, 244}, {72, 276}, {30, 276}, {30, 266}}, 0x2E3A2C);
    // body in oilskins
    p.polygon({{78, 104}, {130, 104}, {146, 202}, {70, 202}}, kOilskin);
    p.polygon({{118, 104}, {130, 104}, {146, 202}, {124, 202}}, kOilskinShade);
    // the arm on the knee
    p.line(104, 124, 94, 176, 20, kOilskinShade);
    p.line(94, 176, 66, 190, 18, kOilskinShade);
    p.ellipse(60, 192, 9, 8, kFace);
    // head: face, big nose, beard, sou'wester
    p.ellipse(96, 72, 26, 28, kFace);
    p.ellipse(90, 92, 28, 24, kBeard);
    p.ellipse(80, 76, 12, 6, kBeard);   // moustache
    p.ellipse(70, 66, 8, 8, 0xD88C70);  // nose
    p.ellipse(82, 58, 3, 3.4f, 0x2A1A14);
    p.line(76, 50, 88, 50, 3, 0x9A9890);
    p.ellipse(112, 70, 6, 8, 0xC8906E);  // ear
    p.ellipse(100, 34, 30, 20, kOilskin);
    p.ellipse(98, 46, 48, 10, kOilskin);
    p.ellipse(98, 48, 48, 6, kOilskinShade, 0.5f);
    // pipe and the hand holding it
    p.line(74, 84, 52, 88, 4, 0x4A2E1A);
    p.rect(44, 74, 54, 92, 0x5E3A20);
    p.rect(45, 74, 53, 78, 0x2A1A14);
    p.line(100, 120, 82, 150, 20, kOilskin);
    p.line(82, 150, 66, 100, 18, kOilskin);
    p.ellipse(62, 96, 9, 9, kFace);
    shadeFigure(p, 60, 0.15f);
    outline(p, kLine, 2);
    // smoke rising from the pipe, drawn after the outline so it stays soft
    for (int i = 0; i < 3; ++i) {
        const float t = i + smokeFrame / 3.0f;
        const float y = 66 - t * 20;
        const float x = 46 - t * 6 + std::sin(t * 2.1f) * 5;
        p.ellipse(x, y, 6 + t * 2, 5 + t * 2, mix(0xB8B8C0, 0x808088, t / 3));
    }
    return p.halved();
}

// The head shown in the dialogue box.
Paint haraldHead() {
    Paint p(160, 160, 0, true);
    p.ellipse(80, 80, 78, 78, 0x1E2A44);
    p.ellipse(80, 80, 72, 72, 0x2C3C60);
    p.ellipse(80, 88, 38, 42, kFace);
    p.ellipse(80, 116, 40, 30, kBeard);
    p.ellipse(80, 100, 26, 10, kBeard);
    p.ellipse(80, 90, 8, 10, 0xD88C70);
    p.ellipse(64, 76, 4, 5, 0x2A1A14);
    p.ellipse(96, 76, 4, 5, 0x2A1A14);
    p.line(56, 66, 72, 68, 4, 0x9A9890);
    p.line(88, 68, 104, 66, 4, 0x9A9890);
    p.ellipse(80, 44, 44, 26, kOilskin);
    p.ellipse(80, 58, 66, 12, kOilskin);
    p.ellipse(80, 61, 66, 7, kOilskinShade, 0.6f);
    p.line(92, 112, 122, 122, 5, 0x4A2E1A);
    p.rect(118, 106, 130, 126, 0x5E3A20);
    outline(p, kLine, 2);
    return p.halved();
}

void makeHarald(const Output& out) {
    for (int f = 0; f < 3; ++f)
        out.png(harald(f), "objects/fisherman/idle" + std::to_string(f + 1) + ".png");
    out.png(haraldHead(), "objects/fisherman/head.png");
}

}  // namespace

void makeFigures(const Output& out) {
    makeTove(out);
    makePip(out);
    makeHarald(out);
}

}  // namespace demo
