#pragma once
// TerminalFrontEnd draws the form in a character terminal with ncurses and reads the
// person's keys, pastes and clicks there. It keeps only what a terminal alone knows: each
// widget's cells and colours as the view gave them, a text box's text, caret and scrolling
// while the person edits it, the clocks, and the modal message box. It decides nothing
// about the form.
//
// Implements every FrontEnd call. Where it differs from the windows:
//   - rectangles are character cells (view::CellGeometry); of a font only bold and italic;
//   - colours are the nearest of the terminal's 256, else of its 8; with none, a widget on a
//     dark colour (a set bit's cell) shows reversed; text boxes are underlined, since a white
//     box hardly shows on the light grey ground;
//   - check boxes are "[x]", sharing a bracket with the box beside them; buttons "[ Select ]";
//   - announce() says nothing: a terminal's screen reader reads the screen itself;
//   - Enter cannot carry Shift or Ctrl (a terminal sends the same byte); Alt comes as ESC;
//   - a paste ends at its first line break; Ctrl+A selects a text box's whole text;
//   - in a terminal smaller than the window, one line asks for the size until it grows;
//     keys still count meanwhile (one typed just before it shrank is not lost), clicks not.

#include <ncursesw/curses.h>

#include <chrono>
#include <utility>
#include <vector>

#include "view/form_view.h"

namespace pelmora {

// A character as a terminal shows it (wcwidth in the person's locale): one or two columns,
// and the UTF-16 units it takes in a control's text. A control character shows as its
// picture (U+2400 on: "␁" for Ctrl+A), one the terminal cannot show, such as a lone
// surrogate, as "?".
struct Glyph {
    wchar_t ch;
    int width;
    std::size_t units;
};
std::vector<Glyph> glyphs(TextView text);
bool isPair(TextView text, std::size_t at); // a surrogate pair starts at `at`

class TerminalFrontEnd final : public view::FrontEnd {
public:
    // The keys the terminal session defines for a bracketed paste and a mouse report.
    static constexpr int PasteStarts = KEY_MAX + 1, MouseReport = KEY_MAX + 2;

    // Puts the terminal in the modes the program reads it in (raw, so that Ctrl+C and Ctrl+Q
    // reach it; the keypad, bracketed paste, clicks reported in SGR's form) until it is
    // destroyed, however the program ends: the shell gets its terminal back as it was.
    TerminalFrontEnd();
    ~TerminalFrontEnd() override;
    TerminalFrontEnd(const TerminalFrontEnd&) = delete;
    TerminalFrontEnd& operator=(const TerminalFrontEnd&) = delete;
    // Answers the person until Ctrl+C, Ctrl+Q or quit(); gives the exit code.
    int run(view::FormView& view);

    void setWindow(const Text& caption, view::PixelSize client, view::Rgb ground) override;
    void make(view::WidgetId id, const view::WidgetSpec& spec) override;
    void place(view::WidgetId id, view::PixelRect rect) override { at(id).rect = rect; }
    void setFont(view::WidgetId id, const Font& font, int) override {
        at(id).font = (font.bold ? A_BOLD : 0) | (font.italic ? A_ITALIC : 0);
    }
    void setColours(view::WidgetId id, view::Rgb fore, view::Rgb back) override {
        at(id).look = look(fore, back),
        at(id).border = look(at(id).spec.border.value_or(fore), back);
    }
    void showText(view::WidgetId id, const Text& text, std::size_t caret) override {
        at(id).text = text, at(id).caret = caret, at(id).selected = false;
    }
    std::size_t caret(view::WidgetId id) const override { return widgets_.at(id).caret; }
    void setTicked(view::WidgetId id, bool ticked) override { at(id).ticked = ticked; }
    void setVisible(view::WidgetId id, bool visible) override { at(id).visible = visible; }
    void setOrders(const std::vector<view::WidgetId>& tab,
                   const std::vector<view::WidgetId>& bottomUp) override {
        tab_ = tab, bottomUp_ = bottomUp;
    }
    void focus(view::WidgetId id) override { focus_ = id; }
    void paintBands(const std::vector<view::PaintedBand>& bands) override;
    void setClock(int clock, int interval, bool running) override;
    void messageBox(const Text& prompt, view::MessageIcon icon, const Text& title) override;
    void callAfterTurn() override { afterTurn_ = true; }
    void announce(const Text&) override {}
    view::LocalTime localTime() override;
    void quit(int code) override { quitting_ = true, exitCode_ = code; }

private:
    using Clock = std::chrono::steady_clock;
    struct Widget {
        view::WidgetSpec spec;
        view::PixelRect rect;
        attr_t look = 0, border = 0, font = 0; // colour pairs, or A_REVERSE with no colours
        Text text;
        std::size_t caret = 0, first = 0; // UTF-16 units into text: the caret, the first drawn
        int scroll = 0, origin = 0;       // columns scrolled out past `first`; where column 0 is
        bool ticked = false, visible = false, selected = false;
    };
    struct Ticker {
        std::chrono::milliseconds interval{};
        Clock::time_point due = Clock::time_point::max(); // never, while it stands still
    };

    Widget& at(view::WidgetId id) { return widgets_.at(static_cast<std::size_t>(id)); }
    static attr_t look(view::Rgb fore, view::Rgb back);
    bool tooSmall() const { return LINES < client_.height || COLS < client_.width; }

    struct Message {
        const Text& prompt;
        view::MessageIcon icon;
        const Text& title;
    };

    // Drawing (terminal_screen.cpp): paint() sends the terminal what changed; the others give
    // the cell the cursor goes to.
    void paint(const Message* message = nullptr);
    std::pair<int, int> paintWidget(Widget& widget, bool focused);
    std::pair<int, int> paintMessage(const Message& message);

    // Input (terminal_input.cpp).
    void handle(int key);
    void edit(Widget& box, int key);
    void replace(Widget& box, std::size_t from, std::size_t to, const Text& text);
    void press(view::WidgetId id, int column);
    Text readPaste();
    int msUntilTick() const;

    SCREEN* screen_;
    view::FormView* view_ = nullptr;
    std::vector<Widget> widgets_; // widget n at n; 0 is none
    std::vector<view::WidgetId> tab_, bottomUp_;
    std::vector<std::pair<view::PixelRect, attr_t>> bands_;
    std::vector<Ticker> clocks_;
    Text caption_;
    view::PixelSize client_;
    view::Rgb ground_;
    attr_t groundLook_ = 0, titleLook_ = 0;
    view::PixelRect ok_; // the message box's OK, as last drawn
    view::WidgetId focus_ = 0;
    bool afterTurn_ = false, quitting_ = false;
    int exitCode_ = 0;
};

} // namespace pelmora
