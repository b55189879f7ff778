#pragma once
// A small JSON reader for the state dumps of headless runs: enough of the format for
// what the engine writes (objects, arrays, strings with escapes, integers, booleans).
#include <cctype>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace zk::test {

class Json {
  public:
    enum class Type { Null, Bool, Number, String, Array, Object };

    static Json parse(const std::string& text) {
        size_t at = 0;
        Json v = parseValue(text, at);
        skipSpace(text, at);
        if (at != text.size()) throw std::runtime_error("JSON: text after the value");
        return v;
    }
    static Json parseFile(const std::string& path) {
        std::ifstream in(path);
        if (!in) throw std::runtime_error("cannot open " + path);
        std::stringstream s;
        s << in.rdbuf();
        return parse(s.str());
    }

    Type type() const { return type_; }
    bool boolean() const { return expect(Type::Bool).bool_; }
    int64_t integer() const { return expect(Type::Number).number_; }
    const std::string& string() const { return expect(Type::String).string_; }
    size_t size() const {
        return type_ == Type::Array ? items_.size() : expect(Type::Object).items_.size();
    }
    const Json& operator[](size_t i) const {
        const auto& items = expect(Type::Array).items_;
        if (i >= items.size()) throw std::out_of_range("JSON: index " + std::to_string(i));
        return items[i];
    }
    const Json& operator[](const std::string& key) const {
        const Json& o = expect(Type::Object);
        for (size_t i = 0; i < o.keys_.size(); ++i)
            if (o.keys_[i] == key) return o.items_[i];
        throw std::out_of_range("JSON: no key " + key);
    }
    bool has(const std::string& key) const {
        if (type_ != Type::Object) return false;
        for (const std::string& k : keys_)
            if (k == key) return true;
        return false;
    }
    const std::vector<Json>& items() const { return expect(Type::Array).items_; }

  private:
    const Json& expect(Type t) const {
        if (type_ != t) throw std::runtime_error("JSON: value of another type");
        return *this;
    }
    static void skipSpace(const std::string& s, size_t& at) {
        while (at < s.size() && std::isspace(static_cast<unsigned char>(s[at]))) ++at;
    }
    static void eat(const std::string& s, size_t& at, char c) {
        skipSpace(s, at);
        if (at >= s.size() || s[at] != c)
            throw std::runtime_error(std::string("JSON: expected ") + c + " at " +
                                     std::to_string(at));
        ++at;
    }
    static std::string parseString(const std::string& s, size_t& at) {
        eat(s, at, '"');
        std::string out;
        while (at < s.size() && s[at] != '"') {
            char c = s[at++];
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at >= s.size()) break;
            char e = s[at++];
            switch (e) {
                case 'n':
                    out += '\n';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'u': {
                    unsigned code = std::stoul(s.substr(at, 4), nullptr, 16);
                    at += 4;
                    // Enough for the dumps: Latin-1 text written as UTF-8 or escapes.
                    if (code < 0x80) {
                        out += static_cast<char>(code);
                    } else {
                        out += static_cast<char>(0xC0 | (code >> 6));
                        out += static_cast<char>(0x80 | (code & 0x3F));
                    }
                    break;
                }
                default:
                    out += e;
            }
        }
        eat(s, at, '"');
        return out;
    }
    static Json parseValue(const std::string& s, size_t& at) {
        skipSpace(s, at);
        if (at >= s.size()) throw std::runtime_error("JSON: unexpected end");
        Json v;
        char c = s[at];
        if (c == '{') {
            v.type_ = Type::Object;
            ++at;
            skipSpace(s, at);
            if (s[at] == '}') return ++at, v;
            for (;;) {
                std::string key = parseString(s, at);
                eat(s, at, ':');
                v.keys_.push_back(std::move(key));
                v.items_.push_back(parseValue(s, at));
                skipSpace(s, at);
                if (s[at] == ',') {
                    ++at;
                    continue;
                }
                eat(s, at, '}');
                return v;
            }
        }
        if (c == '[') {
            v.type_ = Type::Array;
            ++at;
            skipSpace(s, at);
            if (s[at] == ']') return ++at, v;
            for (;;) {
                v.items_.push_back(parseValue(s, at));
                skipSpace(s, at);
                if (s[at] == ',') {
                    ++at;
                    continue;
                }
                eat(s, at, ']');
                return v;
            }
        }
        if (c == '"') {
            v.type_ = Type::String;
            v.string_ = parseString(s, at);
            return v;
        }
        if (s.compare(at, 4, "true") == 0 || s.compare(at, 5, "false") == 0) {
            v.type_ = Type::Bool;
            v.bool_ = s[at] == 't';
            at += v.bool_ ? 4 : 5;
            return v;
        }
        if (s.compare(at, 4, "null") == 0) {
            at += 4;
            return v;
        }
        size_t used = 0;
        v.type_ = Type::Number;
        v.number_ = std::stoll(s.substr(at, 24), &used);
        at += used;
        return v;
    }

    Type type_ = Type::Null;
    bool bool_ = false;
    int64_t number_ = 0;
    std::string string_;
    std::vector<Json> items_;        // array elements, or the values of an object's keys
    std::vector<std::string> keys_;  // an object's keys, in order
};

}  // namespace zk::test
