// What TerminalFrontEnd shows: the widgets as the view set them, drawn into ncurses' screen,
// which sends the terminal only the cells that changed since the last frame.
#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <numeric>

#include "frontends/terminal/terminal_front_end.h"
#include "view/cell_geometry.h"

namespace pelmora {

bool isPair(TextView text, std::size_t at) {
    return at + 1 < text.size() && text[at] >= 0xD800 && text[at] < 0xDC00 &&
           text[at + 1] >= 0xDC00 && text[at + 1] < 0xE000;
}

std::vector<Glyph> glyphs(TextView text) {
    std::vector<Glyph> out;
    for (std::size_t i = 0; i < text.size(); i += out.back().units) {
        const bool pair = isPair(text, i);
        auto c = static_cast<wchar_t>(
            pair ? 0x10000 + ((text[i] - 0xD800) << 10) + (text[i + 1] - 0xDC00) : text[i]);
        c = c < L' ' ? 0x2400 + c : c == 0x7F ? 0x2421 : c;
        const int width = ::wcwidth(c);
        out.push_back({width > 0 ? c : L'?', width > 0 ? width : 1, pair ? 2u : 1u});
    }
    return out;
}

namespace {

int widthOf(const std::vector<Glyph>& glyphs) {
    return std::accumulate(glyphs.begin(), glyphs.end(), 0,
                           [](int w, const Glyph& g) { return w + g.width; });
}

void put(int row, int column, wchar_t ch, attr_t look) {
    const wchar_t text[2] = {ch, 0};
    cchar_t cell;
    setcchar(&cell, text, look & ~A_COLOR, static_cast<short>(PAIR_NUMBER(look)), nullptr);
    mvadd_wch(row, column, &cell);
}

void fill(view::PixelRect r, attr_t look) {
    for (int row = r.y; row < r.y + r.height; ++row) mvhline(row, r.x, ' ' | look, r.width);
}

// Draws `glyphs` from `column` within `width` columns, the first `skip` columns of the text
// scrolled out; a wide character cut by either edge shows as a blank.
void draw(int row, int column, int width, int skip, const std::vector<Glyph>& glyphs, attr_t look) {
    int at = -skip;
    for (auto glyph = glyphs.begin(); glyph != glyphs.end() && at < width; at += glyph++->width)
        if (at >= 0 && at + glyph->width <= width)
            put(row, column + at, glyph->ch, look);
        else
            for (int c = std::max(at, 0); c < std::min(at + glyph->width, width); ++c)
                put(row, column + c, L' ', look);
}

int offset(Alignment alignment, int spare) {
    return spare <= 0 || alignment == Alignment::Left ? 0
           : alignment == Alignment::Centre           ? spare / 2
                                                      : spare;
}

void line(int row, int column, const cchar_t* symbol, attr_t look, int length = 1) {
    attrset(static_cast<int>(look));
    mvhline_set(row, column, symbol, length);
    attrset(A_NORMAL);
}

} // namespace

attr_t TerminalFrontEnd::look(view::Rgb fore, view::Rgb back) {
    if (has_colors())
        return COLOR_PAIR(
            alloc_pair(view::terminalColour(fore, COLORS), view::terminalColour(back, COLORS)));
    return back.red * 299 + back.green * 587 + back.blue * 114 < 128'000 ? A_REVERSE : A_NORMAL;
}

void TerminalFrontEnd::setWindow(const Text& caption, view::PixelSize client, view::Rgb ground) {
    caption_ = caption, client_ = client, ground_ = ground;
    groundLook_ = look({0, 0, 0}, ground);
    // A window's caption bar, in the fixed colours of system colours 9 on 2.
    titleLook_ =
        look(view::resolveColour(colours::system(9)), view::resolveColour(colours::system(2)));
}

void TerminalFrontEnd::make(view::WidgetId id, const view::WidgetSpec& spec) {
    widgets_.resize(std::max(widgets_.size(), id + std::size_t{1}));
    (at(id) = Widget()).spec = spec;
}

void TerminalFrontEnd::paintBands(const std::vector<view::PaintedBand>& bands) {
    bands_.clear();
    for (const view::PaintedBand& band : bands)
        bands_.emplace_back(band.rect, look(band.colour, ground_));
}

void TerminalFrontEnd::paint(const Message* message) {
    erase();
    std::pair<int, int> cursor{-1, -1};
    if (tooSmall()) {
        char need[120];
        std::snprintf(need, sizeof need,
                      "Pelmora needs a terminal of at least %dx%d; this one is %dx%d",
                      client_.width, client_.height, COLS, LINES);
        mvaddnstr(0, 0, need, COLS);
    } else {
        // The top row is the window's caption bar; the client lies under it.
        fill({0, 0, client_.width, 1}, titleLook_);
        const auto caption = glyphs(caption_);
        draw(0, offset(Alignment::Centre, client_.width - widthOf(caption)), client_.width, 0,
             caption, titleLook_ | A_BOLD);
        fill({0, 1, client_.width, client_.height - 1}, groundLook_);
        // An etched groove's two strokes fall in one row; the first, the shadow, is drawn last.
        for (auto band = bands_.rbegin(); band != bands_.rend(); ++band)
            line(band->first.y, band->first.x, WACS_HLINE, band->second, band->first.width);
        for (const view::WidgetId id : bottomUp_)
            if (const auto there =
                    at(id).visible ? paintWidget(at(id), id == focus_ && !message) : cursor;
                id == focus_)
                cursor = there;
        if (message) cursor = paintMessage(*message);
    }
    curs_set(cursor.first >= 0 ? 1 : 0);
    if (cursor.first >= 0) move(cursor.first, cursor.second);
    refresh();
}

std::pair<int, int> TerminalFrontEnd::paintWidget(Widget& widget, bool focused) {
    const view::PixelRect r = widget.rect;
    const attr_t look = widget.look | widget.font, cue = focused ? A_REVERSE : A_NORMAL;
    // Of a long text only what a box can show around its caret is read: a megabyte pasted
    // costs a frame no more than a short text does.
    const std::size_t reach = 4 * static_cast<std::size_t>(r.width);
    widget.first = widget.caret > reach
                       ? widget.caret - reach + isPair(widget.text, widget.caret - reach - 1)
                       : 0;
    const auto text =
        glyphs(TextView(widget.text).substr(widget.first, widget.caret - widget.first + reach));
    switch (widget.spec.kind) {
    case view::WidgetKind::CheckBox:
        // Two boxes side by side share the column between them, as "|".
        for (const int column : {r.x, r.x + r.width - 1}) {
            const auto there = static_cast<char>(mvinch(r.y, column) & A_CHARTEXT);
            const bool shared = there == '[' || there == ']' || there == '|';
            put(r.y, column, shared ? L'|' : column == r.x ? L'[' : L']', look);
        }
        put(r.y, r.x + 1, widget.ticked ? L'x' : L' ', look | cue);
        return {r.y, r.x + 1};
    case view::WidgetKind::Button: {
        fill(r, look);
        put(r.y, r.x, L'[', look | (widget.spec.isDefault ? A_BOLD : 0));
        put(r.y, r.x + r.width - 1, L']', look | (widget.spec.isDefault ? A_BOLD : 0));
        const int from = r.x + 1 + offset(Alignment::Centre, r.width - 2 - widthOf(text));
        draw(r.y, from, r.x + r.width - 1 - from, 0, text, look | cue);
        return {r.y, from};
    }
    case view::WidgetKind::TextBox: {
        // A line under the box tells it from the ground, in any colours or none.
        fill(r, look | A_UNDERLINE);
        std::size_t units = widget.first;
        int caret = 0;
        for (auto glyph = text.begin(); glyph != text.end() && units < widget.caret; ++glyph)
            caret += glyph->width, units += glyph->units;
        const int width = widthOf(text);
        const int from = width < r.width ? offset(widget.spec.alignment, r.width - width) : 0;
        widget.scroll = width < r.width ? 0 : std::clamp(widget.scroll, caret - r.width + 1, caret);
        widget.origin = r.x + from - widget.scroll;
        draw(r.y, r.x + from, r.width - from, widget.scroll, text,
             look | A_UNDERLINE | (widget.selected ? A_REVERSE : 0));
        return {r.y, widget.origin + caret};
    }
    case view::WidgetKind::Label: break;
    }
    fill(r, look);
    int from = r.x, width = r.width;
    if (widget.spec.border && r.width >= 3) { // the frame: a bar at each end
        line(r.y, r.x, WACS_VLINE, widget.border);
        line(r.y, r.x + r.width - 1, WACS_VLINE, widget.border);
        from += 1, width -= 2;
    }
    // A label taller than a row and too narrow for its text stands it on end, last character
    // lowest: the bit numbers, tens above units.
    const bool onEnd = r.height > 1 && widthOf(text) > r.width;
    for (std::size_t i = 0; onEnd && i < text.size() && i < static_cast<std::size_t>(r.height); ++i)
        draw(r.y + r.height - 1 - static_cast<int>(i), r.x, r.width, 0, {text[text.size() - 1 - i]},
             look);
    if (!onEnd)
        draw(r.y + r.height - 1, from + offset(widget.spec.alignment, width - widthOf(text)), width,
             0, text, look);
    return {r.y, r.x};
}

std::pair<int, int> TerminalFrontEnd::paintMessage(const Message& message) {
    const auto text = glyphs(message.prompt);
    const int width = std::min(client_.width, std::max(widthOf(text) + 8, 16));
    const view::PixelRect area{(client_.width - width) / 2, (client_.height - 5) / 2, width, 5};
    WINDOW* frame = derwin(stdscr, area.height, area.width, area.y, area.x);
    wbkgdset(frame, ' ' | groundLook_);
    werase(frame);
    box(frame, 0, 0);
    delwin(frame);
    fill({area.x, area.y, area.width, 1}, titleLook_);
    draw(area.y, area.x + 1, area.width - 2, 0, glyphs(message.title), titleLook_ | A_BOLD);
    if (message.icon != view::MessageIcon::None) // white on red, as a stop sign
        draw(area.y + 2, area.x + 2, 3, 0,
             glyphs(Text{u' ', u" X?!i"[static_cast<int>(message.icon)], u' '}),
             look({255, 255, 255}, {255, 0, 0}) | A_BOLD);
    draw(area.y + 2, area.x + 6, area.width - 7, 0, text, groundLook_);
    ok_ = {area.x + (area.width - 6) / 2, area.y + 3, 6, 1};
    draw(ok_.y, ok_.x, ok_.width, 0, glyphs(u"[ OK ]"), groundLook_ | A_REVERSE);
    return {ok_.y, ok_.x + 2};
}

} // namespace pelmora
