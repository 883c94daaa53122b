#pragma once
// The status line's time of day, written the same way on every front end: the front end
// reads the clock and the locale's time pattern, and this writes the text. Windows' pattern
// notation is the common one, since the design's time text is Windows' own.

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

} // namespace pelmora::view
