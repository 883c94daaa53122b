// The terminal program: the window Main drawn in character cells with ncurses.
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <exception>

#include "app/main_window.h"
#include "frontends/terminal/terminal_front_end.h"
#include "view/cell_geometry.h"

namespace {

// The terminal in the modes the program reads it in (raw, so that Ctrl+C and Ctrl+Q reach
// it; the keypad, bracketed paste, the mouse's clicks reported in SGR's form) for exactly as
// long as this lives: however the program ends, the shell gets its terminal back as it was.
class TerminalSession {
public:
    TerminalSession() : screen_(newterm(nullptr, stdout, stdin)) {
        if (!screen_) return;
        raw(), noecho(), nonl(), keypad(stdscr, TRUE), set_escdelay(25);
        typeahead(-1); // a frame goes out whole, in one write, not row by row between reads
        if (has_colors()) start_color(), use_default_colors();
        define_key("\033[200~", pelmora::TerminalFrontEnd::PasteStarts);
        define_key("\033[<", pelmora::TerminalFrontEnd::MouseReport);
        std::fputs("\033[?2004h\033[?1000h\033[?1006h", stdout), std::fflush(stdout);
    }
    ~TerminalSession() {
        if (!screen_) return;
        endwin();
        std::fputs("\033[?1006l\033[?1000l\033[?2004l", stdout), std::fflush(stdout);
        delscreen(screen_);
    }
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;
    explicit operator bool() const { return screen_ != nullptr; }

private:
    SCREEN* screen_;
};

int runWindow() {
    TerminalSession session;
    if (!session) return std::fputs("pelmora-term: this terminal (TERM) is unknown\n", stderr), 1;
    pelmora::TerminalFrontEnd frontEnd;
    pelmora::view::FormView view(frontEnd);
    pelmora::Main model(view);
    // The load event runs before anything is shown; an error there ends the program.
    if (!view.load(model.form(), [&] { model.load(); })) return pelmora::view::FailureExitCode;
    view.show(std::make_unique<pelmora::view::CellGeometry>());
    return frontEnd.run(view);
}

} // namespace

// The program takes no options: its command line is not read.
int main() {
    std::setlocale(LC_ALL, "");
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO))
        return std::fputs("pelmora-term: runs in a terminal\n", stderr), 1;
    try {
        return runWindow();
    } catch (const std::exception& error) { // the terminal is restored by now
        std::fprintf(stderr, "pelmora-term: %s\n", error.what());
        return pelmora::view::FailureExitCode;
    }
}
