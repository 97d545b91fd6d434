#include "app/json_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

template <typename T>
void appendInteger(std::string& out, T v) {
    char buf[24];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, p);
}

}  // namespace

void JsonWriter::reset() {
    out_.assign(1, '{');
    stack_.assign(1, '}');
    first_ = true;
    afterKey_ = false;
    dropping_ = false;
}

bool JsonWriter::wants(std::string_view name) const {
    return !keep_ || std::find(keep_->begin(), keep_->end(), name) != keep_->end();
}

// A top-level member that is not kept is taken back once its value is done.
void JsonWriter::valueDone() {
    if (dropping_ && stack_.size() == 1) {
        out_.resize(dropFrom_);
        first_ = dropFirst_;
        dropping_ = false;
    }
}

void JsonWriter::separator() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_) out_ += ',';
    first_ = false;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    if (keep_ && !dropping_ && stack_.size() == 1 && !wants(name)) {
        dropping_ = true;
        dropFrom_ = out_.size();
        dropFirst_ = first_;
    }
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
    valueDone();
    return *this;
}

JsonWriter& JsonWriter::value(std::int64_t v) {
    separator();
    appendInteger(out_, v);
    valueDone();
    return *this;
}

JsonWriter& JsonWriter::value(std::uint64_t v) {
    separator();
    appendInteger(out_, v);
    valueDone();
    return *this;
}

JsonWriter& JsonWriter::value(bool v) {
    separator();
    out_ += v ? "true" : "false";
    valueDone();
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view v) {
    separator();
    appendEscaped(out_, v);
    valueDone();
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
        valueDone();
    }
    return *this;
}

const std::string& JsonWriter::finish() {
    while (stack_.size() > 1) end();
    if (!stack_.empty()) {
        out_ += stack_.back();
        stack_.clear();
    }
    return out_;
}
