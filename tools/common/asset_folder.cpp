#include "asset_folder.h"

#include <algorithm>
#include <optional>

#include "assets/color.h"
#include "assets/picture_list.h"
#include "assets/wave_list.h"
#include "core/error.h"
#include "core/text.h"
#include "media_files.h"
#include "text_codec.h"
#include "toml_in.h"

namespace zk::tools {

namespace fs = std::filesystem;

std::string entryKey(const std::string& entryName, const CodePage& page) {
    std::string out = page.lower(entryName);
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
}

namespace {

bool isImage(const std::string& ext) {
    return ext == ".png" || ext == ".bmp" || ext == ".jpg" || ext == ".jpeg" || ext == ".gif" ||
           ext == ".tga";
}

// Options of a picture item; on a list they are the defaults of its items.
struct ItemOptions {
    std::optional<std::string> name;
    std::optional<int64_t> frames, patternWidth, patternHeight, skipWidth, skipHeight, quality;
    std::optional<bool> transparent, systemMemory;
    std::optional<uint32_t> transparentColor;
    std::optional<std::string> format, kind;

    void fillFrom(const ItemOptions& o) {
        auto take = [](auto& mine, const auto& theirs) {
            if (!mine && theirs) mine = theirs;
        };
        take(frames, o.frames);
        take(patternWidth, o.patternWidth);
        take(patternHeight, o.patternHeight);
        take(skipWidth, o.skipWidth);
        take(skipHeight, o.skipHeight);
        take(quality, o.quality);
        take(transparent, o.transparent);
        take(systemMemory, o.systemMemory);
        take(transparentColor, o.transparentColor);
        take(format, o.format);
        take(kind, o.kind);
    }
};

struct ItemSpec {
    std::string image;  // file name in the folder; empty: no picture
    ItemOptions options;
    std::string file;  // source file that describes the item, for messages
    int line = 0;
};

struct ListSpec {
    std::string name;
    std::vector<ItemSpec> items;
    std::optional<std::array<uint8_t, 1024>> colorTable;
    std::string file;
    int line = 0;
};

std::optional<uint32_t> parseColor(TableReader& r, const toml::node& n) {
    if (const auto* i = n.as_integer()) {
        if (i->get() < 0 || i->get() > 0xFFFFFFFFll) {
            r.error(lineOf(n), "transparentColor must lie in 0..0xFFFFFFFF");
            return std::nullopt;
        }
        return static_cast<uint32_t>(i->get());
    }
    if (const auto* s = n.as_string()) {
        const std::string& v = s->get();
        if (v.size() == 7 && v[0] == '#') {
            char* end = nullptr;
            unsigned long rgb = std::strtoul(v.c_str() + 1, &end, 16);
            if (*end == '\0')
                return uint32_t(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
        }
        if (auto c = colorFromIdentifier(v)) return c;
        r.error(lineOf(n), "transparentColor '" + v + "' is neither \"#RRGGBB\" nor a colour name");
        return std::nullopt;
    }
    r.error(lineOf(n), "transparentColor must be \"#RRGGBB\", a colour name or a number");
    return std::nullopt;
}

// A file name as written (UTF-8), for files on disk and the entries made of them.
std::optional<std::string> fileName(TableReader& r, std::string_view key) {
    const toml::node* n = r.take(key);
    if (!n) return std::nullopt;
    if (const auto* s = n->as_string(); s && !s->get().empty()) return s->get();
    r.error(lineOf(*n), std::string(key) + " must be a file name in quotes");
    return std::nullopt;
}

// On a list, "name" is the list's own name (read by the caller), not an item option.
void readOptions(TableReader& r, ItemOptions& o, bool item) {
    if (item) {
        if (auto s = r.text("name", 255)) o.name = *s;
    }
    o.frames = r.integer("frames", 1, 4096);
    o.patternWidth = r.integer("patternWidth", INT32_MIN, INT32_MAX);
    o.patternHeight = r.integer("patternHeight", INT32_MIN, INT32_MAX);
    o.skipWidth = r.integer("skipWidth", INT32_MIN, INT32_MAX);
    o.skipHeight = r.integer("skipHeight", INT32_MIN, INT32_MAX);
    o.quality = r.integer("quality", 1, 100);
    o.transparent = r.boolean("transparent");
    o.systemMemory = r.boolean("systemMemory");
    if (const toml::node* n = r.take("transparentColor")) o.transparentColor = parseColor(r, *n);
    if (auto f = r.text("format", 30)) {
        if (*f != "dib" && *f != "jpeg")
            r.error("format", "format must be \"dib\" or \"jpeg\"");
        else
            o.format = *f;
    }
    if (auto k = r.text("kind", 63)) o.kind = *k;
}

std::string stem(const std::string& file) {
    return fs::path(file).stem().string();
}

std::optional<std::array<uint8_t, 1024>> parseColorTable(TableReader& r) {
    auto t = r.text("colorTable", 100000);
    if (!t) return std::nullopt;
    std::array<uint8_t, 1024> table{};
    size_t n = 0;
    int hi = -1;
    for (char c : *t) {
        int v = (c >= '0' && c <= '9')   ? c - '0'
                : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                         : -1;
        if (v < 0) {
            if (c == ' ' || c == '\n') continue;
            r.error("colorTable", "colorTable must be hex digits");
            return std::nullopt;
        }
        if (hi < 0) {
            hi = v;
            continue;
        }
        if (n >= table.size()) {
            r.error("colorTable", "colorTable holds more than 1024 bytes");
            return std::nullopt;
        }
        table[n++] = static_cast<uint8_t>(hi * 16 + v);
        hi = -1;
    }
    return table;
}

std::vector<ListSpec> readPicturesToml(const AssetFolder& folder, Diagnostics& diag) {
    std::vector<ListSpec> lists;
    const std::string rel = folder.rel + "/pictures.toml";
    auto file = loadToml(folder.root, rel, diag, folder.codePage);
    if (!file) return lists;
    TableReader top(*file, file->root, diag);
    if (const toml::array* arr = top.array("list")) {
        for (size_t i = 0; i < arr->size(); ++i) {
            const toml::table* t = arr->get(i)->as_table();
            if (!t) {
                top.error(lineOf(*arr->get(i)), "each list must be a [[list]] table");
                continue;
            }
            TableReader r(*file, *t, diag, "list " + std::to_string(i) + ": ");
            ListSpec list;
            list.file = rel;
            list.line = r.line();
            ItemOptions defaults;
            readOptions(r, defaults, false);
            // On a list, "name" names the list; items are named after their images.
            std::optional<std::string> listName = fileName(r, "name");
            list.colorTable = parseColorTable(r);
            auto image = fileName(r, "image");
            const toml::array* images = r.array("images");
            const toml::array* items = r.array("item");
            if (int(bool(image)) + int(images != nullptr) + int(items != nullptr) > 1)
                r.error(r.line(), "give a list either image, images or [[list.item]] entries");
            auto addItem = [&](const std::string& img, ItemOptions o, int line) {
                ItemSpec spec;
                spec.image = img;
                o.fillFrom(defaults);
                spec.options = std::move(o);
                spec.file = rel;
                spec.line = line;
                list.items.push_back(std::move(spec));
            };
            if (image) addItem(*image, {}, r.line("image"));
            for (size_t k = 0; images && k < images->size(); ++k) {
                if (const auto* s = images->get(k)->as_string()) {
                    addItem(s->get(), {}, lineOf(*images->get(k)));
                } else {
                    r.error(lineOf(*images->get(k)), "images lists file names in quotes");
                }
            }
            if (items) {
                for (size_t k = 0; k < items->size(); ++k) {
                    const toml::table* it = items->get(k)->as_table();
                    if (!it) {
                        r.error(lineOf(*items->get(k)), "each item must be a [[list.item]] table");
                        continue;
                    }
                    TableReader ir(
                        *file, *it, diag,
                        "list " + std::to_string(i) + " item " + std::to_string(k) + ": ");
                    ItemOptions o;
                    readOptions(ir, o, true);
                    std::string img = fileName(ir, "image").value_or("");
                    ir.finish();
                    addItem(img, o, ir.line());
                }
            }
            if (listName) {
                list.name = *listName;
            } else if (image) {
                list.name = stem(*image) + ".dxg";
            } else {
                r.error(r.line(), "the list needs a name (\"walk.dxg\")");
            }
            r.finish();
            lists.push_back(std::move(list));
        }
    }
    top.finish();
    return lists;
}

struct SoundSpec {
    std::string file;
    std::string name;
    bool looped = false;
    int32_t maxPlayingCount = 0;
    int line = 0;
};

std::vector<SoundSpec> readSoundsToml(const AssetFolder& folder, Diagnostics& diag,
                                      std::string& listName) {
    std::vector<SoundSpec> sounds;
    const std::string rel = folder.rel + "/sounds.toml";
    auto file = loadToml(folder.root, rel, diag, folder.codePage);
    if (!file) return sounds;
    TableReader top(*file, file->root, diag);
    if (auto l = fileName(top, "list")) listName = *l;
    if (const toml::array* arr = top.array("sound")) {
        for (size_t i = 0; i < arr->size(); ++i) {
            const toml::table* t = arr->get(i)->as_table();
            if (!t) {
                top.error(lineOf(*arr->get(i)), "each sound must be a [[sound]] table");
                continue;
            }
            TableReader r(*file, *t, diag, "sound " + std::to_string(i) + ": ");
            SoundSpec s;
            s.line = r.line();
            if (auto f = r.text("file", 255))
                s.file = *f;
            else
                r.error(r.line(), "a sound needs its file (\"door.wav\")");
            s.name = r.text("name", 255).value_or(stem(s.file));
            s.looped = r.boolean("looped").value_or(false);
            s.maxPlayingCount =
                static_cast<int32_t>(r.integer("maxPlayingCount", 0, INT32_MAX).value_or(0));
            r.finish();
            sounds.push_back(std::move(s));
        }
    }
    top.finish();
    return sounds;
}

// Colour-keys the transparent pixels of an image with alpha: black, or magenta when
// the opaque pixels use black, unless the author chose the colour.
void keyTransparentPixels(LoadedImage& img, ItemOptions& o, const std::string& where, int line,
                          Diagnostics& diag) {
    if (!img.anyTransparent()) return;
    auto usedOpaque = [&img](uint32_t rgb) {
        for (size_t i = 0; i < img.alpha.size(); ++i)
            if (img.alpha[i] >= 128 && img.image.pixels[i] == rgb) return true;
        return false;
    };
    if (!o.transparentColor) {
        o.transparentColor = usedOpaque(0x000000) ? 0xFF00FF : 0x000000;  // stored BGR = RGB here
    } else if (usedOpaque(colorToRgb(*o.transparentColor))) {
        diag.warning(where, line, "opaque pixels have the transparent colour and will not show");
    }
    if (!o.transparent) o.transparent = true;
    const uint32_t key = colorToRgb(*o.transparentColor);
    for (size_t i = 0; i < img.alpha.size(); ++i)
        if (img.alpha[i] < 128) img.image.pixels[i] = key;
}

void flattenOverBlack(LoadedImage& img) {
    for (size_t i = 0; i < img.alpha.size(); ++i) {
        const uint32_t a = img.alpha[i], p = img.image.pixels[i];
        if (a == 255) continue;
        auto scaled = [&](int shift) { return (((p >> shift) & 0xFF) * a + 127) / 255 << shift; };
        img.image.pixels[i] = scaled(16) | scaled(8) | scaled(0);
        img.alpha[i] = 255;
    }
}

Image cutFrame(const Image& img, int k, int frames) {
    Image out;
    out.width = img.width / frames;
    out.height = img.height;
    out.pixels.resize(size_t(out.width) * size_t(out.height));
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            out.pixels[size_t(y) * size_t(out.width) + size_t(x)] = img.at(k * out.width + x, y);
    return out;
}

// A two-colour walk mask: white walks (palette index 1), the other colour does not.
std::optional<Picture> walkMaskPicture(const Image& img, const std::string& where, int line,
                                       Diagnostics& diag) {
    std::vector<uint32_t> colours;
    for (uint32_t p : img.pixels) {
        if (std::find(colours.begin(), colours.end(), p) != colours.end()) continue;
        colours.push_back(p);
        if (colours.size() > 2) break;
    }
    auto hex = [](uint32_t c) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "#%06X", c);
        return std::string(buf);
    };
    if (colours.size() > 2) {
        diag.error(where, line,
                   "a walk mask must have two colours (white where characters walk), but it has " +
                       hex(colours[0]) + ", " + hex(colours[1]) + ", " + hex(colours[2]) +
                       " and maybe more");
        return std::nullopt;
    }
    const bool hasWhite = std::find(colours.begin(), colours.end(), 0xFFFFFFu) != colours.end();
    if (colours.size() == 2 && !hasWhite) {
        diag.error(where, line,
                   "a walk mask must be white where characters walk; its colours are " +
                       hex(colours[0]) + " and " + hex(colours[1]));
        return std::nullopt;
    }
    IndexedImage mask;
    mask.width = img.width;
    mask.height = img.height;
    uint32_t other = 0x000000;
    for (uint32_t c : colours)
        if (c != 0xFFFFFF) other = c;
    mask.palette = {other, 0xFFFFFF};
    mask.indexes.resize(img.pixels.size());
    for (size_t i = 0; i < img.pixels.size(); ++i)
        mask.indexes[i] = img.pixels[i] == 0xFFFFFF ? 1 : 0;
    return makeDibPicture(mask);
}

void applyOptions(PictureItem& item, const ItemOptions& o, const std::string& defaultName) {
    item.name = o.name.value_or(defaultName);
    item.patternWidth = static_cast<int32_t>(o.patternWidth.value_or(0));
    item.patternHeight = static_cast<int32_t>(o.patternHeight.value_or(0));
    item.skipWidth = static_cast<int32_t>(o.skipWidth.value_or(0));
    item.skipHeight = static_cast<int32_t>(o.skipHeight.value_or(0));
    item.systemMemory = o.systemMemory.value_or(false);
    item.transparent = o.transparent.value_or(true);
    item.transparentColor = o.transparentColor.value_or(0);
}

bool knownKind(const std::string& kind) {
    static const std::vector<std::string> kinds = {
        "TDIB",          "TBitmap",      "TJPEGImage",       "TPNGGraphic",
        "TTargaGraphic", "TTIFFGraphic", "TPCXGraphic",      "TPCDGraphic",
        "TPPMGraphic",   "TCUTGraphic",  "TRLAGraphic",      "TPSDGraphic",
        "TPSPGraphic",   "TSGIGraphic",  "TAutodeskGraphic", "TEPSGraphic"};
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

// Adds the items of one item description to the list (several when the image is cut into frames).
void buildItems(const AssetFolder& folder, const ItemSpec& spec, PictureRole role,
                PictureList& list, Diagnostics& diag) {
    ItemOptions o = spec.options;
    const std::string where = spec.file;
    if (o.kind && !knownKind(*o.kind)) {
        diag.error(where, spec.line, "unknown picture kind '" + *o.kind + "'");
        return;
    }
    if (spec.image.empty()) {
        PictureItem& item = list.add();
        applyOptions(item, o, "");
        if (o.kind) {
            // An empty stored picture of that kind.
            std::vector<uint8_t> payload{static_cast<uint8_t>(o.kind->size())};
            payload.insert(payload.end(), o.kind->begin(), o.kind->end());
            if (*o.kind != "TDIB") payload.insert(payload.end(), 4, 0);
            item.picture = decodePicture(std::move(payload));
        }
        return;
    }
    const fs::path path = folder.root / folder.rel / spec.image;
    const std::string shown = folder.rel + "/" + spec.image;
    if (!fs::is_regular_file(path)) {
        diag.error(where, spec.line, "picture '" + shown + "' does not exist");
        return;
    }
    const std::string ext = toLowerAscii(path.extension().string());
    const int frames = static_cast<int>(o.frames.value_or(1));
    const std::string defaultName = stem(spec.image);

    // Bitmaps and JPEG files are stored as they are when the engine reads them. Walk
    // masks are not: whatever their kind, they become the two-colour stored form.
    if (frames == 1 && role != PictureRole::WalkMask &&
        (ext == ".bmp" || ext == ".jpg" || ext == ".jpeg")) {
        const bool jpegFile = ext != ".bmp";
        const std::string kind = o.kind.value_or(jpegFile ? "TJPEGImage" : "TDIB");
        const bool wantsOther =
            jpegFile ? o.format == std::string("dib") : o.format == std::string("jpeg");
        if (!wantsOther && (jpegFile == (kind == "TJPEGImage"))) {
            auto bytes = readFileBytes(path);
            std::optional<Picture> pic;
            if (bytes) pic = pictureFromFile(kind, *bytes);
            if (pic) {
                PictureItem& item = list.add();
                applyOptions(item, o, defaultName);
                item.picture = std::move(*pic);
                return;
            }
        }
    }
    if (role == PictureRole::WalkMask && (ext == ".jpg" || ext == ".jpeg")) {
        diag.error(where, spec.line,
                   "walk mask '" + shown +
                       "' must not be a JPEG picture: its lossy colours are not two (use PNG or "
                       "BMP)");
        return;
    }
    std::string why;
    auto loaded = loadImageFile(path, why);
    if (!loaded) {
        diag.error(where, spec.line, "picture '" + shown + "' cannot be read: " + why);
        return;
    }
    if (loaded->image.width % frames != 0) {
        diag.error(where, spec.line,
                   "picture '" + shown + "' is " + std::to_string(loaded->image.width) +
                       " pixels wide, which " + std::to_string(frames) + " frames do not divide");
        return;
    }
    if (role == PictureRole::WalkMask) {
        for (int k = 0; k < frames; ++k) {
            auto pic = walkMaskPicture(cutFrame(loaded->image, k, frames), where, spec.line, diag);
            if (!pic) return;
            PictureItem& item = list.add();
            applyOptions(item, o, defaultName);
            item.picture = std::move(*pic);
        }
        return;
    }
    const bool transparentPixels = loaded->anyTransparent();
    // A background is drawn without a colour key: unless one is asked for, its
    // transparent parts are laid over black rather than keyed.
    if (role == PictureRole::Background && !o.transparentColor)
        flattenOverBlack(*loaded);
    else
        keyTransparentPixels(*loaded, o, where, spec.line, diag);
    // Bitmaps stay lossless unless JPEG is asked for.
    const bool jpeg = o.format
                          ? *o.format == "jpeg"
                          : role == PictureRole::Background && !transparentPixels && ext != ".bmp";
    for (int k = 0; k < frames; ++k) {
        Image img = frames == 1 ? loaded->image : cutFrame(loaded->image, k, frames);
        PictureItem& item = list.add();
        applyOptions(item, o, defaultName);
        item.picture = jpeg ? makeJpegPicture(img, static_cast<int>(o.quality.value_or(90)))
                            : makeDibPicture(img, 24);
    }
}

}  // namespace

void packAssetFolder(const AssetFolder& folder, Diagnostics& diag, std::vector<PackageEntry>& out,
                     AssetIndex& index) {
    const fs::path dir = folder.root / folder.rel;
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) {
        if (e.is_regular_file()) {
            files.push_back(e.path().filename().string());
        } else if (e.is_directory()) {
            diag.warning(folder.rel + "/" + e.path().filename().string(), 0,
                         "folders inside a picture folder are not used");
        }
    }
    std::sort(files.begin(), files.end());

    std::map<std::string, std::string> made;  // entry key -> what made it, for duplicates
    auto emit = [&](const std::string& name, std::vector<uint8_t> bytes, const std::string& from,
                    bool compress) {
        const std::string entry = folder.entryPrefix + entryText(name, folder.codePage);
        const std::string key = entryKey(entry, folder.codePage);
        if (auto it = made.find(key); it != made.end()) {
            diag.error(from, 0, "makes '" + name + "', which " + it->second + " makes already");
            return false;
        }
        made[key] = from;
        out.push_back({entry, std::move(bytes), compress});
        return true;
    };

    // Picture lists declared in pictures.toml, then one list per remaining image.
    std::vector<ListSpec> lists;
    if (std::find(files.begin(), files.end(), "pictures.toml") != files.end())
        lists = readPicturesToml(folder, diag);
    std::set<std::string> usedImages;
    for (const ListSpec& l : lists)
        for (const ItemSpec& i : l.items) usedImages.insert(i.image);
    std::vector<std::string> wavs;
    for (const std::string& f : files) {
        const std::string ext = toLowerAscii(fs::path(f).extension().string());
        if (f == "pictures.toml" || f == "sounds.toml") continue;
        if (isImage(ext)) {
            if (usedImages.count(f)) continue;
            ListSpec l;
            l.name = stem(f) + ".dxg";
            l.file = folder.rel + "/" + f;
            ItemSpec spec;
            spec.image = f;
            spec.file = l.file;
            l.items.push_back(spec);
            lists.push_back(std::move(l));
        } else if (ext == ".wav") {
            wavs.push_back(f);
        } else if (ext == ".dxg" || ext == ".dxw") {
            auto bytes = readFileBytes(dir / f);
            const std::string shown = folder.rel + "/" + f;
            if (!bytes) {
                diag.error(shown, 0, "cannot be read");
                continue;
            }
            try {
                if (ext == ".dxg") {
                    readPictureList(*bytes);
                    index.pictureLists.insert(entryKey(
                        folder.entryPrefix + entryText(f, folder.codePage), folder.codePage));
                } else {
                    WaveList w = readWaveList(*bytes);
                    auto& names = index.sounds[entryKey(
                        folder.entryPrefix + entryText(f, folder.codePage), folder.codePage)];
                    for (const WaveItem& it : w.items) names.push_back(it.name);
                }
            } catch (const DataError& e) {
                diag.error(shown, 0, std::string("is damaged: ") + e.what());
                continue;
            }
            emit(f, std::move(*bytes), shown, true);
        } else {
            diag.warning(folder.rel + "/" + f, 0,
                         "is not a picture, sound or list; it is not used");
        }
    }
    for (const ListSpec& l : lists) {
        PictureList list;
        if (l.colorTable) list.colorTable = *l.colorTable;
        const PictureRole role = folder.role ? folder.role(l.name) : PictureRole::Plain;
        const int errorsBefore = diag.errorCount();
        for (const ItemSpec& spec : l.items) buildItems(folder, spec, role, list, diag);
        // A list that failed is still known, so its users get no second error.
        index.pictureLists.insert(
            entryKey(folder.entryPrefix + entryText(l.name, folder.codePage), folder.codePage));
        if (diag.errorCount() != errorsBefore) continue;
        emit(l.name, writePictureList(list), l.file, true);
    }

    // Sounds: those of sounds.toml in its order, then the other WAV files by name.
    std::string waveList = folder.waveListName;
    std::vector<SoundSpec> sounds;
    if (std::find(files.begin(), files.end(), "sounds.toml") != files.end())
        sounds = readSoundsToml(folder, diag, waveList);
    std::set<std::string> listed;
    for (const SoundSpec& s : sounds) listed.insert(s.file);
    for (const std::string& w : wavs)
        if (!listed.count(w))
            sounds.push_back({w, entryText(stem(w), folder.codePage), false, 0, 0});
    if (sounds.empty()) return;
    WaveList list;
    const std::string where = folder.rel + "/sounds.toml";
    for (const SoundSpec& s : sounds) {
        const std::string shown = folder.rel + "/" + s.file;
        if (s.file.empty()) continue;
        auto bytes = readFileBytes(dir / s.file);
        if (!bytes) {
            diag.error(s.line ? where : shown, s.line, "sound '" + shown + "' does not exist");
            continue;
        }
        WaveItem item;
        item.name = s.name;
        item.looped = s.looped;
        item.maxPlayingCount = s.maxPlayingCount;
        try {
            item.wave = readWavFile(*bytes);
        } catch (const DataError& e) {
            diag.error(shown, 0, std::string("is not a usable WAV file: ") + e.what());
            continue;
        }
        if (item.name.size() > 30)
            diag.warning(s.line ? where : shown, s.line,
                         "sound name '" + s.name +
                             "' is longer than 30 characters; \"playsnd\" cannot name it");
        list.items.push_back(std::move(item));
    }
    auto& names = index.sounds[entryKey(folder.entryPrefix + entryText(waveList, folder.codePage),
                                        folder.codePage)];
    for (const WaveItem& it : list.items) names.push_back(it.name);
    emit(waveList, writeWaveList(list), where, true);
}

}  // namespace zk::tools
