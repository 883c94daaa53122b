#include "frontends/qt/qt_platform.h"

#include <QAccessible>
#include <QApplication>
#include <QWidget>

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace {
// The (so) reference to the application's root that ends every AT-SPI event signal.
struct SpiReference {
    QString service;
    QDBusObjectPath path;
};
QDBusArgument& operator<<(QDBusArgument& argument, const SpiReference& reference) {
    argument.beginStructure();
    argument << reference.service << reference.path;
    argument.endStructure();
    return argument;
}
const QDBusArgument& operator>>(const QDBusArgument& argument, SpiReference& reference) {
    argument.beginStructure();
    argument >> reference.service >> reference.path;
    argument.endStructure();
    return argument;
}
} // namespace
Q_DECLARE_METATYPE(SpiReference)
#endif

namespace pelmora {

// No widget, caption or tab stop changes: the text goes to the screen reader alone.
void announceQt(const QString& text) {
    QWidget* focus = QApplication::focusWidget();
    if (text.isEmpty() || !focus || !QAccessible::isActive()) return;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(focus);
    if (!accessible) return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(focus, text);
    QAccessible::updateAccessibility(&event);
#else
    // Qt 6.4 has no announcement event, and its AT-SPI bridge sends the object rather than
    // the text with a description change, which Orca cannot speak. So this sends the signal
    // a later Qt sends for a new description of the focused widget, carrying the text, on
    // the connection Qt's bridge opened ("a11y"): Orca speaks a description change of the
    // object that has its focus. The widget's own description is left as it was, so
    // nothing is read again when the focus comes back.
    static const int registered = qDBusRegisterMetaType<SpiReference>().id();
    Q_UNUSED(registered);
    QDBusConnection bus(QStringLiteral("a11y"));
    if (!bus.isConnected()) return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/org/a11y/atspi/accessible/") +
            QString::number(QAccessible::uniqueId(accessible)),
        QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("PropertyChange"));
    signal << QStringLiteral("accessible-description") << 0 << 0
           << QVariant::fromValue(QDBusVariant(text))
           << QVariant::fromValue(
                  SpiReference{bus.baseService(),
                               QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"))});
    bus.send(signal);
#endif
}

namespace {

// Whether an unquoted field of `letters` is in a Qt time format.
bool hasField(const QString& format, QStringView letters) {
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'') quoted = !quoted;
        if (!quoted && letters.contains(c)) return true;
    }
    return false;
}

} // namespace

view::LocalTime localTimeQt(const QLocale& locale, const QTime& time) {
    // Qt's notation into Windows': Qt's h is the 12-hour clock only beside a day period
    // (AP, ap, A, a, or B, which Qt's own formats do not know); the zone field t goes, with
    // the brackets around it and one blank beside it; quoted text stays as it is.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    const bool twelveHour = hasField(format, u"aAB");
    QString out;
    bool quoted = false;
    const auto next = [&](qsizetype i) {
        return i + 1 < format.size() ? format.at(i + 1) : QChar();
    };
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == u'\'') quoted = !quoted;
        if (quoted || !QStringView(u"hHaABt").contains(c)) {
            out += c;
            continue;
        }
        qsizetype run = 1;
        for (; next(i) == c; ++i) ++run;
        if (c == u'h' || c == u'H') {
            out += QString(std::min<qsizetype>(run, 2), twelveHour && c == u'h' ? u'h' : u'H');
        } else if (c != u't') { // a day period
            if (c != u'B' && (next(i) == u'p' || next(i) == u'P')) ++i;
            out += QStringLiteral("tt");
        } else {
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
    }
    // A separator the zone leaves dangling at either end ("h:mm:ss tt," of "…AP, t").
    const auto dangling = [](QChar c) { return c.isSpace() || c == u','; };
    while (!out.isEmpty() && dangling(out.back())) out.chop(1);
    while (!out.isEmpty() && dangling(out.front())) out.remove(0, 1);
    return {time.hour(),
            time.minute(),
            time.second(),
            out.toStdU16String(),
            locale.amText().toStdU16String(),
            locale.pmText().toStdU16String()};
}

} // namespace pelmora
