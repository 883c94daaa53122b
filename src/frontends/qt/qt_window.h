#pragma once
// QtWindow is the Linux program's top-level window and its view::FrontEnd: it holds the
// FormView that runs the window, makes the native widgets it asks for, shows on them
// exactly what it is told and hands every action of the person back to it. It decides
// nothing about the form: not what a click or Enter means, a colour, a rectangle, an
// order, the time's format or when a widget appears.
//
// Implemented (view::FrontEnd):
//   - make: QtLabelWidget, QLineEdit (no length limit), QtCheckBox, QPushButton (the
//     default one drawn as Fusion draws it); place, setFont (QtFontBook), setColours (a
//     label's own, else the palette roles the widget paints its text and ground in),
//     showText and caret (QLineEdit's cursor), setTicked, setVisible, setOrders
//     (QWidget::setTabOrder, raise), focus;
//   - setWindow and paintBands: the window paints the ground and the lines itself;
//   - setClock (a QTimer each), messageBox (QMessageBox, application-modal, owned by the
//     window once it is up), announce and localTime (qt_platform.h), callAfterTurn (a
//     zero-time timer), quit (QCoreApplication::exit).
// Reported to the view: textEdited; clicked of a box or button (Space, the mouse, the
// assistive Toggle); Enter or keypad Enter, with its modifiers, on any widget that takes
// the focus; each clock's timeout.
// Where it differs: Qt scales device-independent pixels on a HiDPI screen itself, so the
// view's geometry stays at 96 dpi; the widgets never move, so a larger window only adds
// bare ground.

#include <QWidget>

#include <vector>

#include "frontends/qt/qt_fonts.h"
#include "view/form_view.h"
#include "view/front_end.h"

class QTimer;

namespace pelmora {

class QtWindow : public QWidget, public view::FrontEnd {
public:
    QtWindow();

    view::FormView& view() { return view_; }
    // The widget numbered `id`, or nullptr when there is none (yet).
    QWidget* widget(view::WidgetId id) const;

    void make(view::WidgetId id, const view::WidgetSpec& spec) override;
    void place(view::WidgetId id, view::PixelRect rect) override;
    void setFont(view::WidgetId id, const Font& font, int pixelHeight) override;
    void setVisible(view::WidgetId id, bool visible) override;
    void setColours(view::WidgetId id, view::Rgb fore, view::Rgb back) override;
    void showText(view::WidgetId id, const Text& text, std::size_t caret) override;
    std::size_t caret(view::WidgetId id) const override;
    void setTicked(view::WidgetId id, bool ticked) override;
    void focus(view::WidgetId id) override;
    void setOrders(const std::vector<view::WidgetId>& tab,
                   const std::vector<view::WidgetId>& bottomUp) override;
    void setWindow(const Text& caption, view::PixelSize client, view::Rgb ground) override;
    void paintBands(const std::vector<view::PaintedBand>& bands) override;
    void setClock(int clock, int interval, bool running) override;
    void callAfterTurn() override;
    void quit(int code) override;
    void messageBox(const Text& prompt, view::MessageIcon icon, const Text& title) override;
    void announce(const Text& text) override;
    view::LocalTime localTime() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Enter on a widget goes to the view with the widget it was pressed on.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QColor ground_;
    std::vector<view::PaintedBand> bands_;
    QtFontBook fonts_;
    std::vector<QWidget*> widgets_; // widget n is widgets_[n - 1], a child: Qt parent ownership
    std::vector<QTimer*> clocks_;   // children: Qt parent ownership
    view::FormView view_{*this};
};

} // namespace pelmora
