#include "frontends/qt/qt_announce.h"

#include <QAccessible>
#include <QApplication>
#include <QString>
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

void announceToScreenReaderQt(const QString& text) {
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

} // namespace pelmora
