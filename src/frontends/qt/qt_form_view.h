#pragma once
// QtFormView shows a loaded Form with Qt widgets and carries the person's actions back,
// translating what src/view decides into Qt calls. It does not resolve colours or faces
// (qt_colours, qt_fonts) or paint lines (the client).
//
// Implemented, each as src/view decides it:
//   - widgets: QtLabelWidget, QLineEdit, QtCheckBox, QPushButton, made at start or on first
//     show (view::widgetsAtStart, hasWidget); tab order and stacking (view::stackingOrder);
//   - geometry (view::controlRect), font by pixel height, colours and a label's frame
//     (view::lookOf), text shown (view::shownText);
//   - model to widget, per property (toolkit/form.h): Caption, Text (view::mirrorText
//     skips the person's own edit and places the caret), Value, ForeColour, BackColour,
//     Left, Visible, a Line's changes (the client repaints), a Timer's Enabled (QTimer);
//     all of one change under one ViewPolicy::mirroring();
//   - person to model through ViewPolicy::forward: textEdited, a box's clicked
//     (view::valueAfterClick), a button's clicked, Enter (view::buttonForEnter); the
//     clocks through ViewPolicy::tick; the first focus (view::firstFocus).

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

    // The focus goes where the view says it starts.
    void focusFirst();
    // Enter on a focused widget presses the button the view names, or nothing.
    bool eventFilter(QObject* watched, QEvent* event) override;

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
