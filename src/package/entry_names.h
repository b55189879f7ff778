#pragma once
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/code_page.h"
#include "platform/archive.h"

namespace zk {

// How the engine names package entries. Game data write "\" between folders
// ("music\theme.mid") while ZIP archives normally store "/"; both count as the same
// separator everywhere.

std::string normalizeEntryName(std::string_view name);  // "\" -> "/"

// True when the last name component holds "*" or "?".
bool isWildcardSpec(std::string_view spec);

// Matches one name component against a pattern with "*" (any run) and "?" (one
// character), ignoring ASCII case. As in the file dialogs game authors know, a
// pattern ending in ".*" also matches names without a dot ("*.*" matches anything).
bool wildcardMatch(std::string_view pattern, std::string_view name);

// Indices of the entries that a name or wildcard pattern selects, in archive order.
// - A plain name selects the entry of exactly that name; when there is none, the first
//   entry whose name differs only in letter case (packages are authored on systems
//   that ignore case, so "Music\Theme.mid" must still be found as "music\theme.mid").
// - A wildcard ("music\*.*") applies to the last component only: it selects every
//   non-folder entry whose folder part equals the pattern's, ignoring case, and
//   whose own name matches the pattern. Entries in deeper folders are not selected.
// Letter case is that of the code page the names are in (ASCII alone for the
// wildcard pattern itself).
std::vector<size_t> findEntries(std::span<const ArchiveEntry> entries, std::string_view spec,
                                const CodePage& codePage = {});

// The entries with their names as the game writes them, in the same order: UTF-8
// names (marked as such, or well-formed UTF-8 beyond ASCII) converted to the game's
// code page (kept as they are when it lacks one of their characters), "\" as "/", without a leading
// "./", and without the one folder that holds every entry when an archiver was given the game's
// folder rather than its contents (every name under "Tolvan/", and "Tolvan/prefs.dat" among them).
// The folder entry of that top folder keeps an empty name.
std::vector<ArchiveEntry> gameEntryNames(std::span<const ArchiveEntry> entries,
                                         const CodePage& codePage);

// The file name an entry is extracted under: its last name component. Extraction is
// flat, so "..\x", "/etc/x" and "a/../../x" all land as "x" inside the base folder;
// names whose last component is empty, "." or "..", or longer than the 255 bytes a
// file name can have, give no file name.
std::optional<std::string> flatFileName(std::string_view entryName);

}  // namespace zk
