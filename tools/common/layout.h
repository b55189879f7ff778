#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zk::tools {

// The fields of each record kind as the source files name them: key, offset, type and
// default. Reading and writing source files, the listing of the inspector and the
// "raw" bytes that keep every byte of a record all go through these tables.

enum class FieldType {
    Text,  // length-prefixed Windows-1252 text of `cap` characters
    Flag,  // one byte: true / false, or a number 0..255
    I8,
    I16,
    I32,
};

struct Field {
    std::string_view key;
    size_t offset = 0;
    FieldType type = FieldType::I32;
    size_t cap = 0;                // Text: capacity in characters
    int count = 1;                 // more than 1: an array of values
    size_t stride = 0;             // bytes between the array's values
    int group = 0;                 // arrays of pairs ([[x, y], ...]) when 2
    int64_t defaultInt = 0;        // default of a number or flag
    std::string_view defaultText;  // default of a text
    std::string_view defaultFrom;  // the default is the value of this other field
    bool textTakesBool = false;    // a text that may be written as true / false

    size_t width() const;  // bytes of one value
};

// A run of equal sub-records inside a record (zones, entrances, events...), written
// in the source as an array of tables.
struct SubTable {
    std::string_view key;  // the source's table name: "zone", "event"...
    size_t base = 0;
    size_t size = 0;
    int count = 0;
    std::vector<Field> fields;
    bool hasScript = false;  // events: 20 commands follow the header
};

struct Layout {
    std::string_view what;  // "object", "room"...
    size_t size = 0;
    std::vector<Field> fields;
    std::vector<SubTable> tables;
};

const Layout& preferencesLayout();
const Layout& cursorLayout();
const Layout& musicLayout();
const Layout& inventoryLayout();
const Layout& roomLayout();
const Layout& objectLayout();
// The fields of one command record (offsets inside the command) and where the
// commands lie inside an event.
const std::vector<Field>& commandFields();
inline constexpr size_t kScriptOffset = 196;
inline constexpr size_t kCommandBytes = 452;
inline constexpr int kCommandCount = 20;

const Field* findField(const std::vector<Field>& fields, std::string_view key);

// Values of field `f` (element `i` of an array) in a record or sub-record.
int64_t getNumber(const Field& f, std::span<const uint8_t> b, int i = 0);
void setNumber(const Field& f, std::span<uint8_t> b, int64_t v, int i = 0);
std::string getText(const Field& f, std::span<const uint8_t> b, int i = 0);  // record bytes
void setText(const Field& f, std::span<uint8_t> b, std::string_view v, int i = 0);
// True when value i of the field holds its own default (fields with `defaultFrom`
// compare with the other field's value).
bool holdsDefault(const Field& f, const std::vector<Field>& all, std::span<const uint8_t> b,
                  int i = 0);
// The value range of a number type.
int64_t minOf(FieldType t);
int64_t maxOf(FieldType t);

// Marks the bytes that the fields give meaning to with the record as it is: every
// number, and of every text its length byte and its characters. The other bytes (unused
// fields, padding, old text behind a text's end) are "free".
std::vector<uint8_t> meaningfulBytes(const Layout& layout, std::span<const uint8_t> record);

// The free bytes of a record that are not zero, plus the length bytes that exceed their
// field's capacity, as lines "OFFSET: HH HH ...". Empty when there are none.
std::vector<std::string> rawLines(const Layout& layout, std::span<const uint8_t> record);
// Puts raw bytes back: on free bytes, and on a length byte only when the text read
// stays the same, so raw bytes never change what the fields say. Throws
// std::invalid_argument for a malformed line or one that runs past the record.
void applyRawLine(const Layout& layout, std::span<uint8_t> record, std::string_view line);

// A sub-record that holds anything in its meaningful bytes (and so must be written).
bool subRecordUsed(const SubTable& t, std::span<const uint8_t> element);

}  // namespace zk::tools
