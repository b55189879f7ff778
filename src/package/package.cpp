#include "package/package.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "package/entry_names.h"

namespace zk {
namespace {

std::string quoted(const std::filesystem::path& p) {
    return "'" + p.string() + "'";
}

bool writeAll(int fd, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Writes through a temporary file in the same folder and renames it over the target,
// so the target is either the old file or the whole new one. rename() replaces a
// symbolic link at the target rather than following it out of the folder.
void writeFileReplacing(const std::filesystem::path& target, std::span<const uint8_t> bytes) {
    std::string temp = (target.parent_path() / ".zelkin-extract-XXXXXX").string();
    int fd = ::mkstemp(temp.data());
    if (fd < 0) throw DataError("Cannot write " + quoted(target) + ": " + std::strerror(errno));
    bool ok = writeAll(fd, bytes);
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        throw DataError("Cannot write " + quoted(target) + ": " + std::strerror(err));
    }
}

}  // namespace

void Package::setPackagePath(std::filesystem::path path) {
    path_ = std::move(path);
    reader_.reset();
}

void Package::setCodePage(CodePage codePage) {
    codePage_ = codePage;
    if (reader_) entries_ = gameEntryNames(reader_->entries(), codePage_);
}

const std::vector<ArchiveEntry>& Package::entries() {
    reader();
    return entries_;
}

std::vector<std::string> Package::entryNames() {
    std::vector<std::string> names;
    try {
        for (const ArchiveEntry& e : entries())
            if (!e.name.empty() && !e.isDirectory()) names.push_back(e.name);
    } catch (const DataError&) {
        names.clear();
    }
    return names;
}

ArchiveReader& Package::reader() {
    if (path_.empty()) throw DataError("No game package is set");
    if (!reader_) {
        try {
            reader_ = openArchive(path_);
            entries_ = gameEntryNames(reader_->entries(), codePage_);
        } catch (const ArchiveError& e) {
            throw ArchiveError(e.kind(),
                               "Cannot open game package " + quoted(path_) + ": " + e.reason(),
                               e.reason());
        }
    }
    return *reader_;
}

ExtractResult Package::extractToFolder(const std::vector<std::string>& specs,
                                       const std::filesystem::path& baseFolder) {
    ArchiveReader& archive = reader();
    const std::vector<ArchiveEntry>& entries = entries_;
    std::error_code ec;
    std::filesystem::create_directories(baseFolder, ec);
    if (ec) throw DataError("Cannot create folder " + quoted(baseFolder) + ": " + ec.message());

    ExtractResult result;
    std::vector<bool> done(entries.size(), false);
    for (const std::string& spec : specs) {
        std::vector<size_t> found = findEntries(entries, spec, codePage_);
        if (found.empty()) result.unmatched.push_back(spec);
        for (size_t i : found) {
            if (done[i]) continue;
            done[i] = true;
            // A plain name is written as asked for, so that the caller opens the file it
            // named even when the entry's letter case differs ("PREFS.DAT").
            std::optional<std::string> fileName =
                flatFileName(isWildcardSpec(spec) ? entries[i].name : spec);
            if (!fileName) {
                result.refused.push_back(archive.entries()[i].name);
                continue;
            }
            writeFileReplacing(baseFolder / *fileName, archive.read(i, password_));
            ++result.written;
        }
    }
    return result;
}

MemoryStream* Package::extractToStream(std::string_view entryName) {
    if (path_.empty()) return nullptr;
    ArchiveReader* archive = nullptr;
    try {
        archive = &reader();
    } catch (const ArchiveError& e) {
        if (e.kind() == ArchiveError::Kind::Missing) return nullptr;
        throw;
    }
    if (archive->entries().empty()) return nullptr;
    packageStream_.clear();
    std::vector<size_t> found = findEntries(entries_, entryName, codePage_);
    if (found.size() != 1) return nullptr;
    packageStream_.data() = archive->read(found[0], password_);
    packageStream_.seek(0);
    return &packageStream_;
}

void Package::add(std::span<const ArchiveAddition> additions) {
    if (path_.empty()) throw DataError("No game package is set");
    reader_.reset();  // the file is about to be replaced
    writeArchive(path_, ArchiveWriteMode::Update, additions);
}

void Package::addTextList(const std::vector<std::string>& lines, std::string_view entryName) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    addEntry(entryName, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

void Package::addEntry(std::string_view entryName, std::span<const uint8_t> bytes) {
    ArchiveAddition addition;
    addition.name = normalizeEntryName(entryName);
    addition.bytes = bytes;
    add({&addition, 1});
}

void Package::addFiles(const std::vector<std::filesystem::path>& paths) {
    if (paths.empty()) return;
    std::vector<ArchiveAddition> additions;
    for (const std::filesystem::path& p : paths) {
        ArchiveAddition addition;
        addition.name = p.filename().string();
        if (addition.name.empty() || addition.name == "." || addition.name == "..") {
            throw DataError("Cannot add " + quoted(p) + " to " + quoted(path_) +
                            ": not a file name");
        }
        addition.file = p;
        additions.push_back(std::move(addition));
    }
    add(additions);
}

}  // namespace zk
