#pragma once
// The status line's time of day, written the same way on every front end: the front end
// reads the clock and the locale's time pattern, and this writes the text. Windows' pattern
// notation is the common one, since the design's time text is Windows' own.

#include <string_view>

#include "toolkit/text.h"

namespace pelmora::view {

// The time now and how the person's locale writes a time of day, in Windows' notation:
// h/hh the hour 1-12, H/HH 0-23 (two letters: with a leading zero), m/mm, s/ss, t/tt the
// day period's first letter or whole word, text in single quotes as it stands ('' a quote).
struct LocalTime {
    int hour = 0, minute = 0, second = 0;
    Text pattern = u"HH:mm:ss";
    Text am = u"AM", pm = u"PM";
};

Text timeOfDayText(const LocalTime& time);

// A C library time format (strftime's, as nl_langinfo(T_FMT) gives the locale's) in the
// notation above: the time of day's fields translated, other letters quoted, a date's or a
// zone's fields dropped, since the clock shows the time of day only.
Text patternOfStrftime(std::string_view format);

} // namespace pelmora::view
