#include "script.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>

#include "layout.h"
#include "text_codec.h"
#include "toml_in.h"

namespace zk::tools {

const ScriptVerb* findVerb(std::string_view name) {
    const std::optional<size_t> i = verbIndex(name);
    return i ? &kScriptVerbs[*i] : nullptr;
}

std::vector<std::string> verbNames() {
    std::vector<std::string> out;
    for (const ScriptVerb& v : kScriptVerbs) out.emplace_back(v.name);
    return out;
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
bool tokenize(std::string_view s, std::vector<Token>& out, std::string& why, const CodePage& page) {
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
                    value += fromRecordText(std::string_view(&byte, 1), page);
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

// The script line that starts at `at`, and `at` moved past its line end (past the
// script's end after the last line).
std::string_view nextLine(std::string_view script, size_t& at) {
    const size_t nl = script.find('\n', at);
    const std::string_view line =
        chompCr(script.substr(at, nl == std::string_view::npos ? std::string_view::npos : nl - at));
    at = nl == std::string_view::npos ? script.size() + 1 : nl + 1;
    return line;
}

// Reports a mistake on the line being parsed.
using Fail = std::function<void(const std::string&)>;

// One script line being written into the bytes of its command.
class CommandParser {
  public:
    CommandParser(std::span<uint8_t> cmd, const Fail& fail, const CodePage& page)
        : cmd_(cmd), fail_(fail), page_(page) {}

    // Writes the verb of the line's first token; false when the line cannot go on.
    bool readVerb(const Token& first);
    void readParams(std::span<const Token> params);
    // Nothing for an empty command "." or a forced "!verb".
    const ScriptVerb* verb() const { return verb_; }

  private:
    bool readPositional(const Token& tok);  // false: the rest of the line is not read
    void readNamed(const Token& tok);
    void unknownParam(const Token& tok);
    void assign(std::string_view fieldName, const std::string& shown, const std::string& value);
    void assignText(const Field& f, const std::string& shown, const std::string& value);
    void assignNumber(const Field& f, const std::string& shown, const std::string& value);

    const std::vector<Field>& fields_ = commandFields();
    std::span<uint8_t> cmd_;
    const Fail& fail_;
    const CodePage& page_;
    const ScriptVerb* verb_ = nullptr;
    std::string verbName_;
    bool empty_ = false;
    size_t positional_ = 0;
    bool sawNamed_ = false;
    std::map<std::string_view, bool> given_;  // each field may be given once
};

bool CommandParser::readVerb(const Token& first) {
    if (!first.key.empty()) {
        fail_("a command starts with its verb, not with '" + first.key + "='");
        return false;
    }
    empty_ = !first.quoted && !first.bang && first.value == ".";
    if (empty_) return true;
    verbName_ = first.value;
    if (!first.bang) {
        verb_ = findVerb(verbName_);
        if (!verb_) {
            std::string msg = "unknown verb '" + verbName_ + "'";
            std::string near = suggestion(verbName_, verbNames());
            if (!near.empty()) msg += " (did you mean '" + near + "'?)";
            fail_(msg);
            return false;
        }
    }
    auto bytes = toRecordText(verbName_, nullptr, page_);
    if (!bytes || bytes->size() > 30) {
        fail_("the verb '" + verbName_ + "' cannot be stored");
        return false;
    }
    setText(*findField(fields_, "verb"), cmd_, *bytes);
    return true;
}

void CommandParser::readParams(std::span<const Token> params) {
    for (const Token& tok : params) {
        if (tok.key.empty()) {
            if (!readPositional(tok)) return;
        } else {
            sawNamed_ = true;
            readNamed(tok);
        }
    }
}

bool CommandParser::readPositional(const Token& tok) {
    if (sawNamed_) {
        fail_("positional parameter '" + tok.value + "' after a named one");
        return false;
    }
    if (!verb_) {
        fail_(empty_ ? "an empty command '.' takes named fields only"
                     : "'!" + verbName_ + "' takes named fields only (p1=..., num1=...)");
        return false;
    }
    const std::span<const VerbParam> params = verb_->params();
    if (positional_ >= params.size()) {
        const size_t n = params.size();
        fail_("'" + verbName_ + "' takes " + std::to_string(n) +
              (n == 1 ? " parameter" : " parameters") + "; '" + tok.value + "' is one too many");
        return false;
    }
    const VerbParam& p = params[positional_++];
    assign(p.field, std::string(p.name), tok.value);
    return true;
}

void CommandParser::readNamed(const Token& tok) {
    const VerbParam* named = nullptr;
    if (verb_)
        for (const VerbParam& p : verb_->params())
            if (p.name == tok.key) named = &p;
    if (named)
        assign(named->field, tok.key, tok.value);
    else if (const Field* f = findField(fields_, tok.key); f && f->key != "verb")
        assign(f->key, tok.key, tok.value);
    else
        unknownParam(tok);
}

void CommandParser::unknownParam(const Token& tok) {
    std::vector<std::string> known;
    if (verb_)
        for (const VerbParam& p : verb_->params()) known.emplace_back(p.name);
    for (const Field& f : fields_)
        if (f.key != "verb") known.emplace_back(f.key);
    std::string msg = "unknown parameter '" + tok.key + "'";
    if (!verbName_.empty()) msg += " of '" + verbName_ + "'";
    std::string near = suggestion(tok.key, known);
    if (!near.empty()) msg += " (did you mean '" + near + "'?)";
    fail_(msg);
}

void CommandParser::assign(std::string_view fieldName, const std::string& shown,
                           const std::string& value) {
    const Field* f = findField(fields_, fieldName);
    if (given_[f->key]) {
        fail_("parameter '" + shown + "' is given twice");
        return;
    }
    given_[f->key] = true;
    // The field is cleared first: the owner name written before may be longer, and its
    // end must not stay behind a shorter value.
    std::fill_n(cmd_.begin() + std::ptrdiff_t(f->offset), f->width(), uint8_t{0});
    if (f->type == FieldType::Text)
        assignText(*f, shown, value);
    else
        assignNumber(*f, shown, value);
}

void CommandParser::assignText(const Field& f, const std::string& shown, const std::string& value) {
    std::string bad;
    auto bytes = toRecordText(value, &bad, page_);
    if (!bytes) {
        fail_(shown + " holds '" + bad + "', which a " + codePageName(page_) +
              " text cannot store");
    } else if (bytes->size() > f.cap) {
        fail_(shown + " is " + std::to_string(bytes->size()) +
              " characters long; it holds at most " + std::to_string(f.cap));
    } else {
        setText(f, cmd_, *bytes);
    }
}

void CommandParser::assignNumber(const Field& f, const std::string& shown,
                                 const std::string& value) {
    char* end = nullptr;
    long long v = std::strtoll(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0') {
        fail_(shown + " must be a whole number, not '" + value + "'");
    } else if (v < minOf(f.type) || v > maxOf(f.type)) {
        fail_(shown + " is " + value + "; it must lie in -32768..32767");
    } else {
        setNumber(f, cmd_, v);
    }
}

}  // namespace

std::vector<ScriptCommand> parseScript(std::string_view script, int firstLine,
                                       const std::string& file, const std::string& context,
                                       std::span<uint8_t> commands, std::string_view self,
                                       Diagnostics& diag, const CodePage& page) {
    const Field& selfField = *findField(commandFields(), "self");
    for (int k = 0; k < kCommandCount; ++k)
        setText(selfField, commands.subspan(kCommandBytes * size_t(k)), self);

    std::vector<ScriptCommand> out;
    int position = 0;
    int lineNo = firstLine - 1;
    bool tooMany = false;
    for (size_t at = 0; at <= script.size();) {
        const std::string_view line = nextLine(script, at);
        ++lineNo;
        const Fail fail = [&](const std::string& msg) { diag.error(file, lineNo, context + msg); };
        std::vector<Token> tokens;
        std::string why;
        if (!tokenize(line, tokens, why, page)) {
            fail(why);
            continue;
        }
        if (tokens.empty()) continue;
        if (position >= kCommandCount) {
            if (!tooMany) fail("an event holds at most 20 commands");
            tooMany = true;
            continue;
        }
        // A parameter written "!..." is a text that starts with "!".
        for (size_t t = 1; t < tokens.size(); ++t)
            if (tokens[t].bang) tokens[t].value = "!" + tokens[t].value;
        CommandParser command(commands.subspan(kCommandBytes * size_t(position)), fail, page);
        const int commandPosition = position++;
        if (!command.readVerb(tokens[0])) continue;
        command.readParams(std::span<const Token>(tokens).subspan(1));
        if (command.verb()) out.push_back({commandPosition, lineNo, command.verb()});
    }
    return out;
}

std::string scriptToken(std::string_view recordText, const CodePage& page) {
    // Bytes the code page leaves unassigned travel as C1 control characters, which a
    // reader cannot see: they are written as escapes.
    auto unassigned = [&](char ch) {
        const char32_t cp = page.codePoint(ch);
        return cp >= 0x80 && cp < 0xA0;
    };
    bool quote = recordText.empty() || recordText == "." || recordText[0] == '#' ||
                 recordText[0] == '"' || recordText[0] == '!' ||
                 recordText.find("''") != std::string_view::npos;
    for (char ch : recordText) {
        auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c == 0x7F || c == '=' || unassigned(ch)) quote = true;
    }
    if (!quote) return fromRecordText(recordText, page);
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
        } else if (c < 0x20 || c == 0x7F || unassigned(ch)) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += fromRecordText(std::string_view(&ch, 1), page);
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

std::string formatScript(std::span<const uint8_t> commands, std::string_view self,
                         const CodePage& page) {
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
            return f.type == FieldType::Text ? scriptToken(getText(f, cmd), page)
                                             : std::to_string(getNumber(f, cmd));
        };
        const std::string verbName = getText(*findField(fields, "verb"), cmd);
        const ScriptVerb* verb = findVerb(verbName);
        if (verbName == "end" && depth > 0) --depth;
        std::string line(size_t(depth) * 2, ' ');
        if (verbName.empty()) {
            line += ".";
        } else if (verb) {
            line += verbName;
        } else {
            line += "!" + scriptToken(verbName, page);
        }
        std::map<std::string_view, bool> written;
        written["verb"] = true;
        if (verb) {
            // Positional parameters up to the last one that holds something.
            size_t lastParam = 0;
            for (size_t i = 0; i < verb->params().size(); ++i)
                if (!isDefault(*findField(fields, verb->params()[i].field))) lastParam = i + 1;
            for (size_t i = 0; i < lastParam; ++i) {
                const Field& f = *findField(fields, verb->params()[i].field);
                line += " " + valueOf(f);
                written[f.key] = true;
            }
            for (size_t i = lastParam; i < verb->params().size(); ++i)
                written[verb->params()[i].field] = true;  // all default
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
