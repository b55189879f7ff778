#include "toml_in.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "text_codec.h"

namespace zk::tools {

std::optional<SourceFile> loadToml(const std::filesystem::path& root, const std::string& rel,
                                   Diagnostics& diag, const CodePage& codePage) {
    std::ifstream in(root / rel, std::ios::binary);
    if (!in) {
        diag.error(rel, 0, "cannot be read");
        return std::nullopt;
    }
    std::stringstream ss;
    ss << in.rdbuf();
    SourceFile f;
    f.name = rel;
    f.text = ss.str();
    f.codePage = codePage;
    try {
        f.root = toml::parse(f.text, rel);
    } catch (const toml::parse_error& e) {
        diag.error(rel, static_cast<int>(e.source().begin.line), std::string(e.description()));
        return std::nullopt;
    }
    return f;
}

int lineOf(const toml::node& n) {
    return static_cast<int>(n.source().begin.line);
}

std::string suggestion(std::string_view word, const std::vector<std::string>& known) {
    auto distance = [](std::string_view a, std::string_view b) {
        std::vector<size_t> row(b.size() + 1);
        for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
        for (size_t i = 1; i <= a.size(); ++i) {
            size_t diag = row[0];
            row[0] = i;
            for (size_t j = 1; j <= b.size(); ++j) {
                size_t up = row[j];
                bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                            std::tolower(static_cast<unsigned char>(b[j - 1]));
                row[j] = std::min({row[j] + 1, row[j - 1] + 1, diag + (same ? 0 : 1)});
                diag = up;
            }
        }
        return row[b.size()];
    };
    std::string best;
    size_t bestDistance = word.size() / 3 + 1;
    for (const std::string& k : known) {
        size_t d = distance(word, k);
        if (d <= bestDistance && (best.empty() || d < bestDistance)) {
            best = k;
            bestDistance = d;
        }
    }
    return best;
}

TableReader::TableReader(const SourceFile& file, const toml::table& table, Diagnostics& diag,
                         std::string context)
    : file_(file), table_(table), diag_(diag), context_(std::move(context)) {}

int TableReader::line() const {
    return lineOf(table_);
}

int TableReader::line(std::string_view key) const {
    if (const toml::node* n = table_.get(key)) return lineOf(*n);
    return line();
}

void TableReader::error(int line, const std::string& message) const {
    diag_.error(file_.name, line, context_ + message);
}

const toml::node* TableReader::take(std::string_view key) {
    known_.emplace(key);
    return table_.get(key);
}

std::optional<std::string> TableReader::textOf(const toml::node& n, std::string_view what,
                                               size_t cap) {
    const auto* s = n.as_string();
    if (!s) {
        error(lineOf(n), std::string(what) + " must be a text in double quotes");
        return std::nullopt;
    }
    std::string bad;
    auto bytes = toRecordText(s->get(), &bad, file_.codePage);
    if (!bytes) {
        error(lineOf(n), std::string(what) + " holds '" + bad + "', which a " +
                             codePageName(file_.codePage) + " text cannot store");
        return std::nullopt;
    }
    if (bytes->size() > cap) {
        error(lineOf(n), std::string(what) + " is " + std::to_string(bytes->size()) +
                             " characters long; it holds at most " + std::to_string(cap));
        return std::nullopt;
    }
    return bytes;
}

std::optional<int64_t> TableReader::integerOf(const toml::node& n, std::string_view what,
                                              int64_t min, int64_t max) {
    const auto* i = n.as_integer();
    if (!i) {
        error(lineOf(n), std::string(what) + " must be a whole number");
        return std::nullopt;
    }
    int64_t v = i->get();
    if (v < min || v > max) {
        error(lineOf(n), std::string(what) + " is " + std::to_string(v) + "; it must lie in " +
                             std::to_string(min) + ".." + std::to_string(max));
        return std::nullopt;
    }
    return v;
}

std::optional<std::string> TableReader::text(std::string_view key, size_t cap) {
    const toml::node* n = take(key);
    if (!n) return std::nullopt;
    return textOf(*n, key, cap);
}

std::optional<int64_t> TableReader::integer(std::string_view key, int64_t min, int64_t max) {
    const toml::node* n = take(key);
    if (!n) return std::nullopt;
    return integerOf(*n, key, min, max);
}

std::optional<bool> TableReader::boolean(std::string_view key) {
    const toml::node* n = take(key);
    if (!n) return std::nullopt;
    if (const auto* b = n->as_boolean()) return b->get();
    error(lineOf(*n), std::string(key) + " must be true or false");
    return std::nullopt;
}

const toml::array* TableReader::array(std::string_view key) {
    const toml::node* n = take(key);
    if (!n) return nullptr;
    if (const auto* a = n->as_array()) return a;
    error(lineOf(*n), std::string(key) + " must be a list in [ ]");
    return nullptr;
}

const toml::table* TableReader::table(std::string_view key) {
    const toml::node* n = take(key);
    if (!n) return nullptr;
    if (const auto* t = n->as_table()) return t;
    error(lineOf(*n), std::string(key) + " must be a table");
    return nullptr;
}

void TableReader::readField(const Field& f, const toml::node& n, std::span<uint8_t> bytes) {
    auto one = [&](const toml::node& v, int i, const std::string& what) {
        if (f.type == FieldType::Text) {
            if (f.textTakesBool && v.is_boolean()) {
                setText(f, bytes, v.as_boolean()->get() ? "true" : "false", i);
            } else if (auto s = textOf(v, what, f.cap)) {
                setText(f, bytes, *s, i);
            }
        } else if (f.type == FieldType::Flag && v.is_boolean()) {
            setNumber(f, bytes, v.as_boolean()->get() ? 1 : 0, i);
        } else if (v.is_integer() || f.type != FieldType::Flag) {
            if (auto x = integerOf(v, what, minOf(f.type), maxOf(f.type)))
                setNumber(f, bytes, *x, i);
        } else {
            error(lineOf(v), what + " must be true or false");
        }
    };
    std::string key(f.key);
    if (f.count == 1) {
        one(n, 0, key);
        return;
    }
    const auto* a = n.as_array();
    if (!a) {
        error(lineOf(n), key + " must be a list in [ ]");
        return;
    }
    const size_t per = f.group > 0 ? size_t(f.group) : 1;
    const size_t wanted = size_t(f.count) / per;
    if (a->size() > wanted) {
        error(lineOf(n), key + " holds " + std::to_string(a->size()) + " values; at most " +
                             std::to_string(wanted));
        return;
    }
    for (size_t k = 0; k < a->size(); ++k) {
        const toml::node& v = *a->get(k);
        std::string what = key + "[" + std::to_string(k) + "]";
        if (per == 1) {
            one(v, int(k), what);
            continue;
        }
        const auto* inner = v.as_array();
        if (!inner || inner->size() != per) {
            error(lineOf(v), what + " must be a list of " + std::to_string(per) + " numbers");
            continue;
        }
        for (size_t j = 0; j < per; ++j) one(*inner->get(j), int(k * per + j), what);
    }
}

void TableReader::readFields(const std::vector<Field>& fields, std::span<uint8_t> bytes,
                             const std::set<std::string_view>& skip) {
    for (const Field& f : fields) {
        if (skip.count(f.key)) continue;
        // A default is written only when the key is absent: a default text written first
        // would stay behind a shorter value and change the record's bytes.
        if (const toml::node* n = take(f.key)) {
            readField(f, *n, bytes);
        } else if (f.count == 1) {
            if (f.type == FieldType::Text)
                setText(f, bytes, f.defaultText);
            else
                setNumber(f, bytes, f.defaultInt);
        }
    }
    // Defaults taken from another field once that one is read.
    for (const Field& f : fields) {
        if (f.defaultFrom.empty() || skip.count(f.key) || has(f.key)) continue;
        if (const Field* other = findField(fields, f.defaultFrom))
            setText(f, bytes, getText(*other, bytes));
    }
}

void TableReader::finish() {
    std::vector<std::string> known(known_.begin(), known_.end());
    for (const auto& [k, v] : table_) {
        if (known_.count(k.str())) continue;
        std::string msg = "unknown key '" + std::string(k.str()) + "'";
        std::string near = suggestion(k.str(), known);
        if (!near.empty()) msg += " (did you mean '" + near + "'?)";
        error(lineOf(v), msg);
    }
}

}  // namespace zk::tools
