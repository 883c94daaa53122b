// How TerminalFrontEnd reads the person: keys, pastes and clicks from ncurses, turned into the
// view's actions; the clocks that tick between them; the message box's own loop; the time.
#include <langinfo.h>

#include <algorithm>
#include <ctime>
#include <exception>

#include "frontends/terminal/terminal_front_end.h"
#include "frontends/terminal/terminal_text.h"
#include "toolkit/convert.h"

namespace pelmora {
namespace {

constexpr wint_t CtrlA = 1, CtrlC = 3, CtrlQ = 17, Escape = 27, Delete = 127;

bool isEnter(int status, wint_t key) {
    return status == OK ? key == L'\r' || key == L'\n' : key == KEY_ENTER;
}
bool isQuit(int status, wint_t key) { return status == OK && (key == CtrlC || key == CtrlQ); }

bool pressed(MEVENT& event) { return getmouse(&event) == OK && (event.bstate & BUTTON1_PRESSED); }

} // namespace

int TerminalFrontEnd::run(view::FormView& view) {
    view_ = &view;
    while (!quitting_) {
        show(paint());
        timeout(msUntilTick());
        wint_t key = 0;
        const int status = get_wch(&key);
        try {
            if (status != ERR) {
                handle(status, key);
            } else if (msUntilTick() > 0) { // no key and no tick due: the terminal is gone
                quit(view::FailureExitCode);
            } else {
                // A clock that fell behind goes on from now rather than catching up.
                for (std::size_t clock = 0; clock < clocks_.size(); ++clock)
                    if (Ticker& t = clocks_[clock]; t.running && t.due <= Clock::now())
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

void TerminalFrontEnd::handle(int status, wint_t key) {
    const bool code = status == KEY_CODE_YES;
    Widget& focused = at(focus_);
    const bool inBox = focus_ && focused.spec.kind == view::WidgetKind::TextBox;
    if (isQuit(status, key)) return quit(0);
    if (code && key == PasteStarts) { // one edit, even while the terminal is too small
        const Text pasted = readPaste();
        return inBox ? replace(focused, focused.caret, focused.caret, pasted) : void();
    }
    if (tooSmall()) return; // nothing happens that the person cannot see
    MEVENT event;
    view::KeyModifiers modifiers;
    if (status == OK && key == Escape) { // Alt sends ESC before the key it holds
        timeout(0);
        if (get_wch(&key) != OK) return;
        modifiers.alt = true;
    }
    if (code && key == KEY_MOUSE) {
        if (pressed(event)) press(event.y, event.x);
    } else if (isEnter(status, key)) {
        view_->enter(focus_, modifiers);
    } else if ((status == OK && key == L'\t') || (code && key == KEY_BTAB)) {
        const std::size_t n = tab_.size(),
                          from = std::find(tab_.begin(), tab_.end(), focus_) - tab_.begin();
        for (std::size_t k = 1; k <= n; ++k) // the next in tab order (or back) that shows
            if (const view::WidgetId next = tab_[(from + (code ? n - 1 : 1) * k) % n];
                at(next).visible)
                return focus(next);
    } else if (inBox) {
        edit(focused, status, key);
    } else if (focus_ && status == OK && key == L' ') {
        view_->clicked(focus_);
    }
}

void TerminalFrontEnd::edit(Widget& box, int status, wint_t key) {
    const TextView text = box.text;
    const std::size_t caret = box.caret;
    const bool special = status == KEY_CODE_YES;
    if (!special && key == CtrlA) {
        box.selected = true;
    } else if (!special && key >= L' ' && key != Delete) {
        replace(box, caret, caret, unitsOf(key));
    } else if (key == Delete || key == L'\b' || (special && key == KEY_BACKSPACE)) {
        replace(box, stepBack(text, caret), caret, {});
    } else if (special && key == KEY_DC) {
        replace(box, caret, stepOn(text, caret), {});
    } else if (special) {
        box.selected = false;
        box.caret = key == KEY_LEFT    ? stepBack(text, caret)
                    : key == KEY_RIGHT ? stepOn(text, caret)
                    : key == KEY_HOME  ? 0
                    : key == KEY_END   ? text.size()
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

// A paste ends at its first line break, as in a one-line edit control.
Text TerminalFrontEnd::readPaste() {
    Text pasted;
    bool ended = false;
    timeout(1000); // only bounds a terminal that never sends the paste's end
    for (wint_t key = 0;;) {
        const int status = get_wch(&key);
        if (status == ERR || (status == KEY_CODE_YES && key == PasteEnds)) return pasted;
        ended = ended || (status == OK && (key == L'\r' || key == L'\n'));
        if (status == OK && !ended) pasted += unitsOf(key);
    }
}

void TerminalFrontEnd::press(int row, int column) {
    for (auto id = bottomUp_.rbegin(); id != bottomUp_.rend(); ++id) {
        Widget& widget = at(*id);
        const view::PixelRect r = widget.rect;
        if (!widget.visible || row < r.y || row >= r.y + r.height || column < r.x ||
            column >= r.x + r.width)
            continue;
        if (widget.spec.kind == view::WidgetKind::Label) return; // a label takes no click
        focus(*id);
        if (widget.spec.kind != view::WidgetKind::TextBox) return view_->clicked(*id);
        widget.caret = 0; // before the character clicked, or after the text
        int end = widget.origin;
        for (const Glyph& glyph : glyphs(widget.text))
            if ((end += glyph.width) <= column) widget.caret += glyph.units;
        return;
    }
}

void TerminalFrontEnd::focus(view::WidgetId id) {
    if (focus_ && focus_ != id) at(focus_).selected = false;
    focus_ = id;
}

void TerminalFrontEnd::setClock(int clock, int interval, bool running) {
    if (clocks_.size() <= static_cast<std::size_t>(clock)) clocks_.resize(clock + 1u);
    Ticker& ticker = clocks_[static_cast<std::size_t>(clock)];
    ticker.interval = std::chrono::milliseconds(interval);
    if (running && !ticker.running) ticker.due = Clock::now() + ticker.interval;
    ticker.running = running;
}

int TerminalFrontEnd::msUntilTick() const {
    auto wait = Clock::duration::max();
    for (const Ticker& ticker : clocks_)
        if (ticker.running) wait = std::min(wait, ticker.due - Clock::now());
    if (wait == Clock::duration::max()) return -1;
    return static_cast<int>(
        std::max<long long>(0, std::chrono::ceil<std::chrono::milliseconds>(wait).count()));
}

// Waits, in a loop of its own, for OK: by Enter, Space, Escape or a click on it. No clock
// ticks meanwhile and nothing else takes a key, as under a modal box on the desktop.
void TerminalFrontEnd::messageBox(const Text& prompt, view::MessageIcon icon, const Text& title) {
    redrawwin(stdscr); // each box reaches the terminal, even one just like the last
    for (MEVENT event; !quitting_;) {
        const auto cursor = paint(true);
        show(tooSmall() ? cursor : paintMessage(prompt, icon, title));
        timeout(-1);
        wint_t key = 0;
        const int status = get_wch(&key);
        if (status == ERR || isQuit(status, key)) {
            quit(status == ERR ? view::FailureExitCode : 0);
        } else if (status == KEY_CODE_YES && key == PasteStarts) {
            readPaste(); // goes nowhere: the box has no text to paste into
        } else if (status == KEY_CODE_YES && key == KEY_MOUSE) {
            if (pressed(event) && event.y == ok_.y && event.x >= ok_.x &&
                event.x < ok_.x + ok_.width)
                return;
        } else if (!tooSmall() && (isEnter(status, key) || key == L' ' || key == Escape)) {
            return;
        }
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
