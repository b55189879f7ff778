#pragma once
// The demo's art and sound generator: every picture, sound and music file of the demo
// game is made here, in code, and written into the source folder that zelkin-pack
// turns into Tolvan.tgp.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "paint.h"

namespace demo {

// Where generated files go: the game's source folder.
class Output {
  public:
    explicit Output(std::filesystem::path root) : root_(std::move(root)) {}
    // Writes `p` as ROOT/relative (folders created).
    void png(const Paint& p, const std::string& relative) const;
    void bytes(const std::vector<uint8_t>& data, const std::string& relative) const;
    const std::filesystem::path& root() const { return root_; }

  private:
    std::filesystem::path root_;
};

// Renders a text in a font installed on the machine (falling back to DejaVu) as
// coverage, for titles painted into pictures.
struct TextCoverage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> alpha;
};
TextCoverage renderText(const std::string& family, int points, const std::string& utf8);
// Paints a text with its top-left at (x, y) in colour c, with a soft dark shadow.
void paintText(Paint& p, const std::string& family, int points, const std::string& utf8, int x,
               int y, Color c, bool shadow = true);
int textWidth(const std::string& family, int points, const std::string& utf8);

// Slanted rain streaks painted on glass inside the box.
void paintedRain(Paint& p, int x0, int y0, int x1, int y1);

void makeFigures(const Output& out);    // hero, dog, fisherman
void makeRooms(const Output& out);      // backgrounds and walk masks
void makeProps(const Output& out);      // objects, items, buttons
void makeInterface(const Output& out);  // cursors, inventory bar, dialogue, saving
void makeSounds(const Output& out);     // WAV effects
void makeMusic(const Output& out);      // MIDI tracks

}  // namespace demo
