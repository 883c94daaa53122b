#pragma once
// How a control's widget looks, decided once for every front end: the text it shows, its
// colours, its border and its font size. The answers are design colours and pixel sizes;
// a front end resolves system colours and faces its own way and decides none of this.

#include <optional>

#include "toolkit/colour.h"
#include "toolkit/form.h"

namespace pelmora::view {

// A label's single-line border is drawn in the window-frame colour (system colour 6),
// the colour Windows itself draws a control's one-pixel border in, so the labels look the
// same framed on every front end and follow the desktop's scheme.
inline constexpr Colour LabelBorderColour = colours::system(6);

// What a widget is painted with. Every widget takes its control's font and both of its
// colours, check boxes included: a captionless box still draws its square in its back
// colour and its focus cue in its fore colour, as a Windows check box does, and the same
// font keeps that cue the same size on every toolkit.
struct Look {
    Colour fore = 0, back = 0;
    std::optional<Colour> border; // a label's one-pixel frame, when it has one
    int fontPixels = 0;           // the character height at the given DPI
    bool operator==(const Look&) const = default;
};
Look lookOf(const Control& control, int dpi);

// The text a widget shows: a label's or button's caption, a text box's text; nothing for
// a check box, which has no caption.
Text shownText(const Control& control);

} // namespace pelmora::view
