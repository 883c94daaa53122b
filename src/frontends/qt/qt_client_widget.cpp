#include "frontends/qt/qt_client_widget.h"

#include <QPainter>

#include "frontends/qt/qt_colours.h"
#include "view/layout.h"

namespace pelmora {

QtClientWidget::QtClientWidget(const Form& form, QWidget* parent) : QWidget(parent), form_(form) {
    const view::PixelSize size = view::clientSize(form.settings());
    setFixedSize(size.width, size.height);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
}

void QtClientWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (const view::LineBand& band : view::visibleLineBands(form_)) {
        const view::PixelRect& r = band.rect;
        painter.fillRect(QRect(r.x, r.y, r.width, r.height),
                         resolveColourQt(band.colour, palette()));
    }
}

} // namespace pelmora
