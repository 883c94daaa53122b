#include "frontends/qt/qt_window.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <limits>

#include "frontends/qt/qt_check_box.h"
#include "frontends/qt/qt_label_widget.h"
#include "frontends/qt/qt_platform.h"
#include "frontends/qt/qt_text.h"

namespace pelmora {
namespace {

QColor qColour(view::Rgb c) { return QColor(c.red, c.green, c.blue); }

Qt::Alignment horizontal(Alignment a) {
    constexpr Qt::Alignment byAlignment[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    return byAlignment[static_cast<std::size_t>(a)]; // Left, Right, Centre
}

} // namespace

// The paint event covers every pixel.
QtWindow::QtWindow() { setAttribute(Qt::WA_OpaquePaintEvent); }

QWidget* QtWindow::widget(view::WidgetId id) const {
    const bool made = id >= 1 && id <= static_cast<view::WidgetId>(widgets_.size());
    return made ? widgets_[static_cast<std::size_t>(id - 1)] : nullptr;
}

void QtWindow::setWindow(const Text& caption, view::PixelSize client, view::Rgb ground) {
    setWindowTitle(toQString(caption));
    ground_ = qColour(ground);
    resize(client.width, client.height);
    update();
}

void QtWindow::make(view::WidgetId id, const view::WidgetSpec& spec) {
    QWidget* widget = nullptr;
    switch (spec.kind) {
    case view::WidgetKind::Label: {
        const auto border = spec.border ? std::optional(qColour(*spec.border)) : std::nullopt;
        widget = new QtLabelWidget(this, horizontal(spec.alignment), border);
        break;
    }
    case view::WidgetKind::TextBox: {
        auto* edit = new QLineEdit(this);
        edit->setMaxLength(std::numeric_limits<int>::max()); // no length limit
        edit->setAlignment(horizontal(spec.alignment) | Qt::AlignVCenter);
        connect(edit, &QLineEdit::textEdited, this,
                [this, id](const QString& text) { view_.edited(id, toText(text)); });
        widget = edit;
        break;
    }
    case view::WidgetKind::CheckBox: widget = new QtCheckBox(this); break;
    case view::WidgetKind::Button: widget = new QPushButton(this); break;
    }
    if (auto* push = qobject_cast<QPushButton*>(widget)) push->setDefault(spec.isDefault);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) // a box or a push button
        connect(button, &QAbstractButton::clicked, this, [this, id] { view_.clicked(id); });
    if (spec.kind != view::WidgetKind::Label) widget->installEventFilter(this); // for Enter
    widget->setObjectName(QString::fromStdString(spec.name));
    if (!spec.accessibleName.empty()) widget->setAccessibleName(toQString(spec.accessibleName));
    widgets_.resize(std::max(widgets_.size(), static_cast<std::size_t>(id)));
    widgets_[static_cast<std::size_t>(id - 1)] = widget;
}

void QtWindow::place(view::WidgetId id, view::PixelRect r) {
    widget(id)->setGeometry(r.x, r.y, r.width, r.height);
}

void QtWindow::setFont(view::WidgetId id, const Font& font, int pixelHeight) {
    const QFont qfont = fonts_.font(font, pixelHeight);
    // Widgets are made in the window's font: one they use spares Qt loading another.
    if (!testAttribute(Qt::WA_SetFont)) QWidget::setFont(qfont);
    widget(id)->setFont(qfont);
}

void QtWindow::setColours(view::WidgetId id, view::Rgb fore, view::Rgb back) {
    QWidget* shown = widget(id);
    if (auto* label = dynamic_cast<QtLabelWidget*>(shown))
        return label->setColours(qColour(fore), qColour(back));
    // The palette roles the widget paints its text and its ground in.
    auto roles = std::pair{QPalette::WindowText, QPalette::Window}; // a check box's
    if (qobject_cast<QLineEdit*>(shown)) roles = {QPalette::Text, QPalette::Base};
    if (qobject_cast<QPushButton*>(shown)) roles = {QPalette::ButtonText, QPalette::Button};
    QPalette palette = shown->palette();
    palette.setColor(roles.first, qColour(fore));
    palette.setColor(roles.second, qColour(back));
    shown->setPalette(palette);
}

void QtWindow::showText(view::WidgetId id, const Text& text, std::size_t caret) {
    QWidget* shown = widget(id);
    if (auto* label = dynamic_cast<QtLabelWidget*>(shown)) label->setCaption(toQString(text));
    if (auto* push = qobject_cast<QPushButton*>(shown)) push->setText(toQString(text));
    if (auto* edit = qobject_cast<QLineEdit*>(shown)) {
        edit->setText(toQString(text));
        edit->setCursorPosition(static_cast<int>(caret));
    }
}

std::size_t QtWindow::caret(view::WidgetId id) const {
    const auto* edit = qobject_cast<const QLineEdit*>(widget(id));
    return edit ? static_cast<std::size_t>(edit->cursorPosition()) : 0;
}

void QtWindow::setTicked(view::WidgetId id, bool ticked) {
    static_cast<QtCheckBox*>(widget(id))->setChecked(ticked);
}

void QtWindow::setVisible(view::WidgetId id, bool visible) { widget(id)->setVisible(visible); }

void QtWindow::setOrders(const std::vector<view::WidgetId>& tab,
                         const std::vector<view::WidgetId>& bottomUp) {
    for (std::size_t i = 1; i < tab.size(); ++i)
        QWidget::setTabOrder(widget(tab[i - 1]), widget(tab[i]));
    for (const view::WidgetId id : bottomUp) widget(id)->raise();
}

void QtWindow::focus(view::WidgetId id) { widget(id)->setFocus(Qt::OtherFocusReason); }

void QtWindow::paintBands(const std::vector<view::PaintedBand>& bands) {
    bands_ = bands;
    update();
}

void QtWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ground_);
    for (const view::PaintedBand& band : bands_)
        painter.fillRect(QRect(band.rect.x, band.rect.y, band.rect.width, band.rect.height),
                         qColour(band.colour));
}

void QtWindow::setClock(int clock, int interval, bool running) {
    while (clocks_.size() <= static_cast<std::size_t>(clock)) {
        auto* timer = new QTimer(this);
        const int number = static_cast<int>(clocks_.size());
        connect(timer, &QTimer::timeout, this, [this, number] { view_.tick(number); });
        clocks_.push_back(timer);
    }
    QTimer* timer = clocks_[static_cast<std::size_t>(clock)];
    timer->setInterval(interval);
    running ? timer->start() : timer->stop();
}

void QtWindow::messageBox(const Text& prompt, view::MessageIcon icon, const Text& title) {
    constexpr QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Critical,
                                           QMessageBox::Question, QMessageBox::Warning,
                                           QMessageBox::Information}; // view::MessageIcon's order
    // Before the window is up (an error while loading) the box stands alone.
    QMessageBox box(icons[static_cast<int>(icon)], toQString(title), toQString(prompt),
                    QMessageBox::Ok, isVisible() ? this : nullptr);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void QtWindow::callAfterTurn() {
    QTimer::singleShot(0, this, [this] { view_.turnOver(); });
}

void QtWindow::announce(const Text& text) { announceQt(toQString(text)); }

view::LocalTime QtWindow::localTime() {
    return localTimeQt(QLocale::system(), QTime::currentTime());
}

void QtWindow::quit(int code) { QCoreApplication::exit(code); }

bool QtWindow::eventFilter(QObject* watched, QEvent* event) {
    const auto* key = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
    if (!key || (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)) return false;
    const auto id = std::find(widgets_.begin(), widgets_.end(), watched) - widgets_.begin() + 1;
    const Qt::KeyboardModifiers held = key->modifiers();
    view_.enter(static_cast<view::WidgetId>(id),
                {held.testFlag(Qt::ShiftModifier), held.testFlag(Qt::ControlModifier),
                 held.testFlag(Qt::AltModifier)});
    return true;
}

} // namespace pelmora
