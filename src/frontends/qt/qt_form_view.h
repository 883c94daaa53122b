#pragma once
// QtFormView shows a loaded Form with Qt widgets and carries the person's actions back.
// It translates the view policy (src/view) into Qt; it decides nothing itself.
//
// Implemented, per property change (the contract in toolkit/form.h):
//   Caption, Text (caret kept by the policy's rule), Value, ForeColour, BackColour, Left,
//   Visible (a widget made on first show, put into the tab and stacking orders), a Line's
//   changes (the client repaints), a Timer's Enabled (its QTimer starts or stops).
// Person to model: textEdited, clicked and the clocks' timeouts, through the policy, so
// nothing the view set comes back and no tick interrupts a handler.

#include <QObject>
#include <QWidget>

#include <unordered_map>

#include "frontends/qt/qt_fonts.h"
#include "toolkit/form.h"
#include "view/view_policy.h"

class QTimer;

namespace pelmora {

class QtFormView final : public QObject, public FormObserver {
public:
    // Creates the widgets as children of `client`, which owns them (Qt parent ownership).
    QtFormView(Form& form, QWidget& client, view::ViewPolicy& policy);
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
    void applyOrders(); // tab order and stacking
    void showText(const TextBox& box, QWidget& widget);

    Form& form_;
    QWidget& client_;
    view::ViewPolicy& policy_;
    QtFontBook fonts_;
    std::unordered_map<const Control*, QWidget*> widgets_;
    std::unordered_map<const Timer*, QTimer*> clocks_;
};

} // namespace pelmora
