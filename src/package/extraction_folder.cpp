#include "package/extraction_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "core/error.h"

namespace zk {

ExtractionFolder::ExtractionFolder() {
    const char* tmp = std::getenv("TMPDIR");
    // Absolute, so that removal still finds the folder after the working folder changes.
    std::error_code ec;
    std::filesystem::path base = std::filesystem::absolute(tmp && *tmp ? tmp : "/tmp", ec);
    std::string name = (base / "zelkin-XXXXXX").string();
    // mkdtemp creates the folder with mode 0700 under a name nobody else can claim.
    if (!::mkdtemp(name.data())) {
        throw DataError("Cannot create a private folder in '" + base.string() +
                        "': " + std::strerror(errno));
    }
    path_ = name;
}

ExtractionFolder::~ExtractionFolder() {
    remove();
}

ExtractionFolder::ExtractionFolder(ExtractionFolder&& other) noexcept
    : path_(std::exchange(other.path_, {})) {}

ExtractionFolder& ExtractionFolder::operator=(ExtractionFolder&& other) noexcept {
    if (this != &other) {
        remove();
        path_ = std::exchange(other.path_, {});
    }
    return *this;
}

void ExtractionFolder::remove() noexcept {
    if (path_.empty()) return;
    std::error_code ec;  // a folder that cannot be removed is left behind, not fatal
    std::filesystem::remove_all(path_, ec);
    path_.clear();
}

}  // namespace zk
