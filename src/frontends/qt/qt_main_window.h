#pragma once
// QtMainWindow is the program's top-level window: the caption and the fixed client area
// of the form, the view that fills it, and the one key the whole window answers, Enter,
// which presses the default button. The frame is resizable but the client never moves
// or grows with it. Closing the window runs no code; the application ends when its last
// window closes. It neither loads the form nor shows itself: the caller does both, in
// that order.

#include <QWidget>

#include "frontends/qt/qt_form_view.h"
#include "toolkit/form.h"

namespace pelmora {

class QtClientWidget;

class QtMainWindow final : public QWidget {
public:
    // `form` must be loaded already; `onError` hears errors that escape a handler.
    QtMainWindow(Form& form, QtFormView::ErrorSink onError);

    QtFormView& view() { return view_; }
    QWidget& client();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QtClientWidget* client_; // a child: Qt parent ownership
    QtFormView view_;
};

} // namespace pelmora
