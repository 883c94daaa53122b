#include "frontends/qt/qt_main_window.h"

#include <QCoreApplication>

#include "frontends/qt/qt_client_widget.h"
#include "frontends/qt/qt_text.h"

namespace pelmora {

QtMainWindow::QtMainWindow(Form& form, Platform& platform)
    : policy_(form, platform, [](int code) { QCoreApplication::exit(code); }),
      client_(new QtClientWidget(form, this)), view_(form, *client_, policy_) {
    setWindowTitle(toQString(form.settings().caption));
    resize(client_->size());
    view_.focusFirst();
}

QWidget& QtMainWindow::client() { return *client_; }

} // namespace pelmora
