#include "script.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "layout.h"
#include "text_codec.h"
#include "toml_in.h"

namespace zk::tools {

namespace {

VerbParam P(std::string_view name, std::string_view field, Ref ref = Ref::None) {
    return {name, field, ref};
}

}  // namespace

const std::vector<Verb>& verbs() {
    static const std::vector<Verb> v = {
        {"walkto",
         {P("who", "p1", Ref::Object), P("facing", "p4", Ref::Facing), P("x", "num1"),
          P("y", "num2"), P("wait", "num3")}},
        {"waitforchar", {P("who", "p1", Ref::Object), P("x", "num1"), P("y", "num2")}},
        {"changeroom", {P("room", "p1", Ref::Room), P("entrance", "p2", Ref::Entrance)}},
        {"addobj",
         {P("template", "p1", Ref::Template), P("room", "p2", Ref::Room), P("relative", "p3"),
          P("target", "p4"), P("x", "num1"), P("y", "num2")}},
        {"changeobj",
         {P("object", "p1", Ref::Object), P("room", "p2", Ref::Room),
          P("template", "p3", Ref::Template)}},
        {"deleteobj", {P("object", "p1", Ref::Object), P("room", "p2", Ref::Room)}},
        {"changespr",
         {P("object", "p1", Ref::Object), P("owner", "p2", Ref::Object), P("room", "p3", Ref::Room),
          P("file", "p4", Ref::Picture)}},
        {"changexy",
         {P("object", "p1", Ref::Object), P("room", "p2", Ref::Room), P("relative", "p3"),
          P("x", "num1"), P("y", "num2")}},
        {"showhint", {P("object", "p1", Ref::Object), P("wait", "p2"), P("text", "text")}},
        {"waitforhint", {P("object", "p1", Ref::Object)}},
        {"deleteevent",
         {P("object", "p1", Ref::Object), P("room", "p2", Ref::Room), P("event", "num1")}},
        {"playanim",
         {P("object", "p1", Ref::Object), P("owner", "p2", Ref::Object),
          P("file", "p3", Ref::Picture), P("wait", "p4"), P("delay", "num1"), P("cycles", "num2"),
          P("keep", "num3")}},
        {"changebg", {P("room", "p1", Ref::Room), P("file", "p2", Ref::Picture)}},
        {"sleep", {P("ms", "num1")}},
        {"setinactive", {P("object", "p1", Ref::Object), P("room", "p2", Ref::Room)}},
        {"startdialog",
         {P("owner", "p1", Ref::Object), P("head", "p2", Ref::Picture), P("question", "p3"),
          P("choices", "text"), P("style", "num1"), P("voice", "num2")}},
        {"changevar",
         {P("object", "p1", Ref::Object), P("room", "p2", Ref::Room), P("relative", "p3"),
          P("value", "text"), P("var", "num1")}},
        {"ifvar",
         {P("object", "p1", Ref::Object), P("room", "p2", Ref::Room), P("value", "text"),
          P("var", "num1"), P("compare", "num2")}},
        {"waitfordlg", {}},
        {"ifdlgresult", {P("result", "num1")}},
        {"newgame", {}},
        {"exitgame", {}},
        {"setlanguage", {P("language", "num1")}},
        {"delholdingsubj", {}},
        {"callevent", {P("event", "num1")}},
        {"begin", {}},
        {"end", {}},
        {"playsnd", {P("object", "p1", Ref::Object), P("sound", "p2", Ref::Sound)}},
        {"changecur",
         {P("object", "p1", Ref::Object), P("room", "p2", Ref::Room),
          P("cursor", "p3", Ref::Cursor)}},
        {"fadeout", {}},
        {"fadein", {}},
        {"savegame", {P("slot", "num1")}},
        {"loadgame", {P("slot", "num1")}},
        {"ifinvsubj", {P("item", "p1", Ref::Object)}},
        {"savelastgs", {P("width", "num1"), P("height", "num2")}},
        {"setslotspr", {P("object", "p1", Ref::Object), P("slot", "num1")}},
        {"backtogame", {}},
        {"freezgame", {P("mode", "num1")}},
        {"unfreezgame", {}},
        {"sethp", {P("relative", "p1"), P("value", "num1")}},
        {"ifhp", {P("value", "num1"), P("compare", "num2")}},
        {"ifprogress", {}},
        {"changedepth",
         {P("object", "p1", Ref::Object), P("room", "p2", Ref::Room), P("mode", "num1"),
          P("depth", "num2"), P("behind", "num3"), P("front", "num4")}},
        {"changemusic", {P("room", "p1", Ref::Room), P("music", "p2", Ref::Music)}},
        {"clearinprogress", {}},
        {"setcharspr",
         {P("object", "p1", Ref::Object), P("room", "p2", Ref::Room),
          P("facing", "p3", Ref::Facing)}},
        {"waitforanim", {P("object", "p1", Ref::Object), P("cycles", "num1")}},
        {"stopchar", {}},
    };
    return v;
}

const Verb* findVerb(std::string_view name) {
    for (const Verb& v : verbs())
        if (v.name == name) return &v;
    return nullptr;
}

std::vector<std::string> verbNames() {
    std::vector<std::string> out;
    for (const Verb& v : verbs()) out.emplace_back(v.name);
    return out;
}

const std::vector<std::string_view>& eventNames() {
    static const std::vector<std::string_view> names = {
        "onclick",      "onusewith",    "onpickup",    "onzone",   "onfloor",
        "onkey",        "ontimer",      "onroomenter", "onpath",   "onmouseenter",
        "onmouseleave", "wrongsubjmsg", "ondebugmode", "transmute"};
    return names;
}

bool knownEvent(std::string_view name) {
    for (std::string_view n : eventNames())
        if (n == name) return true;
    return false;
}

namespace {

struct Token {
    std::string key;    // empty: a positional parameter
    std::string value;  // UTF-8
    bool quoted = false;
    bool bang = false;  // written "!verb": a verb the engine does not know, kept anyway
};

bool identStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool identChar(char c) {
    return identStart(c) || (c >= '0' && c <= '9');
}

// Splits one line into tokens; false with `why` set on a malformed line.
bool tokenize(std::string_view s, std::vector<Token>& out, std::string& why) {
    size_t i = 0;
    auto quoted = [&](std::string& value) -> bool {
        ++i;  // opening quote
        while (i < s.size() && s[i] != '"') {
            if (s[i] != '\\') {
                value += s[i++];
                continue;
            }
            if (i + 1 >= s.size()) break;
            char e = s[i + 1];
            i += 2;
            switch (e) {
                case '"':
                    value += '"';
                    break;
                case '\\':
                    value += '\\';
                    break;
                case '\'':
                    value += '\'';
                    break;
                case 'n':
                    value += '\n';
                    break;
                case 't':
                    value += '\t';
                    break;
                case 'r':
                    value += '\r';
                    break;
                case 'x': {
                    auto hex = [](char c) {
                        if (c >= '0' && c <= '9') return c - '0';
                        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
                        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
                        return -1;
                    };
                    if (i + 1 >= s.size() || hex(s[i]) < 0 || hex(s[i + 1]) < 0) {
                        why = "\\x needs two hex digits";
                        return false;
                    }
                    char byte = static_cast<char>(hex(s[i]) * 16 + hex(s[i + 1]));
                    value += fromRecordText(std::string_view(&byte, 1));
                    i += 2;
                    break;
                }
                default:
                    why = std::string("unknown escape \\") + e;
                    return false;
            }
        }
        if (i >= s.size()) {
            why = "a quote is not closed";
            return false;
        }
        ++i;  // closing quote
        if (i < s.size() && s[i] != ' ' && s[i] != '\t') {
            why = "a space must follow a closing quote";
            return false;
        }
        return true;
    };
    while (true) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        if (i >= s.size() || s[i] == '#') return true;
        Token t;
        if (s[i] == '!' && i + 1 < s.size() && s[i + 1] != ' ' && s[i + 1] != '\t') {
            t.bang = true;
            ++i;
        }
        if (s[i] == '"') {
            t.quoted = true;
            if (!quoted(t.value)) return false;
            out.push_back(std::move(t));
            continue;
        }
        size_t start = i;
        if (!t.bang && identStart(s[i])) {
            size_t k = i;
            while (k < s.size() && identChar(s[k])) ++k;
            if (k < s.size() && s[k] == '=') {
                t.key = std::string(s.substr(i, k - i));
                i = k + 1;
                if (i < s.size() && s[i] == '"') {
                    t.quoted = true;
                    if (!quoted(t.value)) return false;
                    out.push_back(std::move(t));
                    continue;
                }
                start = i;
            }
        }
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
        t.value = std::string(s.substr(start, i - start));
        out.push_back(std::move(t));
    }
}

// Strips one trailing CR (scripts written on systems with CR LF line ends).
std::string_view chompCr(std::string_view s) {
    return (!s.empty() && s.back() == '\r') ? s.substr(0, s.size() - 1) : s;
}

}  // namespace

std::vector<ScriptCommand> parseScript(std::string_view script, int firstLine,
                                       const std::string& file, const std::string& context,
                                       std::span<uint8_t> commands, std::string_view self,
                                       Diagnostics& diag) {
    const auto& fields = commandFields();
    const Field& selfField = *findField(fields, "self");
    for (int k = 0; k < kCommandCount; ++k)
        setText(selfField, commands.subspan(kCommandBytes * size_t(k)), self);

    std::vector<ScriptCommand> out;
    int position = 0;
    int lineNo = firstLine - 1;
    size_t at = 0;
    bool tooMany = false;
    while (at <= script.size()) {
        size_t nl = script.find('\n', at);
        std::string_view line = chompCr(
            script.substr(at, nl == std::string_view::npos ? std::string_view::npos : nl - at));
        at = nl == std::string_view::npos ? script.size() + 1 : nl + 1;
        ++lineNo;
        auto fail = [&](const std::string& msg) { diag.error(file, lineNo, context + msg); };

        std::vector<Token> tokens;
        std::string why;
        if (!tokenize(line, tokens, why)) {
            fail(why);
            continue;
        }
        if (tokens.empty()) continue;
        if (position >= kCommandCount) {
            if (!tooMany) fail("an event holds at most 20 commands");
            tooMany = true;
            continue;
        }
        std::span<uint8_t> cmd = commands.subspan(kCommandBytes * size_t(position));
        ScriptCommand sc{position, lineNo, nullptr};
        ++position;

        const Token& first = tokens[0];
        for (size_t t = 1; t < tokens.size(); ++t)
            if (tokens[t].bang) tokens[t].value = "!" + tokens[t].value;
        std::string verbName;
        bool empty = false, forced = false;
        if (!first.key.empty()) {
            fail("a command starts with its verb, not with '" + first.key + "='");
            continue;
        }
        if (!first.quoted && !first.bang && first.value == ".") {
            empty = true;
        } else if (first.bang) {
            verbName = first.value;
            forced = true;
        } else {
            verbName = first.value;
        }
        if (!empty && !forced) {
            sc.verb = findVerb(verbName);
            if (!sc.verb) {
                std::string msg = "unknown verb '" + verbName + "'";
                std::string near = suggestion(verbName, verbNames());
                if (!near.empty()) msg += " (did you mean '" + near + "'?)";
                fail(msg);
                continue;
            }
        }
        if (!empty) {
            auto bytes = toRecordText(verbName);
            if (!bytes || bytes->size() > 30) {
                fail("the verb '" + verbName + "' cannot be stored");
                continue;
            }
            setText(*findField(fields, "verb"), cmd, *bytes);
        }

        // Each field may be given once, by position or by name.
        std::map<std::string_view, bool> given;
        auto assign = [&](std::string_view fieldName, const std::string& shown,
                          const std::string& value) {
            const Field* f = findField(fields, fieldName);
            if (given[f->key]) {
                fail("parameter '" + shown + "' is given twice");
                return;
            }
            given[f->key] = true;
            // The field is cleared first: the owner name written before may be longer,
            // and its end must not stay behind a shorter value.
            std::fill_n(cmd.begin() + std::ptrdiff_t(f->offset), f->width(), uint8_t{0});
            if (f->type == FieldType::Text) {
                std::string bad;
                auto bytes = toRecordText(value, &bad);
                if (!bytes) {
                    fail(shown + " holds '" + bad + "', which a Windows-1252 text cannot store");
                } else if (bytes->size() > f->cap) {
                    fail(shown + " is " + std::to_string(bytes->size()) +
                         " characters long; it holds at most " + std::to_string(f->cap));
                } else {
                    setText(*f, cmd, *bytes);
                }
                return;
            }
            char* end = nullptr;
            long long v = std::strtoll(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0') {
                fail(shown + " must be a whole number, not '" + value + "'");
            } else if (v < minOf(f->type) || v > maxOf(f->type)) {
                fail(shown + " is " + value + "; it must lie in -32768..32767");
            } else {
                setNumber(*f, cmd, v);
            }
        };
        size_t positional = 0;
        bool sawNamed = false;
        for (size_t t = 1; t < tokens.size(); ++t) {
            const Token& tok = tokens[t];
            if (tok.key.empty()) {
                if (sawNamed) {
                    fail("positional parameter '" + tok.value + "' after a named one");
                    break;
                }
                if (!sc.verb) {
                    fail(empty ? "an empty command '.' takes named fields only"
                               : "'!" + verbName + "' takes named fields only (p1=..., num1=...)");
                    break;
                }
                if (positional >= sc.verb->params.size()) {
                    const size_t n = sc.verb->params.size();
                    fail("'" + verbName + "' takes " + std::to_string(n) +
                         (n == 1 ? " parameter" : " parameters") + "; '" + tok.value +
                         "' is one too many");
                    break;
                }
                const VerbParam& p = sc.verb->params[positional++];
                assign(p.field, std::string(p.name), tok.value);
                continue;
            }
            sawNamed = true;
            const VerbParam* named = nullptr;
            if (sc.verb)
                for (const VerbParam& p : sc.verb->params)
                    if (p.name == tok.key) named = &p;
            if (named) {
                assign(named->field, tok.key, tok.value);
            } else if (const Field* f = findField(fields, tok.key); f && f->key != "verb") {
                assign(f->key, tok.key, tok.value);
            } else {
                std::vector<std::string> known;
                if (sc.verb)
                    for (const VerbParam& p : sc.verb->params) known.emplace_back(p.name);
                for (const Field& f2 : fields)
                    if (f2.key != "verb") known.emplace_back(f2.key);
                std::string msg = "unknown parameter '" + tok.key + "'";
                if (!verbName.empty()) msg += " of '" + verbName + "'";
                std::string near = suggestion(tok.key, known);
                if (!near.empty()) msg += " (did you mean '" + near + "'?)";
                fail(msg);
            }
        }
        if (sc.verb) out.push_back(sc);
    }
    return out;
}

std::string scriptToken(std::string_view recordText) {
    bool quote = recordText.empty() || recordText == "." || recordText[0] == '#' ||
                 recordText[0] == '"' || recordText[0] == '!' ||
                 recordText.find("''") != std::string_view::npos;
    for (char ch : recordText) {
        auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c == 0x7F || c == '=' || c == 0x81 || c == 0x8D || c == 0x8F ||
            c == 0x90 || c == 0x9D)
            quote = true;
    }
    if (!quote) return fromRecordText(recordText);
    const bool escapeApostrophe = recordText.find("''") != std::string_view::npos;
    std::string out = "\"";
    for (char ch : recordText) {
        auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c == '\'' && escapeApostrophe) {
            out += "\\'";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 ||
                   c == 0x9D) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += fromRecordText(std::string_view(&ch, 1));
        }
    }
    return out + "\"";
}

bool commandIsBlank(std::span<const uint8_t> commands, int k, std::string_view self) {
    std::span<const uint8_t> cmd = commands.subspan(kCommandBytes * size_t(k), kCommandBytes);
    for (const Field& f : commandFields()) {
        if (f.key == "self") {
            if (getText(f, cmd) != self) return false;
        } else if (f.type == FieldType::Text ? !getText(f, cmd).empty() : getNumber(f, cmd) != 0) {
            return false;
        }
    }
    return true;
}

std::string formatScript(std::span<const uint8_t> commands, std::string_view self) {
    const auto& fields = commandFields();
    int last = -1;
    for (int k = 0; k < kCommandCount; ++k)
        if (!commandIsBlank(commands, k, self)) last = k;
    std::string out;
    int depth = 0;
    for (int k = 0; k <= last; ++k) {
        std::span<const uint8_t> cmd = commands.subspan(kCommandBytes * size_t(k), kCommandBytes);
        auto isDefault = [&](const Field& f) {
            if (f.key == "self") return getText(f, cmd) == self;
            return f.type == FieldType::Text ? getText(f, cmd).empty() : getNumber(f, cmd) == 0;
        };
        auto valueOf = [&](const Field& f) {
            return f.type == FieldType::Text ? scriptToken(getText(f, cmd))
                                             : std::to_string(getNumber(f, cmd));
        };
        const std::string verbName = getText(*findField(fields, "verb"), cmd);
        const Verb* verb = verbName.empty() ? nullptr : findVerb(verbName);
        if (verbName == "end" && depth > 0) --depth;
        std::string line(size_t(depth) * 2, ' ');
        if (verbName.empty()) {
            line += ".";
        } else if (verb) {
            line += verbName;
        } else {
            line += "!" + scriptToken(verbName);
        }
        std::map<std::string_view, bool> written;
        written["verb"] = true;
        if (verb) {
            // Positional parameters up to the last one that holds something.
            size_t lastParam = 0;
            for (size_t i = 0; i < verb->params.size(); ++i)
                if (!isDefault(*findField(fields, verb->params[i].field))) lastParam = i + 1;
            for (size_t i = 0; i < lastParam; ++i) {
                const Field& f = *findField(fields, verb->params[i].field);
                line += " " + valueOf(f);
                written[f.key] = true;
            }
            for (size_t i = lastParam; i < verb->params.size(); ++i)
                written[verb->params[i].field] = true;  // all default
        }
        for (const Field& f : fields) {
            if (written[f.key] || isDefault(f)) continue;
            line += " " + std::string(f.key) + "=" + valueOf(f);
        }
        out += line + "\n";
        if (verbName == "begin") ++depth;
    }
    return out;
}

}  // namespace zk::tools
