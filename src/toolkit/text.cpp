#include "toolkit/text.h"

namespace pelmora {
namespace {

bool isHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Length in units of the character starting at `pos`.
std::size_t unitsAt(TextView text, std::size_t pos) {
    return (isHigh(text[pos]) && pos + 1 < text.size() && isLow(text[pos + 1])) ? 2 : 1;
}

// Unit offset of the character after the first `count` characters.
std::size_t offsetOf(TextView text, std::size_t count) {
    std::size_t pos = 0;
    while (count > 0 && pos < text.size()) {
        pos += unitsAt(text, pos);
        --count;
    }
    return pos;
}

} // namespace

std::size_t characterCount(TextView text) {
    std::size_t n = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += unitsAt(text, pos)) ++n;
    return n;
}

bool hasMoreCharactersThan(TextView text, std::size_t limit) {
    return offsetOf(text, limit) < text.size();
}

Text leftCharacters(TextView text, std::size_t count) {
    return Text(text.substr(0, offsetOf(text, count)));
}

Text charactersFrom(TextView text, std::size_t start) {
    if (start <= 1) return Text(text);
    return Text(text.substr(offsetOf(text, start - 1)));
}

Text withoutLastCharacter(TextView text) {
    if (text.empty()) return Text();
    std::size_t cut = text.size() - 1;
    if (cut > 0 && isLow(text[cut]) && isHigh(text[cut - 1])) --cut;
    return Text(text.substr(0, cut));
}

std::size_t findCharacter(TextView text, char16_t needle) {
    std::size_t n = 1;
    for (std::size_t pos = 0; pos < text.size(); pos += unitsAt(text, pos), ++n)
        if (text[pos] == needle) return n;
    return 0;
}

Text fromUtf8(std::string_view utf8) {
    Text out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const std::size_t extra = b < 0x80           ? 0
                                  : (b >> 5) == 0x06 ? 1
                                  : (b >> 4) == 0x0E ? 2
                                  : (b >> 3) == 0x1E ? 3
                                                     : 9; // stray continuation or bad lead
        char32_t cp = b & (0x7F >> extra);
        bool ok = extra <= 3;
        for (std::size_t k = 1; ok && k <= extra; ++k) {
            if (i + k >= utf8.size()) {
                ok = false;
                break;
            }
            const auto c = static_cast<unsigned char>(utf8[i + k]);
            if ((c >> 6) != 2) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += extra + 1;
    }
    return out;
}

std::string toUtf8(TextView text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t cp = text[pos];
        const std::size_t units = unitsAt(text, pos);
        if (units == 2)
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[pos + 1] - 0xDC00);
        else if (cp >= 0xD800 && cp <= 0xDFFF)
            cp = 0xFFFD;
        pos += units;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

} // namespace pelmora
