#include "app/json_writer.h"

#include <charconv>
#include <cmath>

void JsonWriter::separator() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_) out_ += ',';
    first_ = false;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    separator();
    appendEscaped(out_, name);
    out_ += ':';
    afterKey_ = true;
    return *this;
}

void JsonWriter::appendShortest(std::string& out, double v) {
    if (!std::isfinite(v)) {  // JSON has no inf or nan
        out += "null";
        return;
    }
    char buf[32];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, p);
}

void JsonWriter::appendEscaped(std::string& out, std::string_view s) {
    out += '"';
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    static const char* hex = "0123456789abcdef";
                    out += "\\u00";
                    out += hex[c >> 4];
                    out += hex[c & 15];
                } else {
                    out += static_cast<char>(c);  // UTF-8 passes through
                }
        }
    }
    out += '"';
}

JsonWriter& JsonWriter::value(double v) {
    separator();
    appendShortest(out_, v);
    return *this;
}

JsonWriter& JsonWriter::value(std::int64_t v) {
    separator();
    out_ += std::to_string(v);
    return *this;
}

JsonWriter& JsonWriter::value(std::uint64_t v) {
    separator();
    out_ += std::to_string(v);
    return *this;
}

JsonWriter& JsonWriter::value(bool v) {
    separator();
    out_ += v ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view v) {
    separator();
    appendEscaped(out_, v);
    return *this;
}

JsonWriter& JsonWriter::openObject() {
    separator();
    out_ += '{';
    stack_ += '}';
    first_ = true;
    return *this;
}

JsonWriter& JsonWriter::openArray() {
    separator();
    out_ += '[';
    stack_ += ']';
    first_ = true;
    return *this;
}

JsonWriter& JsonWriter::end() {
    if (stack_.size() > 1) {
        out_ += stack_.back();
        stack_.pop_back();
        first_ = false;
    }
    return *this;
}

std::string JsonWriter::finish() {
    while (stack_.size() > 1) end();
    if (!stack_.empty()) {
        out_ += stack_.back();
        stack_.clear();
    }
    return out_;
}
