#include "frontends/qt/qt_platform.h"

#include <QAccessible>
#include <QApplication>
#include <QRegularExpression>
#include <QWidget>

#include <algorithm>

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
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
    // Qt 6.4 has no announcement event, and with a description change its AT-SPI bridge
    // sends the object, not the text, which Orca cannot speak. So this sends, on the bridge's
    // own connection ("a11y"), the signal a later Qt sends for a new description of the
    // focused widget, carrying the text, which Orca speaks; the widget's own description
    // stays as it was, so nothing is read again when the focus comes back.
    QDBusConnection bus(QStringLiteral("a11y"));
    if (!bus.isConnected()) return;
    QDBusArgument root; // the (so) reference to the application's root ending every event
    root.beginStructure();
    root << bus.baseService() << QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"));
    root.endStructure();
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/org/a11y/atspi/accessible/") +
            QString::number(QAccessible::uniqueId(accessible)),
        QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("PropertyChange"));
    signal << QStringLiteral("accessible-description") << 0 << 0
           << QVariant::fromValue(QDBusVariant(text)) << QVariant::fromValue(root);
    bus.send(signal);
#endif
}

view::LocalTime localTimeQt(const QLocale& locale, const QTime& time) {
    // Qt's notation into Windows': Qt's h is the 12-hour clock only beside a day period
    // (AP, A, ap, a, Ap, or B, which Qt's own formats do not know), and the period's case
    // is the field's; the zone t goes, with brackets and separators beside it. Quoted
    // text and the other fields are written alike in both.
    const QRegularExpression token(QStringLiteral("'(?:[^']|'')*'|([A-Za-z])\\1*|[^A-Za-z']+"));
    const QRegularExpression zone(QStringLiteral("[\\s,]*[(\\[]?\\x01[)\\]]?[\\s,]*"));
    QStringList tokens;
    for (auto it = token.globalMatch(locale.timeFormat(QLocale::LongFormat)); it.hasNext();)
        tokens << it.next().captured();
    const auto isPeriod = [](const QString& t) { return QStringView(u"aAB").contains(t.front()); };
    const bool twelveHour = std::any_of(tokens.cbegin(), tokens.cend(), isPeriod);
    QString pattern, am = locale.amText(), pm = locale.pmText();
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const QString& t = tokens[i];
        if (t.front() == u'h' && !twelveHour) {
            pattern += QString(t.size(), u'H');
        } else if (t.front() == u't') {
            pattern += QChar(1); // the zone, dropped below
        } else if (!isPeriod(t)) {
            pattern += t;
        } else {
            const bool paired = i + 1 < tokens.size() && tokens[i + 1].toLower() == u"p";
            const QChar first = t.front(), second = paired ? tokens[++i].front() : first;
            if (first == u'B' || (first.isUpper() && second.isUpper())) {
                am = am.toUpper();
                pm = pm.toUpper();
            } else if (first.isLower() && second.isLower()) {
                am = am.toLower();
                pm = pm.toLower();
            }
            pattern += QStringLiteral("tt");
        }
    }
    return {
        time.hour(),         time.minute(),
        time.second(),       pattern.replace(zone, QStringLiteral(" ")).trimmed().toStdU16String(),
        am.toStdU16String(), pm.toStdU16String()};
}

} // namespace pelmora
