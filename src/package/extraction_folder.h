#pragma once
#include <filesystem>

namespace zk {

// A private folder for extracted game files: created inside the system's temporary
// folder ($TMPDIR, else /tmp) with access for the owner only, and removed with all
// its contents when the owner goes away. Extracting into a folder of our own keeps
// other users from reading the data or planting files (or links) where the engine
// will open them, and leaves nothing behind.
class ExtractionFolder {
  public:
    // Throws DataError when the folder cannot be created.
    ExtractionFolder();
    ~ExtractionFolder();
    ExtractionFolder(const ExtractionFolder&) = delete;
    ExtractionFolder& operator=(const ExtractionFolder&) = delete;
    ExtractionFolder(ExtractionFolder&& other) noexcept;
    ExtractionFolder& operator=(ExtractionFolder&& other) noexcept;

    const std::filesystem::path& path() const { return path_; }

  private:
    void remove() noexcept;
    std::filesystem::path path_;
};

}  // namespace zk
