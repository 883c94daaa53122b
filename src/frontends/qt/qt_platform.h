#pragma once
// What the window asks of the desktop besides drawing: the time of day with the way the
// person's locale writes it, and a word to the screen reader. The time text itself is the
// view's to write (view::timeOfDayText); nothing here keeps any state.

#include <QLocale>
#include <QString>
#include <QTime>

#include "view/clock_text.h"

namespace pelmora {

// `time` with `locale`'s long time format (the one with seconds) in Windows' notation,
// without its time-zone field, and the locale's words for the day's halves.
view::LocalTime localTimeQt(const QLocale& locale, const QTime& time);

// Has the screen reader say `text` without moving the keyboard focus and without changing
// anything on the screen. Nothing happens when no assistive technology listens or no
// widget of the program has the focus.
void announceQt(const QString& text);

} // namespace pelmora
