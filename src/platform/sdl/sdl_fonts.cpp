// Font loading and glyph rendering with SDL_ttf; font files are found through
// fontconfig. The rest of the engine sees only Font, Fonts and TextMask.
#include <SDL.h>
#include <SDL_ttf.h>
#ifndef __EMSCRIPTEN__
#include <fontconfig/fontconfig.h>
#endif

#include <filesystem>
#include <memory>

#include "core/text.h"
#include "platform/fonts.h"
#include "platform/platform_error.h"

namespace zk {
namespace {

constexpr unsigned kDpi = 96;

// Debian's fonts-wine puts its files outside the folders fontconfig scans.
constexpr const char* kWineFolders[] = {"/usr/share/wine/fonts/",
                                        "/usr/share/fonts/truetype/wine/"};
struct WineFont {
    const char* family;
    const char* file;
};
constexpr WineFont kWineFonts[] = {{"tahoma", "tahoma.ttf"},
                                   {"ms sans serif", "ms_sans_serif.ttf"}};

bool isFixedPitch(const std::string& lowerFamily) {
    return lowerFamily == "lucida console" || lowerFamily == "courier new" ||
           lowerFamily == "courier" || lowerFamily == "consolas" || lowerFamily == "monospace";
}

bool isFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

#ifdef __EMSCRIPTEN__
// A web page has no font configuration: its file system carries the Wine and DejaVu
// files at the desktop's paths, so the lookup below finds the same files as there.
struct FontLookup {
    std::string file(const std::string&, bool) const { return {}; }
};
#else
struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;
struct ConfigDeleter {
    void operator()(FcConfig* c) const { FcConfigDestroy(c); }
};
// A configuration of our own rather than fontconfig's global one, which would stay
// allocated until the process ends.
using Config = std::unique_ptr<FcConfig, ConfigDeleter>;

// The file of fontconfig's best match for `family`; with `exact`, only when the
// match really is that family and not a substitute.
std::string fontconfigFile(FcConfig* config, const std::string& family, bool exact) {
    if (!config) return {};
    Pattern pattern(FcPatternCreate());
    if (!pattern) return {};
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(config, pattern.get(), &result));
    if (!match || result != FcResultMatch) return {};
    FcChar8* found = nullptr;
    if (exact) {
        if (FcPatternGetString(match.get(), FC_FAMILY, 0, &found) != FcResultMatch ||
            !equalsIgnoreCase(reinterpret_cast<const char*>(found), family)) {
            return {};
        }
    }
    if (FcPatternGetString(match.get(), FC_FILE, 0, &found) != FcResultMatch) return {};
    std::string file = reinterpret_cast<const char*>(found);
    return isFile(file) ? file : std::string();
}

struct FontLookup {
    Config config{FcInitLoadConfigAndFonts()};
    std::string file(const std::string& family, bool exact) const {
        return fontconfigFile(config.get(), family, exact);
    }
};
#endif

}  // namespace

struct Fonts::Library {
    Library() {
        if (TTF_Init() != 0)
            throw PlatformError(std::string("Cannot start SDL_ttf: ") + TTF_GetError());
    }
    ~Library() { TTF_Quit(); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
};

struct Font::Face {
    TTF_Font* font;
    explicit Face(TTF_Font* f) : font(f) {}
    ~Face() { TTF_CloseFont(font); }
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;
};

Font::Font(std::string file, int points, std::unique_ptr<Face> face)
    : file_(std::move(file)), points_(points), face_(std::move(face)) {}

Font::~Font() = default;

int Font::height() const {
    return TTF_FontHeight(face_->font);
}

int Font::width(std::string_view utf8) const {
    if (utf8.empty()) return 0;
    std::string text(utf8);
    int w = 0;
    int h = 0;
    if (TTF_SizeUTF8(face_->font, text.c_str(), &w, &h) != 0) return 0;
    return w;
}

TextMask Font::render(std::string_view utf8) const {
    TextMask mask;
    mask.height = height();
    if (utf8.empty()) return mask;
    std::string text(utf8);
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(face_->font, text.c_str(), {255, 255, 255, 255});
    if (!rendered) return mask;
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> owner(rendered, SDL_FreeSurface);
    if (rendered->format->BytesPerPixel != 4) return mask;
    mask.width = rendered->w;
    mask.height = rendered->h;
    mask.alpha.resize(static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height));
    const uint32_t amask = rendered->format->Amask;
    const int ashift = rendered->format->Ashift;
    for (int y = 0; y < mask.height; ++y) {
        const auto* src =
            reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(rendered->pixels) +
                                              static_cast<size_t>(y) * rendered->pitch);
        uint8_t* dst = mask.alpha.data() + static_cast<size_t>(y) * mask.width;
        for (int x = 0; x < mask.width; ++x)
            dst[x] = static_cast<uint8_t>((src[x] & amask) >> ashift);
    }
    return mask;
}

Fonts::Fonts() : library_(std::make_unique<Library>()) {}

Fonts::~Fonts() {
    fonts_.clear();  // every font is closed before SDL_ttf shuts down
}

std::string Fonts::resolve(std::string_view family) {
    const std::string lower = toLowerAscii(family);
    for (const WineFont& wine : kWineFonts) {
        if (lower != wine.family) continue;
        for (const char* folder : kWineFolders) {
            std::string path = std::string(folder) + wine.file;
            if (isFile(path)) return path;
        }
    }
    const FontLookup lookup;
    if (!lower.empty()) {
        std::string file = lookup.file(std::string(family), true);
        if (!file.empty()) return file;
    }
    const bool fixed = isFixedPitch(lower);
    std::string file = lookup.file(fixed ? "DejaVu Sans Mono" : "DejaVu Sans", false);
    if (!file.empty()) return file;
    std::string path = fixed ? "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"
                             : "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    return isFile(path) ? path : std::string();
}

const std::string& Fonts::fileFor(std::string_view family) {
    const std::string lower = toLowerAscii(family);
    auto it = files_.find(lower);
    if (it == files_.end()) it = files_.emplace(lower, resolve(family)).first;
    return it->second;
}

const Font& Fonts::get(std::string_view family, int points) {
    if (points < 1) points = 1;
    if (points > 400) points = 400;
    auto key = std::make_pair(toLowerAscii(family), points);
    if (auto it = fonts_.find(key); it != fonts_.end()) return *it->second;
    const std::string& file = fileFor(family);
    if (file.empty()) throw PlatformError("No font file found for \"" + std::string(family) + "\"");
    TTF_Font* opened = TTF_OpenFontDPI(file.c_str(), points, kDpi, kDpi);
    if (!opened) throw PlatformError("Cannot open font " + file + ": " + TTF_GetError());
    auto face = std::make_unique<Font::Face>(opened);
    auto font = std::make_unique<Font>(file, points, std::move(face));
    return *fonts_.emplace(std::move(key), std::move(font)).first->second;
}

}  // namespace zk
