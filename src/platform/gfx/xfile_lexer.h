// XLexer: splits the body of a DirectX .x text file into tokens (names,
// numbers, strings, braces and the ; , separators), skipping comments.
// Input is untrusted: a character it does not know ends the token stream
// with an error rather than being guessed at.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::gfx {

enum class XToken { End, Error, Name, Number, String, Open, Close, Separator, Guid };

class XLexer {
public:
    explicit XLexer(std::string_view text) : text_(text) {}

    // The next token; text() holds its characters (without quotes).
    XToken next();
    // The token next() would return, without consuming it.
    XToken peek();
    std::string_view text() const { return tokenText_; }
    double number() const { return number_; }
    bool integral() const { return integral_; }
    // Bytes not yet read (a bound for counts read from the file).
    std::size_t remaining() const { return text_.size() - pos_; }

private:
    XToken scan();
    void skipSpaceAndComments();

    std::string_view text_;
    std::size_t pos_ = 0;
    std::string_view tokenText_;
    double number_ = 0;
    bool integral_ = false;
    bool peeked_ = false;
    XToken peekedToken_ = XToken::End;
};

}  // namespace platform::gfx
