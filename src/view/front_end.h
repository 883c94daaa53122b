#pragma once
// FrontEnd is what a toolkit does for the window, and all it does: it makes widgets of four
// kinds and shows on them exactly what FormView tells it (text and caret, tick, colours,
// font, rectangle, visibility, orders), paints the lines, keeps the clocks, shows a modal
// message box and speaks to a screen reader. It decides nothing about the form; the
// person's actions go back into FormView, which decides what they mean.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/text.h"
#include "view/clock_text.h"
#include "view/layout.h"
#include "view/look.h"

namespace pelmora::view {

// A widget's number: its control's place in Form::controls(), counted from 1; 0 is none.
using WidgetId = int;

enum class WidgetKind { Label, TextBox, CheckBox, Button };

// A colour as it is painted: every design colour, system colours included, is resolved by
// the view (resolveColour) before a front end sees it.
struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

// What a widget is for its whole life, given when it is made.
struct WidgetSpec {
    WidgetKind kind = WidgetKind::Label;
    std::string name;    // for tests and inspection tools (widgetName)
    Text accessibleName; // empty: its own text names it
    Alignment alignment = Alignment::Left;
    std::optional<Rgb> border; // a label's one-pixel frame
    bool isDefault = false;    // drawn as the default button; what Enter does is the view's
    bool operator==(const WidgetSpec&) const = default;
};

// A band of the client painted in one colour: the lines.
struct PaintedBand {
    PixelRect rect;
    Rgb colour;
    bool operator==(const PaintedBand&) const = default;
};

class FrontEnd {
public:
    virtual ~FrontEnd() = default;

    // The window's caption, the client area's size and its ground colour; first of all,
    // and again when the geometry changes (a new DPI).
    virtual void setWindow(const Text& caption, PixelSize client, Rgb ground) = 0;
    // Makes widget `id`, hidden and empty; the calls that follow give it the rest.
    virtual void make(WidgetId id, const WidgetSpec& spec) = 0;
    virtual void place(WidgetId id, PixelRect rect) = 0;
    // The design font (its face is the front end's to find: substituteFaces) at a height.
    virtual void setFont(WidgetId id, const Font& font, int pixelHeight) = 0;
    virtual void setColours(WidgetId id, Rgb fore, Rgb back) = 0;
    // A label's or button's caption, or a text box's text with its caret at `caret`.
    virtual void showText(WidgetId id, const Text& text, std::size_t caret) = 0;
    // Where the caret of text box `id` is now, in UTF-16 units.
    virtual std::size_t caret(WidgetId id) const = 0;
    virtual void setTicked(WidgetId id, bool ticked) = 0;
    virtual void setVisible(WidgetId id, bool visible) = 0;
    // The focus order (first first) and the stacking order (bottom first) of the widgets
    // made so far; called again whenever a widget is made.
    virtual void setOrders(const std::vector<WidgetId>& tab,
                           const std::vector<WidgetId>& bottomUp) = 0;
    virtual void focus(WidgetId id) = 0;
    // Everything the client paints itself under the widgets, replacing what it painted.
    virtual void paintBands(const std::vector<PaintedBand>& bands) = 0;
    // Clock `clock` calls FormView::tick(clock) every `interval` ms while it runs.
    virtual void setClock(int clock, int interval, bool running) = 0;

    // Shows a modal box titled `title` and returns once the person has closed it.
    virtual void messageBox(const Text& prompt, MessageIcon icon, const Text& title) = 0;
    // Calls FormView::turnOver() once, when the current turn of the event loop is over.
    virtual void callAfterTurn() = 0;
    // Has a screen reader say `text`, without moving the focus or changing the screen.
    virtual void announce(const Text& text) = 0;
    virtual LocalTime localTime() = 0;
    // Ends the event loop; the program exits with `code`.
    virtual void quit(int code) = 0;
};

} // namespace pelmora::view
