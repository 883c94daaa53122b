#pragma once
// Text as a terminal shows it: the controls' UTF-16 as characters one or two columns wide
// (wcwidth in the person's locale), and the caret's steps over them. A control character
// shows as its picture (U+2400 on: "␁" for Ctrl+A), one the terminal cannot show at all,
// such as a lone surrogate, as "?".

#include <cwchar>
#include <numeric>
#include <vector>

#include "toolkit/text.h"

namespace pelmora {

struct Glyph {
    wchar_t ch;
    int width;
    std::size_t units; // UTF-16 units it takes: 2 for a surrogate pair
};

inline bool isPair(TextView text, std::size_t at) {
    return at + 1 < text.size() && text[at] >= 0xD800 && text[at] < 0xDC00 &&
           text[at + 1] >= 0xDC00 && text[at + 1] < 0xE000;
}

inline std::vector<Glyph> glyphs(TextView text) {
    std::vector<Glyph> out;
    for (std::size_t i = 0; i < text.size(); i += out.back().units) {
        const bool pair = isPair(text, i);
        auto c = static_cast<wchar_t>(
            pair ? 0x10000 + ((text[i] - 0xD800) << 10) + (text[i + 1] - 0xDC00) : text[i]);
        c = c < L' ' ? 0x2400 + c : c == 0x7F ? 0x2421 : c;
        const int width = ::wcwidth(c);
        out.push_back({width > 0 ? c : L'?', width > 0 ? width : 1, pair ? 2u : 1u});
    }
    return out;
}

inline int widthOf(const std::vector<Glyph>& glyphs) {
    return std::accumulate(glyphs.begin(), glyphs.end(), 0,
                           [](int w, const Glyph& g) { return w + g.width; });
}

// Where the caret goes one character back or on, never into a surrogate pair.
inline std::size_t stepBack(TextView text, std::size_t caret) {
    return caret < 2 || !isPair(text, caret - 2) ? caret - (caret > 0) : caret - 2;
}
inline std::size_t stepOn(TextView text, std::size_t caret) {
    return caret >= text.size() ? caret : caret + (isPair(text, caret) ? 2 : 1);
}

inline Text unitsOf(wint_t key) {
    if (key < 0x10000) return Text(1, static_cast<char16_t>(key));
    return {static_cast<char16_t>(0xD800 + ((key - 0x10000) >> 10)),
            static_cast<char16_t>(0xDC00 + ((key - 0x10000) & 0x3FF))};
}

} // namespace pelmora
