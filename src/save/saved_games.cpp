#include "save/saved_games.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "core/error.h"
#include "data/error_log.h"
#include "package/entry_names.h"
#include "package/package.h"
#include "platform/archive.h"
#include "platform/platform.h"
#include "render/blit.h"
#include "save/save_folder.h"
#include "save/slot_format.h"

namespace zk {
namespace {

std::string quoted(const std::filesystem::path& p) {
    return "'" + p.string() + "'";
}

// The cause of an error, without the file names that the caller words itself.
std::string reasonOf(const DataError& e) {
    if (const auto* a = dynamic_cast<const ArchiveError*>(&e)) return a->reason();
    return e.what();
}

// Item 0 of the saving picture list, pattern 0, centred on the back surface with its
// colour key, then shown.
void showSavingPicture(GameState& g) {
    if (!g.platform || g.ui.savingImageList.count() == 0) return;
    Display& display = g.platform->display;
    if (!display.canDraw()) return;
    const PictureItem& item = g.ui.savingImageList.items[0];
    if (item.patterns().empty()) return;
    Surface& back = display.back();
    drawPattern(back, item, 0, (back.width - item.width()) / 2, (back.height - item.height()) / 2);
    display.flip();
}

// Flushes a file or folder to the disk; a failure to flush a folder is not fatal.
bool syncPath(const std::filesystem::path& path, int flags) {
    int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// Writes the archive to a fresh file in the slot's folder, flushes it, gives it the
// old slot's permissions and renames it over the slot. Throws DataError with the
// cause; the temporary file never outlives a failure.
void writeSlotFile(const std::filesystem::path& path, const SlotMembers& m) {
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) throw DataError("cannot create the folder " + quoted(folder) + ": " + ec.message());

    std::string temp = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(temp.data());
    if (fd < 0) throw DataError(std::strerror(errno));
    ::close(fd);
    try {
        std::string counts;
        for (const std::string& line : m.objectCounts) counts += line + "\r\n";
        auto bytes = [](const std::string& s) {
            return std::span(reinterpret_cast<const uint8_t*>(s.data()), s.size());
        };
        auto member = [](std::string_view name, std::span<const uint8_t> data) {
            ArchiveAddition a;
            a.name = std::string(name);
            a.bytes = data;
            return a;
        };
        const ArchiveAddition additions[] = {
            member(kScreenshotMember, m.screenshot), member(kObjectCountsMember, bytes(counts)),
            member(kInventoryMember, m.inventory),   member(kRoomObjectsMember, m.roomObjects),
            member(kSavedRoomsMember, m.savedRooms), member(kAdditionalMember, m.additional),
            member(kMetaMember, bytes(m.meta)),
        };
        writeArchive(temp, ArchiveWriteMode::Create, additions);

        struct stat old {};
        mode_t mode = 0;
        if (::stat(path.c_str(), &old) == 0) {
            mode = old.st_mode & 07777;
        } else {
            mode = ::umask(0);
            ::umask(mode);
            mode = 0666 & ~mode;
        }
        if (::chmod(temp.c_str(), mode) != 0 || !syncPath(temp, O_RDONLY) ||
            ::rename(temp.c_str(), path.c_str()) != 0)
            throw DataError(std::strerror(errno));
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    syncPath(folder, O_RDONLY | O_DIRECTORY);
}

// One member of an open slot, whole. Throws DataError naming the member.
std::vector<uint8_t> readMember(ArchiveReader& archive, std::string_view name) {
    std::vector<size_t> found = findEntries(archive.entries(), name);
    if (found.size() != 1) throw DataError("'" + std::string(name) + "' is missing");
    try {
        return archive.read(found[0], kPackagePassword);
    } catch (const ArchiveError& e) {
        throw DataError("'" + std::string(name) + "': " + e.reason());
    }
}

// The meta member of an open slot; nothing for slots of older engines.
std::optional<SlotMeta> readMeta(ArchiveReader& archive) {
    if (findEntries(archive.entries(), kMetaMember).empty()) return std::nullopt;
    std::vector<uint8_t> text = readMember(archive, kMetaMember);
    return readSlotMeta(std::string(text.begin(), text.end()));
}

SlotData readSlotMembers(ArchiveReader& archive) {
    SlotData d;
    std::vector<uint8_t> counts = readMember(archive, kObjectCountsMember);
    d.objectCounts.assign(counts.begin(), counts.end());
    d.inventory = readMember(archive, kInventoryMember);
    d.roomObjects = readMember(archive, kRoomObjectsMember);
    d.savedRooms = readMember(archive, kSavedRoomsMember);
    d.additional = readMember(archive, kAdditionalMember);
    return d;
}

// A slot names the game that wrote it: this game's id, or its title-made name from
// before the game's metadata gave it an id.
bool writtenByThisGame(const GameState& g, const std::string& game) {
    return game == g.session.gameId || game == gameIdentity(std::nullopt, g.tables.prefs.title());
}

bool ofAnotherGame(const GameState& g, const std::optional<SlotMeta>& meta) {
    return meta && !meta->game.empty() && !writtenByThisGame(g, meta->game);
}

// Writes `members` to `path`; a failure is reported every time, naming the file.
bool writeReported(GameState& g, const std::filesystem::path& path, const SlotMembers& members) {
    try {
        writeSlotFile(path, members);
        return true;
    } catch (const DataError& e) {
        reportErrorAgain(g, "Cannot save the game to " + quoted(path) + ": " + reasonOf(e));
    } catch (const std::bad_alloc&) {
        reportErrorAgain(g, "Cannot save the game to " + quoted(path) + ": out of memory");
    }
    return false;
}

// Reads and checks the slot at `path`, called `label` ("slot 3") when it is refused
// for belonging to another game.
std::optional<SavedGame> readSlotAt(const GameState& g, const std::filesystem::path& path,
                                    const std::string& label) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return std::nullopt;
    try {
        std::unique_ptr<ArchiveReader> archive = openArchive(path);
        std::optional<SlotMeta> meta = readMeta(*archive);
        if (ofAnotherGame(g, meta)) {
            reportErrorAgain(g, label + " belongs to another game ('" +
                                    (meta->title.empty() ? meta->game : meta->title) + "')");
            return std::nullopt;
        }
        SavedGame saved = readSavedGame(g, readSlotMembers(*archive));
        saved.meta = std::move(meta);
        return saved;
    } catch (const DataError& e) {
        reportErrorAgain(g, "Cannot load the game from " + quoted(path) + ": " + reasonOf(e));
    } catch (const std::bad_alloc&) {
        reportErrorAgain(g, "Cannot load the game from " + quoted(path) + ": out of memory");
    }
    return std::nullopt;
}

// `width` x `height` pixels sampled (nearest, truncated) from the last displayed frame;
// black without a display.
Image sampleScreen(const GameState& g, int width, int height) {
    Image t;
    t.width = width;
    t.height = height;
    t.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    const Surface* screen = g.platform ? &g.platform->display.back() : nullptr;
    if (screen && screen->width > 0 && screen->height > 0) {
        // Screen pixel (display width / width * x, display height / height * y), each
        // computed in floating point and truncated.
        const double fx = static_cast<double>(screen->width) / width;
        const double fy = static_cast<double>(screen->height) / height;
        std::vector<int> columns(static_cast<size_t>(width));
        for (int x = 0; x < width; ++x)
            columns[static_cast<size_t>(x)] = std::min(screen->width - 1, static_cast<int>(fx * x));
        for (int y = 0; y < height; ++y) {
            const uint32_t* src =
                screen->row(std::min(screen->height - 1, static_cast<int>(fy * y)));
            uint32_t* dst = &t.pixels[static_cast<size_t>(y) * static_cast<size_t>(width)];
            for (int x = 0; x < width; ++x)
                dst[x] = src[columns[static_cast<size_t>(x)]] & kColorMask;
        }
    }
    return t;
}

// The room names of a slot's "savedrooms.dat".
std::vector<std::string> savedRoomNames(ArchiveReader& archive) {
    std::vector<uint8_t> rooms = readMember(archive, kSavedRoomsMember);
    std::vector<std::string> names;
    if (rooms.size() % RoomRecord::kSize != 0) return names;
    for (size_t at = 0; at < rooms.size(); at += RoomRecord::kSize)
        names.push_back(RoomRecord(std::span(rooms).subspan(at, RoomRecord::kSize)).name());
    return names;
}

bool folderIsEmpty(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    return ec || it == std::filesystem::directory_iterator();
}

}  // namespace

std::filesystem::path slotPath(const GameState& g, int slot) {
    return std::filesystem::path(g.session.saveFolder) / ("slot" + std::to_string(slot) + ".sav");
}

std::filesystem::path autosavePath(const GameState& g) {
    return std::filesystem::path(g.session.saveFolder) / "autosave.sav";
}

bool saveGame(GameState& g, int slot) {
    showSavingPicture(g);
    std::optional<SlotMembers> members;
    try {
        members = buildSlotMembers(g, slotMetaOf(g, std::time(nullptr)));
    } catch (const std::bad_alloc&) {
        reportErrorAgain(
            g, "Cannot save the game to " + quoted(slotPath(g, slot)) + ": out of memory");
        return false;
    }
    return writeReported(g, slotPath(g, slot), *members);
}

std::optional<SavedGame> readSaveSlot(const GameState& g, int slot) {
    return readSlotAt(g, slotPath(g, slot), "slot " + std::to_string(slot));
}

bool writeAutosave(GameState& g) {
    std::optional<SlotMembers> members;
    try {
        SlotMeta meta = slotMetaOf(g, std::time(nullptr));
        meta.heldItem = g.cursor.heldItem;
        members = buildSlotMembers(g, meta);
        // A fifth of the display on each side, from the frame the player last saw.
        const Surface* screen = g.platform ? &g.platform->display.back() : nullptr;
        if (screen && screen->width >= 5 && screen->height >= 5)
            members->screenshot =
                thumbnailPictureList(sampleScreen(g, screen->width / 5, screen->height / 5));
    } catch (const std::bad_alloc&) {
        reportErrorAgain(g,
                         "Cannot save the game to " + quoted(autosavePath(g)) + ": out of memory");
        return false;
    }
    return writeReported(g, autosavePath(g), *members);
}

bool autosaveAllowed(const GameState& g, bool quitting) {
    if (!g.session.gameLoaded || !g.hasRoom() || !g.room().isGameRoom()) return false;
    if (g.scene.fading || g.scene.screenFaded || g.dialogue.dialogueOpen) return false;
    if (!quitting && g.walk.walking) return false;
    for (int s = 0; s < kQueueSlots; ++s)
        if (g.scripts.queue.inUse(s)) return false;
    return true;
}

std::optional<SavedGame> readAutosave(const GameState& g) {
    return readSlotAt(g, autosavePath(g), "the autosave");
}

bool isSlotOfGame(const GameState& g, const std::filesystem::path& path) {
    try {
        std::unique_ptr<ArchiveReader> archive = openArchive(path);
        if (std::optional<SlotMeta> meta = readMeta(*archive); meta && !meta->game.empty())
            return writtenByThisGame(g, meta->game);
        std::vector<std::string> names = savedRoomNames(*archive);
        if (names.size() != g.tables.rooms.size() || names.empty()) return false;
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] != g.tables.rooms[i].name()) return false;
        return true;
    } catch (const DataError&) {
        return false;
    }
}

CopiedSlots copySlotsFromSharedFolders(const GameState& g,
                                       const std::vector<std::filesystem::path>& sharedFolders) {
    CopiedSlots copied;
    const std::filesystem::path target(g.session.saveFolder);
    if (!folderIsEmpty(target)) return copied;
    for (const std::filesystem::path& folder : sharedFolders) {
        std::error_code ec;
        if (std::filesystem::equivalent(folder, target, ec)) continue;
        std::filesystem::directory_iterator it(folder, ec);
        if (ec) continue;
        bool fromHere = false;
        for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
            if (ec) break;
            const std::string name = it->path().filename().string();
            if (name == "autosave.sav" || !isSlotFileName(name)) continue;
            std::error_code fileEc;
            if (!it->is_regular_file(fileEc) || std::filesystem::exists(target / name, fileEc))
                continue;
            if (!isSlotOfGame(g, it->path())) continue;
            std::filesystem::create_directories(target, fileEc);
            if (!std::filesystem::copy_file(it->path(), target / name, fileEc)) continue;
            ++copied.count;
            fromHere = true;
        }
        if (fromHere) copied.from.push_back(folder);
    }
    return copied;
}

void captureThumbnail(GameState& g, int width, int height) {
    if (width <= 0 || height <= 0) {
        g.ui.screenshotDib = Image{};
        return;
    }
    if (width > kMaxImageSide || height > kMaxImageSide) {
        reportErrorAgain(g, "Cannot capture a saved-game picture of " + std::to_string(width) +
                                " x " + std::to_string(height) + " pixels");
        return;
    }
    g.ui.screenshotDib = sampleScreen(g, width, height);
}

void showSlotThumbnail(GameState& g, int object, int slot) {
    const std::filesystem::path path = slotPath(g, slot);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return;
    if (!g.hasRoom() || object < 0 || object >= static_cast<int>(g.objects().size())) return;
    PictureList list;
    try {
        std::unique_ptr<ArchiveReader> archive = openArchive(path);
        if (findEntries(archive->entries(), kScreenshotMember).size() != 1) return;
        list = readPictureList(readMember(*archive, kScreenshotMember));
    } catch (const DataError& e) {
        reportErrorAgain(g, "Cannot show the picture of " + quoted(path) + ": " + reasonOf(e));
        return;
    }
    if (list.count() > 0) {
        list.items[0].transparent = false;
        list.items[0].prepare();
    }
    g.ensureImageSlotRow(object);
    g.scene.imageSlots[static_cast<size_t>(object)][3] = std::move(list);
}

}  // namespace zk
