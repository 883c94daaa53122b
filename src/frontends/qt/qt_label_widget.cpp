#include "frontends/qt/qt_label_widget.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>

#include <utility>

#include "frontends/qt/qt_check_box.h"

namespace pelmora {

QtLabelWidget::QtLabelWidget(QWidget* parent, Qt::Alignment horizontal,
                             std::optional<QColor> border)
    : QWidget(parent), alignment_(horizontal), border_(border) {
    // The paint event covers every pixel, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void QtLabelWidget::setCaption(const QString& caption) {
    if (caption == caption_) return;
    const QString previous = std::exchange(caption_, caption);
    update();
    if (QAccessible::isActive()) {
        if (accessibleName().isEmpty()) {
            QAccessibleEvent event(this, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
        } else { // a named label's text is its caption (a value Linux's bridge drops)
            QAccessibleTextUpdateEvent event(this, 0, previous, caption_);
            QAccessible::updateAccessibility(&event);
        }
    }
}

void QtLabelWidget::setColours(const QColor& fore, const QColor& back) {
    if (fore == fore_ && back == back_) return;
    fore_ = fore;
    back_ = back;
    update();
}

void QtLabelWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), back_);
    QRect textRect = rect();
    if (border_) {
        painter.setPen(*border_);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        textRect.adjust(1, 1, -1, -1);
    }
    if (caption_.isEmpty()) return;
    painter.setPen(fore_);
    painter.setFont(font());
    painter.drawText(textRect, static_cast<int>(alignment_ | Qt::AlignTop) | Qt::TextWordWrap,
                     caption_);
}

namespace {

// Static text named by its accessible name (else its caption) and valued by its caption,
// so a screen reader says "比特查看 第3位 数值", then "1"; the caption is also read-only
// text, since Linux's accessibility bridge passes on text, not a label's value.
class AccessibleLabel final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleLabel(QtLabelWidget* label)
        : QAccessibleWidget(label, QAccessible::StaticText), label_(label) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // Read-only text: the caption, with no selection and the caret at its start.
    QString text(int start, int end) const override {
        return label_->caption().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(label_->caption().size()); }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = *end = 0;
        return QString();
    }

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name:
            return label_->accessibleName().isEmpty() ? label_->caption()
                                                      : label_->accessibleName();
        case QAccessible::Value: return label_->caption();
        default: return QAccessibleWidget::text(t);
        }
    }

private:
    QtLabelWidget* label_;
};

// Qt owns the interfaces a factory returns (its accessibility cache deletes them).
QAccessibleInterface* labelFactory(const QString&, QObject* object) {
    if (auto* label = dynamic_cast<QtLabelWidget*>(object)) return new AccessibleLabel(label);
    return nullptr;
}

} // namespace

void installAccessibilityQt() {
    for (QAccessible::InterfaceFactory factory : {labelFactory, accessibleCheckBoxQt}) {
        QAccessible::removeFactory(factory);
        QAccessible::installFactory(factory);
    }
}

} // namespace pelmora
