#include "frontends/qt/qt_check_box.h"

#include <QAccessibleWidget>
#include <QPainter>
#include <QStyleOptionButton>

#include <algorithm>

namespace pelmora {
namespace {

// A check box as a screen reader or another assistive tool sees it: its name, whether it
// is ticked, and one action, "Toggle", that clicks it. It draws and handles input not at
// all; the widget does.
class AccessibleCheckBox final : public QAccessibleWidget {
public:
    explicit AccessibleCheckBox(QtCheckBox* box) : QAccessibleWidget(box, QAccessible::CheckBox) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = box()->isChecked();
        return state;
    }
    QStringList actionNames() const override {
        return QStringList{toggleAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != toggleAction() && action != pressAction())
            QAccessibleWidget::doAction(action);
        else if (box()->isEnabled())
            box()->click();
    }

private:
    QtCheckBox* box() const { return static_cast<QtCheckBox*>(widget()); }
};

} // namespace

// Qt owns the interfaces a factory returns (its accessibility cache deletes them).
QAccessibleInterface* accessibleCheckBoxQt(const QString&, QObject* object) {
    if (auto* box = dynamic_cast<QtCheckBox*>(object)) return new AccessibleCheckBox(box);
    return nullptr;
}

QtCheckBox::QtCheckBox(QWidget* parent) : QCheckBox(parent) {
    setAutoFillBackground(true); // the square around the indicator, in its back colour
}

void QtCheckBox::paintEvent(QPaintEvent*) {
    // Room for the focus rectangle all round the indicator: two pixels where the box is
    // large enough for a full-size indicator, one in the 13-pixel composer boxes.
    const int side = std::min(width(), height());
    const int inset = side >= 17 ? 2 : 1;
    const int box = std::max(side - 2 * inset, 1);
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.rect = QRect(inset, (height() - box) / 2, box, box);
    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, this);
    if (hasFocus()) {
        QPen pen(palette().color(QPalette::WindowText));
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

bool QtCheckBox::hitButton(const QPoint& pos) const { return rect().contains(pos); }

} // namespace pelmora
