#pragma once
// What the window asks of the desktop besides drawing: the time of day and how the person's
// locale writes it (the text itself is view::timeOfDayText's), and a word to the screen
// reader. Nothing here keeps any state.

#include <QLocale>
#include <QString>
#include <QTime>

#include "view/clock_text.h"

namespace pelmora {

// `time` with `locale`'s long time format (the one with seconds) in Windows' notation,
// without its time-zone field, and the locale's words for the day's halves.
view::LocalTime localTimeQt(const QLocale& locale, const QTime& time);

// Has the screen reader say `text`, moving no focus and changing nothing on the screen;
// nothing happens when no assistive technology listens or no widget has the focus.
void announceQt(const QString& text);

} // namespace pelmora
