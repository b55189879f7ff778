#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

// A small streaming JSON writer. Strings are given as UTF-8; control characters and
// quotes are escaped. Commas are placed automatically.
class JsonWriter {
  public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view k);
    JsonWriter& value(std::string_view s);
    JsonWriter& value(const char* s) { return value(std::string_view(s)); }
    JsonWriter& value(int64_t n);
    JsonWriter& value(int32_t n) { return value(static_cast<int64_t>(n)); }
    JsonWriter& value(uint64_t n) { return value(static_cast<int64_t>(n)); }
    JsonWriter& value(bool b);
    // A whole array of integers on one line.
    template <typename Ints>
    JsonWriter& ints(const Ints& values) {
        beginArray();
        for (auto v : values) value(static_cast<int64_t>(v));
        return endArray();
    }
    // Line breaks between the members of the top-level object keep dumps diffable.
    const std::string& str() const { return out_; }

  private:
    void separate();
    std::string out_;
    std::vector<bool> first_;  // per open container: nothing written in it yet
    bool afterKey_ = false;
};

std::string jsonEscape(std::string_view s);

}  // namespace zk
