#pragma once
// TerminalFrontEnd draws the form in a character terminal with ncurses and reads the
// person's keys, pastes and clicks there. It keeps what a terminal alone knows: each
// widget's cells and colours as the view gave them, a text box's text and caret while the
// person edits it, the clocks, and the modal message box. It decides nothing about the form.
//
// Implements every FrontEnd call. Where it differs from the windows:
//   - rectangles are character cells (view::CellGeometry), fonts only bold and italic;
//   - colours: the nearest of 256 where the terminal has them, of 16 or 8 otherwise; with
//     none, a widget on a dark colour (a set bit's cell) shows reversed; text boxes are
//     underlined, since a white box hardly shows on the light grey ground;
//   - check boxes are "[x]" and share their brackets with the box beside them; buttons are
//     "[ Select ]"; a label's frame is a bar at each end;
//   - announce() says nothing: a terminal's screen reader reads the screen itself;
//   - Enter cannot carry Shift or Ctrl (a terminal sends the same byte); Alt is ESC first;
//   - the terminal is smaller than the window: one line asks for the size until it grows.

#include <ncursesw/curses.h>

#include <chrono>
#include <optional>
#include <utility>
#include <vector>

#include "view/form_view.h"

namespace pelmora {

class TerminalFrontEnd final : public view::FrontEnd {
public:
    // The keys the terminal session defines for the start and end of a bracketed paste.
    static constexpr int PasteStarts = KEY_MAX + 1, PasteEnds = KEY_MAX + 2;

    // The terminal must be started (TerminalSession) before it is made.
    TerminalFrontEnd();

    // Reads and answers the person until Ctrl+C, Ctrl+Q or quit(); gives the exit code.
    int run(view::FormView& view);

    void setWindow(const Text& caption, view::PixelSize client, view::Rgb ground) override;
    void make(view::WidgetId id, const view::WidgetSpec& spec) override;
    void place(view::WidgetId id, view::PixelRect rect) override;
    void setFont(view::WidgetId id, const Font& font, int pixelHeight) override;
    void setColours(view::WidgetId id, view::Rgb fore, view::Rgb back) override;
    void showText(view::WidgetId id, const Text& text, std::size_t caret) override;
    std::size_t caret(view::WidgetId id) const override { return widgets_.at(id).caret; }
    void setTicked(view::WidgetId id, bool ticked) override;
    void setVisible(view::WidgetId id, bool visible) override;
    void setOrders(const std::vector<view::WidgetId>& tab,
                   const std::vector<view::WidgetId>& bottomUp) override;
    void focus(view::WidgetId id) override;
    void paintBands(const std::vector<view::PaintedBand>& bands) override;
    void setClock(int clock, int interval, bool running) override;
    void messageBox(const Text& prompt, view::MessageIcon icon, const Text& title) override;
    void callAfterTurn() override { afterTurn_ = true; }
    void announce(const Text&) override {}
    view::LocalTime localTime() override;
    void quit(int code) override;

private:
    using Clock = std::chrono::steady_clock;
    struct Colours {
        int pair = 0;      // the colour pair, or 0 on a terminal without colours
        bool dark = false; // the back colour is nearer black than white
    };
    struct Widget {
        view::WidgetSpec spec;
        view::PixelRect rect;
        Colours colours, border;
        int fontAttributes = 0;
        Text text;
        std::size_t caret = 0; // UTF-16 units into text
        int scroll = 0;        // columns of a long text scrolled out to the left
        int origin = 0;        // the screen column of the text's first column, as last drawn
        bool ticked = false, visible = false;
    };
    struct Ticker {
        int interval = 0;
        bool running = false;
        Clock::time_point due;
    };
    struct Message {
        Text prompt, title;
        view::MessageIcon icon;
    };

    // Drawing (terminal_screen.cpp).
    Colours colours(view::Rgb fore, view::Rgb back) const;
    static attr_t attributes(Colours colours);
    static void symbol(int row, int column, const cchar_t* symbol, Colours colours);
    void paint();
    // Each gives the cell the terminal's cursor goes to when the widget has the focus.
    std::pair<int, int> paintWidget(Widget& widget, bool focused);
    std::pair<int, int> paintMessage();
    bool tooSmall() const;

    // Input (terminal_input.cpp).
    void handle(int status, wint_t key);
    void type(Widget& box, view::WidgetId id, const Text& text);
    void cut(Widget& box, view::WidgetId id, std::size_t from, std::size_t to);
    void editKey(Widget& box, view::WidgetId id, int status, wint_t key);
    void moveFocus(int step);
    void press(int row, int column);
    Text readPaste();
    int msUntilTick() const;
    void tickDue();

    view::FormView* view_ = nullptr;
    std::vector<Widget> widgets_; // widget n at n; 0 unused
    std::vector<view::WidgetId> tab_, bottomUp_;
    std::vector<std::pair<view::PixelRect, Colours>> bands_;
    std::vector<Ticker> clocks_;
    Text caption_;
    view::PixelSize client_;
    view::Rgb ground_;
    Colours groundColours_, titleColours_;
    view::PixelRect ok_; // the message box's OK, as last drawn
    view::WidgetId focus_ = 0;
    std::optional<Message> message_;
    bool afterTurn_ = false, quitting_ = false;
    int exitCode_ = 0;
};

} // namespace pelmora
