#include "broken_packages.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>

#include "core/bytes.h"
#include "core/error.h"
#include "package/package.h"
#include "platform/archive.h"

namespace zk::fuzz {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using Edit = std::function<void(ArchiveImage&)>;
using Patch = std::function<void(Bytes&)>;

// The record size of each data file; 0 for the text file.
const std::map<std::string, size_t> kDataFiles = {
    {"prefs.dat", 564},  {"inv.dat", 1940},  {"objects.dat", 94752}, {"rooms.dat", 4116},
    {"cursors.dat", 44}, {"music.dat", 287}, {"languages.txt", 0},
};

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool endsWith(const std::string& name, std::string_view suffix) {
    const std::string l = lower(name);
    return l.size() >= suffix.size() &&
           l.compare(l.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// A name made safe for a file name.
std::string label(const std::string& entry) {
    std::string s;
    for (char c : entry) s += std::isalnum(static_cast<unsigned char>(c)) || c == '.' ? c : '_';
    return s;
}

template <typename Image>
auto* find(Image& image, const std::string& name) {
    decltype(&image.entries[0]) found = nullptr;
    for (auto& e : image.entries)
        if (e.name == name) found = &e;
    return found;
}

Bytes readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeAll(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw DataError("Cannot write '" + path.string() + "'");
}

// Writes the entries as the package builder does: each protected by `password`
// (none when empty), names stored exactly as given.
void writeImage(const ArchiveImage& image, const fs::path& path, const std::string& password) {
    std::vector<ArchiveAddition> additions;
    for (const auto& e : image.entries) {
        ArchiveAddition a;
        a.name = e.name;
        a.bytes = e.data;
        a.password = password;
        additions.push_back(std::move(a));
    }
    std::error_code ec;
    fs::remove(path, ec);
    writeArchive(path, ArchiveWriteMode::Create, additions);
}

// Sets the uncompressed size that the archive's directory and the local header of
// `entry` record. False when the entry is not found.
bool claimSize(Bytes& zip, const std::string& entry, uint32_t size) {
    for (size_t at = 0; at + 46 <= zip.size(); ++at) {
        if (getU32(zip, at) != 0x02014B50) continue;
        const size_t nameLength = getU16(zip, at + 28);
        if (at + 46 + nameLength > zip.size()) continue;
        if (std::string(zip.begin() + static_cast<long>(at + 46),
                        zip.begin() + static_cast<long>(at + 46 + nameLength)) != entry)
            continue;
        putU32(zip, at + 24, size);
        const size_t local = getU32(zip, at + 42);
        if (local + 30 <= zip.size() && getU32(zip, local) == 0x04034B50 &&
            getU32(zip, local + 22) != 0)
            putU32(zip, local + 22, size);
        return true;
    }
    return false;
}

// The offset of the first DIB header (40 bytes, one plane, a sane size) in a picture
// list, or npos.
size_t findDibHeader(const Bytes& b) {
    for (size_t at = 0; at + 16 <= b.size(); ++at) {
        if (getU32(b, at) != 40 || getU16(b, at + 12) != 1) continue;
        const int32_t w = getI32(b, at + 4), h = getI32(b, at + 8);
        if (w > 0 && w <= 16384 && h != 0 && h >= -16384 && h <= 16384) return at;
    }
    return std::string::npos;
}

// The offset of the first JPEG frame header (SOF0 or SOF2 marker), or npos.
size_t findJpegFrame(const Bytes& b) {
    for (size_t at = 0; at + 9 <= b.size(); ++at)
        if (b[at] == 0xFF && (b[at + 1] == 0xC0 || b[at + 1] == 0xC2) && b[at + 4] == 8) return at;
    return std::string::npos;
}

// Flips one bit in `count` bytes of each stretch of `stride` bytes (the whole data
// when stride is 0). Half the flips land on bytes that are not zero, where the
// content of sparse records lives.
void flipBytes(Bytes& b, uint32_t seed, int count, size_t stride, size_t limit = SIZE_MAX) {
    if (b.empty()) return;
    std::mt19937 rng(seed);
    const size_t end = std::min(limit, b.size());
    if (stride == 0) stride = end;
    for (size_t start = 0; start < end; start += stride) {
        const size_t length = std::min(stride, end - start);
        std::vector<size_t> live;
        for (size_t i = start; i < start + length; ++i)
            if (b[i] != 0) live.push_back(i);
        for (int k = 0; k < count; ++k) {
            size_t at =
                (k % 2 == 0 && !live.empty()) ? live[rng() % live.size()] : start + rng() % length;
            b[at] ^= static_cast<uint8_t>(1u << (rng() % 8));
        }
    }
}

// Sets every byte that looks like the length of a string (1..30, then a letter) to
// 255, so that every string claims more than its capacity.
void overlongStrings(Bytes& b) {
    for (size_t i = 0; i + 1 < b.size(); ++i)
        if (b[i] >= 1 && b[i] <= 30 && std::isalpha(b[i + 1])) b[i] = 255;
}

// Writes extreme 32-bit values at random places.
void extremeNumbers(Bytes& b, uint32_t seed, size_t stride) {
    static const uint32_t kValues[] = {0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0, 16385, 0x8000};
    std::mt19937 rng(seed);
    if (b.size() < 4) return;
    if (stride == 0) stride = b.size();
    for (size_t start = 0; start + 4 <= b.size(); start += stride)
        for (int k = 0; k < 24; ++k) {
            const size_t span = std::min(stride, b.size() - start) - 3;
            putU32(b, start + rng() % span, kValues[rng() % std::size(kValues)]);
        }
}

// Up to `count` names spread evenly over `names`, with `wanted` first.
std::vector<std::string> sample(const std::vector<std::string>& names, size_t count,
                                const std::vector<std::string>& wanted) {
    std::vector<std::string> out;
    for (const std::string& w : wanted)
        if (std::find(names.begin(), names.end(), w) != names.end()) out.push_back(w);
    for (size_t k = 0; k < count && out.size() < count && !names.empty(); ++k) {
        const std::string& n = names[k * names.size() / count];
        if (std::find(out.begin(), out.end(), n) == out.end()) out.push_back(n);
    }
    return out;
}

class Builder {
  public:
    Builder(const ArchiveImage& good) : good_(good) {}

    // A package with the entries of the good one after `edit`, protected by
    // `password`, its archive bytes then changed by `patch`.
    void add(std::string name, std::string what, Edit edit,
             std::string password = std::string(kPackagePassword), Patch patch = {}) {
        const ArchiveImage& good = good_;
        out.push_back({std::move(name), std::move(what),
                       [&good, edit, password, patch](const fs::path& path) {
                           ArchiveImage image = good;
                           if (edit) edit(image);
                           writeImage(image, path, password);
                           if (patch) {
                               Bytes zip = readAll(path);
                               patch(zip);
                               writeAll(path, zip);
                           }
                       }});
    }
    // Changes the data of one entry.
    void change(std::string name, std::string what, const std::string& entry,
                std::function<void(Bytes&)> how) {
        add(std::move(name), std::move(what), [entry, how](ArchiveImage& image) {
            if (auto* e = find(image, entry)) how(e->data);
        });
    }
    void addEntry(std::string name, std::string what, std::string entry, Bytes data) {
        add(std::move(name), std::move(what), [entry, data](ArchiveImage& image) {
            image.entries.push_back({entry, data});
        });
    }

    std::vector<BrokenPackage> out;

  private:
    const ArchiveImage& good_;
};

}  // namespace

std::vector<BrokenPackage> brokenPackages(const ArchiveImage& good, const fs::path& escapeTarget) {
    Builder b(good);
    std::vector<std::string> pictures, waves, music, data;
    std::map<std::string, size_t> sizes;
    for (const auto& e : good.entries) {
        sizes[e.name] = e.data.size();
        if (kDataFiles.count(e.name))
            data.push_back(e.name);
        else if (endsWith(e.name, ".dxg"))
            pictures.push_back(e.name);
        else if (endsWith(e.name, ".dxw"))
            waves.push_back(e.name);
        else if (lower(e.name).rfind("music/", 0) == 0)
            music.push_back(e.name);
    }

    // Data files: cut short, bytes flipped in every record, strings too long, numbers
    // at their extremes.
    for (const std::string& file : data) {
        const size_t record = kDataFiles.at(file);
        const size_t size = sizes[file];
        std::set<size_t> cuts = {0, 1, size / 2, size > 0 ? size - 1 : 0};
        if (record > 1 && record < size) cuts.insert(record - 1);
        if (record > 0 && 2 * record < size) cuts.insert(record + record / 2);
        for (size_t n : cuts)
            if (n < size)
                b.change("cut-" + label(file) + "-" + std::to_string(n),
                         file + " cut to " + std::to_string(n) + " of " + std::to_string(size) +
                             " bytes",
                         file, [n](Bytes& d) { d.resize(n); });
        for (uint32_t seed : {1u, 2u})
            b.change("flip-" + label(file) + "-" + std::to_string(seed),
                     file + ": bits flipped in every record (seed " + std::to_string(seed) + ")",
                     file, [seed, record](Bytes& d) { flipBytes(d, seed, 12, record); });
        if (record > 0) {
            b.change("strings-" + label(file), file + ": every string longer than it may be", file,
                     overlongStrings);
            b.change("numbers-" + label(file), file + ": numbers at their extremes", file,
                     [record](Bytes& d) { extremeNumbers(d, 7, record); });
        }
    }

    // Picture and wave lists: cut short and flipped, in the header and anywhere.
    auto lists = sample(pictures, 10, {"inv.dxg", "saving.dxg", "dlg.dxg"});
    for (const std::string& w : sample(waves, 4, {"sounds.dxw"})) lists.push_back(w);
    for (const std::string& list : lists) {
        const size_t size = sizes[list];
        for (size_t n : std::set<size_t>{16, size / 2, size > 0 ? size - 1 : 0})
            if (n < size)
                b.change("cut-" + label(list) + "-" + std::to_string(n),
                         list + " cut to " + std::to_string(n) + " of " + std::to_string(size) +
                             " bytes",
                         list, [n](Bytes& d) { d.resize(n); });
        b.change("flip-head-" + label(list), list + ": bits flipped in its first 300 bytes", list,
                 [](Bytes& d) { flipBytes(d, 3, 6, 0, 300); });
        b.change("flip-" + label(list), list + ": bits flipped anywhere", list,
                 [](Bytes& d) { flipBytes(d, 4, 24, 0); });
    }

    // Pictures that claim to be huge: one list, and every list (so that pictures shown
    // at the start are among them).
    b.add("huge-pictures", "every bitmap 40000 x 40000 pixels, every JPEG 65535 x 65535",
          [](ArchiveImage& image) {
              for (auto& e : image.entries) {
                  if (!endsWith(e.name, ".dxg")) continue;
                  if (size_t at = findDibHeader(e.data); at != std::string::npos) {
                      putI32(e.data, at + 4, 40000);
                      putI32(e.data, at + 8, 40000);
                  }
                  if (size_t at = findJpegFrame(e.data); at != std::string::npos)
                      e.data[at + 5] = e.data[at + 6] = e.data[at + 7] = e.data[at + 8] = 0xFF;
              }
          });
    for (const std::string& list : pictures) {
        const Bytes& bytes = find(good, list)->data;
        if (findDibHeader(bytes) == std::string::npos) continue;
        b.change("huge-bitmap-" + label(list), list + ": a bitmap of 40000 x 40000 pixels", list,
                 [](Bytes& d) {
                     const size_t at = findDibHeader(d);
                     putI32(d, at + 4, 40000);
                     putI32(d, at + 8, 40000);
                 });
        b.change("wide-bitmap-" + label(list), list + ": a bitmap of 16385 pixels by 1", list,
                 [](Bytes& d) {
                     const size_t at = findDibHeader(d);
                     putI32(d, at + 4, 16385);
                     putI32(d, at + 8, 1);
                 });
        break;
    }
    for (const std::string& list : pictures) {
        const Bytes& bytes = find(good, list)->data;
        if (findJpegFrame(bytes) == std::string::npos) continue;
        b.change("huge-jpeg-" + label(list), list + ": a JPEG picture of 65535 x 65535 pixels",
                 list, [](Bytes& d) {
                     const size_t at = findJpegFrame(d);
                     d[at + 5] = d[at + 6] = d[at + 7] = d[at + 8] = 0xFF;
                 });
        break;
    }

    // A rooms.dat whose rooms would hold more objects than any game: its first room
    // over and over.
    if (sizes.count("rooms.dat") && sizes["rooms.dat"] >= kDataFiles.at("rooms.dat"))
        b.change("rooms-repeated", "rooms.dat: its first room repeated to hold 12000 objects",
                 "rooms.dat", [](Bytes& d) {
                     const Bytes first(d.begin(), d.begin() + 4116);
                     size_t placed = 1;  // the main-character slot
                     for (size_t p = 0; p < 30; ++p) placed += first[204 + 44 * p] != 0;
                     d.clear();
                     for (size_t k = 0; k <= 12000 / placed; ++k)
                         d.insert(d.end(), first.begin(), first.end());
                 });

    // Entries missing.
    std::vector<std::string> missing = data;
    for (const std::string& e : sample(pictures, 6, {"inv.dxg", "saving.dxg", "dlg.dxg"}))
        missing.push_back(e);
    for (const std::string& e : sample(waves, 2, {"sounds.dxw"})) missing.push_back(e);
    if (!music.empty()) missing.push_back(music.front());
    for (const std::string& entry : missing)
        b.add("missing-" + label(entry), entry + " missing", [entry](ArchiveImage& image) {
            std::erase_if(image.entries, [&](const auto& e) { return e.name == entry; });
        });

    // Passwords.
    b.add("password-wrong", "every entry protected by another password", {}, "not-the-password");
    b.add("password-none", "no entry protected (a good package)", {}, "");

    // Sizes that the archive claims: huge, above the limit, and too small.
    std::vector<std::string> claimed = {"prefs.dat", "objects.dat", "sounds.dxw"};
    if (!pictures.empty()) claimed.push_back(pictures.front());
    if (!music.empty()) claimed.push_back(music.front());
    for (const std::string& entry : claimed) {
        if (!sizes.count(entry)) continue;
        b.add("claims-4g-" + label(entry), entry + " claims 4 GiB", {},
              std::string(kPackagePassword),
              [entry](Bytes& zip) { claimSize(zip, entry, 0xFFFFFFF0u); });
    }
    b.add("claims-300m-rooms.dat", "rooms.dat claims 300 MiB", {}, std::string(kPackagePassword),
          [](Bytes& zip) { claimSize(zip, "rooms.dat", 300u << 20); });
    b.add("claims-small-prefs.dat", "prefs.dat claims 10 bytes", {}, std::string(kPackagePassword),
          [](Bytes& zip) { claimSize(zip, "prefs.dat", 10); });

    // Entry names that try to leave the extraction folder.
    const Bytes payload = {'e', 's', 'c', 'a', 'p', 'e', '\n'};
    const std::string target = escapeTarget.string();
    b.addEntry("escape-absolute", "an entry named with an absolute path", target + "/absolute.dat",
               payload);
    b.addEntry("escape-dotdot", "an entry whose name climbs out with ../",
               "../../../../../../../../../../../.." + target + "/dotdot.dat", payload);
    b.addEntry("escape-backslash", "an entry whose name climbs out with ..\\",
               "..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\escape.dat", payload);
    b.addEntry("escape-music", "a music entry whose name climbs out",
               "music/../../../../../../../../../../.." + target + "/music.mid", payload);
    b.addEntry("escape-music-backslash", "a music entry whose name climbs out with ..\\",
               "music\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\escape.mid", payload);
    b.addEntry("escape-music-dots", "a music entry named \"..\"", "music/..", payload);
    b.addEntry("long-music-name", "a music entry whose file name is too long",
               "music/" + std::string(300, 'm') + ".mid", payload);
    b.add("escape-prefs", "prefs.dat stored as ../prefs.dat", [](ArchiveImage& image) {
        if (auto* e = find(image, "prefs.dat")) e->name = "../prefs.dat";
    });
    b.add("escape-copies", "copies of the data files named ../ and absolute",
          [target](ArchiveImage& image) {
              std::vector<ArchiveImage::Entry> copies;
              for (const auto& e : image.entries)
                  if (kDataFiles.count(e.name)) {
                      copies.push_back({"../" + e.name, e.data});
                      copies.push_back({target + "/" + e.name, e.data});
                  }
              image.entries.insert(image.entries.end(), copies.begin(), copies.end());
          });

    // The archive itself cut short or damaged.
    b.add("archive-empty", "an empty file", {}, std::string(kPackagePassword),
          [](Bytes& zip) { zip.clear(); });
    b.add("archive-not-zip", "a file that is no archive", {}, std::string(kPackagePassword),
          [](Bytes& zip) { zip.assign(4096, 'x'); });
    for (int part : {1, 2, 3}) {
        b.add("archive-cut-" + std::to_string(part),
              "the archive cut to " + std::to_string(part) + "/4 of its length", {},
              std::string(kPackagePassword),
              [part](Bytes& zip) { zip.resize(zip.size() * static_cast<size_t>(part) / 4); });
    }
    b.add("archive-cut-directory", "the archive without its last 10 bytes", {},
          std::string(kPackagePassword),
          [](Bytes& zip) { zip.resize(zip.size() > 10 ? zip.size() - 10 : 0); });
    for (uint32_t seed : {5u, 6u})
        b.add("archive-flip-" + std::to_string(seed), "bits flipped in the archive's directory", {},
              std::string(kPackagePassword), [seed](Bytes& zip) {
                  size_t directory = zip.size();
                  for (size_t at = 0; at + 4 <= zip.size(); ++at)
                      if (getU32(zip, at) == 0x02014B50) {
                          directory = at;
                          break;
                      }
                  Bytes tail(zip.begin() + static_cast<long>(directory), zip.end());
                  flipBytes(tail, seed, 16, 0);
                  std::copy(tail.begin(), tail.end(), zip.begin() + static_cast<long>(directory));
              });
    return std::move(b.out);
}

std::string clickAroundScript() {
    std::string s = "wait 3\n";
    for (int y : {80, 200, 320, 440, 560})
        for (int x : {60, 220, 400, 580, 740})
            s += "click " + std::to_string(x) + " " + std::to_string(y) + "\nwait 2\n";
    s += "rclick 400 300\nwait 10\n";
    for (const char* key : {"space", "enter", "escape", "f4", "f10"})
        s += std::string("key ") + key + "\nwait 3\n";
    s += "click 400 300\nwait 30\nstate end\nscreenshot end\n";
    return s;
}

}  // namespace zk::fuzz
