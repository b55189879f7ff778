// zelkin-demo-art SOURCES OUT: copies the demo's hand-written sources (SOURCES) into the
// game source folder OUT and adds every generated picture, sound and music file, so
// that OUT is ready for zelkin-pack. languages.txt is kept in UTF-8 in the repository
// and written as the Windows-1252 text the engine reads.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>

#include "art.h"
#include "platform/fonts.h"

namespace fs = std::filesystem;

namespace demo {

void Output::png(const Paint& p, const std::string& relative) const {
    const fs::path path = root_ / relative;
    fs::create_directories(path.parent_path());
    p.save(path.string());
}

void Output::bytes(const std::vector<uint8_t>& data, const std::string& relative) const {
    const fs::path path = root_ / relative;
    fs::create_directories(path.parent_path());
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!f) throw std::runtime_error("cannot write " + path.string());
}

namespace {

zk::Fonts& fonts() {
    static zk::Fonts instance;
    return instance;
}

// UTF-8 to Windows-1252 for the characters the demo's texts use (Latin-1); anything
// else is refused so that a stray character cannot slip into the package.
std::string toWindows1252(const std::string& utf8, const std::string& file) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            const unsigned code =
                ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
            if (code < 0xA0 || code > 0xFF)
                throw std::runtime_error(file + ": character U+" + std::to_string(code) +
                                         " has no place in Windows-1252 here");
            out += static_cast<char>(code);
            i += 2;
        } else {
            throw std::runtime_error(file + ": only Latin-1 characters are used in the texts");
        }
    }
    return out;
}

void copySources(const fs::path& from, const fs::path& to) {
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(from)) {
        if (!e.is_regular_file()) continue;
        const fs::path rel = fs::relative(e.path(), from);
        const fs::path target = to / rel;
        fs::create_directories(target.parent_path());
        if (rel == "languages.txt") {
            std::ifstream in(e.path(), std::ios::binary);
            std::string text((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
            std::string lines;
            size_t start = 0;
            while (start < text.size()) {
                size_t end = text.find('\n', start);
                if (end == std::string::npos) end = text.size();
                std::string line = text.substr(start, end - start);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                lines += toWindows1252(line, rel.string()) + "\r\n";
                start = end + 1;
            }
            std::ofstream(target, std::ios::binary) << lines;
        } else {
            fs::copy_file(e.path(), target, fs::copy_options::overwrite_existing);
        }
    }
}

}  // namespace

TextCoverage renderText(const std::string& family, int points, const std::string& utf8) {
    zk::TextMask m = fonts().get(family, points).render(utf8);
    return {m.width, m.height, std::move(m.alpha)};
}

int textWidth(const std::string& family, int points, const std::string& utf8) {
    return fonts().get(family, points).width(utf8);
}

void paintText(Paint& p, const std::string& family, int points, const std::string& utf8, int x,
               int y, Color c, bool shadow) {
    const TextCoverage t = renderText(family, points, utf8);
    auto lay = [&](int ox, int oy, Color col, float strength) {
        for (int ty = 0; ty < t.height; ++ty)
            for (int tx = 0; tx < t.width; ++tx) {
                const uint8_t a = t.alpha[static_cast<size_t>(ty) * t.width + tx];
                if (a) p.put(x + tx + ox, y + ty + oy, col, strength * a / 255.0f);
            }
    };
    if (shadow)
        for (int d = 1; d <= 3; ++d) lay(d, d, 0x100C08, 0.35f);
    lay(0, 0, c, 1.0f);
}

}  // namespace demo

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: zelkin-demo-art SOURCES OUT\n";
        return 2;
    }
    try {
        const fs::path sources = argv[1];
        const fs::path out = argv[2];
        fs::remove_all(out);
        fs::create_directories(out);
        demo::copySources(sources, out);
        demo::Output o(out);
        demo::makeFigures(o);
        demo::makeRooms(o);
        demo::makeProps(o);
        demo::makeInterface(o);
        demo::makeSounds(o);
        demo::makeMusic(o);
    } catch (const std::exception& e) {
        std::cerr << "zelkin-demo-art: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
