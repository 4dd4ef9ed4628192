#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Byte-string helpers shared by every layer. None of them fails: missing tokens are empty
// texts and unreadable numbers are 0.
namespace tarnwick {

// Blank, tab, line feed, carriage return, vertical tab and form feed.
inline constexpr std::string_view kBlanks = " \t\n\r\v\f";

// Whether c belongs to the blank set.
constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The n-th token (counted from 1; n below 1 acts as 1) of the runs of characters not in
// delimiters, or the empty view when there are fewer. The view points into text.
std::string_view nthTokenView(std::string_view text, int n, std::string_view delimiters = kBlanks);

// nthTokenView as an owned text.
std::string nthToken(std::string_view text, int n, std::string_view delimiters = kBlanks);

// text without leading and trailing blank-set characters.
std::string_view trimmedView(std::string_view text);
std::string trimmed(std::string_view text);

// Removes, in place, every byte from 0x00 to 0x20 (unsigned) at both ends.
void trimControls(std::string& buffer);

// The blank-separated tokens of text joined by single blanks.
std::string collapseBlanks(std::string_view text);

// True when text is not empty and every character is in the digit set of base (8, 10, 16;
// any other base allows "0123456789.+- ").
bool isNumber(std::string_view text, int base);

// Whether the whole text is a whole number: decimal digits after an optional minus, or also
// a plus when plusAllowed.
bool isWholeNumber(std::string_view text, bool plusAllowed = false);

// The whole text as a whole number (digits after an optional minus; none for unsigned types)
// when Number can hold it; nothing otherwise.
template <typename Number>
std::optional<Number> wholeNumber(std::string_view text) {
    if (!isWholeNumber(text)) return std::nullopt;
    Number value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end) return std::nullopt;
    return value;
}

// Reads a number the way C's atoi does: leading white space, an optional sign, decimal
// digits up to the first other character; no digits gives 0. Values beyond the 32-bit
// range saturate instead of overflowing.
int32_t atoiValue(std::string_view text);

// Calls fn(line) for every piece of text between line feeds, in order: n line feeds make n + 1
// lines, the last one empty when the text ends with one.
template <typename Fn>
void forEachLine(std::string_view text, Fn&& fn) {
    for (;;) {
        const size_t end = text.find('\n');
        fn(text.substr(0, end));
        if (end == std::string_view::npos) return;
        text.remove_prefix(end + 1);
    }
}

// part of whole as a percentage with one decimal, "0.0" of nothing.
std::string percentOf(int32_t part, int32_t whole);

// A file's name without its folders (either kind of slash).
std::string baseName(const std::string& path);

// Walks the blank-separated tokens of a text in order; an exhausted cursor yields empty
// tokens. Tokens are views into the text.
class TokenCursor {
  public:
    explicit TokenCursor(std::string_view text) : text_(text) {}

    std::string_view next() {
        while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
        const size_t start = pos_;
        while (pos_ < text_.size() && !isBlank(text_[pos_])) ++pos_;
        return text_.substr(start, pos_ - start);
    }

    // What follows the tokens taken so far, without its leading and trailing blanks.
    std::string_view rest() const;

  private:
    std::string_view text_;
    size_t pos_ = 0;
};

// Calls fn(token) for every blank-separated token of text, in order; stops early when fn
// returns false. Tokens are views into text.
template <typename Fn>
void forEachToken(std::string_view text, Fn&& fn) {
    TokenCursor cursor(text);
    for (std::string_view token = cursor.next(); !token.empty(); token = cursor.next()) {
        if (!fn(token)) return;
    }
}

}  // namespace tarnwick
