// JsonWriter: builds one JSON object as text, for the trace lines of the
// headless harness. Doubles print as the shortest text that reads back to
// the same double.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class JsonWriter {
public:
    JsonWriter() { out_ = "{"; }

    // Members of the object (or of the innermost open object).
    JsonWriter& key(std::string_view name);
    JsonWriter& value(double v);
    JsonWriter& value(std::int64_t v);
    JsonWriter& value(int v) { return value(static_cast<std::int64_t>(v)); }
    JsonWriter& value(unsigned v) { return value(static_cast<std::int64_t>(v)); }
    JsonWriter& value(std::uint64_t v);
    JsonWriter& value(bool v);
    JsonWriter& value(std::string_view v);
    JsonWriter& value(const char* v) { return value(std::string_view(v)); }

    template <typename T>
    JsonWriter& field(std::string_view name, T v) { return key(name).value(v); }

    JsonWriter& beginObject(std::string_view name) { key(name); return openObject(); }
    JsonWriter& beginArray(std::string_view name) { key(name); return openArray(); }
    JsonWriter& openObject();   // an object as an array element or value
    JsonWriter& openArray();
    JsonWriter& end();          // closes the innermost object or array

    // The finished text (closes the outer object once).
    std::string finish();

    static void appendShortest(std::string& out, double v);
    static void appendEscaped(std::string& out, std::string_view s);

private:
    void separator();

    std::string out_;
    std::string stack_ = "}";  // closing characters of the open containers
    bool first_ = true;        // no member yet in the innermost container
    bool afterKey_ = false;
};
