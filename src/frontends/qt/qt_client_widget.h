#pragma once
// QtClientWidget is the window's client area: a fixed rectangle of the design's size in
// device-independent pixels on which every control's widget sits. It paints the dialog
// background and the design's Line controls, which need no widgets of their own; all
// outside its rectangle is clipped. It never moves or resizes with the window, so
// enlarging the window only adds empty space.

#include <QWidget>

#include "toolkit/form.h"

namespace pelmora {

class QtClientWidget final : public QWidget {
public:
    QtClientWidget(const Form& form, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Form& form_;
};

} // namespace pelmora
