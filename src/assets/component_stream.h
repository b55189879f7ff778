#pragma once
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/stream.h"

namespace zk {

// The container shared by picture lists and wave lists: a resource header, then a
// "TPF0" component stream holding one holder object whose property "List" is a
// collection of items. Every value is a tag byte and its payload.
enum class ValueTag : uint8_t {
    Null = 0x00,
    List = 0x01,
    Int8 = 0x02,
    Int16 = 0x03,
    Int32 = 0x04,
    String = 0x06,
    Ident = 0x07,
    False = 0x08,
    True = 0x09,
    Binary = 0x0A,
    LString = 0x0C,
    Nil = 0x0D,
    Collection = 0x0E,
    WString = 0x12,
    Utf8String = 0x14,
};

// Reads values from a component stream. Faults throw DataError: "Invalid stream
// format" for a broken header or structure, "Invalid property value" for a value
// whose tag does not fit, "Stream read error" for data that ends early.
class ComponentReader {
  public:
    explicit ComponentReader(MemoryStream& s) : s_(s) {}

    // The resource header, signature, optional prefix, class and object names.
    void readStart();
    // The next property name; empty at the end of a property list.
    std::string readName();
    // The empty child list that ends the holder.
    void readEnd();

    int32_t readInteger();
    bool readBoolean();
    // Any of the string kinds, as Windows-1252 text.
    std::string readString();
    std::string readIdentifier();
    // The bytes are kept in `storage` when it is large enough.
    std::vector<uint8_t> readBinary(std::vector<uint8_t> storage = {});
    // A colour: an identifier of the colour table or an integer.
    uint32_t readColor();

    // Collections: readCollection() takes the collection tag, then readEntry()
    // opens each entry (skipping an ordering integer) and is false at the end.
    void readCollection();
    bool readEntry();

    [[noreturn]] static void unknownProperty(const std::string& name);
    [[noreturn]] static void invalidValue();

  private:
    ValueTag readTag() { return static_cast<ValueTag>(s_.readU8()); }
    ValueTag peekTag();
    size_t readLength();
    int32_t readIntegerPayload(ValueTag tag);

    MemoryStream& s_;
};

// Reads a whole container from the stream's position. holderProperty reads the value
// of a holder property and returns true, or returns false for a name it does not
// know; "Tag", "Left" and "Top" are read here and ignored.
void readComponent(MemoryStream& s,
                   const std::function<bool(ComponentReader&, const std::string&)>& holderProperty);

// Writes a container in the form the readers expect. The constructor writes the
// resource header (its size patched by finish()), the signature, the holder's class
// name and its empty object name.
class ComponentWriter {
  public:
    ComponentWriter(MemoryStream& s, std::string_view resourceName, std::string_view className);

    void name(std::string_view propertyName);  // a property name
    void integer(int32_t v);                   // shortest integer tag
    void boolean(bool v);
    void string(std::string_view cp1252);  // tag chosen by the text's contents
    void identifier(std::string_view ident);
    void binary(std::span<const uint8_t> bytes);
    void color(uint32_t color);  // identifier when the colour has one, else integer
    void beginCollection() { tag(ValueTag::Collection); }
    void beginEntry() { tag(ValueTag::List); }
    void end() { tag(ValueTag::Null); }  // ends an entry, a collection or a property list
    // Ends the holder's properties, writes its empty child list and the real size.
    void finish();

  private:
    void tag(ValueTag t) { s_.writeU8(static_cast<uint8_t>(t)); }
    void shortString(std::string_view s);

    MemoryStream& s_;
    size_t sizeAt_;
};

}  // namespace zk
