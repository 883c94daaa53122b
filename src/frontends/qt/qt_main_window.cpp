#include "frontends/qt/qt_main_window.h"

#include <QCoreApplication>
#include <QKeyEvent>

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

void QtMainWindow::keyPressEvent(QKeyEvent* event) {
    // Text boxes and check boxes pass Enter on; it ends up here wherever the focus is.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        view_.pressDefaultButton(focusWidget());
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace pelmora
