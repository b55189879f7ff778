#pragma once
#include <toml++/toml.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/code_page.h"
#include "diagnostics.h"
#include "layout.h"

namespace zk::tools {

// A parsed source file: its name relative to the source folder (for messages), its
// text (for the lines inside multi-line strings) and its TOML tree.
struct SourceFile {
    std::string name;
    std::string text;
    toml::table root;
    CodePage codePage;  // of the record texts its strings become
};

// Reads and parses `root / rel`; a syntax error is reported with its line.
std::optional<SourceFile> loadToml(const std::filesystem::path& root, const std::string& rel,
                                   Diagnostics& diag, const CodePage& codePage = {});

int lineOf(const toml::node& n);

// The closest of `known` to `word` when it is a likely typo, else empty.
std::string suggestion(std::string_view word, const std::vector<std::string>& known);

// Reads the keys of one table, reporting wrong types, values out of range, texts too
// long for their field and, at finish(), keys that nothing asked for.
class TableReader {
  public:
    TableReader(const SourceFile& file, const toml::table& table, Diagnostics& diag,
                std::string context = {});

    const std::string& file() const { return file_.name; }
    const SourceFile& source() const { return file_; }
    int line() const;                      // the table's own line
    int line(std::string_view key) const;  // the key's value, else the table's
    void error(int line, const std::string& message) const;
    void error(std::string_view key, const std::string& message) const {
        error(line(key), message);
    }
    const std::string& context() const { return context_; }

    // The value of a key (recorded as known); null when absent.
    const toml::node* take(std::string_view key);
    bool has(std::string_view key) const { return table_.contains(key); }

    // Typed values; nothing when absent or wrong (the error is reported).
    std::optional<std::string> text(std::string_view key, size_t cap);  // record text
    std::optional<int64_t> integer(std::string_view key, int64_t min, int64_t max);
    std::optional<bool> boolean(std::string_view key);
    const toml::array* array(std::string_view key);
    const toml::table* table(std::string_view key);

    // A record text from any node (for array elements).
    std::optional<std::string> textOf(const toml::node& n, std::string_view what, size_t cap);
    std::optional<int64_t> integerOf(const toml::node& n, std::string_view what, int64_t min,
                                     int64_t max);

    // Every field of the list: from its key, else its default. Keys in `skip` are left
    // to the caller.
    void readFields(const std::vector<Field>& fields, std::span<uint8_t> bytes,
                    const std::set<std::string_view>& skip = {});

    // Reports the keys that were never asked for.
    void finish();

  private:
    void readField(const Field& f, const toml::node& n, std::span<uint8_t> bytes);

    const SourceFile& file_;
    const toml::table& table_;
    Diagnostics& diag_;
    std::string context_;
    std::set<std::string, std::less<>> known_;
};

}  // namespace zk::tools
