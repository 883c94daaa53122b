#pragma once
// QtMainWindow is the program's top-level window: the form's caption, the fixed client
// area and the view that fills it, which answers every key (Enter included) on the
// focused widget. The frame is resizable but the client never moves or grows with it.
// Closing the window runs no code; the application ends when its last window closes. It
// neither loads the form nor shows itself: the caller does both, in that order.

#include <QWidget>

#include "frontends/qt/qt_form_view.h"
#include "toolkit/form.h"
#include "toolkit/platform.h"
#include "view/view_policy.h"

namespace pelmora {

class QtClientWidget;

class QtMainWindow final : public QWidget {
public:
    // `form` must be loaded already; `platform` shows the report of an error that escapes
    // a handler, after which the application's event loop ends.
    QtMainWindow(Form& form, Platform& platform);

    QtFormView& view() { return view_; }
    QWidget& client();

private:
    view::ViewPolicy policy_;
    QtClientWidget* client_; // a child: Qt parent ownership
    QtFormView view_;
};

} // namespace pelmora
