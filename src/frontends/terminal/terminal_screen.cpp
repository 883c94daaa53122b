// What TerminalFrontEnd shows: the widgets as the view set them, drawn into ncurses' screen,
// which sends the terminal only the cells that changed since the last frame.
#include <ncursesw/curses.h>

#include <algorithm>
#include <array>
#include <climits>
#include <string>

#include "frontends/terminal/terminal_front_end.h"
#include "frontends/terminal/terminal_text.h"

namespace pelmora {
namespace {

view::Rgb xtermColour(int index) {
    if (index >= 232) {
        const auto grey = static_cast<std::uint8_t>(8 + 10 * (index - 232));
        return {grey, grey, grey};
    }
    const auto level = [](int n) { return static_cast<std::uint8_t>(n ? 55 + 40 * n : 0); };
    index -= 16;
    return {level(index / 36), level(index / 6 % 6), level(index % 6)};
}

// The terminal's colour nearest to `rgb`: xterm's cube and greys where it has 256 (its first
// sixteen vary with the terminal's theme), the ANSI ones as xterm shows them otherwise.
int nearestColour(view::Rgb rgb) {
    static constexpr std::array<view::Rgb, 16> Ansi{{{0, 0, 0},
                                                     {205, 0, 0},
                                                     {0, 205, 0},
                                                     {205, 205, 0},
                                                     {0, 0, 238},
                                                     {205, 0, 205},
                                                     {0, 205, 205},
                                                     {229, 229, 229},
                                                     {127, 127, 127},
                                                     {255, 0, 0},
                                                     {0, 255, 0},
                                                     {255, 255, 0},
                                                     {92, 92, 255},
                                                     {255, 0, 255},
                                                     {0, 255, 255},
                                                     {255, 255, 255}}};
    int best = 0, bestDistance = INT_MAX;
    const auto consider = [&](int index, view::Rgb c) {
        const int r = c.red - rgb.red, g = c.green - rgb.green, b = c.blue - rgb.blue;
        if (const int distance = r * r + g * g + b * b; distance < bestDistance)
            best = index, bestDistance = distance;
    };
    if (COLORS >= 256)
        for (int i = 16; i < 256; ++i) consider(i, xtermColour(i));
    else
        for (int i = 0; i < std::min(COLORS, 16); ++i)
            consider(i, Ansi[static_cast<std::size_t>(i)]);
    return best;
}

bool isDark(view::Rgb c) { return c.red * 299 + c.green * 587 + c.blue * 114 < 128'000; }

void put(int row, int column, wchar_t ch, attr_t attributes, int pair) {
    const wchar_t text[2] = {ch, 0};
    cchar_t cell;
    setcchar(&cell, text, attributes, static_cast<short>(pair), nullptr);
    mvadd_wch(row, column, &cell);
}

void fill(view::PixelRect r, attr_t attributes, int pair) {
    for (int row = r.y; row < r.y + r.height; ++row)
        for (int column = r.x; column < r.x + r.width; ++column)
            put(row, column, L' ', attributes, pair);
}

// Draws `glyphs` from `column`, within `width` columns, the first `skip` columns of the text
// scrolled out; a wide character cut by either edge shows as a blank.
void draw(int row, int column, int width, int skip, const std::vector<Glyph>& glyphs,
          attr_t attributes, int pair) {
    int at = -skip;
    for (const Glyph& glyph : glyphs) {
        if (at >= width) break;
        if (at >= 0 && at + glyph.width <= width)
            put(row, column + at, glyph.ch, attributes, pair);
        else if (at + glyph.width > 0)
            for (int c = std::max(at, 0); c < std::min(at + glyph.width, width); ++c)
                put(row, column + c, L' ', attributes, pair);
        at += glyph.width;
    }
}

int offsetFor(Alignment alignment, int spare) {
    if (spare <= 0) return 0;
    return alignment == Alignment::Centre ? spare / 2 : alignment == Alignment::Right ? spare : 0;
}

} // namespace

TerminalFrontEnd::Colours TerminalFrontEnd::colours(view::Rgb fore, view::Rgb back) const {
    return {has_colors() ? alloc_pair(nearestColour(fore), nearestColour(back)) : 0, isDark(back)};
}

attr_t TerminalFrontEnd::attributes(Colours c) {
    return !has_colors() && c.dark ? A_REVERSE : A_NORMAL;
}

void TerminalFrontEnd::symbol(int row, int column, const cchar_t* symbol, Colours c) {
    attr_set(attributes(c), static_cast<short>(c.pair), nullptr);
    mvadd_wch(row, column, symbol);
    attr_set(A_NORMAL, 0, nullptr);
}

void TerminalFrontEnd::setWindow(const Text& caption, view::PixelSize client, view::Rgb ground) {
    caption_ = caption;
    client_ = client;
    ground_ = ground;
    groundColours_ = colours({0, 0, 0}, ground);
    // The caption bar in the fixed colours of a window's title (system colours 9 on 2).
    titleColours_ =
        colours(view::resolveColour(colours::system(9)), view::resolveColour(colours::system(2)));
}

void TerminalFrontEnd::make(view::WidgetId id, const view::WidgetSpec& spec) {
    if (widgets_.size() <= static_cast<std::size_t>(id)) widgets_.resize(id + 1u);
    widgets_[id] = Widget();
    widgets_[id].spec = spec;
}

void TerminalFrontEnd::place(view::WidgetId id, view::PixelRect rect) {
    widgets_.at(id).rect = rect;
}

void TerminalFrontEnd::setFont(view::WidgetId id, const Font& font, int) {
    widgets_.at(id).fontAttributes = (font.bold ? A_BOLD : 0) | (font.italic ? A_ITALIC : 0);
}

void TerminalFrontEnd::setColours(view::WidgetId id, view::Rgb fore, view::Rgb back) {
    Widget& widget = widgets_.at(id);
    widget.colours = colours(fore, back);
    widget.border = colours(widget.spec.border.value_or(fore), back);
}

void TerminalFrontEnd::showText(view::WidgetId id, const Text& text, std::size_t caret) {
    widgets_.at(id).text = text;
    widgets_.at(id).caret = caret;
}

void TerminalFrontEnd::setTicked(view::WidgetId id, bool ticked) {
    widgets_.at(id).ticked = ticked;
}
void TerminalFrontEnd::setVisible(view::WidgetId id, bool visible) {
    widgets_.at(id).visible = visible;
}

void TerminalFrontEnd::setOrders(const std::vector<view::WidgetId>& tab,
                                 const std::vector<view::WidgetId>& bottomUp) {
    tab_ = tab;
    bottomUp_ = bottomUp;
}

void TerminalFrontEnd::focus(view::WidgetId id) { focus_ = id; }

void TerminalFrontEnd::paintBands(const std::vector<view::PaintedBand>& bands) {
    bands_.clear();
    for (const view::PaintedBand& band : bands)
        bands_.emplace_back(band.rect, colours(band.colour, ground_));
}

bool TerminalFrontEnd::tooSmall() const { return LINES < client_.height || COLS < client_.width; }

void TerminalFrontEnd::paint() {
    erase();
    if (tooSmall()) {
        const std::string need = "Pelmora needs a terminal of " + std::to_string(client_.width) +
                                 "x" + std::to_string(client_.height) + " or more; this one is " +
                                 std::to_string(COLS) + "x" + std::to_string(LINES) + ".";
        mvaddnstr(0, 0, need.c_str(), COLS);
        curs_set(0);
        refresh();
        return;
    }
    // The top row is the window's caption bar; the client lies under it.
    fill({0, 0, client_.width, 1}, attributes(titleColours_) | A_BOLD, titleColours_.pair);
    const auto title = glyphs(caption_);
    draw(0, offsetFor(Alignment::Centre, client_.width - widthOf(title)), client_.width, 0, title,
         attributes(titleColours_) | A_BOLD, titleColours_.pair);
    fill({0, 1, client_.width, client_.height - 1}, attributes(groundColours_),
         groundColours_.pair);
    // An etched groove's two strokes fall in one row; the first drawn, the shadow, shows.
    for (auto band = bands_.rbegin(); band != bands_.rend(); ++band)
        for (int column = band->first.x; column < band->first.x + band->first.width; ++column)
            symbol(band->first.y, column, WACS_HLINE, band->second);
    std::pair<int, int> cursor{-1, -1};
    for (view::WidgetId id : bottomUp_)
        if (Widget& widget = widgets_.at(id); widget.visible) {
            const auto at = paintWidget(widget, id == focus_ && !message_);
            if (id == focus_) cursor = at;
        }
    if (message_) cursor = paintMessage();
    curs_set(cursor.first >= 0 ? 1 : 0);
    if (cursor.first >= 0) move(cursor.first, cursor.second);
    refresh();
}

std::pair<int, int> TerminalFrontEnd::paintWidget(Widget& widget, bool focused) {
    const view::PixelRect r = widget.rect;
    const int pair = widget.colours.pair;
    attr_t look = attributes(widget.colours) | widget.fontAttributes;
    const auto text = glyphs(widget.text);
    switch (widget.spec.kind) {
    case view::WidgetKind::CheckBox: {
        // Two boxes side by side share the column between them, as "|".
        for (const int column : {r.x, r.x + r.width - 1}) {
            const auto there = static_cast<char>(mvinch(r.y, column) & A_CHARTEXT);
            const bool shared = there == '[' || there == ']' || there == '|';
            put(r.y, column, shared ? L'|' : column == r.x ? L'[' : L']', look, pair);
        }
        put(r.y, r.x + 1, widget.ticked ? L'x' : L' ', look | (focused ? A_REVERSE : 0), pair);
        return {r.y, r.x + 1};
    }
    case view::WidgetKind::Button: {
        fill(r, look, pair);
        const attr_t edge = look | (widget.spec.isDefault ? A_BOLD : 0);
        put(r.y, r.x, L'[', edge, pair);
        put(r.y, r.x + r.width - 1, L']', edge, pair);
        const int at = r.x + 1 + offsetFor(Alignment::Centre, r.width - 2 - widthOf(text));
        draw(r.y, at, r.x + r.width - 1 - at, 0, text, look | (focused ? A_REVERSE : 0), pair);
        return {r.y, at};
    }
    case view::WidgetKind::TextBox: {
        // A line under the whole box tells it from the ground, in any colours or none.
        look |= A_UNDERLINE;
        fill(r, look, pair);
        std::size_t units = 0;
        int caretColumn = 0;
        for (const Glyph& glyph : text)
            if ((units += glyph.units) <= widget.caret) caretColumn += glyph.width;
        const int width = widthOf(text);
        int offset = 0;
        if (width < r.width) {
            widget.scroll = 0;
            offset = offsetFor(widget.spec.alignment, r.width - width);
        } else {
            widget.scroll = std::clamp(widget.scroll, caretColumn - r.width + 1, caretColumn);
        }
        widget.origin = r.x + offset - widget.scroll;
        draw(r.y, r.x + offset, r.width - offset, widget.scroll, text, look, pair);
        return {r.y, widget.origin + caretColumn};
    }
    case view::WidgetKind::Label: break;
    }
    fill(r, look, pair);
    view::PixelRect inside = r;
    if (widget.spec.border && r.width >= 3) {
        for (const int column : {r.x, r.x + r.width - 1})
            symbol(r.y, column, WACS_VLINE, widget.border);
        inside = {r.x + 1, r.y, r.width - 2, r.height};
    }
    // A label taller than a row and too narrow for its text stands it on end, last
    // character lowest: the bit numbers, tens above units.
    if (r.height > 1 && widthOf(text) > r.width) {
        for (std::size_t i = 0; i < text.size() && i < static_cast<std::size_t>(r.height); ++i)
            draw(r.y + r.height - 1 - static_cast<int>(i), r.x, r.width, 0,
                 {text[text.size() - 1 - i]}, look, pair);
    } else {
        draw(inside.y + inside.height - 1,
             inside.x + offsetFor(widget.spec.alignment, inside.width - widthOf(text)),
             inside.width, 0, text, look, pair);
    }
    return {r.y, r.x};
}

std::pair<int, int> TerminalFrontEnd::paintMessage() {
    // A Windows message box's icons: the stop sign red, the warning yellow, the others blue.
    static constexpr std::array<std::pair<wchar_t, view::Rgb>, 5> Icons{{{L' ', {}},
                                                                         {L'X', {255, 0, 0}},
                                                                         {L'?', {0, 0, 255}},
                                                                         {L'!', {255, 255, 0}},
                                                                         {L'i', {0, 0, 255}}}};
    const auto [sign, signColour] = Icons[static_cast<std::size_t>(message_->icon)];
    const auto text = glyphs(message_->prompt), title = glyphs(message_->title);
    const int width =
        std::min(client_.width - 2, std::max({widthOf(text) + 8, widthOf(title) + 4, 16}));
    const view::PixelRect box{(client_.width - width) / 2, (client_.height - 6) / 2, width, 6};
    const attr_t ground = attributes(groundColours_), bar = attributes(titleColours_) | A_BOLD;
    fill(box, ground, groundColours_.pair);
    fill({box.x, box.y, box.width, 1}, bar, titleColours_.pair);
    draw(box.y, box.x + 1, box.width - 2, 0, title, bar, titleColours_.pair);
    const int bottom = box.y + box.height - 1;
    for (int row = box.y + 1; row < bottom; ++row) {
        symbol(row, box.x, WACS_VLINE, groundColours_);
        symbol(row, box.x + box.width - 1, WACS_VLINE, groundColours_);
    }
    for (int column = box.x; column < box.x + box.width; ++column)
        symbol(bottom, column,
               column == box.x                   ? WACS_LLCORNER
               : column == box.x + box.width - 1 ? WACS_LRCORNER
                                                 : WACS_HLINE,
               groundColours_);
    if (sign != L' ') {
        const Colours icon = colours({255, 255, 255}, signColour);
        for (int c = 0; c < 3; ++c)
            put(box.y + 2, box.x + 2 + c, c == 1 ? sign : L' ', attributes(icon) | A_BOLD,
                icon.pair);
    }
    draw(box.y + 2, box.x + 6, box.width - 7, 0, text, ground, groundColours_.pair);
    ok_ = {box.x + (box.width - 6) / 2, box.y + 4, 6, 1};
    draw(ok_.y, ok_.x, ok_.width, 0, glyphs(u"[ OK ]"), ground | A_REVERSE, groundColours_.pair);
    return {ok_.y, ok_.x + 2};
}

} // namespace pelmora
