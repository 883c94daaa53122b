#include "frontends/qt/qt_client_widget.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "frontends/qt/qt_colours.h"

namespace pelmora {

int pixelsQt(float twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixel));
}

QtClientWidget::QtClientWidget(const Form& form, QWidget* parent) : QWidget(parent) {
    setFixedSize(pixelsQt(static_cast<float>(form.settings().clientWidth)),
                 pixelsQt(static_cast<float>(form.settings().clientHeight)));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    for (Control* control : form.controls())
        if (const auto* line = dynamic_cast<const Line*>(control)) lines_.push_back(line);
}

void QtClientWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (const Line* line : lines_) {
        if (!line->visible()) continue;
        const QColor colour = resolveColourQt(line->foreColour(), palette());
        const int width = std::max(line->lineWidth(), 1);
        const QPoint from(pixelsQt(static_cast<float>(line->x1())),
                          pixelsQt(static_cast<float>(line->y1())));
        const QPoint to(pixelsQt(static_cast<float>(line->x2())),
                        pixelsQt(static_cast<float>(line->y2())));
        if (from.y() == to.y()) {
            // Horizontal: a band `width` pixels thick below the line's y, so a shadow line
            // and a window-coloured line 2 pixels lower meet as an etched groove.
            const int left = std::min(from.x(), to.x());
            painter.fillRect(QRect(left, from.y(), std::abs(to.x() - from.x()), width), colour);
        } else {
            painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::SquareCap));
            painter.drawLine(from, to);
        }
    }
}

} // namespace pelmora
