#pragma once
// Text as a terminal shows it: the controls' UTF-16 decoded into characters, each one or two
// columns wide (wcwidth in the person's locale), and the caret's steps over them. A
// character the terminal cannot show, a lone surrogate among them, shows as "?".

#include <cwchar>
#include <vector>

#include "toolkit/text.h"

namespace pelmora {

struct Glyph {
    wchar_t ch;
    int width;
    std::size_t units; // UTF-16 units it takes in the text: 2 for a surrogate pair
};

inline bool isHighSurrogate(char16_t u) { return u >= 0xD800 && u < 0xDC00; }
inline bool isLowSurrogate(char16_t u) { return u >= 0xDC00 && u < 0xE000; }

inline std::vector<Glyph> glyphs(TextView text) {
    std::vector<Glyph> out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = text[i];
        std::size_t units = 1;
        if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            units = 2;
        }
        const int width = ::wcwidth(static_cast<wchar_t>(c));
        out.push_back(width > 0 ? Glyph{static_cast<wchar_t>(c), width, units}
                                : Glyph{L'?', 1, units});
        i += units;
    }
    return out;
}

inline int widthOf(const std::vector<Glyph>& glyphs) {
    int width = 0;
    for (const Glyph& glyph : glyphs) width += glyph.width;
    return width;
}

// Where the caret goes one character back or on from `caret`, never into a surrogate pair.
inline std::size_t stepBack(TextView text, std::size_t caret) {
    if (caret == 0) return 0;
    --caret;
    return caret > 0 && isLowSurrogate(text[caret]) && isHighSurrogate(text[caret - 1]) ? caret - 1
                                                                                        : caret;
}
inline std::size_t stepOn(TextView text, std::size_t caret) {
    if (caret >= text.size()) return text.size();
    return caret + 1 < text.size() && isHighSurrogate(text[caret]) &&
                   isLowSurrogate(text[caret + 1])
               ? caret + 2
               : caret + 1;
}

inline Text unitsOf(wint_t key) {
    if (key < 0x10000) return Text(1, static_cast<char16_t>(key));
    return {static_cast<char16_t>(0xD800 + ((key - 0x10000) >> 10)),
            static_cast<char16_t>(0xDC00 + ((key - 0x10000) & 0x3FF))};
}

} // namespace pelmora
