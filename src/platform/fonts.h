#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zk {

// Glyph coverage of a rendered text line: one alpha value (0..255) per pixel,
// rows of `width` values, `height` rows.
struct TextMask {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> alpha;
};

// One font face opened at one size. Texts are UTF-8.
class Font {
    struct Face;

  public:
    // Made only by Fonts, which alone can name a Face.
    Font(std::string file, int points, std::unique_ptr<Face> face);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const std::string& file() const { return file_; }
    int points() const { return points_; }
    // Line height in pixels (ascent plus descent), the same for every text.
    int height() const;
    int width(std::string_view utf8) const;
    TextMask render(std::string_view utf8) const;

  private:
    friend class Fonts;

    std::string file_;
    int points_;
    std::unique_ptr<Face> face_;
};

// Opens fonts by family name and size in points (at 96 dots per inch, so 12 points
// give a 16-pixel em) and keeps them open. Family names compare without regard to
// case. Families that are not installed fall back to DejaVu Sans, or DejaVu Sans
// Mono for the fixed-pitch families ("Lucida console", "Courier new").
class Fonts {
  public:
    Fonts();
    ~Fonts();
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;

    // Throws PlatformError when no font file at all can be found or opened.
    const Font& get(std::string_view family, int points);
    // The font file used for a family (looked up once per Fonts object).
    const std::string& fileFor(std::string_view family);
    // The lookup itself: the Wine font files for the Windows families they provide,
    // then fontconfig when it knows the family itself, then the fallback family.
    static std::string resolve(std::string_view family);

  private:
    struct Library;
    std::unique_ptr<Library> library_;  // declared first: closed after every font
    std::map<std::string, std::string> files_;
    std::map<std::pair<std::string, int>, std::unique_ptr<Font>> fonts_;
};

}  // namespace zk
