// A small JSON writer for the tools' --json output: values are appended in order, commas
// and escapes are taken care of.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zepa {

class JsonWriter {
  public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& value(int64_t number);
    JsonWriter& value(int number) { return value(int64_t{number}); }
    JsonWriter& value(const char* utf8) { return value(std::string_view(utf8)); }
    JsonWriter& value(double number);
    JsonWriter& value(std::string_view utf8);
    JsonWriter& value(bool flag);
    JsonWriter& null();
    // Starts a new line before the next value, to keep long arrays readable.
    JsonWriter& newline();

    const std::string& text() const { return out_; }

  private:
    void separate();
    std::string out_;
    bool needComma_ = false;
};

std::string jsonEscape(std::string_view utf8);

}  // namespace zepa
