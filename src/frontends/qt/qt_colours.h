#pragma once
// Turns the design's colours (0xBBGGRR, or 0x800000NN for a system colour) into QColor.
// System colours come from the Qt palette where a palette role means the same thing, so
// the window follows the desktop's colour scheme; the few indices without such a role
// take the classic Windows value. It draws nothing itself.

#include <QColor>
#include <QPalette>

#include "toolkit/colour.h"

namespace pelmora {

QColor resolveColourQt(Colour colour, const QPalette& palette);

} // namespace pelmora
