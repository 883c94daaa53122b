#include "frontends/qt/qt_platform.h"

#include <QMessageBox>
#include <QTimer>

#include "frontends/qt/qt_announce.h"
#include "frontends/qt/qt_text.h"

namespace pelmora {
namespace {

QMessageBox::Icon iconFor(int flags) {
    switch (flags & 0x70) {
    case message_box::Critical: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

QString timeFormatWithoutZoneQt(const QString& format) {
    // Drop every unquoted run of 't' (the zone field), with the brackets around it and
    // one blank beside it; text in single quotes is literal and stays as it is.
    QString out;
    bool quoted = false;
    const auto next = [&](qsizetype i) {
        return i + 1 < format.size() ? format.at(i + 1) : QChar();
    };
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == u'\'') quoted = !quoted;
        if (quoted || (c != u't' && c != u'B')) {
            out += c;
            continue;
        }
        const QChar field = c;
        while (next(i) == field) ++i;
        if (field == u'B') { // a day period ("下午") that Qt's formats do not know
            out += QStringLiteral("AP");
            continue;
        }
        if (!out.isEmpty() && (out.back() == u'(' || out.back() == u'[') &&
            (next(i) == u')' || next(i) == u']')) {
            out.chop(1);
            ++i;
        }
        if (!out.isEmpty() && out.back().isSpace())
            out.chop(1);
        else
            while (next(i).isSpace()) ++i;
    }
    // A separator the zone leaves dangling at either end ("h:mm:ss AP," of "…AP, t").
    const auto dangling = [](QChar c) { return c.isSpace() || c == u','; };
    while (!out.isEmpty() && dangling(out.back())) out.chop(1);
    while (!out.isEmpty() && dangling(out.front())) out.remove(0, 1);
    return out;
}

QString timeOfDayTextQt(const QLocale& locale, const QTime& time) {
    return locale.toString(time, timeFormatWithoutZoneQt(locale.timeFormat(QLocale::LongFormat)));
}

void QtPlatform::messageBox(const Text& prompt, int flags, const Text& title) {
    QMessageBox box(iconFor(flags), toQString(title), toQString(prompt), QMessageBox::Ok,
                    owner_.data());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void QtPlatform::announce(const Text& text) {
    if (pending_.hold(text))
        QTimer::singleShot(0, &turn_,
                           [this] { announceToScreenReaderQt(toQString(pending_.take())); });
}

Text QtPlatform::timeOfDayText() {
    return toText(timeOfDayTextQt(QLocale::system(), QTime::currentTime()));
}

} // namespace pelmora
