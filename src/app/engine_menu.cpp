#include "app/engine_menu.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "save/saved_games.h"

namespace zk {
namespace {

constexpr int kItemHeight = 26;
constexpr int kPanelWidth = 520;
constexpr int kTitleHeight = 36;
constexpr uint32_t kPanel = 0x1C2430;
constexpr uint32_t kSelected = 0x3C5A78;
constexpr uint32_t kText = 0xF0F0F0;
constexpr uint32_t kDimText = 0xA0A8B0;
const char* const kFont = "DejaVu Sans";
constexpr int kFontPoints = 11;

std::string percent(int value) {
    return std::to_string(value) + " %";
}

std::string onOff(bool on) {
    return on ? "on" : "off";
}

// "2026-12-10 07:15, Harbour, 0:42 played"
std::string slotSummary(const SavedGame& saved) {
    if (!saved.meta) return "a saved game";
    const SlotMeta& m = *saved.meta;
    std::string when =
        m.saved.size() >= 16 ? m.saved.substr(0, 10) + " " + m.saved.substr(11, 5) : m.saved;
    const uint64_t minutes = m.playSeconds / 60;
    std::string played = std::to_string(minutes / 60) + ":" + (minutes % 60 < 10 ? "0" : "") +
                         std::to_string(minutes % 60) + " played";
    return when + ", " + m.room + ", " + played;
}

std::string actionLabel(const std::string& action) {
    static const std::map<std::string, std::string> kLabels = {
        {"rightClick", "right click"},  {"space", "Space"},     {"enter", "Enter"},
        {"escape", "Escape"},           {"f4", "F4"},           {"f10", "F10"},
        {"previous", "previous thing"}, {"next", "next thing"}, {"hotspots", "show things"}};
    const auto it = kLabels.find(action);
    return it == kLabels.end() ? action : it->second;
}

// The Controls page's lines for the keyboard cursor, the hotspot key and the gamepad,
// as the player's settings bind them.
std::vector<std::string> deviceControls(const Settings& s) {
    std::vector<std::string> lines;
    if (s.keyboardCursor) {
        const CursorKeys& k = s.cursorKeys;
        lines.push_back(k.up + ", " + k.down + ", " + k.left + ", " + k.right +
                        ": move the cursor (Shift: slower)");
        lines.push_back(k.click + ": click   " + k.rightClick + ": right click");
        lines.emplace_back("Tab, Shift+Tab: the next, previous thing to use");
    }
    if (!s.hotspotKey.empty()) lines.push_back(s.hotspotKey + " (held): show what can be used");
    if (!s.gamepad) return lines;
    static constexpr std::array<std::string_view, kPadButtonNames.size()> kLabels = {
        "A",    "B",     "X",  "Y",  "Start", "Back", "Up", "Down",
        "Left", "Right", "LB", "RB", "L3",    "R3",   "LT", "RT"};
    lines.emplace_back("Gamepad: the left stick moves the cursor");
    std::string line;
    int inLine = 0;
    for (size_t b = 0; b < kPadButtonNames.size(); ++b) {
        const auto it = s.gamepadButtons.find(std::string(kPadButtonNames[b]));
        if (it == s.gamepadButtons.end() || it->second == "none") continue;
        // The D-pad moving the cursor goes without saying.
        if (it->second == kPadButtonNames[b]) continue;
        line += (inLine ? ", " : "") + std::string(kLabels[b]) + " " + actionLabel(it->second);
        if (++inLine == 5) {
            lines.push_back(line);
            line.clear();
            inLine = 0;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace

void EngineMenu::open(const Surface& frame) {
    open_ = true;
    frame_ = frame;
    showPage(MenuPage::Main);
}

void EngineMenu::build(const GameState& g, const Settings& s, bool fullScreen) {
    items_.clear();
    auto add = [&](std::string label, MenuAction action, int value = 0) {
        items_.push_back({std::move(label), action, value});
    };
    switch (page_) {
        case MenuPage::Main:
            title_ = "Engine menu";
            add("Resume", MenuAction::Resume);
            add("Save", MenuAction::Page, static_cast<int>(MenuPage::Save));
            add("Load", MenuAction::Page, static_cast<int>(MenuPage::Load));
            add("Settings", MenuAction::Page, static_cast<int>(MenuPage::Settings));
            add("Controls", MenuAction::Page, static_cast<int>(MenuPage::Controls));
            add("Quit", MenuAction::Page, static_cast<int>(MenuPage::Quit));
            break;
        case MenuPage::Save:
        case MenuPage::Load: {
            const bool saving = page_ == MenuPage::Save;
            title_ = saving ? "Save the game" : "Load a game";
            std::error_code ec;
            if (!saving && std::filesystem::exists(autosavePath(g), ec))
                if (std::optional<SavedGame> a = readAutosave(g))
                    add("Autosave: " + slotSummary(*a), MenuAction::LoadAuto);
            for (int slot = 1; slot <= kMenuSlots; ++slot) {
                std::optional<SavedGame> saved;
                if (std::filesystem::exists(slotPath(g, slot), ec)) saved = readSaveSlot(g, slot);
                const std::string name = "Slot " + std::to_string(slot) + ": ";
                if (saved)
                    add(name + slotSummary(*saved), saving ? MenuAction::Save : MenuAction::Load,
                        slot);
                else if (saving)
                    add(name + "empty", MenuAction::Save, slot);
            }
            add("Back", MenuAction::Back);
            break;
        }
        case MenuPage::Settings: {
            title_ = "Settings";
            add("Music volume: " + percent(s.musicVolume), MenuAction::Setting, SetMusic);
            add("Effects volume: " + percent(s.soundVolume), MenuAction::Setting, SetSound);
            add("Mute: " + onOff(s.muted), MenuAction::Setting, SetMute);
            add("Text speed: " + percent(s.textSpeed), MenuAction::Setting, SetTextSpeed);
            add(std::string("Text skip: ") +
                    (s.textSkip == TextSkip::Clicks ? "clicks only" : "as the game does"),
                MenuAction::Setting, SetTextSkip);
            add("Full screen: " + onOff(fullScreen), MenuAction::Setting, SetFullScreen);
            add("Scale: " + std::string(scaleModeName(s.scaleMode)), MenuAction::Setting, SetScale);
            add("Filter: " + std::string(filterName(s.filter)), MenuAction::Setting, SetFilter);
            add("Autosave: " + onOff(s.autosave), MenuAction::Setting, SetAutosave);
            add("Speech: " + onOff(s.speech), MenuAction::Setting, SetSpeech);
            const auto& languages = g.tables.metadata.languages;
            if (!languages.empty()) {
                const auto current = static_cast<size_t>(std::max(0, g.ui.language));
                add("Language: " + (current < languages.size() ? languages[current].name
                                                               : std::to_string(current)),
                    MenuAction::Setting, SetLanguage);
            }
            add("Back", MenuAction::Back);
            break;
        }
        case MenuPage::Controls:
            title_ = "Controls";
            add("Left click: use, take, walk", MenuAction::None);
            add("Right click: put the held item back", MenuAction::None);
            add("Space, Enter, Escape, F4, F10: the game's own keys", MenuAction::None);
            add("F1: this menu (arrows, Enter, Escape)", MenuAction::None);
            add("Alt+Enter: window or full screen   F12: screenshot", MenuAction::None);
            add(s.speechKey + ": speech on or off", MenuAction::None);
            for (const std::string& line : deviceControls(s)) add(line, MenuAction::None);
            add("Back", MenuAction::Back);
            break;
        case MenuPage::Quit:
            title_ = "Quit the game?";
            add(s.autosave ? "Quit (the game is autosaved)" : "Quit", MenuAction::Quit);
            add("Back to the game", MenuAction::Resume);
            break;
    }
    selected_ = std::clamp(selected_, 0, static_cast<int>(items_.size()) - 1);
}

Rect EngineMenu::itemBox(int index, const Surface& back) const {
    const int count = static_cast<int>(items_.size());
    const int width = std::min(kPanelWidth, back.width - 20);
    const int left = (back.width - width) / 2;
    const int top = (back.height - (kTitleHeight + count * kItemHeight)) / 2 + kTitleHeight;
    return {left, top + index * kItemHeight, left + width, top + (index + 1) * kItemHeight};
}

int EngineMenu::itemAt(int x, int y, const Surface& back) const {
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        const Rect r = itemBox(i, back);
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return i;
    }
    return -1;
}

MenuChoice EngineMenu::choose(int index, int step) const {
    if (index < 0 || index >= static_cast<int>(items_.size())) return {};
    const MenuItem& item = items_[static_cast<size_t>(index)];
    return {item.action, item.value, step};
}

MenuChoice EngineMenu::handleInput(GameState& g, Input& input) {
    input.refresh();
    const Surface& back = frame_;
    const int oldX = g.input.mouseX;
    const int oldY = g.input.mouseY;
    g.input.mouseX =
        std::clamp(saturatingAdd(g.input.mouseX, input.motionX()), 0, std::max(0, back.width - 1));
    g.input.mouseY =
        std::clamp(saturatingAdd(g.input.mouseY, input.motionY()), 0, std::max(0, back.height - 1));
    const int under = itemAt(g.input.mouseX, g.input.mouseY, back);
    if (under >= 0 && (g.input.mouseX != oldX || g.input.mouseY != oldY)) selected_ = under;

    MenuChoice choice;
    const bool left = input.buttonDown(ButtonLeft);
    const bool right = input.buttonDown(ButtonRight);
    // The game's latches: a press the menu took is not the game's when it resumes.
    if (left && !g.input.leftLatch) {
        g.input.leftLatch = true;
        if (under >= 0) choice = choose(under, 1);
    }
    if (right && !g.input.rightLatch) {
        g.input.rightLatch = true;
        choice = {MenuAction::Back};
        if (under >= 0 && items_[static_cast<size_t>(under)].action == MenuAction::Setting)
            choice = choose(under, -1);
    }
    if (!left) g.input.leftLatch = false;
    if (!right) g.input.rightLatch = false;

    const int count = static_cast<int>(items_.size());
    if (input.engineKeyPressed(EngineUp) && count > 0) selected_ = (selected_ + count - 1) % count;
    if (input.engineKeyPressed(EngineDown) && count > 0) selected_ = (selected_ + 1) % count;
    const bool setting =
        selected_ < count && items_[static_cast<size_t>(selected_)].action == MenuAction::Setting;
    if (setting && input.engineKeyPressed(EngineLeft)) choice = choose(selected_, -1);
    if (setting && input.engineKeyPressed(EngineRight)) choice = choose(selected_, 1);
    if (input.keyPressed(KeyEnter)) choice = choose(selected_, 1);
    if (input.keyPressed(KeyEscape)) choice = {MenuAction::Back};
    if (input.engineKeyPressed(EngineMenuKey)) choice = {MenuAction::Resume};
    for (int k = 0; k < kLogicalKeys; ++k) input.releaseKey(k);
    return choice;
}

void EngineMenu::draw(Surface& back, Canvas& canvas) const {
    if (back.width != frame_.width || back.height != frame_.height) return;
    for (size_t i = 0; i < back.pixels.size(); ++i)
        back.pixels[i] = (frame_.pixels[i] >> 1) & 0x7F7F7F;
    if (items_.empty()) return;

    // The game's canvas state is put back afterwards: the game's next frame expects it.
    const std::string fontName = canvas.fontName();
    const int fontSize = canvas.fontSize();
    const uint32_t fontColor = canvas.fontColor();
    const uint32_t brushColor = canvas.brushColor();
    const BrushStyle brushStyle = canvas.brushStyle();

    const Rect first = itemBox(0, back);
    const Rect last = itemBox(static_cast<int>(items_.size()) - 1, back);
    canvas.setBrushColor(kPanel);
    canvas.fillRect({first.left - 8, first.top - kTitleHeight, first.right + 8, last.bottom + 8});
    canvas.setFont(kFont, kFontPoints + 3);
    canvas.setFontColor(kText);
    canvas.setBrushStyle(BrushStyle::Clear);
    canvas.textOut(first.left + 8, first.top - kTitleHeight + 6, title_);
    canvas.setFont(kFont, kFontPoints);
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        const Rect r = itemBox(i, back);
        const MenuItem& item = items_[static_cast<size_t>(i)];
        if (i == selected_ && item.action != MenuAction::None) {
            canvas.setBrushColor(kSelected);
            canvas.fillRect(r);
            canvas.setBrushStyle(BrushStyle::Clear);
        }
        canvas.setFontColor(item.action == MenuAction::None ? kDimText : kText);
        canvas.textOut(r.left + 12, r.top + (kItemHeight - canvas.textHeight(item.label)) / 2,
                       item.label);
    }

    canvas.setFont(fontName, fontSize);
    canvas.setFontColor(fontColor);
    canvas.setBrushColor(brushColor);
    canvas.setBrushStyle(brushStyle);
}

}  // namespace zk
