#include "frontends/qt/qt_window.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

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

// Sets one palette colour only when it differs, so widgets in the default colours keep
// sharing the application palette.
void setPaletteColour(QWidget& widget, QPalette::ColorRole role, const QColor& colour) {
    if (widget.palette().color(role) == colour) return;
    QPalette palette = widget.palette();
    palette.setColor(role, colour);
    widget.setPalette(palette);
}

// The client area: the ground and the lines, painted under the widgets, in a rectangle
// that never moves or resizes with the window.
class Client final : public QWidget {
public:
    explicit Client(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_OpaquePaintEvent); // the paint event covers every pixel
    }
    QColor ground;
    std::vector<view::PaintedBand> bands;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), ground);
        for (const view::PaintedBand& band : bands)
            painter.fillRect(QRect(band.rect.x, band.rect.y, band.rect.width, band.rect.height),
                             qColour(band.colour));
    }
};

} // namespace

QtWindow::QtWindow() : client_(new Client(this)) {}

QtWindow::~QtWindow() = default;

QWidget* QtWindow::widget(view::WidgetId id) const {
    if (id < 1 || id > static_cast<view::WidgetId>(widgets_.size())) return nullptr;
    return widgets_[static_cast<std::size_t>(id - 1)].widget;
}

void QtWindow::setWindow(const Text& caption, view::PixelSize client, view::Rgb ground) {
    setWindowTitle(toQString(caption));
    client_->setFixedSize(client.width, client.height);
    static_cast<Client*>(client_)->ground = qColour(ground);
    client_->update();
    resize(client_->size());
}

void QtWindow::make(view::WidgetId id, const view::WidgetSpec& spec) {
    QWidget* widget = nullptr;
    switch (spec.kind) {
    case view::WidgetKind::Label: {
        auto* label = new QtLabelWidget(client_);
        label->setAlignment(horizontal(spec.alignment));
        if (spec.border) label->setBorder(qColour(*spec.border));
        widget = label;
        break;
    }
    case view::WidgetKind::TextBox: {
        auto* edit = new QLineEdit(client_);
        edit->setMaxLength(std::numeric_limits<int>::max()); // no length limit
        edit->setAlignment(horizontal(spec.alignment) | Qt::AlignVCenter);
        connect(edit, &QLineEdit::textEdited, this,
                [this, id](const QString& text) { view_.edited(id, toText(text)); });
        widget = edit;
        break;
    }
    case view::WidgetKind::CheckBox: widget = new QtCheckBox(client_); break;
    case view::WidgetKind::Button: {
        auto* push = new QPushButton(client_);
        push->setDefault(spec.isDefault);
        widget = push;
        break;
    }
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) // a box or a push button
        connect(button, &QAbstractButton::clicked, this, [this, id] { view_.clicked(id); });
    if (spec.kind != view::WidgetKind::Label) widget->installEventFilter(this); // for Enter
    widget->setObjectName(QString::fromStdString(spec.name));
    if (!spec.accessibleName.empty()) widget->setAccessibleName(toQString(spec.accessibleName));
    if (widgets_.size() < static_cast<std::size_t>(id))
        widgets_.resize(static_cast<std::size_t>(id));
    widgets_[static_cast<std::size_t>(id - 1)] = {widget, spec.kind};
}

void QtWindow::place(view::WidgetId id, view::PixelRect r) {
    widget(id)->setGeometry(r.x, r.y, r.width, r.height);
}

void QtWindow::setFont(view::WidgetId id, const Font& font, int pixelHeight) {
    const QFont qfont = fonts_.font(font, pixelHeight);
    // New widgets lay out text in the client's font before they get their own; the font
    // the first widget takes spares Qt loading one nobody shows.
    if (!client_->testAttribute(Qt::WA_SetFont)) client_->setFont(qfont);
    widget(id)->setFont(qfont);
}

void QtWindow::setColours(view::WidgetId id, view::Rgb fore, view::Rgb back) {
    const Made& made = widgets_[static_cast<std::size_t>(id - 1)];
    if (made.kind == view::WidgetKind::Label)
        return static_cast<QtLabelWidget*>(made.widget)->setColours(qColour(fore), qColour(back));
    // The palette roles the widget paints its text and its ground in.
    auto roles = std::pair{QPalette::WindowText, QPalette::Window}; // a check box's
    if (made.kind == view::WidgetKind::TextBox) roles = {QPalette::Text, QPalette::Base};
    if (made.kind == view::WidgetKind::Button) roles = {QPalette::ButtonText, QPalette::Button};
    setPaletteColour(*made.widget, roles.first, qColour(fore));
    setPaletteColour(*made.widget, roles.second, qColour(back));
}

void QtWindow::showText(view::WidgetId id, const Text& text, std::size_t caret) {
    const Made& made = widgets_[static_cast<std::size_t>(id - 1)];
    if (made.kind == view::WidgetKind::Label)
        static_cast<QtLabelWidget*>(made.widget)->setCaption(toQString(text));
    if (made.kind == view::WidgetKind::Button)
        static_cast<QPushButton*>(made.widget)->setText(toQString(text));
    if (made.kind != view::WidgetKind::TextBox) return;
    auto* edit = static_cast<QLineEdit*>(made.widget);
    edit->setText(toQString(text));
    edit->setCursorPosition(static_cast<int>(caret));
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
    static_cast<Client*>(client_)->bands = bands;
    client_->update();
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
    view::WidgetId id = 0;
    for (std::size_t i = 0; i < widgets_.size(); ++i)
        if (widgets_[i].widget == watched) id = static_cast<view::WidgetId>(i) + 1;
    const Qt::KeyboardModifiers held = key->modifiers();
    view_.enter(id, {held.testFlag(Qt::ShiftModifier), held.testFlag(Qt::ControlModifier),
                     held.testFlag(Qt::AltModifier)});
    return true;
}

} // namespace pelmora
