#include "bundle.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

#include "core/error.h"
#include "data/game_metadata.h"
#include "data/tables.h"
#include "engine_icon.h"
#include "package/package.h"
#include "save/save_folder.h"

namespace zk::tools {
namespace fs = std::filesystem;

namespace {

// A private folder under the system's temporary folder, removed with its contents.
class ScratchFolder {
  public:
    explicit ScratchFolder(const char* purpose) {
        std::string pattern = (fs::temp_directory_path() / "zelkin-pack-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw DataError(std::string("cannot make a temporary folder for ") + purpose);
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

std::string shellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

void writeText(const fs::path& path, const std::string& text, bool executable = false) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out) throw DataError("cannot write '" + path.string() + "'");
    if (executable) {
        std::error_code ec;
        fs::permissions(path,
                        fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                        fs::perm_options::add, ec);
        if (ec) throw DataError("cannot make '" + path.string() + "' executable");
    }
}

void copyInto(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (ec) throw DataError("cannot copy '" + from.string() + "' to '" + to.string() + "'");
}

std::string startScript(const std::string& name) {
    // readlink -f finds the folder through a link to the script placed elsewhere
    // (a launcher in ~/bin); where it is missing, the script's own path does.
    return "#!/bin/sh\n"
           "# Plays " +
           name +
           " from the folder this script is in, wherever that is;\n"
           "# the saves stay in saves/ beside it. Arguments go on to the engine.\n"
           "self=$(readlink -f -- \"$0\" 2>/dev/null) || self=$0\n"
           "here=$(CDPATH= cd -- \"$(dirname -- \"$self\")\" && pwd -P) || exit 1\n"
           "exec \"$here/zelkin\" \"$here/\"" +
           shellQuote(name + ".tgp") + " \"$@\"\n";
}

std::string desktopEntry(const std::string& name) {
    // A desktop entry names no folder of its own: %k (the entry's own file, as file
    // managers pass it) finds the start script beside it. The quoting is that of the
    // Exec key, with each backslash doubled for the file's string escapes.
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" +
           name +
           "\n"
           "Comment=Play " +
           name +
           "\n"
           "Exec=sh -c \"exec \\\\\"\\\\$(dirname \\\\\"\\\\$1\\\\\")/start.sh\\\\\"\" sh %k\n"
           "Icon=" +
           name +
           "\n"
           "Terminal=false\n"
           "Categories=Game;AdventureGame;\n";
}

std::string machineName() {
#if defined(__x86_64__)
    return "a 64-bit PC (amd64)";
#elif defined(__aarch64__)
    return "a 64-bit ARM computer (arm64)";
#elif defined(__i386__)
    return "a 32-bit PC (i386)";
#else
    return "the kind of computer it was built on";
#endif
}

std::string readme(const std::string& name, const std::string& iconFile) {
    return name + "\n\n" + "This folder holds the game " + name +
           " and the Zelkin engine that plays it.\n"
           "\n"
           "PLAYING\n"
           "  Run ./start.sh (from any folder: ./start.sh, or its full path). The folder\n"
           "  can be moved or unpacked anywhere; spaces in its path are fine. Options go\n"
           "  on to the engine: ./start.sh --fullscreen, ./start.sh --windowed, and\n"
           "  ./start.sh --help lists them all. In the game, F1 opens the engine menu\n"
           "  (save, load, settings, quit).\n"
           "\n"
           "  " +
           name +
           ".desktop starts the game from a file manager that runs desktop\n"
           "  entries. To list the game among your applications, copy that file to\n"
           "  ~/.local/share/applications/ after changing its Exec= line to the full path\n"
           "  of start.sh, and " +
           iconFile +
           " to ~/.local/share/icons/.\n"
           "\n"
           "SAVED GAMES\n"
           "  The file 'portable' keeps the saved games in saves/ inside this folder, so\n"
           "  they travel with it; the folder must be writable. Without that file they go\n"
           "  to ~/.local/share/zelkin/.\n"
           "\n"
           "WHAT THE COMPUTER NEEDS\n"
           "  Linux on " +
           machineName() +
           ", with these libraries (the names of their\n"
           "  Debian packages; Ubuntu and other Debian-based systems name them alike):\n"
           "    SDL2          libsdl2-2.0-0\n"
           "    SDL2_ttf      libsdl2-ttf-2.0-0\n"
           "    SDL2_mixer    libsdl2-mixer-2.0-0\n"
           "    SDL2_image    libsdl2-image-2.0-0\n"
           "    libzip        libzip4 (libzip5 on newer systems)\n"
           "    libjpeg       libjpeg62-turbo (libjpeg-turbo8 on Ubuntu)\n"
           "    fontconfig    libfontconfig1\n"
           "  and fonts: fonts-dejavu-core (DejaVu Sans, the engine's own texts), and\n"
           "  fonts-wine for games written with Tahoma or MS Sans Serif. MIDI music\n"
           "  plays with a General MIDI sound font (timgm6mb-soundfont or\n"
           "  fluid-soundfont-gm). On Debian or Ubuntu:\n"
           "    sudo apt install libsdl2-2.0-0 libsdl2-ttf-2.0-0 libsdl2-mixer-2.0-0 \\\n"
           "      libsdl2-image-2.0-0 libzip4 libjpeg62-turbo libfontconfig1 \\\n"
           "      fonts-dejavu-core fonts-wine timgm6mb-soundfont\n"
           "  A system at least as new as the one the game was built on is needed (its C\n"
           "  library and the libraries' versions); 'ldd ./zelkin' names a missing one.\n";
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Runs tar without a shell, so no file name is ever parsed as a command.
void makeTarball(const fs::path& tarball, const fs::path& parent, const std::string& folder) {
    const std::string out = fs::absolute(tarball).string();
    const std::string dir = parent.string();
    pid_t pid = fork();
    if (pid < 0) throw DataError("cannot start tar");
    if (pid == 0) {
        execlp("tar", "tar", "-czf", out.c_str(), "-C", dir.c_str(), "--", folder.c_str(),
               static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw DataError("tar could not write '" + tarball.string() + "'");
}

}  // namespace

std::string bundleName(const fs::path& package) {
    Package p;
    p.setPackagePath(package);
    p.setQuietOperation();
    p.setPassword(std::string(kPackagePassword));
    const GameMetadata meta = loadMetadata(p);
    p.setCodePage(meta.codePage);
    ScratchFolder scratch("the game's preferences");
    ExtractResult r = p.extractToFolder({"prefs.dat"}, scratch.path());
    if (!r.unmatched.empty())
        throw DataError("'" + package.string() + "' is not a game package: it has no prefs.dat");
    const PreferencesRecord prefs = loadPreferences((scratch.path() / "prefs.dat").string());
    std::string name = safeFileName(meta.codePage.toUtf8(prefs.title()));
    // A leading '-' would read as an option to the tools that handle the files.
    while (!name.empty() && name[0] == '-') name.erase(0, 1);
    return name.empty() ? "game" : name;
}

fs::path writeBundle(const BundleParts& parts, const fs::path& output) {
    const std::string name = bundleName(parts.package);
    const bool tarball = endsWith(output.string(), ".tar.gz");
    std::optional<ScratchFolder> stage;
    fs::path parent = output;
    if (tarball) {
        stage.emplace("the bundle");
        parent = stage->path();
    }
    fs::path folder = parent / name;
    std::error_code ec;
    // A bundle made again over one that was played keeps the games saved in it.
    for (const auto& e : fs::directory_iterator(folder, ec))
        if (e.path().filename() != "saves") fs::remove_all(e.path(), ec);
    ec.clear();
    fs::create_directories(folder, ec);
    if (ec) throw DataError("cannot make the folder '" + folder.string() + "'");

    copyInto(parts.engine, folder / "zelkin");
    fs::permissions(folder / "zelkin",
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                        fs::perms::others_read | fs::perms::others_exec,
                    ec);
    copyInto(parts.package, folder / (name + ".tgp"));
    const std::string iconFile =
        name + (parts.icon.empty() ? std::string(".svg") : parts.icon.extension().string());
    if (parts.icon.empty())
        writeText(folder / iconFile, kEngineIconSvg);
    else
        copyInto(parts.icon, folder / iconFile);
    writeText(folder / "start.sh", startScript(name), true);
    writeText(folder / (name + ".desktop"), desktopEntry(name), true);
    writeText(folder / "portable",
              "This file keeps the saved games in saves/ beside the engine.\n");
    writeText(folder / "README.txt", readme(name, iconFile));
    if (!tarball) return folder;
    makeTarball(output, parent, name);
    return output;
}

fs::path findEngine(const fs::path& toolDir) {
    std::error_code ec;
    if (fs::is_regular_file(toolDir / "zelkin", ec)) return toolDir / "zelkin";
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        if (dir.empty()) continue;
        fs::path candidate = fs::path(dir) / "zelkin";
        if (fs::is_regular_file(candidate, ec) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

fs::path sourceIcon(const fs::path& sourceFolder) {
    std::error_code ec;
    for (const char* file : {"icon.svg", "icon.png"})
        if (fs::is_regular_file(sourceFolder / file, ec)) return sourceFolder / file;
    return {};
}

}  // namespace zk::tools
