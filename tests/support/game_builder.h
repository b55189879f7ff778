#pragma once
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "assets/picture_list.h"
#include "assets/wave_list.h"
#include "data/object_record.h"
#include "data/room_record.h"
#include "data/small_records.h"

namespace zk::test {

// A plain image of one colour.
Image solidImage(int width, int height, uint32_t color);
// A picture list with one item holding `image` (transparent, colour key black).
PictureList singlePictureList(const Image& image);

// Builds a complete game package in code. Every picture list that a room, object or
// cursor names and that was not given explicitly is generated when the package is
// written (backgrounds grey 800 x 600, masks all walkable, sprites 20 x 40 red
// figures, cursors 8 x 8 white), so tests only describe what they check.
class GameBuilder {
  public:
    GameBuilder();

    PreferencesRecord prefs;
    InventoryRecord inventory;
    std::vector<ObjectRecord> templates;
    std::vector<StoredRoomRecord> rooms;
    std::vector<CursorRecord> cursors;
    std::vector<MusicRecord> music;
    std::string languages;
    WaveList sounds;
    std::map<std::string, PictureList> pictures;        // entry name -> list
    std::map<std::string, std::vector<uint8_t>> files;  // other entries (music files)

    ObjectRecord& addTemplate(const std::string& name, const std::string& kind = "scenery");
    StoredRoomRecord& addRoom(const std::string& name, bool playRoom = true);
    CursorRecord& addCursor(const std::string& name, int hotX = 0, int hotY = 0);
    // Places template `name` in `room` at (x, y) with scale percent.
    void place(StoredRoomRecord& room, const std::string& name, int x, int y, int scale = 100);
    // Enables inventory slot i with the rectangle (left, top, right, bottom).
    void enableSlot(int i, int left, int top, int right, int bottom);
    ObjectRecord* findTemplate(const std::string& name);
    StoredRoomRecord* findRoom(const std::string& name);

    // One play room "hall" (zone-free) with the main character "hero" placed at (400, 400),
    // cursor "arrow" and a 100 x 60 inventory bar at (0, 540).
    static GameBuilder minimal();

    void write(const std::filesystem::path& path) const;

  private:
    void addGenerated(std::map<std::string, PictureList>& out) const;
};

// Writes command k of event e: its verb, p1, p2, num1 and num2.
void setCommand(EventView e, int k, const std::string& verb, const std::string& p1 = "",
                const std::string& p2 = "", int num1 = 0, int num2 = 0);

}  // namespace zk::test
