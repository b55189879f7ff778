#include "data/settings_store.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace zk {

std::filesystem::path playerConfigHome() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    if (xdg && *xdg && std::filesystem::path(xdg).is_absolute()) return xdg;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : ".") / ".config";
}

Settings readSettingsFile(const std::filesystem::path& file, const Settings& base,
                          std::vector<std::string>& problems) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return base;
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) {
        problems.push_back("settings " + file.string() + ": cannot be read; the defaults are used");
        return base;
    }
    SettingsRead r = readSettings(text.str(), base);
    for (const std::string& p : r.problems)
        problems.push_back("settings " + file.string() + ": " + p);
    return r.settings;
}

FileSettingsStore::FileSettingsStore(std::vector<std::filesystem::path> files)
    : files_(std::move(files)) {}

FileSettingsStore FileSettingsStore::forGame(const std::filesystem::path& configHome,
                                             const std::string& gameId) {
    const std::filesystem::path folder = configHome / "zelkin";
    std::vector<std::filesystem::path> files{folder / "zelkin.toml"};
    if (!gameId.empty()) files.push_back(folder / (gameId + ".toml"));
    return FileSettingsStore(std::move(files));
}

Settings FileSettingsStore::load(std::vector<std::string>& problems) {
    Settings s;
    for (size_t i = 0; i < files_.size(); ++i) {
        if (i + 1 == files_.size()) base_ = s;
        s = readSettingsFile(files_[i], s, problems);
    }
    return s;
}

std::string FileSettingsStore::save(const Settings& s) {
    if (files_.empty()) return "no settings file";
    const std::filesystem::path& file = files_.back();
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    std::string temp = (file.parent_path() / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(temp.data());
    if (fd < 0) return "cannot write " + file.string();
    const std::string text = "# Zelkin player settings\n" + settingsToml(s, base_);
    bool ok = true;
    for (size_t done = 0; ok && done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        ok = n > 0;
        if (ok) done += static_cast<size_t>(n);
    }
    ok = ok && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    if (ok) std::filesystem::rename(temp, file, ec);
    if (!ok || ec) {
        std::filesystem::remove(temp, ec);
        return "cannot write " + file.string();
    }
    return {};
}

}  // namespace zk
