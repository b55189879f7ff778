#include "layout.h"

#include <cstdio>
#include <stdexcept>

#include "core/bytes.h"

namespace zk::tools {

namespace {

Field text(std::string_view key, size_t offset, size_t cap = 30, std::string_view def = {}) {
    Field f;
    f.key = key;
    f.offset = offset;
    f.type = FieldType::Text;
    f.cap = cap;
    f.defaultText = def;
    return f;
}
Field number(std::string_view key, size_t offset, FieldType type, int64_t def = 0) {
    Field f;
    f.key = key;
    f.offset = offset;
    f.type = type;
    f.defaultInt = def;
    return f;
}
Field flag(std::string_view key, size_t offset, bool def = false) {
    return number(key, offset, FieldType::Flag, def ? 1 : 0);
}
Field array(Field f, int count, size_t stride, int group = 0) {
    f.count = count;
    f.stride = stride;
    f.group = group;
    return f;
}
Field from(Field f, std::string_view other) {
    f.defaultFrom = other;
    return f;
}

std::vector<Field> rect(size_t offset) {
    return {array(number("rect", offset, FieldType::I32), 4, 4)};
}

template <typename... Parts>
std::vector<Field> join(Parts&&... parts) {
    std::vector<Field> out;
    (out.insert(out.end(), parts.begin(), parts.end()), ...);
    return out;
}

}  // namespace

size_t Field::width() const {
    switch (type) {
        case FieldType::Text:
            return cap + 1;
        case FieldType::Flag:
        case FieldType::I8:
            return 1;
        case FieldType::I16:
            return 2;
        case FieldType::I32:
            return 4;
    }
    return 0;
}

const Layout& preferencesLayout() {
    static const Layout l = [] {
        Layout l;
        l.what = "preferences";
        l.size = 564;
        // Left out, the dialogue gets the black box; "" (no box) must be written.
        Field dialog = text("dialogImages", 186, 30, "false");
        dialog.textTakesBool = true;
        l.fields = {text("title", 0),
                    text("mainCharacterName", 31),
                    text("startCursor", 62),
                    text("startRoomOverride", 124, 30, "<none>"),
                    dialog,
                    array(text("wrongSubjectTexts", 217), 10, 31),
                    number("displayWidth", 528, FieldType::I32, 800),
                    number("displayHeight", 532, FieldType::I32, 600),
                    number("language", 540, FieldType::I32),
                    number("musicVolume", 544, FieldType::I32, 1000),
                    flag("startFullScreen", 552),
                    flag("musicEnabled", 553, true),
                    flag("showObjectTexts", 554, true),
                    flag("showZoneHints", 555, true),
                    flag("walkToPickUp", 557, true)};
        return l;
    }();
    return l;
}

const Layout& cursorLayout() {
    static const Layout l{
        "cursor",
        44,
        {text("name", 0), number("hotX", 31, FieldType::I32), number("hotY", 35, FieldType::I32),
         number("frameDelay", 40, FieldType::I32)},
        {}};
    return l;
}

const Layout& musicLayout() {
    static const Layout l{"music", 287, {text("name", 0), text("file", 31, 255)}, {}};
    return l;
}

const Layout& inventoryLayout() {
    static const Layout l = [] {
        Layout l;
        l.what = "inventory";
        l.size = 1940;
        l.fields = {number("barX", 0, FieldType::I32),
                    number("barY", 4, FieldType::I32),
                    number("sceneOffsetX", 8, FieldType::I32),
                    number("sceneOffsetY", 12, FieldType::I32),
                    array(number("statusPositions", 16, FieldType::I32), 8, 4, 2),
                    array(number("titlePosition", 48, FieldType::I32), 2, 4),
                    flag("showStatus", 1936),
                    flag("showRoomTitle", 1937)};
        l.tables = {
            {"slot", 56, 48, 30,
             join(rect(0), std::vector{flag("enabled", 16, true), text("item", 17)}), false},
            {"party",
             1496,
             44,
             10,
             {text("name", 0), number("x", 31, FieldType::I32), number("y", 35, FieldType::I32)},
             false}};
        return l;
    }();
    return l;
}

const Layout& roomLayout() {
    static const Layout l = [] {
        Layout l;
        l.what = "room";
        l.size = 4116;
        l.fields = {text("name", 0),
                    text("titleKey", 31),
                    text("background", 62),
                    text("maskFile", 93),
                    text("music", 124),
                    text("weather", 155),
                    flag("isGameRoom", 1524, true),
                    flag("cursorVisible", 1525, true),
                    number("minScaleRow", 188, FieldType::I32),
                    number("maxScaleRow", 192, FieldType::I32),
                    number("minScale", 196, FieldType::I32, 100),
                    number("maxScale", 200, FieldType::I32, 100)};
        l.tables = {
            {"placement",
             204,
             44,
             30,
             {text("name", 0), number("x", 31, FieldType::I32), number("y", 35, FieldType::I32),
              number("scale", 40, FieldType::I16, 100)},
             false},
            {"zone", 1526, 181, 10,
             join(rect(0), std::vector{flag("enabled", 16, true), flag("fade", 17),
                                       number("walkX", 18, FieldType::I16),
                                       number("walkY", 22, FieldType::I16), text("cursor", 26),
                                       text("hintKey", 57), from(text("hint", 88), "hintKey"),
                                       text("targetRoom", 119), text("targetEntrance", 150)}),
             false},
            {"entrance",
             3336,
             78,
             10,
             {text("name", 0), text("facing", 31), number("x", 62, FieldType::I32),
              number("y", 66, FieldType::I32), number("walkX", 70, FieldType::I16),
              number("walkY", 74, FieldType::I16)},
             false}};
        return l;
    }();
    return l;
}

const Layout& objectLayout() {
    static const Layout l = [] {
        Layout l;
        l.what = "object";
        l.size = 94752;
        l.fields = {text("name", 0),
                    text("kind", 434),
                    text("displayNameKey", 527, 255),
                    from(text("displayName", 783, 255), "displayNameKey"),
                    text("imageFolder", 31, 30, "<self>"),
                    text("spriteFile", 62),
                    text("iconFile", 93),
                    text("spareSprite", 124),
                    text("walkLeftSprite", 155),
                    text("walkRightSprite", 186),
                    text("walkUpSprite", 217),
                    text("walkDownSprite", 248),
                    text("standUpSprite", 279),
                    text("standDownSprite", 310),
                    text("standLeftSprite", 341),
                    text("standRightSprite", 372),
                    text("hoverCursor", 465),
                    text("clickMaskFile", 496),
                    flag("hidden", 1039),
                    flag("animating", 1040),
                    flag("active", 1041, true),
                    flag("fixedDepth", 1042),
                    flag("inParty", 1043),
                    flag("perspective", 1044),
                    number("scale", 1046, FieldType::I16, 100),
                    number("depth", 1048, FieldType::I16),
                    number("depthBehind", 1050, FieldType::I16),
                    number("depthInFront", 1052, FieldType::I16),
                    number("frameDelay", 1054, FieldType::I16),
                    number("alpha", 1058, FieldType::I16, 255),
                    number("frame", 1060, FieldType::I16),
                    number("frameTicks", 1062, FieldType::I16),
                    number("baseLineOffset", 1064, FieldType::I16),
                    number("hintTimer", 1066, FieldType::I16, -30),
                    number("minScale", 1068, FieldType::I16, 100),
                    number("maxScale", 1070, FieldType::I16, 100),
                    number("walkStep", 1072, FieldType::I16),
                    number("x", 93434, FieldType::I32),
                    number("y", 93438, FieldType::I32),
                    number("textAnchorX", 93442, FieldType::I32),
                    number("textAnchorY", 93446, FieldType::I32),
                    number("anchorX", 93450, FieldType::I32),
                    number("anchorY", 93454, FieldType::I32),
                    number("cursorHotX", 93458, FieldType::I32),
                    number("cursorHotY", 93462, FieldType::I32),
                    array(number("numVars", 93466, FieldType::I8), 5, 1),
                    array(text("textVars", 93471, 255), 5, 256)};
        l.tables = {
            {"event",
             1074,
             9236,
             10,
             {text("name", 0), text("param1", 31), text("param2", 62), text("originRoom", 155),
              number("number", 186, FieldType::I16), number("period", 188, FieldType::I16),
              number("sourceIndex", 194, FieldType::I16)},
             true}};
        return l;
    }();
    return l;
}

const std::vector<Field>& commandFields() {
    static const std::vector<Field> f = {text("verb", 0),
                                         text("p1", 31),
                                         text("p2", 62),
                                         text("p3", 93),
                                         text("p4", 124),
                                         text("self", 155),
                                         text("text", 186, 255),
                                         number("num1", 442, FieldType::I16),
                                         number("num2", 444, FieldType::I16),
                                         number("num3", 446, FieldType::I16),
                                         number("num4", 448, FieldType::I16)};
    return f;
}

const Field* findField(const std::vector<Field>& fields, std::string_view key) {
    for (const Field& f : fields)
        if (f.key == key) return &f;
    return nullptr;
}

int64_t getNumber(const Field& f, std::span<const uint8_t> b, int i) {
    size_t at = f.offset + f.stride * size_t(i);
    switch (f.type) {
        case FieldType::Flag:
            return getU8(b, at);
        case FieldType::I8:
            return static_cast<int8_t>(getU8(b, at));
        case FieldType::I16:
            return getI16(b, at);
        case FieldType::I32:
            return getI32(b, at);
        case FieldType::Text:
            break;
    }
    return 0;
}

void setNumber(const Field& f, std::span<uint8_t> b, int64_t v, int i) {
    size_t at = f.offset + f.stride * size_t(i);
    switch (f.type) {
        case FieldType::Flag:
        case FieldType::I8:
            putU8(b, at, static_cast<uint8_t>(v));
            break;
        case FieldType::I16:
            putI16(b, at, static_cast<int32_t>(v));
            break;
        case FieldType::I32:
            putI32(b, at, static_cast<int32_t>(v));
            break;
        case FieldType::Text:
            break;
    }
}

std::string getText(const Field& f, std::span<const uint8_t> b, int i) {
    return getPStr(b, f.offset + f.stride * size_t(i), f.cap);
}

void setText(const Field& f, std::span<uint8_t> b, std::string_view v, int i) {
    putPStr(b, f.offset + f.stride * size_t(i), f.cap, v);
}

bool holdsDefault(const Field& f, const std::vector<Field>& all, std::span<const uint8_t> b,
                  int i) {
    if (f.type == FieldType::Text) {
        std::string v = getText(f, b, i);
        if (!f.defaultFrom.empty()) {
            const Field* other = findField(all, f.defaultFrom);
            return other && v == getText(*other, b, i);
        }
        return v == f.defaultText;
    }
    return getNumber(f, b, i) == f.defaultInt;
}

int64_t minOf(FieldType t) {
    switch (t) {
        case FieldType::Flag:
            return 0;
        case FieldType::I8:
            return -128;
        case FieldType::I16:
            return -32768;
        case FieldType::I32:
            return INT32_MIN;
        case FieldType::Text:
            break;
    }
    return 0;
}

int64_t maxOf(FieldType t) {
    switch (t) {
        case FieldType::Flag:
            return 255;
        case FieldType::I8:
            return 127;
        case FieldType::I16:
            return 32767;
        case FieldType::I32:
            return INT32_MAX;
        case FieldType::Text:
            break;
    }
    return 0;
}

namespace {

void markFields(const std::vector<Field>& fields, std::span<const uint8_t> b, size_t base,
                std::vector<uint8_t>& mask) {
    for (const Field& f : fields) {
        for (int i = 0; i < f.count; ++i) {
            size_t at = base + f.offset + f.stride * size_t(i);
            size_t n = f.width();
            if (f.type == FieldType::Text) {
                size_t len = b[at];
                n = 1 + (len > f.cap ? f.cap : len);
            }
            for (size_t k = 0; k < n; ++k) mask[at + k] = 1;
        }
    }
}

// The text field (and its start) whose length byte lies at `at`, if any.
const Field* lengthByteAt(const Layout& l, size_t at) {
    for (const Field& f : l.fields)
        if (f.type == FieldType::Text)
            for (int i = 0; i < f.count; ++i)
                if (f.offset + f.stride * size_t(i) == at) return &f;
    for (const SubTable& t : l.tables) {
        if (at < t.base || at >= t.base + t.size * size_t(t.count)) continue;
        size_t in = (at - t.base) % t.size;
        for (const Field& f : t.fields)
            if (f.type == FieldType::Text && f.offset == in) return &f;
        if (t.hasScript && in >= kScriptOffset) {
            size_t c = (in - kScriptOffset) % kCommandBytes;
            for (const Field& f : commandFields())
                if (f.type == FieldType::Text && f.offset == c) return &f;
        }
    }
    return nullptr;
}

}  // namespace

std::vector<uint8_t> meaningfulBytes(const Layout& layout, std::span<const uint8_t> record) {
    std::vector<uint8_t> mask(layout.size, 0);
    markFields(layout.fields, record, 0, mask);
    for (const SubTable& t : layout.tables) {
        for (int e = 0; e < t.count; ++e) {
            size_t base = t.base + t.size * size_t(e);
            markFields(t.fields, record, base, mask);
            if (t.hasScript)
                for (int c = 0; c < kCommandCount; ++c)
                    markFields(commandFields(), record,
                               base + kScriptOffset + kCommandBytes * size_t(c), mask);
        }
    }
    return mask;
}

std::vector<std::string> rawLines(const Layout& layout, std::span<const uint8_t> record) {
    std::vector<uint8_t> mask = meaningfulBytes(layout, record);
    // Length bytes above their capacity are kept as raw bytes too.
    std::vector<uint8_t> keep(layout.size, 0);
    for (size_t i = 0; i < layout.size; ++i) {
        if (!mask[i]) {
            keep[i] = record[i] != 0;
        } else if (const Field* f = lengthByteAt(layout, i); f && record[i] > f->cap) {
            keep[i] = 1;
        }
    }
    std::vector<std::string> lines;
    size_t i = 0;
    while (i < layout.size) {
        if (!keep[i]) {
            ++i;
            continue;
        }
        // A run ends after four bytes in a row that need not be kept.
        size_t end = i + 1, last = i;
        while (end < layout.size && end - last <= 4) {
            if (keep[end]) last = end;
            ++end;
        }
        std::string line = std::to_string(i) + ":";
        for (size_t k = i; k <= last; ++k) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02x", record[k]);
            line += hex;
        }
        lines.push_back(line);
        i = last + 1;
    }
    return lines;
}

void applyRawLine(const Layout& layout, std::span<uint8_t> record, std::string_view line) {
    auto bad = [&](const char* why) {
        throw std::invalid_argument(std::string(why) + " in raw line '" + std::string(line) + "'");
    };
    size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) bad("no 'OFFSET:'");
    size_t offset = 0;
    for (char c : line.substr(0, colon)) {
        if (c < '0' || c > '9') bad("a bad offset");
        offset = offset * 10 + size_t(c - '0');
        if (offset > layout.size) bad("an offset past the record's end");
    }
    std::vector<uint8_t> bytes;
    std::string_view rest = line.substr(colon + 1);
    size_t p = 0;
    auto hexValue = [&](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    while (p < rest.size()) {
        if (rest[p] == ' ') {
            ++p;
            continue;
        }
        if (p + 1 >= rest.size() || hexValue(rest[p]) < 0 || hexValue(rest[p + 1]) < 0)
            bad("a bad hex byte");
        bytes.push_back(static_cast<uint8_t>(hexValue(rest[p]) * 16 + hexValue(rest[p + 1])));
        p += 2;
    }
    if (bytes.empty()) bad("no bytes");
    if (offset + bytes.size() > layout.size) bad("bytes past the record's end");
    std::vector<uint8_t> mask = meaningfulBytes(layout, record);
    for (size_t k = 0; k < bytes.size(); ++k) {
        size_t at = offset + k;
        if (!mask[at]) {
            record[at] = bytes[k];
        } else if (const Field* f = lengthByteAt(layout, at)) {
            auto clamp = [f](uint8_t v) { return v > f->cap ? f->cap : v; };
            if (clamp(bytes[k]) == clamp(record[at])) record[at] = bytes[k];
        }
    }
}

bool subRecordUsed(const SubTable& t, std::span<const uint8_t> element) {
    std::vector<uint8_t> mask(t.size, 0);
    markFields(t.fields, element, 0, mask);
    for (size_t i = 0; i < t.size; ++i)
        if (mask[i] && element[i] != 0) return true;
    return false;
}

}  // namespace zk::tools
