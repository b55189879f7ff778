#include "assets/component_stream.h"

#include <algorithm>
#include <cstring>

#include "assets/color.h"
#include "core/bytes.h"
#include "core/error.h"
#include "core/text.h"

namespace zk {
namespace {

constexpr size_t kHeaderScan = 79;  // the resource header is looked for in this many bytes
constexpr uint16_t kResourceType = 10;
constexpr uint16_t kResourceFlags = 0x1030;
constexpr size_t kMaxResourceName = 63;

[[noreturn]] void invalidFormat() {
    throw DataError("Invalid stream format");
}

// UTF-16LE to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::span<const uint8_t> bytes) {
    std::string out;
    const size_t n = bytes.size() / 2;
    for (size_t i = 0; i < n; ++i) {
        uint32_t u = getU16(bytes, 2 * i);
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < n) {
            uint32_t lo = getU16(bytes, 2 * i + 2);
            if (lo >= 0xDC00 && lo < 0xE000) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
                ++i;
                continue;
            }
        }
        appendUtf8(out, (u >= 0xD800 && u < 0xE000) ? 0xFFFD : u);
    }
    return out;
}

// UTF-8 to Windows-1252, the exact inverse of cp1252ToUtf8: the five bytes that
// Windows-1252 leaves unassigned come back from the code points they were written
// as, so every name survives being written and read again. Characters outside the
// code page become '?', and so does a broken sequence with as many bytes as its first
// byte announces.
std::string utf8To1252(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size();) {
        const Utf8Char c = decodeUtf8(s, i);
        if (c.length > 0) {
            out += cp1252Byte(c.cp).value_or('?');
            i += c.length;
            continue;
        }
        const auto b = static_cast<uint8_t>(s[i]);
        const size_t announced = (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : 4;
        out += '?';
        i += std::min(announced, s.size() - i);
    }
    return out;
}

// Windows-1252 text as UTF-16LE units; every character is in the BMP.
std::vector<uint8_t> cp1252ToUtf16(std::string_view cp1252) {
    std::vector<uint8_t> out;
    for (char ch : cp1252) {
        const char32_t cp = cp1252CodePoint(ch);
        out.push_back(static_cast<uint8_t>(cp));
        out.push_back(static_cast<uint8_t>(cp >> 8));
    }
    return out;
}

}  // namespace

void ComponentReader::unknownProperty(const std::string& name) {
    throw DataError("Property " + name + " does not exist");
}

void ComponentReader::invalidValue() {
    throw DataError("Invalid property value");
}

void ComponentReader::readStart() {
    const size_t start = s_.position();
    uint8_t head[kHeaderScan];
    const size_t n = std::min(kHeaderScan, s_.remaining());
    s_.read(head, n);
    if (n < 3 || head[0] != 0xFF || getU16(head, 1) != kResourceType) invalidFormat();
    const auto* nul = static_cast<const uint8_t*>(std::memchr(head + 3, 0, n - 3));
    if (!nul) invalidFormat();
    // Skip the name, its NUL, the flags and the size: none of them is checked.
    s_.seek(start + static_cast<size_t>(nul - (head + 3)) + 10);

    char signature[4];
    s_.read(signature, 4);
    if (std::memcmp(signature, "TPF0", 4) != 0) invalidFormat();
    uint8_t prefix = s_.readU8();
    if ((prefix & 0xF0) == 0xF0) {
        if (prefix & 0x02) readInteger();  // a child position, of no use here
    } else {
        s_.seek(s_.position() - 1);
    }
    readName();  // class name
    readName();  // object name
}

std::string ComponentReader::readName() {
    return s_.readString(s_.readU8());
}

void ComponentReader::readEnd() {
    if (s_.readU8() != 0) invalidFormat();  // holders have no children
}

ValueTag ComponentReader::peekTag() {
    ValueTag t = readTag();
    s_.seek(s_.position() - 1);
    return t;
}

size_t ComponentReader::readLength() {
    int32_t n = s_.readI32();
    if (n < 0) invalidFormat();
    return static_cast<size_t>(n);
}

int32_t ComponentReader::readIntegerPayload(ValueTag tag) {
    switch (tag) {
        case ValueTag::Int8:
            return s_.readI8();
        case ValueTag::Int16:
            return s_.readI16();
        case ValueTag::Int32:
            return s_.readI32();
        default:
            invalidValue();
    }
}

int32_t ComponentReader::readInteger() {
    return readIntegerPayload(readTag());
}

bool ComponentReader::readBoolean() {
    switch (readTag()) {
        case ValueTag::False:
            return false;
        case ValueTag::True:
            return true;
        default:
            invalidValue();
    }
}

std::string ComponentReader::readString() {
    switch (readTag()) {
        case ValueTag::String:
            return s_.readString(s_.readU8());
        case ValueTag::LString:
            return s_.readString(readLength());
        case ValueTag::Utf8String:
            return utf8To1252(s_.readString(readLength()));
        case ValueTag::WString: {
            size_t count = readLength();
            if (count > s_.remaining() / 2) throw DataError("Stream read error");
            return utf8To1252(utf16ToUtf8(s_.readBytes(2 * count)));
        }
        default:
            invalidValue();
    }
}

std::string ComponentReader::readIdentifier() {
    if (readTag() != ValueTag::Ident) invalidValue();
    return s_.readString(s_.readU8());
}

std::vector<uint8_t> ComponentReader::readBinary(std::vector<uint8_t> storage) {
    if (readTag() != ValueTag::Binary) invalidValue();
    const size_t n = readLength();
    if (n > s_.remaining()) throw DataError("Stream read error");
    const auto* from = s_.data().data() + s_.position();
    if (storage.capacity() < n) storage = {};
    storage.assign(from, from + n);
    s_.seek(s_.position() + n);
    return storage;
}

uint32_t ComponentReader::readColor() {
    if (peekTag() != ValueTag::Ident) return static_cast<uint32_t>(readInteger());
    auto color = colorFromIdentifier(readIdentifier());
    if (!color) invalidValue();
    return *color;
}

void ComponentReader::readCollection() {
    if (readTag() != ValueTag::Collection) invalidValue();
}

bool ComponentReader::readEntry() {
    ValueTag t = readTag();
    if (t == ValueTag::Null) return false;
    if (t == ValueTag::Int8 || t == ValueTag::Int16 || t == ValueTag::Int32) {
        readIntegerPayload(t);  // an ordering value, not used
        t = readTag();
    }
    if (t != ValueTag::List) invalidValue();
    return true;
}

void readComponent(
    MemoryStream& s,
    const std::function<bool(ComponentReader&, const std::string&)>& holderProperty) {
    ComponentReader r(s);
    r.readStart();
    for (std::string name = r.readName(); !name.empty(); name = r.readName()) {
        if (holderProperty(r, name)) continue;
        if (name != "Tag" && name != "Left" && name != "Top")
            ComponentReader::unknownProperty(name);
        r.readInteger();
    }
    r.readEnd();
}

ComponentWriter::ComponentWriter(MemoryStream& s, std::string_view resourceName,
                                 std::string_view className)
    : s_(s) {
    s_.writeU8(0xFF);
    s_.writeU16(kResourceType);
    std::string upper(resourceName.substr(0, kMaxResourceName));
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    s_.writeString(upper);
    s_.writeU8(0);
    s_.writeU16(kResourceFlags);
    sizeAt_ = s_.position();
    s_.writeI32(0);
    s_.writeString("TPF0");
    shortString(className);
    shortString("");
}

void ComponentWriter::shortString(std::string_view s) {
    s = s.substr(0, 255);
    s_.writeU8(static_cast<uint8_t>(s.size()));
    s_.writeString(s);
}

void ComponentWriter::name(std::string_view propertyName) {
    shortString(propertyName);
}

void ComponentWriter::integer(int32_t v) {
    if (v >= -128 && v <= 127) {
        tag(ValueTag::Int8);
        s_.writeU8(static_cast<uint8_t>(v));
    } else if (v >= -32768 && v <= 32767) {
        tag(ValueTag::Int16);
        s_.writeI16(static_cast<int16_t>(v));
    } else {
        tag(ValueTag::Int32);
        s_.writeI32(v);
    }
}

void ComponentWriter::boolean(bool v) {
    tag(v ? ValueTag::True : ValueTag::False);
}

void ComponentWriter::string(std::string_view cp1252) {
    const std::string utf8 = cp1252ToUtf8(cp1252);
    if (!cp1252.empty() && utf8.size() >= 2 * cp1252.size()) {
        tag(ValueTag::WString);
        s_.writeI32(static_cast<int32_t>(cp1252.size()));
        auto units = cp1252ToUtf16(cp1252);
        s_.write(units.data(), units.size());
    } else if (utf8 != cp1252) {
        tag(ValueTag::Utf8String);
        s_.writeI32(static_cast<int32_t>(utf8.size()));
        s_.writeString(utf8);
    } else if (cp1252.size() <= 255) {
        tag(ValueTag::String);
        shortString(cp1252);
    } else {
        tag(ValueTag::LString);
        s_.writeI32(static_cast<int32_t>(cp1252.size()));
        s_.writeString(cp1252);
    }
}

void ComponentWriter::identifier(std::string_view ident) {
    tag(ValueTag::Ident);
    shortString(ident);
}

void ComponentWriter::binary(std::span<const uint8_t> bytes) {
    tag(ValueTag::Binary);
    s_.writeI32(static_cast<int32_t>(bytes.size()));
    s_.write(bytes.data(), bytes.size());
}

void ComponentWriter::color(uint32_t color) {
    if (auto ident = colorIdentifier(color))
        identifier(*ident);
    else
        integer(static_cast<int32_t>(color));
}

void ComponentWriter::finish() {
    end();  // holder properties
    end();  // child list
    const size_t endPos = s_.position();
    s_.seek(sizeAt_);
    s_.writeI32(static_cast<int32_t>(endPos - sizeAt_ - 4));
    s_.seek(endPos);
}

}  // namespace zk
