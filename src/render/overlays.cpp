#include "render/overlays.h"

#include <cstdint>

#include "data/hit_test.h"
#include "platform/platform.h"
#include "render/blit.h"
#include "render/object_draw.h"

namespace zk {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kGreen = 0x008000;

// Lines of an object text are this far apart, whatever the font.
constexpr int kTextLineStep = 20;
// The dialogue box sits above this row, or is centred on the other one; both are
// fixed, whatever the display height.
constexpr int kDialogueBottomRow = 460;
constexpr int kDialogueCentreRow = 240;
constexpr int kDialogueMinWidth = 150;

// Item `index` of a list, or nullptr when the list has no such item.
const PictureItem* listItem(const PictureList& list, int index) {
    if (index < 0 || index >= list.count()) return nullptr;
    return &list.items[static_cast<size_t>(index)];
}

struct Size {
    int width = 0;
    int height = 0;
};

Size itemSize(const PictureList& list, int index) {
    const PictureItem* item = listItem(list, index);
    return item ? Size{item->width(), item->height()} : Size{};
}

Rect toDrawRect(const Box& b) {
    return {b[0], b[1], b[2], b[3]};
}

Box toBox(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right),
            static_cast<int32_t>(bottom)};
}

bool boxContains(const Box& b, int x, int y) {
    return x >= b[0] && x <= b[2] && y >= b[1] && y <= b[3];
}

bool dialogImagesOn(const GameState& g) {
    return g.tables.prefs.dialogImages() == "true";
}

bool inPlayRoom(const GameState& g) {
    return g.hasRoom() && g.room().isGameRoom();
}

// The dialogue text, never without its heading line.
std::vector<std::string> dialogueText(const GameState& g) {
    if (g.dialogue.dialogueLines.empty()) return {std::string()};
    return g.dialogue.dialogueLines;
}

void drawDialogueBackground(const GameState& g, const Box& rect) {
    if (const PictureItem* bg = listItem(g.ui.dlgImageList, 0))
        drawStretched(g.platform->display.back(), *bg, toDrawRect(rect));
}

// Writes the dialogue box as laid out: its black box without dialogue pictures, the
// heading, the close box and the choices, each white under the cursor.
void drawDialogueBox(const GameState& g) {
    const DialogueLayout& layout = g.dialogue.dialogueLayout;
    Canvas& canvas = g.platform->canvas;
    const std::vector<std::string> lines = dialogueText(g);
    const Size head = itemSize(g.ui.headImageList, 0);
    canvas.setBrushStyle(BrushStyle::Clear);
    Surface& back = g.platform->display.back();
    if (g.tables.prefs.dialogImages() == "false") back.fillRect(toDrawRect(layout.rect), kBlack);

    canvas.setFontColor(kWhite);
    canvas.textOut(static_cast<int>(int64_t{layout.left} + 15 + head.width),
                   static_cast<int>(int64_t{layout.top} + 5 + head.height / 2), lines[0]);

    // The close box: a grey "X" box at the top right, its letter white under the cursor.
    canvas.setBrushColor(kGrey);
    canvas.setFontColor(kBlack);
    if (boxContains(layout.closeBox, g.input.mouseX, g.input.mouseY)) canvas.setFontColor(kWhite);
    canvas.textOut(layout.closeBox[0], layout.closeBox[1], "X");

    canvas.setBrushColor(kBlack);
    canvas.setBrushStyle(BrushStyle::Clear);
    for (size_t w = 0; w < layout.choiceBoxes.size() && w + 1 < lines.size(); ++w) {
        const Box& box = layout.choiceBoxes[w];
        canvas.setFontColor(boxContains(box, g.input.mouseX, g.input.mouseY) ? kWhite : kGrey);
        canvas.textOut(box[0], box[1], lines[w + 1]);
    }
    canvas.setBrushStyle(BrushStyle::Solid);
}

void drawObjectTexts(const GameState& g) {
    Canvas& canvas = g.platform->canvas;
    const auto& objects = g.objects();
    for (int i = 0; i < static_cast<int>(objects.size()); ++i) {
        const ObjectRecord& o = objects[static_cast<size_t>(i)];
        // A removed object (its name cleared) keeps its bytes, but its hint no longer
        // counts down: it must not leave its text on the screen.
        if (o.name().empty() || !o.active()) continue;
        if (i != g.scene.hoveredObject && o.hintTimer() <= 0) continue;
        for (const PlacedText& line : layoutObjectText(g, i))
            canvas.textOut(line.x, line.y, line.text);
    }
}

void drawZoneHints(const GameState& g) {
    Canvas& canvas = g.platform->canvas;
    const Room& room = g.room();
    const int cursorHeight = itemSize(g.cursor.curImageList, 0).height;
    for (int z = 0; z < kZonesPerRoom; ++z) {
        ConstZoneView zone = room.zone(z);
        if (!zone.enabled() || !zoneUnder(g, zone, g.input.mouseX, g.input.mouseY)) continue;
        const std::string hint = zone.hint();
        const int w = canvas.textWidth(hint);
        canvas.textOut(clampToDisplay(g.input.mouseX, w, g.tables.prefs.displayWidth()),
                       g.input.mouseY + cursorHeight + 2, hint);
    }
}

}  // namespace

DialogueLayout layoutDialogueBox(const GameState& g) {
    Canvas& canvas = g.platform->canvas;
    canvas.setFont("Tahoma", 12);
    const std::vector<std::string> lines = dialogueText(g);
    const int64_t n = static_cast<int64_t>(lines.size());
    const Size head = itemSize(g.ui.headImageList, 0);
    const int64_t hA = canvas.textHeight("a");
    const int64_t hl = canvas.textHeight(lines.back());

    // Width: the widest choice (the first of equals), or the heading beside the head.
    size_t best = 0;
    for (size_t j = 1; j < lines.size(); ++j)
        if (canvas.textWidth(lines[j]) > canvas.textWidth(lines[best])) best = j;
    int64_t width = canvas.textWidth(lines[best]);
    const int64_t headingWidth = int64_t{canvas.textWidth(lines[0])} + head.width + 10;
    if (headingWidth > width) width = headingWidth;
    if (width < kDialogueMinWidth) width = kDialogueMinWidth;

    const int64_t textHeight = (n - 1) * hA + head.height + 25;
    int64_t left = 0;
    int64_t top = 0;
    if (g.dialogue.dialogueStyle == 0) {
        top = kDialogueBottomRow - textHeight;
        left = 15;
    } else {
        top = kDialogueCentreRow - textHeight / 2;
        left = int64_t{g.tables.prefs.displayWidth()} / 2 - width / 2;
    }
    DialogueLayout layout;
    layout.drawn = true;
    layout.left = static_cast<int32_t>(left);
    layout.top = static_cast<int32_t>(top);
    layout.width = static_cast<int32_t>(width);
    layout.rect = toBox(left, top + 5, left + 15 + width, hl * (n - 1) + head.height + top + 30);

    const int64_t wX = canvas.textWidth("X");
    const int64_t hX = canvas.textHeight("X");
    layout.closeBox = toBox(left + 10 + width - wX, top + 10, left + 10 + width, top + 10 + hX);
    for (int64_t w = 0; w + 1 < n; ++w) {
        const std::string& line = lines[static_cast<size_t>(w + 1)];
        const int64_t wd = canvas.textWidth(line);
        const int64_t h = canvas.textHeight(line);
        layout.choiceBoxes.push_back(toBox(left + 5, w * h + head.height + top + 20, left + 5 + wd,
                                           (w + 1) * h + head.height + top + 18));
    }
    return layout;
}

Box dialogueTextBackground(const GameState& g, const DialogueLayout& earlier) {
    Canvas& canvas = g.platform->canvas;
    canvas.setFont("Tahoma", 12);
    const std::vector<std::string> lines = dialogueText(g);
    const int64_t hl = canvas.textHeight(lines.back());
    const int64_t n = static_cast<int64_t>(lines.size());
    const int64_t headH = itemSize(g.ui.headImageList, 0).height;
    const int64_t left = earlier.left;
    const int64_t top = earlier.top;
    return toBox(left, top + 5, left + 15 + earlier.width, (hl + 2) * (n - 1) + headH + top + 25);
}

int clampToDisplay(int64_t pos, int size, int limit) {
    const int64_t far = int64_t{limit} - size - 5;
    if (pos > far) return static_cast<int>(far);
    if (pos > 4) return static_cast<int>(pos);
    return 5;
}

std::vector<std::string> splitTextLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t hash = text.find('#', start);
        if (hash == std::string_view::npos) break;
        lines.emplace_back(text.substr(start, hash - start));
        start = hash + 1;
    }
    lines.emplace_back(text.substr(start));
    return lines;
}

std::vector<PlacedText> layoutObjectText(const GameState& g, int index) {
    std::vector<PlacedText> placed;
    if (!g.hasRoom() || index < 0 || index >= static_cast<int>(g.objects().size())) return placed;
    Canvas& canvas = g.platform->canvas;
    canvas.setFont("Tahoma", 12);
    const ObjectRecord& o = g.objects()[static_cast<size_t>(index)];
    const std::vector<std::string> lines = splitTextLines(o.displayName());
    const int64_t count = static_cast<int64_t>(lines.size());
    // The horizontal offset from the anchor is not scaled, the vertical one is.
    const int64_t centreX =
        int64_t{o.x()} + g.tables.inventory.sceneOffsetX() + o.textAnchorX() - o.anchorX();
    const int64_t scaledRise = (int64_t{o.textAnchorY()} - o.anchorY()) * o.scale();
    for (int64_t k = 1; k <= count; ++k) {
        const std::string& line = lines[static_cast<size_t>(k - 1)];
        const int w = canvas.textWidth(line);
        const int h = canvas.textHeight(line);
        const int64_t x = centreX - w / 2;
        const int64_t base =
            int64_t{o.y()} + g.tables.inventory.sceneOffsetY() - (count + 1 - k) * kTextLineStep;
        const int64_t y = divideRoundHalfEven(scaledRise + 100 * base, 100);
        placed.push_back({line, clampToDisplay(x, w, g.tables.prefs.displayWidth()),
                          clampToDisplay(y, h, g.tables.prefs.displayHeight())});
    }
    return placed;
}

Rect slotRect(const GameState& g, int i) {
    ConstSlotView s = g.tables.inventory.slot(i);
    return {s.left(), s.top(), s.right(), s.bottom()};
}

int highlightedSlot(const GameState& g) {
    int highlight = -1;
    for (int i = 0; i < kInventorySlots; ++i) {
        ConstSlotView s = g.tables.inventory.slot(i);
        if (!slotUnder(g, i, g.input.mouseX, g.input.mouseY)) continue;
        if (g.cursor.heldItem.empty() && s.item().empty()) continue;
        if (cursorFitsSlot(g, i)) highlight = i;
    }
    return highlight;
}

void drawInterfacePass(const GameState& g, const Box& dialogueBackground) {
    Surface& back = g.platform->display.back();
    if (g.dialogue.dialogueOpen && dialogImagesOn(g)) drawDialogueBackground(g, dialogueBackground);
    if (!inPlayRoom(g)) return;

    if (const PictureItem* bar = listItem(g.scene.imageList1, 1))
        drawPattern(back, *bar, 0, g.tables.inventory.barX(), g.tables.inventory.barY());
    for (int i = 0; i < kInventorySlots; ++i) {
        ConstSlotView s = g.tables.inventory.slot(i);
        if (!s.enabled() || s.item().empty()) continue;
        if (const PictureItem* picture = listItem(g.ui.slotPictures, i))
            drawPattern(back, *picture, 0, s.left(), s.top());
    }
    const int highlight = highlightedSlot(g);

    drawPartyObjects(g);

    Canvas& canvas = g.platform->canvas;
    canvas.setBrushColor(kGreen);
    if (highlight >= 0) {
        const Rect r = slotRect(g, highlight);
        canvas.frameRect(r);
        if (!g.tables.inventory.slot(highlight).item().empty() &&
            static_cast<size_t>(highlight) < g.ui.slotLabels.size()) {
            canvas.setBrushColor(kBlack);
            canvas.setFont("Tahoma", 12);
            canvas.setFontColor(kWhite);
            const int lift = 2 + canvas.textHeight("a");
            canvas.textOut(r.left, r.top - lift, g.ui.slotLabels[static_cast<size_t>(highlight)]);
        }
    }

    canvas.setFont("Lucida console", 12);
    canvas.setFontColor(kWhite);
    canvas.setBrushStyle(BrushStyle::Clear);
    if (g.tables.inventory.showRoomTitle())
        canvas.textOut(g.tables.inventory.titleX(), g.tables.inventory.titleY(),
                       g.scene.currentRoomTitle);
    if (g.tables.inventory.showStatus()) {
        // The hit points are centred on their position.
        const std::string points = std::to_string(g.ui.hitPoints) + "%";
        const int w = canvas.textWidth(points);
        canvas.textOut(g.tables.inventory.statusX(0) - w / 2, g.tables.inventory.statusY(0),
                       points);
        for (int k = 0; k < 3; ++k)
            canvas.textOut(g.tables.inventory.statusX(k + 1), g.tables.inventory.statusY(k + 1),
                           std::to_string(g.ui.statusCounters[static_cast<size_t>(k)]));
    }
}

void drawTextsAndDialogue(const GameState& g) {
    Canvas& canvas = g.platform->canvas;
    canvas.setFont("Tahoma", 12);
    if (g.dialogue.dialogueOpen && dialogImagesOn(g))
        drawDialogueBackground(g, g.dialogue.dialogueUnderText);

    canvas.setBrushColor(kBlack);
    canvas.setFontColor(kWhite);
    if (g.dialogue.dialogueOpen) {
        drawDialogueBox(g);
    } else if (!g.scene.screenFaded && g.hasRoom()) {
        if (g.tables.prefs.showObjectTexts()) drawObjectTexts(g);
        if (g.tables.prefs.showZoneHints()) drawZoneHints(g);
    }

    if (g.dialogue.dialogueOpen) {
        if (const PictureItem* head = listItem(g.ui.headImageList, 0))
            drawPattern(g.platform->display.back(), *head, 0, g.dialogue.dialogueLayout.left + 5,
                        g.dialogue.dialogueLayout.top + 10);
    }
}

}  // namespace zk
