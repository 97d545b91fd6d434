// JsonWriter: builds one JSON object as text, for the trace lines of the
// headless harness. Doubles print as the shortest text that reads back to
// the same double. A writer can be reused (reset) and can keep only some of
// the object's top-level members (keepOnly).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class JsonWriter {
public:
    JsonWriter() { out_ = "{"; }

    // Starts a new object, keeping the buffer's capacity and the filter.
    void reset();
    // Writes only the top-level members named in `names` (nullptr: all);
    // the others are written and taken back. `names` must outlive the writer.
    void keepOnly(const std::vector<std::string>* names) { keep_ = names; }
    // Whether a top-level member of this name is kept (callers may skip the
    // work of one that is not).
    bool wants(std::string_view name) const;

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
    const std::string& finish();

    static void appendShortest(std::string& out, double v);
    static void appendEscaped(std::string& out, std::string_view s);

private:
    void separator();
    void valueDone();  // a value has been completed

    std::string out_;
    std::string stack_ = "}";  // closing characters of the open containers
    bool first_ = true;        // no member yet in the innermost container
    bool afterKey_ = false;

    const std::vector<std::string>* keep_ = nullptr;
    bool dropping_ = false;          // writing a top-level member that is not kept
    std::size_t dropFrom_ = 0;       // where its text starts
    bool dropFirst_ = false;         // first_ before it
};
