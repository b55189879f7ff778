#include "app/input_script.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "data/settings.h"
#include "platform/input.h"

namespace zk {
namespace {

bool toInt(const std::string& s, long long& out) {
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size();
}

// Names of written files stay inside the output folder.
bool safeName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find('/') == std::string::npos && name.find('\\') == std::string::npos;
}

}  // namespace

int keyNumber(const std::string& name) {
    static const char* const kNames[] = {"space", "enter", "escape", "f4", "f10"};
    for (int k = 0; k < 5; ++k)
        if (name == kNames[k]) return k;
    return -1;
}

int padButtonNumber(const std::string& name) {
    for (size_t b = 0; b < kPadButtonNames.size(); ++b)
        if (name == kPadButtonNames[b]) return static_cast<int>(b);
    return -1;
}

InputScript parseInputScript(const std::string& text) {
    InputScript script;
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    while (std::getline(in, raw)) {
        ++lineNo;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::istringstream words(raw);
        std::vector<std::string> w;
        for (std::string t; words >> t;) w.push_back(t);
        if (w.empty() || w[0][0] == '#') continue;

        auto fail = [&](const std::string& why) {
            script.error = "line " + std::to_string(lineNo) + ": " + why;
            return script;
        };
        auto add = [&](ScriptStep s) {
            s.line = lineNo;
            script.steps.push_back(std::move(s));
        };
        auto numbers = [&](size_t from, long long& a, long long& b) {
            return w.size() == from + 2 && toInt(w[from], a) && toInt(w[from + 1], b);
        };
        const std::string& cmd = w[0];
        long long a = 0, b = 0;
        using K = ScriptStep::Kind;

        if (cmd == "wait") {
            if (w.size() != 2 || !toInt(w[1], a) || a < 0)
                return fail("wait needs a number of frames");
            add({.kind = K::Wait, .count = a});
        } else if (cmd == "move" || cmd == "motion") {
            if (!numbers(1, a, b)) return fail(cmd + " needs two whole numbers");
            add({.kind = cmd == "move" ? K::Move : K::Motion, .x = int(a), .y = int(b)});
        } else if (cmd == "down" || cmd == "up" || cmd == "rdown" || cmd == "rup") {
            if (w.size() != 1) return fail(cmd + " takes no arguments");
            add({.kind = K::Button,
                 .count = cmd[0] == 'r' ? 2 : 1,
                 .down = cmd == "down" || cmd == "rdown"});
        } else if (cmd == "click" || cmd == "rclick") {
            long long button = cmd == "click" ? 1 : 2;
            if (w.size() != 1) {
                if (!numbers(1, a, b)) return fail(cmd + " takes no arguments or X Y");
                add({.kind = K::Move, .x = int(a), .y = int(b)});
            }
            add({.kind = K::Button, .count = button, .down = true});
            add({.kind = K::Wait, .count = 1});
            add({.kind = K::Button, .count = button, .down = false});
            add({.kind = K::Wait, .count = 1});
        } else if (cmd == "keydown" || cmd == "keyup" || cmd == "key") {
            int k = w.size() == 2 ? keyNumber(w[1]) : -1;
            if (k < 0) return fail(cmd + " needs one of space, enter, escape, f4, f10");
            if (cmd == "key") {
                add({.kind = K::Key, .count = k, .down = true});
                add({.kind = K::Wait, .count = 1});
                add({.kind = K::Key, .count = k, .down = false});
                add({.kind = K::Wait, .count = 1});
            } else {
                add({.kind = K::Key, .count = k, .down = cmd == "keydown"});
            }
        } else if (cmd == "screenshot" || cmd == "state" || cmd == "shots") {
            if (w.size() != 2 || !safeName(w[1]))
                return fail(cmd + " needs a file name without a folder");
            K kind = cmd == "screenshot" ? K::Screenshot : cmd == "state" ? K::State : K::Shots;
            add({.kind = kind, .name = (kind == K::Shots && w[1] == "off") ? "" : w[1]});
        } else if (cmd == "menu") {
            if (w.size() != 1) return fail("menu takes no arguments");
            add({.kind = K::EngineKey, .count = 0});
            add({.kind = K::Wait, .count = 2});
        } else if (cmd == "pad" || cmd == "paddown" || cmd == "padup") {
            const int b = w.size() == 2 ? padButtonNumber(w[1]) : -1;
            if (b < 0)
                return fail(cmd +
                            " needs a button: a, b, x, y, start, back, up, down, left, right, "
                            "lb, rb, leftstick, rightstick, lt, rt");
            if (cmd == "pad") {
                add({.kind = K::Pad, .count = b, .down = true});
                add({.kind = K::Wait, .count = 1});
                add({.kind = K::Pad, .count = b, .down = false});
                add({.kind = K::Wait, .count = 1});
            } else {
                add({.kind = K::Pad, .count = b, .down = cmd == "paddown"});
            }
        } else if (cmd == "stick") {
            if (!numbers(1, a, b) || a < -kStickRange || a > kStickRange || b < -kStickRange ||
                b > kStickRange)
                return fail("stick needs two whole numbers from -1000 to 1000");
            add({.kind = K::Stick, .x = int(a), .y = int(b)});
        } else if (cmd == "tap" || cmd == "longpress") {
            if (!numbers(1, a, b)) return fail(cmd + " needs two whole numbers");
            if (cmd == "longpress") {
                add({.kind = K::LongPress, .x = int(a), .y = int(b)});
            } else {
                add({.kind = K::Touch, .x = int(a), .y = int(b), .down = true});
                add({.kind = K::Wait, .count = 1});
                add({.kind = K::Touch, .x = int(a), .y = int(b), .down = false});
                add({.kind = K::Wait, .count = 1});
            }
        } else if (cmd == "hotspots") {
            if (w.size() != 2 || (w[1] != "on" && w[1] != "off"))
                return fail("hotspots needs on or off");
            add({.kind = K::Hotspots, .down = w[1] == "on"});
        } else if (cmd == "quit") {
            if (w.size() != 1) return fail("quit takes no arguments");
            add({.kind = K::Quit});
        } else {
            return fail("unknown command '" + cmd + "'");
        }
    }
    return script;
}

InputScript loadInputScript(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        InputScript s;
        s.error = "cannot read input script '" + path + "'";
        return s;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    return parseInputScript(buffer.str());
}

}  // namespace zk
