#include "support/trace_pick.h"

#include <cstring>
#include <stdexcept>

namespace trace_pick {

namespace {

[[noreturn]] void bad(const char* what) { throw std::runtime_error(std::string("trace_pick: ") + what); }

// Past the string that starts at p (an opening quote).
const char* skipString(const char* p, const char* end) {
    for (++p; p < end; ++p) {
        if (*p == '\\') {
            ++p;  // the escaped character
            continue;
        }
        if (*p == '"') return p + 1;
    }
    bad("unterminated string");
}

// Past the value that starts at p.
const char* skipValue(const char* p, const char* end) {
    if (p >= end) bad("missing value");
    if (*p == '"') return skipString(p, end);
    if (*p != '{' && *p != '[') {
        while (p < end && *p != ',' && *p != '}' && *p != ']') ++p;
        return p;
    }
    int depth = 0;
    while (p < end) {
        const char c = *p;
        if (c == '"') {
            p = skipString(p, end);
            continue;
        }
        if (c == '{' || c == '[') ++depth;
        if ((c == '}' || c == ']') && --depth == 0) return p + 1;
        ++p;
    }
    bad("unterminated value");
}

}  // namespace

std::string_view from(std::string_view text, std::string_view key) {
    const std::string name = "\"" + std::string(key) + "\":";
    const void* at = memmem(text.data(), text.size(), name.data(), name.size());
    if (!at) return {};
    return text.substr(static_cast<const char*>(at) - text.data() + name.size());
}

std::string_view member(std::string_view text, std::string_view key) {
    const std::string_view rest = from(text, key);
    if (rest.empty()) return rest;
    return rest.substr(0, skipValue(rest.data(), rest.data() + rest.size()) - rest.data());
}

testing_json::Value pick(std::string_view text, const std::vector<std::string>& keys) {
    testing_json::Value out;
    out.kind = testing_json::Value::Kind::Object;
    for (const std::string& key : keys) {
        const std::string_view value = member(text, key);
        if (value.empty()) bad(("no member " + key).c_str());
        out.members[key] = testing_json::parse(std::string(value));
    }
    return out;
}

}  // namespace trace_pick
