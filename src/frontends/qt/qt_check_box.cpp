#include "frontends/qt/qt_check_box.h"

#include <QPainter>
#include <QStyleOptionButton>

#include <algorithm>

namespace pelmora {

QtCheckBox::QtCheckBox(QWidget* parent) : QCheckBox(parent) {
    setAutoFillBackground(true); // the square around the indicator, in its back colour
}

QRect QtCheckBox::indicatorRect() const {
    // Room for the focus rectangle all round: two pixels where the box is large enough
    // for a full-size indicator, one in the 13-pixel composer boxes.
    const int side = std::min(width(), height());
    const int inset = side >= 17 ? 2 : 1;
    const int box = std::max(side - 2 * inset, 1);
    return QRect(inset, (height() - box) / 2, box, box);
}

void QtCheckBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.rect = indicatorRect();
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
