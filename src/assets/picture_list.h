#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "assets/picture.h"
#include "core/stream.h"

namespace zk {

// One cell of an item's picture, in picture pixels.
struct Pattern {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// A picture with its division into patterns and its colour key. The public fields
// are the stored properties; patterns() and colorKey() are what drawing uses and are
// computed by prepare(), once, after loading or after the picture or the geometry
// changed. Items are values: copying one copies its picture and drawing data.
class PictureItem {
  public:
    std::string name;           // Windows-1252 text
    int32_t patternWidth = 0;   // 0 or less: the picture's width
    int32_t patternHeight = 0;  // 0 or less: the picture's height
    int32_t skipWidth = 0;
    int32_t skipHeight = 0;
    bool systemMemory = false;
    bool transparent = true;
    uint32_t transparentColor = 0;  // stored colour: 0x00BBGGRR or a system colour
    Picture picture;

    // Item width and height: the pattern size, or the picture's size.
    int width() const;
    int height() const;

    const Image& image() const { return picture.image; }
    // One pixel of the picture (0xRRGGBB), nothing outside it.
    std::optional<uint32_t> pixel(int x, int y) const { return picture.image.pixel(x, y); }

    // Pattern k is patterns()[k]. Empty until prepared, and for an item without an
    // image or whose patterns do not fit in its picture: such an item draws nothing.
    const std::vector<Pattern>& patterns() const { return patterns_; }
    // The transparent colour as 0xRRGGBB, compared with pixels when `transparent`.
    uint32_t colorKey() const { return colorKey_; }

    void prepare();
    // Changes the transparent colour and the colour key at once.
    void setTransparentColor(uint32_t color);

  private:
    std::vector<Pattern> patterns_;
    uint32_t colorKey_ = 0;
};

// An ordered list of picture items, stored as a ".dxg" file.
class PictureList {
  public:
    std::vector<PictureItem> items;
    std::array<uint8_t, 1024> colorTable{};  // kept as stored; drawing never uses it

    int count() const { return static_cast<int>(items.size()); }
    // Item by index; an index outside the list throws DataError.
    PictureItem& item(int index);
    const PictureItem& item(int index) const;
    PictureItem& add() { return items.emplace_back(); }
    void clear();
    // Prepares every item for drawing.
    void prepare();

    // Replaces the list with the one stored at the stream's position and prepares it.
    // On a fault the DataError propagates; the items read before it stay, unprepared.
    void loadFromStream(MemoryStream& s);
    // Writes the list at the stream's position.
    void saveToStream(MemoryStream& s) const;
};

PictureList readPictureList(std::vector<uint8_t> bytes);
std::vector<uint8_t> writePictureList(const PictureList& list);

}  // namespace zk
