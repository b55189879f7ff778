#pragma once
// The engine's own menu (F1), the same in every game: resume, save and load, the
// player's settings, the controls, quit. While it is open the game stands still: no
// logic tick, no timers, no clicks or keys reach it. The menu draws itself over the
// last frame the game showed; the main window owns it and carries out what it asks.
#include <string>
#include <vector>

#include "data/game_state.h"
#include "platform/canvas.h"
#include "platform/input.h"
#include "platform/surface.h"

namespace zk {

enum class MenuPage { Main, Save, Load, Settings, Controls, Quit };

// What an item does when chosen.
enum class MenuAction {
    None,      // a line to read (the controls)
    Resume,    // close the menu
    Page,      // go to page `value`
    Back,      // the page before (the main page closes the menu)
    Save,      // save into slot `value`
    Load,      // load slot `value`
    LoadAuto,  // resume the autosave
    Setting,   // change setting `value` by a step
    Quit,      // end the game (the autosave first)
};

// The settings the settings page lists, in order.
enum SettingItem : int {
    SetMusic,
    SetSound,
    SetMute,
    SetTextSpeed,
    SetTextSkip,
    SetFullScreen,
    SetScale,
    SetFilter,
    SetAutosave,
    SetLanguage,
    SetSpeech,
};

struct MenuItem {
    std::string label;  // UTF-8 for the engine's texts, room titles in the game's code page
    MenuAction action = MenuAction::None;
    int value = 0;
};

// What the player chose this frame; `step` is -1 or +1 for a setting.
struct MenuChoice {
    MenuAction action = MenuAction::None;
    int value = 0;
    int step = 1;
};

// Save slots the menu offers.
inline constexpr int kMenuSlots = 8;

class EngineMenu {
  public:
    bool isOpen() const { return open_; }
    // Opens on the main page over `frame`, the picture the game showed last.
    void open(const Surface& frame);
    void close() { open_ = false; }
    MenuPage page() const { return page_; }
    int selected() const { return selected_; }
    void showPage(MenuPage page) {
        page_ = page;
        selected_ = 0;
    }

    // The items of the page, built from the game and the settings as they are now.
    void build(const GameState& g, const Settings& s, bool fullScreen);
    const std::vector<MenuItem>& items() const { return items_; }
    const std::string& title() const { return title_; }
    // The item the arrows and the mouse are on; null on an empty page.
    const MenuItem* selectedItem() const {
        return selected_ >= 0 && selected_ < static_cast<int>(items_.size())
                   ? &items_[static_cast<size_t>(selected_)]
                   : nullptr;
    }

    // Reads the input of one frame (mouse, Enter, Escape, the arrows, F1); the keys of
    // the game are taken so that the game never sees them. The mouse moves the
    // game's cursor position as in play.
    MenuChoice handleInput(GameState& g, Input& input);
    // The last frame of the game, dimmed, with the menu over it.
    void draw(Surface& back, Canvas& canvas) const;

  private:
    Rect itemBox(int index, const Surface& back) const;
    int itemAt(int x, int y, const Surface& back) const;
    MenuChoice choose(int index, int step) const;

    bool open_ = false;
    MenuPage page_ = MenuPage::Main;
    int selected_ = 0;
    Surface frame_;
    std::string title_;
    std::vector<MenuItem> items_;
};

}  // namespace zk
