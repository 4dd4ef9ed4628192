#include "report/markup.hpp"

namespace tarnwick {

namespace {

// The length of the UTF-8 sequence at text[i], or 0 when it is not one.
size_t utf8Length(std::string_view text, size_t i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const size_t length = byte < 0x80                   ? 1
                          : byte >= 0xC2 && byte < 0xE0 ? 2
                          : byte >= 0xE0 && byte < 0xF0 ? 3
                          : byte >= 0xF0 && byte < 0xF5 ? 4
                                                        : 0;
    if (length == 0 || i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
    }
    // Some lead bytes narrow their second byte's range: below it is an overlong form, above it
    // a surrogate or a code point past U+10FFFF, none of which an XML reader accepts.
    if (length < 3) return length;
    const auto second = static_cast<unsigned char>(text[i + 1]);
    switch (byte) {
        case 0xE0:
            return second >= 0xA0 ? length : 0;
        case 0xED:
            return second <= 0x9F ? length : 0;
        case 0xF0:
            return second >= 0x90 ? length : 0;
        case 0xF4:
            return second <= 0x8F ? length : 0;
        default:
            return length;
    }
}

}  // namespace

std::string markupText(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        const size_t length = utf8Length(text, i);
        if (length > 1) {
            out.append(text.substr(i, length));
            i += length;
            continue;
        }
        ++i;
        if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (c == '"') {
            out += "&quot;";
        } else if (length == 0 || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            out += '?';
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace tarnwick
