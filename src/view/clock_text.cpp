#include "view/clock_text.h"

#include <string>
#include <utility>

#include "toolkit/text.h"

namespace pelmora::view {
namespace {

void appendNumber(Text& out, int value, bool twoDigits) {
    if (twoDigits || value >= 10) out += static_cast<char16_t>(u'0' + value / 10 % 10);
    out += static_cast<char16_t>(u'0' + value % 10);
}

} // namespace

Text timeOfDayText(const LocalTime& time) {
    const TextView pattern = time.pattern;
    Text out;
    for (std::size_t i = 0; i < pattern.size();) {
        const char16_t c = pattern[i];
        std::size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c) ++run;
        if (c == u'\'') { // quoted text as it stands; '' inside quotes is one quote
            std::size_t j = i + 1;
            for (; j < pattern.size(); ++j) {
                if (pattern[j] != u'\'') {
                    out += pattern[j];
                } else if (j + 1 < pattern.size() && pattern[j + 1] == u'\'') {
                    out += u'\'';
                    ++j;
                } else {
                    break;
                }
            }
            i = j + 1;
            continue;
        }
        const bool two = run >= 2;
        switch (c) {
        case u'h': appendNumber(out, (time.hour + 11) % 12 + 1, two); break;
        case u'H': appendNumber(out, time.hour, two); break;
        case u'm': appendNumber(out, time.minute, two); break;
        case u's': appendNumber(out, time.second, two); break;
        case u't': {
            const Text& period = time.hour < 12 ? time.am : time.pm;
            out += two ? period : period.substr(0, 1);
            break;
        }
        default: out.append(run, c); break;
        }
        i += run;
    }
    return out;
}

Text patternOfStrftime(std::string_view format) {
    static constexpr std::pair<char, std::string_view> Fields[] = {
        {'H', "HH"},          {'k', "H"},     {'I', "hh"}, {'l', "h"},
        {'M', "mm"},          {'S', "ss"},    {'p', "tt"}, {'T', "HH:mm:ss"},
        {'r', "hh:mm:ss tt"}, {'R', "HH:mm"}, {'%', "%"}};
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            const bool letter = (format[i] | 0x20) >= 'a' && (format[i] | 0x20) <= 'z';
            out += letter ? "'" + std::string(1, format[i]) + "'" : std::string(1, format[i]);
            continue;
        }
        if ((format[i + 1] == 'E' || format[i + 1] == 'O') && i + 2 < format.size()) ++i;
        for (const auto& [letter, field] : Fields)
            if (letter == (format[i + 1] == 'P' ? 'p' : format[i + 1])) out += field;
        ++i;
    }
    return fromUtf8(out);
}

} // namespace pelmora::view
