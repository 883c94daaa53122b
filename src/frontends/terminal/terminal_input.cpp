// How TerminalFrontEnd reads the person: keys, pastes and clicks from ncurses, turned into the
// view's actions; the clocks that tick between them; the message box's own loop; the time.
#include <langinfo.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <ctime>
#include <stdexcept>
#include <string_view>

#include "frontends/terminal/terminal_front_end.h"
#include "toolkit/convert.h"

namespace pelmora {
namespace {

constexpr int NoKey = INT_MIN, CtrlA = 1, CtrlC = 3, CtrlQ = 17, Escape = 27, Delete = 127;

// The next key within `ms` milliseconds (-1: however long): a character, a key's code
// negated (-KEY_LEFT), or NoKey.
int nextKey(int ms) {
    timeout(ms);
    wint_t key = 0;
    const int status = get_wch(&key);
    return status == ERR            ? NoKey
           : status == KEY_CODE_YES ? -static_cast<int>(key)
                                    : static_cast<int>(key);
}

// Where the caret goes one character back or on, never into a surrogate pair.
std::size_t stepBack(TextView text, std::size_t caret) {
    return caret < 2 || !isPair(text, caret - 2) ? caret - (caret > 0) : caret - 2;
}
std::size_t stepOn(TextView text, std::size_t caret) {
    return caret >= text.size() ? caret : caret + (isPair(text, caret) ? 2 : 1);
}

Text unitsOf(int key) {
    if (key < 0x10000) return Text(1, static_cast<char16_t>(key));
    return {static_cast<char16_t>(0xD800 + ((key - 0x10000) >> 10)),
            static_cast<char16_t>(0xDC00 + ((key - 0x10000) & 0x3FF))};
}

bool isEnter(int key) { return key == L'\r' || key == L'\n' || key == -KEY_ENTER; }

// The cell where the left button went down, from the rest of an SGR mouse report
// ("0;12;5M": button, column and row from 1, M pressed or m released); {-1, -1} for any
// other report. Read here rather than by ncurses, which merges reports that come together.
std::pair<int, int> pressedCell() {
    int field[3] = {0, 0, 0}, n = 0, key;
    while ((key = nextKey(100)) == L';' ? ++n < 3 : key >= L'0' && key <= L'9')
        if (key != L';') field[n] = field[n] * 10 + (key - L'0');
    return key == L'M' && n == 2 && field[0] == 0 ? std::pair{field[2] - 1, field[1] - 1}
                                                  : std::pair{-1, -1};
}

bool inside(view::PixelRect r, std::pair<int, int> cell) {
    return cell.first >= r.y && cell.first < r.y + r.height && cell.second >= r.x &&
           cell.second < r.x + r.width;
}

} // namespace

TerminalFrontEnd::TerminalFrontEnd() : screen_(newterm(nullptr, stdout, stdin)), widgets_(1) {
    if (!screen_) throw std::runtime_error("this terminal (TERM) is unknown");
    raw(), noecho(), nonl(), keypad(stdscr, TRUE), set_escdelay(25);
    typeahead(-1); // a frame goes out whole, in one write, not row by row between reads
    if (has_colors()) start_color(), use_default_colors();
    define_key("\033[200~", PasteStarts);
    define_key("\033[<", MouseReport);
    std::fputs("\033[?2004h\033[?1000h\033[?1006h", stdout), std::fflush(stdout);
}

TerminalFrontEnd::~TerminalFrontEnd() {
    endwin();
    std::fputs("\033[?1006l\033[?1000l\033[?2004l", stdout), std::fflush(stdout);
    delscreen(screen_);
}

int TerminalFrontEnd::run(view::FormView& view) {
    view_ = &view;
    while (!quitting_) {
        paint();
        const int key = nextKey(msUntilTick());
        try {
            if (key != NoKey) {
                handle(key);
            } else if (msUntilTick() > 0) { // no key and no tick due: the terminal is gone
                quit(view::FailureExitCode);
            } else { // a clock that fell behind goes on from now rather than catching up
                for (std::size_t clock = 0; clock < clocks_.size(); ++clock)
                    if (Ticker& t = clocks_[clock]; t.due <= Clock::now())
                        t.due = std::max(t.due, Clock::now() - t.interval) + t.interval,
                        view.tick(static_cast<int>(clock));
            }
        } catch (const std::exception& error) {
            view.fail(error.what());
        }
        if (std::exchange(afterTurn_, false)) view.turnOver();
    }
    return exitCode_;
}

void TerminalFrontEnd::handle(int key) {
    Widget& focused = at(focus_);
    const bool inBox = focus_ && focused.spec.kind == view::WidgetKind::TextBox;
    if (key == CtrlC || key == CtrlQ) return quit(0);
    if (key == -PasteStarts) { // one edit
        const Text pasted = readPaste();
        return inBox ? replace(focused, focused.caret, focused.caret, pasted) : void();
    }
    view::KeyModifiers modifiers;
    if (key == Escape) { // Alt sends ESC before the key it holds
        modifiers.alt = true;
        if ((key = nextKey(0)) == NoKey) return;
    }
    if (key == -MouseReport) { // a click on the line asking for a larger terminal does nothing
        const auto cell = pressedCell();
        for (auto id = bottomUp_.rbegin(); id != bottomUp_.rend() && !tooSmall(); ++id)
            if (at(*id).visible && inside(at(*id).rect, cell)) return press(*id, cell.second);
    } else if (isEnter(key)) {
        view_->enter(focus_, modifiers);
    } else if (key == L'\t' || key == -KEY_BTAB) {
        const std::size_t n = tab_.size(),
                          from = std::find(tab_.begin(), tab_.end(), focus_) - tab_.begin();
        for (std::size_t k = 1; k <= n; ++k) // the next in tab order (or back) that shows
            if (const auto next = tab_[(from + (key > 0 ? 1 : n - 1) * k) % n]; at(next).visible)
                return focus(next);
    } else if (inBox) {
        edit(focused, key);
    } else if (focus_ && key == L' ') {
        view_->clicked(focus_);
    }
}

void TerminalFrontEnd::edit(Widget& box, int key) {
    const TextView text = box.text;
    const std::size_t caret = box.caret;
    if (key == CtrlA) {
        box.selected = true;
    } else if (key >= L' ' && key != Delete) {
        replace(box, caret, caret, unitsOf(key));
    } else if (key == Delete || key == L'\b' || key == -KEY_BACKSPACE) {
        replace(box, stepBack(text, caret), caret, {});
    } else if (key == -KEY_DC) {
        replace(box, caret, stepOn(text, caret), {});
    } else {
        box.selected = false;
        box.caret = key == -KEY_LEFT    ? stepBack(text, caret)
                    : key == -KEY_RIGHT ? stepOn(text, caret)
                    : key == -KEY_HOME  ? 0
                    : key == -KEY_END   ? text.size()
                                        : caret;
    }
}

// The person's edit changes the box first, caret and all (the whole text where Ctrl+A
// selected it), and then the view hears the whole new text, as from a window's edit control.
void TerminalFrontEnd::replace(Widget& box, std::size_t from, std::size_t to, const Text& text) {
    if (std::exchange(box.selected, false)) from = 0, to = box.text.size();
    if (from == to && text.empty()) return;
    box.text.replace(from, to - from, text);
    box.caret = from + text.size();
    view_->edited(static_cast<view::WidgetId>(&box - widgets_.data()), box.text);
}

// A paste is read straight from the terminal, in large reads rather than a key at a time, as
// it came (control characters too) to the bracket that ends it, and kept up to its first line
// break, as a one-line edit control keeps it. Keys typed after it go back to ncurses; the
// deadline only bounds a terminal that never sends the end.
Text TerminalFrontEnd::readPaste() {
    static constexpr std::string_view End = "\x1b[201~";
    std::string pasted;
    std::size_t end = std::string::npos;
    for (pollfd in{STDIN_FILENO, POLLIN, 0}; end == std::string::npos && poll(&in, 1, 1000) > 0;) {
        char buffer[1 << 16];
        const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) break;
        pasted.append(buffer, static_cast<std::size_t>(got));
        end = pasted.find(End,
                          pasted.size() - std::min<std::size_t>(pasted.size(), got + End.size()));
    }
    for (std::size_t at = pasted.size(); end != std::string::npos && at > end + End.size();)
        ungetch(static_cast<unsigned char>(pasted[--at]));
    const Text text = fromUtf8(std::string_view(pasted).substr(0, end));
    return text.substr(0, text.find_first_of(u"\r\n"));
}

// A click on a box or a button presses it; one in a text box puts the caret before the
// character clicked, or after the text; a label takes none.
void TerminalFrontEnd::press(view::WidgetId id, int column) {
    Widget& widget = at(id);
    if (widget.spec.kind == view::WidgetKind::Label) return;
    focus(id);
    if (widget.spec.kind != view::WidgetKind::TextBox) return view_->clicked(id);
    widget.caret = widget.first;
    int end = widget.origin;
    for (const Glyph& glyph :
         glyphs(TextView(widget.text).substr(widget.first, 8 * widget.rect.width)))
        if ((end += glyph.width) <= column) widget.caret += glyph.units;
}

void TerminalFrontEnd::setClock(int clock, int interval, bool running) {
    if (clocks_.size() <= static_cast<std::size_t>(clock)) clocks_.resize(clock + 1u);
    Ticker& ticker = clocks_[static_cast<std::size_t>(clock)];
    ticker.interval = std::chrono::milliseconds(interval);
    if (!running || ticker.due == Clock::time_point::max())
        ticker.due = running ? Clock::now() + ticker.interval : Clock::time_point::max();
}

int TerminalFrontEnd::msUntilTick() const {
    auto next = Clock::time_point::max();
    for (const Ticker& ticker : clocks_) next = std::min(next, ticker.due);
    if (next == Clock::time_point::max()) return -1;
    return static_cast<int>(std::max<long long>(
        0, std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now()).count()));
}

// Waits, in a loop of its own, for OK: by Enter, Space, Escape or a click on it. No clock
// ticks meanwhile and nothing else takes a key, as under a modal box on the desktop.
void TerminalFrontEnd::messageBox(const Text& prompt, view::MessageIcon icon, const Text& title) {
    redrawwin(stdscr); // each box reaches the terminal, even one just like the last
    while (!quitting_) {
        const Message message{prompt, icon, title};
        paint(&message);
        const int key = nextKey(-1);
        if (key == NoKey || key == CtrlC || key == CtrlQ)
            quit(key == NoKey ? view::FailureExitCode : 0);
        else if (key == -PasteStarts)
            readPaste(); // goes nowhere: the box has no text to paste into
        else if (key == -MouseReport ? inside(ok_, pressedCell())
                                     : isEnter(key) || key == L' ' || key == Escape)
            return;
    }
}

view::LocalTime TerminalFrontEnd::localTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_hour,
            local.tm_min,
            local.tm_sec,
            view::patternOfStrftime(nl_langinfo(T_FMT)),
            fromUtf8(nl_langinfo(AM_STR)),
            fromUtf8(nl_langinfo(PM_STR))};
}

} // namespace pelmora
