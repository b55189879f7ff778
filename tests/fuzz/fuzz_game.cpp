#include "fuzz_game.h"

#include <stdlib.h>

#include <fstream>
#include <ostream>
#include <streambuf>

#include "app/state_dump.h"
#include "core/bytes.h"
#include "core/error.h"
#include "package/package.h"
#include "platform/archive.h"
#include "platform/input.h"

namespace zk::fuzz {
namespace {

std::vector<uint8_t> runLengthCode(const std::vector<uint8_t>& data) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i < data.size();) {
        size_t run = 1;
        while (i + run < data.size() && run < 256 && data[i + run] == data[i]) ++run;
        if (data[i] == 0 || run >= 4) {
            out.insert(out.end(), {0, static_cast<uint8_t>(run - 1), data[i]});
        } else {
            out.insert(out.end(), data.begin() + static_cast<long>(i),
                       data.begin() + static_cast<long>(i + run));
        }
        i += run;
    }
    return out;
}

std::vector<uint8_t> runLengthDecode(std::span<const uint8_t> coded) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i < coded.size(); ++i) {
        if (coded[i] != 0) {
            out.push_back(coded[i]);
        } else if (i + 2 < coded.size()) {
            out.insert(out.end(), size_t{coded[i + 1]} + 1, coded[i + 2]);
            i += 2;
        } else {
            out.push_back(0);
        }
    }
    return out;
}

}  // namespace

std::vector<uint8_t> ArchiveImage::encode() const {
    std::vector<uint8_t> out{flags};
    for (const Entry& e : entries) {
        const size_t nameLength = e.name.size() < 255 ? e.name.size() : 255;
        out.push_back(static_cast<uint8_t>(nameLength));
        out.insert(out.end(), e.name.begin(), e.name.begin() + static_cast<long>(nameLength));
        const std::vector<uint8_t> coded = runLengthCode(e.data);
        const auto size = static_cast<uint32_t>(coded.size());
        for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(size >> (8 * k)));
        out.insert(out.end(), coded.begin(), coded.end());
    }
    return out;
}

ArchiveImage ArchiveImage::decode(std::span<const uint8_t> bytes) {
    ArchiveImage image;
    if (bytes.empty()) return image;
    image.flags = bytes[0];
    size_t at = 1;
    auto take = [&](size_t n) {
        n = n < bytes.size() - at ? n : bytes.size() - at;
        auto part = bytes.subspan(at, n);
        at += n;
        return part;
    };
    while (at < bytes.size()) {
        Entry e;
        const size_t nameLength = bytes[at++];
        auto name = take(nameLength);
        e.name.assign(name.begin(), name.end());
        uint32_t size = 0;
        auto sizeBytes = take(4);
        for (size_t k = 0; k < sizeBytes.size(); ++k) size |= uint32_t{sizeBytes[k]} << (8 * k);
        e.data = runLengthDecode(take(size));
        image.entries.push_back(std::move(e));
    }
    return image;
}

ArchiveImage ArchiveImage::read(const std::filesystem::path& archive) {
    ArchiveImage image;
    image.flags = kEncrypt | kCompress;
    std::unique_ptr<ArchiveReader> reader = openArchive(archive);
    for (size_t i = 0; i < reader->entries().size(); ++i)
        image.entries.push_back({reader->entries()[i].name, reader->read(i, kPackagePassword)});
    return image;
}

bool writeArchiveInput(std::span<const uint8_t> input, const std::filesystem::path& path) {
    if (input.size() >= 2 && input[0] == 'P' && input[1] == 'K') {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(input.data()),
                  static_cast<std::streamsize>(input.size()));
        return static_cast<bool>(out);
    }
    ArchiveImage image = ArchiveImage::decode(input);
    // A name given twice keeps its later data, as the package builder does (libzip
    // 1.7 would also lose the password copy of the replaced addition).
    for (size_t i = 0; i < image.entries.size(); ++i)
        for (size_t k = i + 1; k < image.entries.size(); ++k)
            if (image.entries[k].name == image.entries[i].name) {
                image.entries.erase(image.entries.begin() + static_cast<long>(i--));
                break;
            }
    std::vector<ArchiveAddition> additions;
    for (const auto& e : image.entries) {
        // libzip 1.7 would lose the password copy of an entry without a name, and the
        // package builder never writes one; raw archive inputs still have them.
        if (e.name.empty()) continue;
        ArchiveAddition a;
        a.name = e.name;
        a.bytes = e.data;
        a.compress = (image.flags & ArchiveImage::kCompress) != 0;
        if (image.flags & ArchiveImage::kEncrypt) a.password = std::string(kPackagePassword);
        additions.push_back(std::move(a));
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);
    try {
        writeArchive(path, ArchiveWriteMode::Create, additions);
    } catch (const DataError&) {
        return false;  // names libzip will not store: not an input of interest
    }
    // An archive without entries is not kept; the game then finds no package.
    return true;
}

namespace {

struct ScratchFolder {
    std::filesystem::path path;
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zelkin-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

class NullBuffer : public std::streambuf {
  protected:
    int overflow(int c) override { return c; }
};

std::ostream& nullStream() {
    static NullBuffer buffer;
    static std::ostream stream(&buffer);
    return stream;
}

}  // namespace

const std::filesystem::path& scratchFolder() {
    static ScratchFolder folder;
    return folder.path;
}

void clearFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    std::filesystem::create_directories(folder, ec);
}

GameRun::GameRun(const std::filesystem::path& package, const std::filesystem::path& saveFolder)
    : view_(platform_.platform()) {
    platform_.errorReport = RecordingErrorReport(nullStream());
    WindowOptions options;
    options.packagePath = package;
    options.executableDir = package.parent_path();
    options.saveDir = saveFolder;
    options.seed = 1;
    window_ = std::make_unique<MainWindow>(view_, std::move(options));
}

GameRun::~GameRun() {
    window_->FormClose();
}

bool GameRun::start() {
    try {
        window_->FormCreate();
        window_->Timer2Timer();
        window_->Timer2Timer();
    } catch (const DataError& e) {
        errors.emplace_back(e.what());
        return false;
    }
    return !window_->finished();
}

void GameRun::frames(int count) {
    for (int i = 0; i < count && !window_->finished(); ++i) {
        platform_.clock.advance(25);
        window_->DXTimer1Timer();
        ++frame_;
    }
}

void GameRun::click(int x, int y, bool right) {
    const DeviceReading& pending = platform_.input.pending();
    platform_.input.addMotion(x - game().input.mouseX - pending.dx,
                              y - game().input.mouseY - pending.dy);
    const int button = right ? ButtonRight : ButtonLeft;
    platform_.input.setButton(button, true);
    frames(1);
    platform_.input.setButton(button, false);
    frames(1);
}

void GameRun::key(int logicalKey) {
    platform_.input.setKey(logicalKey, true);
    frames(1);
    platform_.input.setKey(logicalKey, false);
    frames(1);
}

void GameRun::clickAround() {
    frames(2);
    const int width = platform_.display.back().width;
    const int height = platform_.display.back().height;
    for (int row = 1; row <= 3; ++row)
        for (int column = 1; column <= 3; ++column) click(width * column / 4, height * row / 4);
    click(width / 2, height - 20);
    frames(8);
    click(width / 3, height / 3, true);
    for (int k = 0; k < kLogicalKeys; ++k) key(k);
    frames(4);
}

std::string GameRun::state() {
    auto& messages = platform_.errorReport.messages;
    std::vector<std::string> kept;
    kept.swap(messages);
    std::string dump = stateDump(window_->game(), platform_, frame_);
    kept.swap(messages);
    return dump;
}

}  // namespace zk::fuzz
