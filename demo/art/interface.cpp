// The interface: mouse cursors, the inventory bar (its slot frames match the slot
// rectangles of inventory.toml), the dialogue box and the picture shown while saving.
#include <cmath>

#include "art.h"

namespace demo {
namespace {

const Color kInk = 0x1A1410;

void outlined(Paint& p, Color c) {
    std::vector<std::pair<int, int>> e;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            if (!p.opaque(x, y) && (p.opaque(x - 1, y) || p.opaque(x + 1, y) ||
                                    p.opaque(x, y - 1) || p.opaque(x, y + 1)))
                e.emplace_back(x, y);
    for (auto [x, y] : e) p.set(x, y, c);
}

Paint arrowCursor() {
    Paint p(40, 52, 0, true);
    p.polygon({{2, 2}, {2, 40}, {12, 31}, {19, 47}, {26, 44}, {19, 29}, {32, 29}}, 0xF8F4E8);
    p.polygon({{6, 10}, {6, 32}, {12, 26}}, 0xD8D0C0);
    outlined(p, kInk);
    outlined(p, kInk);
    return p.halved();
}

Paint useCursor() {  // a hand reaching
    Paint p(48, 48, 0, true);
    for (int i = 0; i < 4; ++i)
        p.rect(12 + i * 7, 8 + (i == 1 ? -4 : 0) + (i == 3 ? 4 : 0), 18 + i * 7, 28, 0xF4D0A8);
    p.rect(12, 22, 40, 40, 0xF4D0A8);
    p.line(12, 30, 4, 20, 7, 0xF4D0A8);
    p.rect(14, 38, 38, 44, 0xC8A080);
    outlined(p, kInk);
    outlined(p, kInk);
    return p.halved();
}

Paint talkCursor() {  // a speech bubble
    Paint p(52, 44, 0, true);
    p.ellipse(26, 18, 22, 15, 0xF8F4E8);
    p.polygon({{12, 26}, {22, 30}, {8, 42}}, 0xF8F4E8);
    for (int i = 0; i < 3; ++i) p.ellipse(16 + i * 10, 18, 3, 3, 0x6A6050);
    outlined(p, kInk);
    outlined(p, kInk);
    return p.halved();
}

Paint exitCursor() {  // an arrow into a doorway
    Paint p(48, 48, 0, true);
    p.rect(26, 4, 44, 44, 0x8A5A30);
    p.rect(30, 8, 40, 44, 0x2A1A10);
    p.polygon({{4, 18}, {20, 18}, {20, 10}, {34, 24}, {20, 38}, {20, 30}, {4, 30}}, 0xF8E070);
    outlined(p, kInk);
    outlined(p, kInk);
    return p.halved();
}

Paint inventoryBar() {
    Paint p(800, 80);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 800; ++x) {
            const float grain = fbm(x / 80.0f, y / 3.0f, 4, 1001);
            p.set(x, y, scaleColor(0x6A4428, 0.7f + 0.5f * grain));
        }
    p.rect(0, 0, 800, 4, 0x9A6A3A);
    p.rect(0, 4, 800, 6, 0x3A2212);
    p.rect(0, 76, 800, 80, 0x2A180C);
    // a cushion for Pip on the left
    p.ellipse(70, 30, 58, 15, 0x8A2A2A);
    p.ellipse(70, 28, 50, 10, 0xA83A34);
    // the seven slot frames (slot i: x 150 + 70 i .. + 59, y 530 .. 589 on screen)
    for (int i = 0; i < 7; ++i) {
        const int x = 150 + 70 * i;
        p.rect(x - 3, 7, x + 63, 73, 0x3A2212);
        p.rect(x - 1, 9, x + 61, 71, 0x9A6A3A);
        p.gradientRect(x + 1, 11, x + 59, 69, 0x241810, 0x3A2818);
    }
    // a brass plate for the room title
    p.rect(636, 20, 792, 60, 0x5A4018);
    p.gradientRect(638, 22, 790, 58, 0x3A2A10, 0x2A1E0C);
    for (int x : {642, 786})
        for (int y : {26, 54}) p.ellipse(x, y, 2, 2, 0xC09040);
    return p;
}

Paint dialogueBox() {
    Paint p(256, 160);
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 256; ++x) {
            const float n = fbm(x / 40.0f, y / 30.0f, 3, 1101);
            p.set(x, y, scaleColor(mix(0x1A2440, 0x10162A, y / 160.0f), 0.85f + 0.3f * n));
        }
    p.rect(0, 0, 256, 3, 0xC09040);
    p.rect(0, 157, 256, 160, 0xC09040);
    p.rect(0, 0, 3, 160, 0xC09040);
    p.rect(253, 0, 256, 160, 0xC09040);
    p.rect(5, 5, 251, 6, 0x8A6A30);
    p.rect(5, 154, 251, 155, 0x8A6A30);
    return p;
}

Paint savingPicture() {
    Paint p(220, 64);
    p.gradientRect(0, 0, 220, 64, 0x2A3450, 0x141A2C);
    p.rect(0, 0, 220, 3, 0xC09040);
    p.rect(0, 61, 220, 64, 0xC09040);
    p.rect(0, 0, 3, 64, 0xC09040);
    p.rect(217, 0, 220, 64, 0xC09040);
    // an hourglass and three dots: understood in every language
    p.polygon({{30, 14}, {54, 14}, {42, 32}}, 0xE8D8B0);
    p.polygon({{30, 50}, {54, 50}, {42, 32}}, 0xE8D8B0);
    p.polygon({{36, 44}, {48, 44}, {42, 36}}, 0xC89A40);
    p.rect(28, 10, 56, 14, 0x8A6A30);
    p.rect(28, 50, 56, 54, 0x8A6A30);
    for (int i = 0; i < 3; ++i) p.ellipse(100 + i * 30, 32, 7, 7, 0xE8D8B0);
    return p;
}

}  // namespace

void makeInterface(const Output& out) {
    out.png(arrowCursor(), "cursors/arrow/sprite.png");
    out.png(useCursor(), "cursors/use/sprite.png");
    out.png(talkCursor(), "cursors/talk/sprite.png");
    out.png(exitCursor(), "cursors/exit/sprite.png");
    out.png(inventoryBar(), "interface/inv.png");
    out.png(dialogueBox(), "interface/dlg.png");
    out.png(savingPicture(), "interface/saving.png");
}

}  // namespace demo
