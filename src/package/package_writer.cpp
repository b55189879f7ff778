#include "package/package_writer.h"

#include "package/entry_names.h"

namespace zk {

void PackageWriter::add(std::string_view name, std::vector<uint8_t> bytes, bool compress) {
    std::string stored = normalizeEntryName(name);
    for (Entry& e : entries_) {
        if (e.name == stored) {
            e.bytes = std::move(bytes);
            e.compress = compress;
            return;
        }
    }
    entries_.push_back({std::move(stored), std::move(bytes), compress});
}

void PackageWriter::addText(std::string_view name, std::string_view text) {
    add(name, std::vector<uint8_t>(text.begin(), text.end()));
}

void PackageWriter::write(const std::filesystem::path& path, std::string_view password) const {
    // An archive without entries would not even be written (libzip removes it).
    if (entries_.empty())
        throw DataError("Cannot write '" + path.string() + "': the package is empty");
    std::vector<ArchiveAddition> additions;
    additions.reserve(entries_.size());
    for (const Entry& e : entries_) {
        ArchiveAddition a;
        a.name = e.name;
        a.bytes = e.bytes;
        a.password = std::string(password);
        a.compress = e.compress;
        additions.push_back(std::move(a));
    }
    writeArchive(path, ArchiveWriteMode::Create, additions);
}

}  // namespace zk
