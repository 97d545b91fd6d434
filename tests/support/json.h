// A small JSON reader for tests: enough to read the game's trace lines.
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace testing_json {

struct Value {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;       // string value, or the number's original text
    std::vector<Value> items;
    std::map<std::string, Value> members;

    const Value& operator[](const std::string& key) const;   // throws if missing
    const Value& operator[](std::size_t i) const { return items.at(i); }
    bool has(const std::string& key) const { return members.count(key) != 0; }
    std::size_t size() const { return kind == Kind::Array ? items.size() : members.size(); }
    double num() const;
    long long integer() const { return static_cast<long long>(num()); }
    const std::string& str() const;
};

Value parse(const std::string& text);  // throws std::runtime_error on bad input

}  // namespace testing_json
