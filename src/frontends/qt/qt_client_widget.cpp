#include "frontends/qt/qt_client_widget.h"

#include <QPainter>

#include "frontends/qt/qt_colours.h"
#include "view/layout.h"

namespace pelmora {

QtClientWidget::QtClientWidget(const Form& form, QWidget* parent) : QWidget(parent) {
    const view::PixelSize size = view::clientSize(form.settings());
    setFixedSize(size.width, size.height);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    for (Control* control : form.controls())
        if (const auto* line = dynamic_cast<const Line*>(control)) lines_.push_back(line);
}

void QtClientWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (const Line* line : lines_) {
        if (!line->visible()) continue;
        const view::PixelRect band = view::lineBand(*line);
        painter.fillRect(QRect(band.x, band.y, band.width, band.height),
                         resolveColourQt(line->foreColour(), palette()));
    }
}

} // namespace pelmora
