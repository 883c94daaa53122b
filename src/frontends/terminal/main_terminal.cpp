// The terminal program: the window Main drawn in character cells with ncurses.
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <exception>

#include "app/main_window.h"
#include "frontends/terminal/terminal_front_end.h"
#include "view/cell_geometry.h"

// The program takes no options: its command line is not read.
int main() {
    std::setlocale(LC_ALL, "");
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO))
        return std::fputs("pelmora-term: runs in a terminal\n", stderr), 1;
    try {
        pelmora::TerminalFrontEnd frontEnd; // the terminal in its modes while this lives
        pelmora::view::FormView view(frontEnd);
        pelmora::Main model(view);
        // The load event runs before anything is shown; an error there ends the program.
        if (!view.load(model.form(), [&] { model.load(); })) return pelmora::view::FailureExitCode;
        view.show(std::make_unique<pelmora::view::CellGeometry>());
        return frontEnd.run(view);
    } catch (const std::exception& error) { // the terminal is restored by now
        std::fprintf(stderr, "pelmora-term: %s\n", error.what());
        return pelmora::view::FailureExitCode;
    }
}
