// How TerminalFrontEnd reads the person: keys, pastes and clicks from ncurses, turned into the
// view's actions; the clocks that tick between them; the message box's own loop; the time.
#include <langinfo.h>

#include <algorithm>
#include <ctime>
#include <exception>
#include <string_view>

#include "frontends/terminal/terminal_front_end.h"
#include "frontends/terminal/terminal_text.h"
#include "toolkit/convert.h"

namespace pelmora {
namespace {

constexpr wint_t CtrlC = 3, CtrlQ = 17, Escape = 27, Delete = 127;

bool isEnter(int status, wint_t key) {
    return status == OK ? key == L'\r' || key == L'\n' : key == KEY_ENTER;
}
bool isQuit(int status, wint_t key) { return status == OK && (key == CtrlC || key == CtrlQ); }

// The locale's time format (strftime's notation) in the Windows notation the view writes
// the time from; anything but the time of day's own fields stands as it is.
Text windowsPattern(std::string_view posix) {
    std::string out;
    for (std::size_t i = 0; i < posix.size(); ++i) {
        if (posix[i] != '%' || i + 1 == posix.size()) {
            const bool letter = std::string_view("hHmst'").find(posix[i]) != std::string_view::npos;
            out += letter ? "'" + std::string(posix[i] == '\'' ? "''" : posix.substr(i, 1)) + "'"
                          : posix.substr(i, 1);
            continue;
        }
        char field = posix[++i];
        if ((field == 'E' || field == 'O') && i + 1 < posix.size()) field = posix[++i];
        switch (field) {
        case 'H': out += "HH"; break;
        case 'k': out += "H"; break;
        case 'I': out += "hh"; break;
        case 'l': out += "h"; break;
        case 'M': out += "mm"; break;
        case 'S': out += "ss"; break;
        case 'p':
        case 'P': out += "tt"; break;
        case 'r': out += "hh:mm:ss tt"; break;
        case 'R': out += "HH:mm"; break;
        case 'T': out += "HH:mm:ss"; break;
        case '%': out += "%"; break;
        default: break; // a date or a zone: the clock shows the time of day only
        }
    }
    return fromUtf8(out);
}

} // namespace

TerminalFrontEnd::TerminalFrontEnd() : widgets_(1) {}

int TerminalFrontEnd::run(view::FormView& view) {
    view_ = &view;
    while (!quitting_) {
        paint();
        timeout(msUntilTick());
        wint_t key = 0;
        const int status = get_wch(&key);
        try {
            if (status != ERR)
                handle(status, key);
            else if (msUntilTick() == 0)
                tickDue();
            else // the terminal is gone: no key can come any more
                quit(view::FailureExitCode);
        } catch (const std::exception& error) {
            view.fail(error.what());
        }
        if (std::exchange(afterTurn_, false)) view.turnOver();
    }
    return exitCode_;
}

void TerminalFrontEnd::handle(int status, wint_t key) {
    if (isQuit(status, key)) return quit(0);
    const bool code = status == KEY_CODE_YES;
    Widget& focused = widgets_.at(static_cast<std::size_t>(focus_));
    const bool inBox = focus_ && focused.spec.kind == view::WidgetKind::TextBox;
    if (code && key == PasteStarts) {
        const Text pasted = readPaste();
        if (inBox && !tooSmall()) type(focused, focus_, pasted);
        return;
    }
    if (tooSmall()) return; // nothing happens that the person cannot see
    view::KeyModifiers modifiers;
    if (status == OK && key == Escape) { // Alt sends ESC before the key it holds
        timeout(0);
        if (get_wch(&key) != OK) return;
        modifiers.alt = true;
    }
    if (code && key == KEY_MOUSE) {
        MEVENT event;
        if (getmouse(&event) == OK && (event.bstate & BUTTON1_PRESSED)) press(event.y, event.x);
    } else if (isEnter(status, key)) {
        view_->enter(focus_, modifiers);
    } else if ((status == OK && key == L'\t') || (code && key == KEY_BTAB)) {
        moveFocus(code ? -1 : 1);
    } else if (inBox) {
        editKey(focused, focus_, status, key);
    } else if (focus_ && status == OK && key == L' ') {
        view_->clicked(focus_);
    }
}

void TerminalFrontEnd::editKey(Widget& box, view::WidgetId id, int status, wint_t key) {
    const TextView text = box.text;
    if (status == OK && key >= L' ' && key != Delete) return type(box, id, unitsOf(key));
    if (status == OK && (key == Delete || key == L'\b'))
        key = KEY_BACKSPACE;
    else if (status != KEY_CODE_YES)
        return;
    switch (key) {
    case KEY_LEFT: box.caret = stepBack(text, box.caret); break;
    case KEY_RIGHT: box.caret = stepOn(text, box.caret); break;
    case KEY_HOME: box.caret = 0; break;
    case KEY_END: box.caret = text.size(); break;
    case KEY_BACKSPACE: cut(box, id, stepBack(text, box.caret), box.caret); break;
    case KEY_DC: cut(box, id, box.caret, stepOn(text, box.caret)); break;
    default: break;
    }
}

// The person's edits change the box first, caret and all, and then tell the view the
// whole new text, as a window's edit control does.
void TerminalFrontEnd::type(Widget& box, view::WidgetId id, const Text& text) {
    if (text.empty()) return;
    box.text.insert(box.caret, text);
    box.caret += text.size();
    view_->edited(id, box.text);
}

void TerminalFrontEnd::cut(Widget& box, view::WidgetId id, std::size_t from, std::size_t to) {
    if (from == to) return;
    box.text.erase(from, to - from);
    box.caret = from;
    view_->edited(id, box.text);
}

// A paste is one edit, however long. Its line breaks end it, as in a one-line edit control.
Text TerminalFrontEnd::readPaste() {
    Text pasted;
    bool ended = false;
    timeout(1000); // only bounds a terminal that never sends the paste's end
    for (wint_t key = 0;;) {
        const int status = get_wch(&key);
        if (status == ERR || (status == KEY_CODE_YES && key == PasteEnds)) return pasted;
        ended = ended || (status == OK && (key == L'\r' || key == L'\n'));
        if (status == OK && !ended && key >= L' ') pasted += unitsOf(key);
    }
}

void TerminalFrontEnd::moveFocus(int step) {
    const int count = static_cast<int>(tab_.size());
    const int at = static_cast<int>(std::find(tab_.begin(), tab_.end(), focus_) - tab_.begin());
    for (int k = 1; k <= count; ++k) {
        const view::WidgetId next =
            tab_[static_cast<std::size_t>(((at + step * k) % count + count) % count)];
        if (widgets_.at(static_cast<std::size_t>(next)).visible) return focus(next);
    }
}

void TerminalFrontEnd::press(int row, int column) {
    for (auto id = bottomUp_.rbegin(); id != bottomUp_.rend(); ++id) {
        Widget& widget = widgets_.at(static_cast<std::size_t>(*id));
        const view::PixelRect r = widget.rect;
        if (!widget.visible || row < r.y || row >= r.y + r.height || column < r.x ||
            column >= r.x + r.width)
            continue;
        if (widget.spec.kind == view::WidgetKind::Label) return; // a label takes no click
        focus(*id);
        if (widget.spec.kind != view::WidgetKind::TextBox) return view_->clicked(*id);
        // The caret goes before the character clicked, or after the text.
        widget.caret = 0;
        int at = widget.origin;
        for (const Glyph& glyph : glyphs(widget.text)) {
            if ((at += glyph.width) > column) break;
            widget.caret += glyph.units;
        }
        return;
    }
}

void TerminalFrontEnd::setClock(int clock, int interval, bool running) {
    if (clocks_.size() <= static_cast<std::size_t>(clock)) clocks_.resize(clock + 1u);
    Ticker& ticker = clocks_[static_cast<std::size_t>(clock)];
    if (running && !ticker.running) ticker.due = Clock::now() + std::chrono::milliseconds(interval);
    ticker.interval = interval;
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

void TerminalFrontEnd::tickDue() {
    const auto now = Clock::now();
    for (std::size_t clock = 0; clock < clocks_.size(); ++clock)
        if (Ticker& ticker = clocks_[clock]; ticker.running && ticker.due <= now) {
            // A clock that fell behind goes on from now rather than catching up.
            const auto interval = std::chrono::milliseconds(ticker.interval);
            ticker.due = ticker.due + interval > now ? ticker.due + interval : now + interval;
            view_->tick(static_cast<int>(clock));
        }
}

void TerminalFrontEnd::messageBox(const Text& prompt, view::MessageIcon icon, const Text& title) {
    message_ = Message{prompt, title, icon};
    while (!quitting_) {
        paint();
        timeout(-1); // the clocks stand still while the box waits
        wint_t key = 0;
        const int status = get_wch(&key);
        MEVENT event;
        if (status == ERR || isQuit(status, key)) {
            quit(status == ERR ? view::FailureExitCode : 0);
        } else if (status == KEY_CODE_YES && key == PasteStarts) {
            readPaste(); // goes nowhere: the box has no text to paste into
        } else if (status == KEY_CODE_YES && key == KEY_MOUSE) {
            if (getmouse(&event) == OK && (event.bstate & BUTTON1_PRESSED) && event.y == ok_.y &&
                event.x >= ok_.x && event.x < ok_.x + ok_.width)
                break;
        } else if (!tooSmall() && (isEnter(status, key) || key == L' ' || key == Escape)) {
            break;
        }
    }
    message_.reset();
}

view::LocalTime TerminalFrontEnd::localTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_hour,
            local.tm_min,
            local.tm_sec,
            windowsPattern(nl_langinfo(T_FMT)),
            fromUtf8(nl_langinfo(AM_STR)),
            fromUtf8(nl_langinfo(PM_STR))};
}

void TerminalFrontEnd::quit(int code) {
    quitting_ = true;
    exitCode_ = code;
}

} // namespace pelmora
