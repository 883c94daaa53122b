#pragma once
// QtFormView shows a loaded Form with Qt widgets and carries the person's actions back.
// It creates one widget per visible control at the design's pixel geometry (labels,
// text boxes, check boxes and buttons; the client paints the lines), keeps them in step
// as the form's observer, touching only the widget and property that changed, and
// forwards typing, clicks and the timer into the controls' setters, which run the
// handlers. It never sets a widget from a change the widget itself reported, so no event
// is raised twice. A control that is hidden gets its widget only when it is first shown,
// which for the design's never-shown readouts is never. The window frame, its keys and
// its title belong to QtMainWindow.

#include <QObject>
#include <QWidget>

#include <exception>
#include <functional>
#include <unordered_map>

#include "frontends/qt/qt_fonts.h"
#include "toolkit/form.h"

namespace pelmora {

class QtFormView final : public QObject, public FormObserver {
public:
    // Called when a handler lets an error escape; Qt's event loop must not see it.
    using ErrorSink = std::function<void(const std::exception&)>;

    // Creates the widgets as children of `client`, which owns them (Qt parent ownership).
    QtFormView(Form& form, QWidget& client, ErrorSink onError);
    ~QtFormView() override;
    QtFormView(const QtFormView&) = delete;
    QtFormView& operator=(const QtFormView&) = delete;

    // The widget showing `control`, or nullptr when it has none (lines, timers, controls
    // never shown).
    QWidget* widgetFor(const Control& control) const;
    std::size_t widgetCount() const { return widgets_.size(); }

    // The focus goes to the first control of the tab order.
    void focusFirst();
    // Enter: a focused push button answers it, as on Windows; anywhere else the form's
    // default button does.
    void pressDefaultButton(QWidget* focus);

    void controlChanged(Control& control, Property property) override;

private:
    QWidget* create(Control& control);
    QWidget* createWidget(Control& control);
    void applyColours(const Control& control, QWidget& widget);
    void applyTabOrder();
    void showText(const TextBox& box, QWidget& widget);
    void showValue(const CheckBox& box, QWidget& widget);
    // Runs a person's action in the model, unless the view itself is updating widgets.
    void forward(const std::function<void()>& action);

    Form& form_;
    QWidget& client_;
    ErrorSink onError_;
    QtFontBook fonts_;
    std::unordered_map<const Control*, QWidget*> widgets_;
    int mirroring_ = 0; // > 0 while the view sets widgets from the model
};

} // namespace pelmora
