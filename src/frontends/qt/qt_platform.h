#pragma once
// QtPlatform gives the window what it needs from the desktop: a modal message box owned
// by the main window, the time of day as the person's locale writes it, with seconds and
// without a date or time zone, and a word to the screen reader. It shows nothing until
// asked and keeps no state but the window that owns its message boxes and a text waiting
// to be said.

#include <QLocale>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTime>
#include <QWidget>

#include "toolkit/platform.h"
#include "view/announcement.h"

namespace pelmora {

// The locale's long time format (the one with seconds) without its time-zone field.
QString timeFormatWithoutZoneQt(const QString& format);
// `time` as `locale` writes a time of day with seconds, with no date and no zone.
QString timeOfDayTextQt(const QLocale& locale, const QTime& time);

class QtPlatform final : public Platform {
public:
    // The window that owns the message boxes; until set they have no parent.
    void setOwner(QWidget* owner) { owner_ = owner; }

    // Shows an application-modal box with one OK button and, for flag 16, the stop icon;
    // returns when the person has closed it.
    void messageBox(const Text& prompt, int flags, const Text& title) override;
    Text timeOfDayText() override;
    // Said when control returns to the event loop (view::PendingAnnouncement).
    void announce(const Text& text) override;

private:
    QPointer<QWidget> owner_;
    view::PendingAnnouncement pending_;
    QObject turn_; // ends a pending announcement with the platform
};

} // namespace pelmora
