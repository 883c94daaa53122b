#include "frontends/qt/qt_platform.h"

#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "frontends/qt/qt_text.h"
#include "view/look.h"

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
namespace {

// Has the screen reader say `text` without moving the keyboard focus and without changing
// anything on the screen: no widget, no caption, no tab stop. Nothing happens when no
// assistive technology listens or no widget of the program has the focus.
void announceToScreenReader(const QString& text) {
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
    constexpr QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Critical,
                                           QMessageBox::Question, QMessageBox::Warning,
                                           QMessageBox::Information}; // view::MessageIcon's order
    QMessageBox box(icons[static_cast<int>(view::messageIcon(flags))], toQString(title),
                    toQString(prompt), QMessageBox::Ok, owner_.data());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void QtPlatform::announce(const Text& text) {
    if (pending_.hold(text))
        QTimer::singleShot(0, &turn_,
                           [this] { announceToScreenReader(toQString(pending_.take())); });
}

Text QtPlatform::timeOfDayText() {
    return toText(timeOfDayTextQt(QLocale::system(), QTime::currentTime()));
}

} // namespace pelmora
