// Tokens of the .x text format.
#include "platform/gfx/xfile_lexer.h"

#include <charconv>
#include <cmath>

namespace platform::gfx {

namespace {
bool isNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool isNameChar(char c) {
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}
bool isNumberChar(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
}
}  // namespace

void XLexer::skipSpaceAndComments() {
    while (pos_ < text_.size()) {
        const char c = text_[pos_];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++pos_;
        } else if (c == '#' || (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/')) {
            while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
        } else {
            return;
        }
    }
}

XToken XLexer::peek() {
    if (!peeked_) {
        peekedToken_ = scan();
        peeked_ = true;
    }
    return peekedToken_;
}

XToken XLexer::next() {
    if (peeked_) {
        peeked_ = false;
        return peekedToken_;
    }
    return scan();
}

XToken XLexer::scan() {
    skipSpaceAndComments();
    if (pos_ >= text_.size()) {
        tokenText_ = {};
        return XToken::End;
    }
    const std::size_t start = pos_;
    const char c = text_[pos_];
    if (c == '{' || c == '}' || c == ';' || c == ',') {
        ++pos_;
        tokenText_ = text_.substr(start, 1);
        return c == '{' ? XToken::Open : c == '}' ? XToken::Close : XToken::Separator;
    }
    if (c == '"') {
        const std::size_t close = text_.find('"', pos_ + 1);
        if (close == std::string_view::npos) return XToken::Error;
        tokenText_ = text_.substr(pos_ + 1, close - pos_ - 1);
        pos_ = close + 1;
        return XToken::String;
    }
    if (c == '<') {
        const std::size_t close = text_.find('>', pos_ + 1);
        if (close == std::string_view::npos) return XToken::Error;
        tokenText_ = text_.substr(pos_ + 1, close - pos_ - 1);
        pos_ = close + 1;
        return XToken::Guid;
    }
    if (isNameStart(c)) {
        while (pos_ < text_.size() && isNameChar(text_[pos_])) ++pos_;
        tokenText_ = text_.substr(start, pos_ - start);
        return XToken::Name;
    }
    if (isNumberChar(c)) {
        while (pos_ < text_.size() && isNumberChar(text_[pos_])) ++pos_;
        tokenText_ = text_.substr(start, pos_ - start);
        const char* first = tokenText_.data();
        const char* last = first + tokenText_.size();
        if (*first == '+') ++first;  // from_chars takes no plus sign
        double value = 0;
        const auto [ptr, ec] = std::from_chars(first, last, value);
        if (ec != std::errc() || ptr != last || !std::isfinite(value)) return XToken::Error;
        number_ = value;
        integral_ = tokenText_.find_first_of(".eE") == std::string_view::npos;
        return XToken::Number;
    }
    return XToken::Error;
}

}  // namespace platform::gfx
