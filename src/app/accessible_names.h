#pragma once
// What a screen reader calls each control of the window, in the window's own language.
// Every front end takes its names from here (FormView hands them over) so the wording stays one.
// Captions and colours are untouched: a name is only what assistive technology reads out.

#include "toolkit/control.h"

namespace pelmora {

// The accessible name of `control`; empty when its caption already says it all.
Text accessibleName(const Control& control);

} // namespace pelmora
