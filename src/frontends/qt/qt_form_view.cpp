#include "frontends/qt/qt_form_view.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <limits>

#include "app/accessible_names.h"
#include "frontends/qt/qt_check_box.h"
#include "frontends/qt/qt_client_widget.h"
#include "frontends/qt/qt_colours.h"
#include "frontends/qt/qt_label_widget.h"
#include "frontends/qt/qt_text.h"
#include "view/input.h"
#include "view/layout.h"
#include "view/look.h"

namespace pelmora {
namespace {

QRect pixelRect(const Control& c) {
    const view::PixelRect r = view::controlRect(c);
    return QRect(r.x, r.y, r.width, r.height);
}

Qt::Alignment horizontal(Alignment a) {
    switch (a) {
    case Alignment::Right: return Qt::AlignRight;
    case Alignment::Centre: return Qt::AlignHCenter;
    case Alignment::Left: break;
    }
    return Qt::AlignLeft;
}

QString objectNameOf(const Control& c) {
    QString name = QString::fromStdString(c.name());
    if (c.isArrayMember()) name += QStringLiteral("(%1)").arg(c.index());
    return name;
}

// Sets one palette colour only when it differs, so widgets in the default colours keep
// sharing the application palette.
void setPaletteColour(QWidget& widget, QPalette::ColorRole role, const QColor& colour) {
    if (widget.palette().color(role) == colour) return;
    QPalette palette = widget.palette();
    palette.setColor(role, colour);
    widget.setPalette(palette);
}

} // namespace

QtFormView::QtFormView(Form& form, QWidget& client, view::ViewPolicy& policy)
    : form_(form), client_(client), policy_(policy) {
    // New widgets lay out text in their parent's font before they get their own; giving
    // the client a font the entry boxes use anyway spares Qt loading one nobody shows.
    if (const std::vector<Control*> order = form_.tabOrder(); !order.empty())
        client_.setFont(fonts_.font(order.front()->font()));
    for (Control* control : view::widgetsAtStart(form_)) create(*control);
    for (Timer* timer : view::timersOf(form_)) {
        auto* clock = new QTimer(this);
        clock->setInterval(timer->interval());
        connect(clock, &QTimer::timeout, this, [this, timer] { policy_.tick(*timer); });
        clocks_.emplace(timer, clock);
        if (timer->enabled()) clock->start();
    }
    applyOrders();
    form_.setObserver(this);
}

QtFormView::~QtFormView() { form_.setObserver(nullptr); }

QWidget* QtFormView::widgetFor(const Control& control) const {
    const auto it = widgets_.find(&control);
    return it == widgets_.end() ? nullptr : it->second;
}

QWidget* QtFormView::create(Control& control) {
    QWidget* widget = createWidget(control);
    if (!widget) return nullptr;
    widget->setObjectName(objectNameOf(control));
    widget->setFont(fonts_.font(control.font()));
    if (control.canFocus()) widget->installEventFilter(this); // for Enter
    widget->setGeometry(pixelRect(control));
    if (const Text name = accessibleName(control); !name.empty())
        widget->setAccessibleName(toQString(name));
    applyColours(control, *widget);
    widgets_.emplace(&control, widget);
    return widget;
}

QWidget* QtFormView::createWidget(Control& control) {
    // Widgets are children of the client, which deletes them (Qt parent ownership).
    if (auto* label = dynamic_cast<Label*>(&control)) {
        auto* widget = new QtLabelWidget(&client_);
        widget->setCaption(toQString(view::shownText(control)));
        widget->setAlignment(horizontal(label->alignment()));
        if (const auto border = view::lookOf(control, view::BaseDpi).border)
            widget->setBorder(true, resolveColourQt(*border, client_.palette()));
        return widget;
    }
    if (auto* box = dynamic_cast<TextBox*>(&control)) {
        auto* edit = new QLineEdit(&client_);
        edit->setMaxLength(std::numeric_limits<int>::max()); // no length limit
        edit->setAlignment(horizontal(box->alignment()) | Qt::AlignVCenter);
        edit->setText(toQString(view::shownText(control)));
        // If a nested handler changes the text again, controlChanged shows that at once.
        connect(edit, &QLineEdit::textEdited, this, [this, box](const QString& text) {
            policy_.forward([box, &text] { box->setText(toText(text)); });
        });
        return edit;
    }
    if (auto* box = dynamic_cast<CheckBox*>(&control)) {
        auto* check = new QtCheckBox(&client_);
        check->setChecked(box->value() != 0);
        connect(check, &QAbstractButton::clicked, this, [this, box] {
            policy_.forward([box] { box->setValue(view::valueAfterClick(*box)); });
        });
        return check;
    }
    if (auto* button = dynamic_cast<CommandButton*>(&control)) {
        auto* push = new QPushButton(toQString(view::shownText(control)), &client_);
        push->setDefault(button->isDefault());
        connect(push, &QAbstractButton::clicked, this,
                [this, button] { policy_.forward([button] { button->click(); }); });
        return push;
    }
    return nullptr; // lines are painted by the client; timers have no widget
}

void QtFormView::applyColours(const Control& control, QWidget& widget) {
    const view::Look look = view::lookOf(control, view::BaseDpi);
    const QColor fore = resolveColourQt(look.fore, client_.palette());
    const QColor back = resolveColourQt(look.back, client_.palette());
    switch (control.kind()) {
    case ControlKind::Label: static_cast<QtLabelWidget&>(widget).setColours(fore, back); break;
    case ControlKind::TextBox:
        setPaletteColour(widget, QPalette::Text, fore);
        setPaletteColour(widget, QPalette::Base, back);
        break;
    case ControlKind::CommandButton:
        setPaletteColour(widget, QPalette::ButtonText, fore);
        setPaletteColour(widget, QPalette::Button, back);
        break;
    case ControlKind::CheckBox:
        setPaletteColour(widget, QPalette::WindowText, fore);
        setPaletteColour(widget, QPalette::Window, back);
        break;
    case ControlKind::Line:
    case ControlKind::Timer: break;
    }
}

void QtFormView::applyOrders() {
    QWidget* previous = nullptr;
    for (Control* control : form_.tabOrder()) {
        QWidget* widget = widgetFor(*control);
        if (!widget) continue;
        if (previous) QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    for (Control* control : view::stackingOrder(form_))
        if (QWidget* widget = widgetFor(*control)) widget->raise();
}

void QtFormView::focusFirst() {
    if (const Control* first = view::firstFocus(form_))
        if (QWidget* widget = widgetFor(*first)) widget->setFocus(Qt::OtherFocusReason);
}

bool QtFormView::eventFilter(QObject* watched, QEvent* event) {
    // Enter reaches the focused widget first; the view, not the widget, says what it does.
    const auto* key = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
    if (!key || (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)) return false;
    const Control* focused = nullptr;
    for (const auto& [control, widget] : widgets_)
        if (widget == watched) focused = control;
    const Qt::KeyboardModifiers held = key->modifiers();
    if (CommandButton* button = view::buttonForEnter(form_, focused,
                                                     {held.testFlag(Qt::ShiftModifier),
                                                      held.testFlag(Qt::ControlModifier),
                                                      held.testFlag(Qt::AltModifier)}))
        policy_.forward([button] { button->click(); });
    return true;
}

void QtFormView::controlChanged(Control& control, Property property) {
    if (control.kind() == ControlKind::Line) {
        client_.update(); // lines are the client's own painting
        return;
    }
    if (auto* timer = dynamic_cast<Timer*>(&control)) {
        QTimer* clock = clocks_.at(timer);
        timer->enabled() ? clock->start() : clock->stop();
        return;
    }
    QWidget* widget = widgetFor(control);
    if (!widget) {
        // First shown now: the widget is made late, as if it had been there hidden.
        if (property == Property::Visible && control.visible()) {
            if (QWidget* created = create(control)) {
                created->show();
                applyOrders();
            }
        }
        return;
    }
    const auto mirroring = policy_.mirroring();
    switch (property) {
    case Property::Caption:
        if (auto* label = dynamic_cast<QtLabelWidget*>(widget))
            label->setCaption(toQString(view::shownText(control)));
        break;
    case Property::Text: showText(static_cast<TextBox&>(control), *widget); break;
    case Property::Value:
        static_cast<QCheckBox*>(widget)->setChecked(static_cast<CheckBox&>(control).value() != 0);
        break;
    case Property::ForeColour:
    case Property::BackColour: applyColours(control, *widget); break;
    case Property::Left: widget->setGeometry(pixelRect(control)); break;
    case Property::Visible: widget->setVisible(control.visible()); break;
    case Property::Enabled: break;
    }
}

void QtFormView::showText(const TextBox& box, QWidget& widget) {
    auto& edit = static_cast<QLineEdit&>(widget);
    const auto caret = view::mirrorText(toText(edit.text()), box.text(),
                                        static_cast<std::size_t>(edit.cursorPosition()));
    if (!caret) return;
    edit.setText(toQString(box.text()));
    edit.setCursorPosition(static_cast<int>(*caret));
}

} // namespace pelmora
