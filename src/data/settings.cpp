#include "data/settings.h"

#include <toml++/toml.h>

#include <algorithm>
#include <array>
#include <functional>
#include <sstream>

#include "data/toml_text.h"

namespace zk {
namespace {

// A bad line takes the line out and the rest is read again; past this many the
// file is taken as damaged rather than as a file with a few slips.
constexpr int kMaxBadLines = 20;

std::string lineOf(const toml::node& n) {
    return "line " + std::to_string(n.source().begin.line);
}

// One setting: how it is read from its TOML value (an empty answer, or why the value
// cannot be used) and written (empty when it has no value).
struct Field {
    std::string_view key;
    std::function<std::string(const toml::node&, Settings&)> read;
    std::function<std::string(const Settings&)> write;
};

// The whole number of a value within low..high, or why there is none.
std::optional<int> wholeNumber(const toml::node& n, std::string_view key, int low, int high,
                               std::string& why) {
    const auto* v = n.as_integer();
    if (!v || v->get() < low || v->get() > high) {
        why = std::string(key) + " must be a whole number from " + std::to_string(low) + " to " +
              std::to_string(high);
        return std::nullopt;
    }
    return static_cast<int>(v->get());
}

Field number(std::string_view key, int Settings::*member, int low, int high) {
    return {key,
            [=](const toml::node& n, Settings& s) {
                std::string why;
                if (const auto v = wholeNumber(n, key, low, high, why)) s.*member = *v;
                return why;
            },
            [=](const Settings& s) { return std::to_string(s.*member); }};
}

Field optionalNumber(std::string_view key, std::optional<int> Settings::*member, int low,
                     int high) {
    return {key,
            [=](const toml::node& n, Settings& s) {
                std::string why;
                if (const auto v = wholeNumber(n, key, low, high, why)) s.*member = *v;
                return why;
            },
            [=](const Settings& s) {
                return (s.*member) ? std::to_string(*(s.*member)) : std::string();
            }};
}

Field flag(std::string_view key, bool Settings::*member) {
    return {key,
            [=](const toml::node& n, Settings& s) -> std::string {
                const auto* v = n.as_boolean();
                if (!v) return std::string(key) + " must be true or false";
                s.*member = v->get();
                return {};
            },
            [=](const Settings& s) { return std::string(s.*member ? "true" : "false"); }};
}

Field optionalFlag(std::string_view key, std::optional<bool> Settings::*member) {
    return {key,
            [=](const toml::node& n, Settings& s) -> std::string {
                const auto* v = n.as_boolean();
                if (!v) return std::string(key) + " must be true or false";
                s.*member = v->get();
                return {};
            },
            [=](const Settings& s) {
                return (s.*member) ? std::string(*(s.*member) ? "true" : "false") : std::string();
            }};
}

Field text(std::string_view key, std::string Settings::*member) {
    return {key,
            [=](const toml::node& n, Settings& s) -> std::string {
                const auto* v = n.as_string();
                if (!v) return std::string(key) + " must be a text in quotes";
                s.*member = v->get();
                return {};
            },
            [=](const Settings& s) { return tomlText(s.*member); }};
}

template <typename E, size_t N>
Field choice(std::string_view key, E Settings::*member, std::array<E, N> values,
             std::string_view (*name)(E)) {
    return {key,
            [=](const toml::node& n, Settings& s) -> std::string {
                std::string names;
                for (E e : values) {
                    if (n.is_string() && n.as_string()->get() == name(e)) {
                        s.*member = e;
                        return {};
                    }
                    names += (names.empty() ? "\"" : ", \"") + std::string(name(e)) + "\"";
                }
                return std::string(key) + " must be one of " + names;
            },
            [=](const Settings& s) { return tomlText(name(s.*member)); }};
}

// A table of texts whose names are among `allowed` (and whose values among `choices`,
// unless that is empty), written as an inline table.
template <typename Names, typename Choices = std::array<std::string_view, 0>>
std::string tableError(std::string_view key, const toml::node& n, const Names& allowed,
                       std::map<std::string, std::string>& values, const Choices& choices = {}) {
    const auto* t = n.as_table();
    if (!t) return std::string(key) + " must be a table of texts { name = \"...\" }";
    for (auto&& [k, v] : *t) {
        const std::string name(k.str());
        if (std::find(allowed.begin(), allowed.end(), name) == allowed.end())
            return std::string(key) + " has no entry '" + name + "'";
        if (!v.is_string()) return std::string(key) + "." + name + " must be a text";
        const std::string value = v.as_string()->get();
        if (!choices.empty() && std::find(choices.begin(), choices.end(), value) == choices.end()) {
            std::string names;
            for (std::string_view c : choices)
                names += (names.empty() ? "\"" : ", \"") + std::string(c) + "\"";
            return std::string(key) + "." + name + " must be one of " + names;
        }
        values[name] = value;
    }
    return {};
}

std::string inlineTable(const std::map<std::string, std::string>& values) {
    std::string out = "{ ";
    bool first = true;
    for (const auto& [k, v] : values) {
        out += (first ? "" : ", ") + k + " = " + tomlText(v);
        first = false;
    }
    return out + " }";
}

Field gamepadButtons() {
    return {"gamepadButtons",
            [](const toml::node& n, Settings& s) {
                std::map<std::string, std::string> values = s.gamepadButtons;
                std::string why =
                    tableError("gamepadButtons", n, kPadButtonNames, values, kPadActions);
                if (why.empty()) s.gamepadButtons = std::move(values);
                return why;
            },
            [](const Settings& s) { return inlineTable(s.gamepadButtons); }};
}

std::map<std::string, std::string> cursorKeyMap(const CursorKeys& k) {
    return {{"up", k.up},       {"down", k.down},   {"left", k.left},
            {"right", k.right}, {"click", k.click}, {"rightClick", k.rightClick}};
}

Field cursorKeys() {
    static const std::vector<std::string> names = {"up",    "down",  "left",
                                                   "right", "click", "rightClick"};
    return {"cursorKeys",
            [](const toml::node& n, Settings& s) {
                std::map<std::string, std::string> m = cursorKeyMap(s.cursorKeys);
                std::string why = tableError("cursorKeys", n, names, m);
                if (why.empty())
                    s.cursorKeys = {m["up"],    m["down"],  m["left"],
                                    m["right"], m["click"], m["rightClick"]};
                return why;
            },
            [](const Settings& s) { return inlineTable(cursorKeyMap(s.cursorKeys)); }};
}

const std::vector<Field>& fields() {
    static const std::vector<Field> all = [] {
        std::vector<Field> f;
        f.push_back(number("musicVolume", &Settings::musicVolume, 0, kMaxVolumePercent));
        f.push_back(number("soundVolume", &Settings::soundVolume, 0, kMaxVolumePercent));
        f.push_back(flag("muted", &Settings::muted));
        f.push_back(optionalFlag("fullscreen", &Settings::fullScreen));
        f.push_back(number("windowWidth", &Settings::windowWidth, 0, 16384));
        f.push_back(number("windowHeight", &Settings::windowHeight, 0, 16384));
        f.push_back(optionalNumber("windowX", &Settings::windowX, -16384, 16384));
        f.push_back(optionalNumber("windowY", &Settings::windowY, -16384, 16384));
        f.push_back(choice(
            "scaleMode", &Settings::scaleMode,
            std::array{ScaleMode::Auto, ScaleMode::Integer, ScaleMode::Fit, ScaleMode::Stretch},
            scaleModeName));
        f.push_back(choice("filter", &Settings::filter,
                           std::array{ScaleFilter::Sharp, ScaleFilter::Smooth}, filterName));
        f.push_back(number("display", &Settings::display, 0, 63));
        f.push_back(number("textSpeed", &Settings::textSpeed, kMinTextSpeed, kMaxTextSpeed));
        f.push_back(choice("textSkip", &Settings::textSkip,
                           std::array{TextSkip::Game, TextSkip::Clicks}, textSkipName));
        f.push_back(optionalNumber("language", &Settings::language, 0, 255));
        f.push_back(flag("autosave", &Settings::autosave));
        f.push_back(flag("gamepad", &Settings::gamepad));
        f.push_back(gamepadButtons());
        f.push_back(flag("keyboardCursor", &Settings::keyboardCursor));
        f.push_back(cursorKeys());
        f.push_back(text("hotspotKey", &Settings::hotspotKey));
        f.push_back(flag("speech", &Settings::speech));
        f.push_back(text("voice", &Settings::voice));
        f.push_back(number("speechRate", &Settings::speechRate, 25, 400));
        f.push_back(text("speechKey", &Settings::speechKey));
        return f;
    }();
    return all;
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in{std::string(text)};
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    return out;
}

}  // namespace

std::string_view scaleModeName(ScaleMode mode) {
    switch (mode) {
        case ScaleMode::Integer:
            return "integer";
        case ScaleMode::Fit:
            return "fit";
        case ScaleMode::Stretch:
            return "stretch";
        case ScaleMode::Auto:
            break;
    }
    return "auto";
}

std::string_view filterName(ScaleFilter filter) {
    return filter == ScaleFilter::Smooth ? "smooth" : "sharp";
}

std::string_view textSkipName(TextSkip skip) {
    return skip == TextSkip::Clicks ? "clicks" : "game";
}

SettingsRead readSettings(std::string_view source, const Settings& base) {
    SettingsRead r;
    r.settings = base;
    std::vector<std::string> lines = splitLines(source);
    toml::table root;
    int badLines = 0;
    for (;;) {
        try {
            root = toml::parse(joinLines(lines));
            break;
        } catch (const toml::parse_error& e) {
            const auto line = static_cast<size_t>(e.source().begin.line);
            if (++badLines > kMaxBadLines || line < 1 || line > lines.size() ||
                lines[line - 1].empty()) {
                r.problems = {"the file is damaged (" + std::string(e.description()) + " at line " +
                              std::to_string(line) + "); the defaults are used"};
                r.damaged = true;
                return r;
            }
            r.problems.push_back("line " + std::to_string(line) + ": " +
                                 std::string(e.description()) + " (the line is ignored)");
            lines[line - 1].clear();
        }
    }
    // The table is ordered by key; problems are told in the file's order.
    std::vector<std::pair<uint32_t, std::string>> found;
    for (auto&& [key, node] : root) {
        const Field* field = nullptr;
        for (const Field& f : fields())
            if (f.key == key.str()) field = &f;
        const uint32_t line = node.source().begin.line;
        if (!field) {
            found.emplace_back(line, lineOf(node) + ": unknown setting '" + std::string(key.str()) +
                                         "' (ignored)");
            continue;
        }
        const std::string why = field->read(node, r.settings);
        if (!why.empty()) found.emplace_back(line, lineOf(node) + ": " + why + " (ignored)");
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [line, text] : found) r.problems.push_back(std::move(text));
    return r;
}

std::string settingsToml(const Settings& s, const Settings& base) {
    std::string out;
    for (const Field& f : fields()) {
        const std::string value = f.write(s);
        if (value.empty() || value == f.write(base)) continue;
        out += std::string(f.key) + " = " + value + "\n";
    }
    return out;
}

}  // namespace zk
