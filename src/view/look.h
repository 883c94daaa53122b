#pragma once
// How a control's widget looks, decided once for every front end: the text it shows, its
// colours, its border and its font size, the faces standing in for the design's, and the
// icon of a message box. The answers are design colours, pixel sizes and face names; a
// front end resolves system colours and loads faces its own way and decides none of this.

#include <optional>
#include <vector>

#include "toolkit/colour.h"
#include "toolkit/form.h"

namespace pelmora::view {

// A label's single-line border is drawn in the window-frame colour (system colour 6),
// the colour Windows itself draws a control's one-pixel border in, so the labels look the
// same framed on every front end. Like every system colour it is resolved through the
// view's one fixed table (resolveColour), not a desktop's or browser's scheme.
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

// The faces tried, best first, for a design face (Windows faces) a platform lacks: Liberation
// Sans or DejaVu Sans (fonts-liberation, fonts-dejavu-core) for the sans-serif face, AR PL
// KaitiM GB (fonts-arphic-gkai00mp) for the Kai headings, and last always WenQuanYi Zen Hei
// (fonts-wqy-zenhei), which holds every Chinese character the others lack, so Chinese
// captions never show as boxes.
std::vector<Text> substituteFaces(TextView designFace);

// Whether `face` holds all of GB2312: text in a GB2312 font drawn in it never needs a
// character from another face, so a toolkit need not look for one.
bool coversGb2312(TextView face);

// The icon a message box shows for its flags (a Windows MessageBox's own: 16 stop, 32
// question, 48 warning, 64 information); none for any other.
enum class MessageIcon { None, Stop, Question, Warning, Information };
MessageIcon messageIcon(int flags);

} // namespace pelmora::view
