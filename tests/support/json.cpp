#include "support/json.h"

#include <cstdlib>

namespace testing_json {

namespace {

struct Parser {
    const std::string& s;
    std::size_t i = 0;

    [[noreturn]] void fail(const char* what) {
        throw std::runtime_error(std::string("json: ") + what + " at " + std::to_string(i));
    }
    void ws() {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\n' || s[i] == '\t' || s[i] == '\r')) ++i;
    }
    bool eat(char c) {
        ws();
        if (i < s.size() && s[i] == c) {
            ++i;
            return true;
        }
        return false;
    }
    std::string str() {
        if (!eat('"')) fail("expected string");
        std::string out;
        while (i < s.size() && s[i] != '"') {
            char c = s[i++];
            if (c == '\\') {
                if (i >= s.size()) fail("bad escape");
                char e = s[i++];
                switch (e) {
                    case 'n': out += '\n'; break;
                    case 't': out += '\t'; break;
                    case 'r': out += '\r'; break;
                    case 'u': out += static_cast<char>(std::strtol(s.substr(i, 4).c_str(), nullptr, 16)); i += 4; break;
                    default: out += e;
                }
            } else {
                out += c;
            }
        }
        if (i >= s.size()) fail("unterminated string");
        ++i;
        return out;
    }
    Value value() {
        ws();
        Value v;
        if (i >= s.size()) fail("unexpected end");
        const char c = s[i];
        if (c == '{') {
            ++i;
            v.kind = Value::Kind::Object;
            if (eat('}')) return v;
            do {
                std::string k = str();
                if (!eat(':')) fail("expected ':'");
                v.members[k] = value();
            } while (eat(','));
            if (!eat('}')) fail("expected '}'");
        } else if (c == '[') {
            ++i;
            v.kind = Value::Kind::Array;
            if (eat(']')) return v;
            do v.items.push_back(value());
            while (eat(','));
            if (!eat(']')) fail("expected ']'");
        } else if (c == '"') {
            v.kind = Value::Kind::String;
            v.text = str();
        } else if (s.compare(i, 4, "true") == 0) {
            v.kind = Value::Kind::Bool, v.boolean = true, i += 4;
        } else if (s.compare(i, 5, "false") == 0) {
            v.kind = Value::Kind::Bool, i += 5;
        } else if (s.compare(i, 4, "null") == 0) {
            i += 4;
        } else {
            const std::size_t start = i;
            while (i < s.size() && (std::isdigit(static_cast<unsigned char>(s[i])) || s[i] == '-' ||
                                    s[i] == '+' || s[i] == '.' || s[i] == 'e' || s[i] == 'E'))
                ++i;
            if (start == i) fail("unexpected character");
            v.kind = Value::Kind::Number;
            v.text = s.substr(start, i - start);
            v.number = std::strtod(v.text.c_str(), nullptr);
        }
        return v;
    }
};

}  // namespace

const Value& Value::operator[](const std::string& key) const {
    auto it = members.find(key);
    if (it == members.end()) throw std::runtime_error("json: no member '" + key + "'");
    return it->second;
}

double Value::num() const {
    if (kind != Kind::Number) throw std::runtime_error("json: not a number");
    return number;
}

const std::string& Value::str() const {
    if (kind != Kind::String) throw std::runtime_error("json: not a string");
    return text;
}

Value parse(const std::string& text) {
    Parser p{text};
    Value v = p.value();
    p.ws();
    if (p.i != text.size()) p.fail("trailing characters");
    return v;
}

}  // namespace testing_json
