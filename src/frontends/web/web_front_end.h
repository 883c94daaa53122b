#pragma once
// WebFrontEnd draws the form as HTML elements of the page (web_page.h) and nothing more: it
// turns what FormView decided into elements, attributes and inline CSS, and keeps no state
// of its own. The person's actions reach FormView from the loop in web_main.cpp.
// Implemented: every call. A label is a <div> (named: an ARIA note), the other widgets the
// browser's <input>s and <button>, each named by aria-label; the focus order is the document
// order, the stacking order z-index, the lines the client's background, the message box a
// <dialog>, the time of day the browser's (Intl), the announcements an aria-live region.
// Where it differs:
// - The widget's name is not written: the page's elements are found by accessible name.
// - A page cannot close itself: quit stops the clocks and makes the form inert.
// - One geometry, CSS pixels at 96 dpi: the browser scales them to the screen and its zoom.
// - Faces are the page's own subsets of the substitutes; one it lacks is passed over.
// - The default button looks like any other; a button centres its caption, as on the desktop.
// - The message box pictures the stop icon only, the one the program uses.
// - The time text has ASCII digits whatever digits the locale writes.

#include <array>
#include <initializer_list>
#include <string>

#include "frontends/web/web_page.h"
#include "view/front_end.h"

namespace pelmora {

class WebFrontEnd final : public view::FrontEnd {
public:
    using Id = view::WidgetId;
    void setWindow(const Text& caption, view::PixelSize client, view::Rgb ground) override {
        pelmora_title(caption.data(), caption.size());
        // The ground is kept apart, so that the lines painted over it leave it as it is.
        style(0, "width:%px;height:%px;--ground:#%;background-color:var(--ground)",
              {client.width, client.height, hex(ground)});
    }
    void make(Id id, const view::WidgetSpec& spec) override {
        pelmora_make(id, static_cast<int>(spec.kind));
        if (!spec.accessibleName.empty()) setAttribute(id, "aria-label", spec.accessibleName);
        const bool label = spec.kind == view::WidgetKind::Label;
        // Named static text: a note carries its name and reads its caption as content.
        if (label && !spec.accessibleName.empty()) setAttribute(id, "role", u"note");
        constexpr std::array<const char*, 3> align = {"text-align:left", "text-align:right",
                                                      "text-align:center"}; // as Alignment counts
        if (label || spec.kind == view::WidgetKind::TextBox)
            style(id, align[static_cast<std::size_t>(spec.alignment)], {});
        if (spec.border) style(id, "border:1px solid #%", {hex(*spec.border)});
    }
    void place(Id id, view::PixelRect r) override {
        style(id, "left:%px;top:%px;width:%px;height:%px", {r.x, r.y, r.width, r.height});
    }
    void setFont(Id id, const Font& font, int pixelHeight) override {
        std::string css = font.italic ? "font:italic " : "font:";
        css += font.bold ? "bold %px " : "%px ";
        // The page's faces are its subsets of the substitutes (subset_fonts.py).
        for (const Text& face : view::substituteFaces(font.face))
            css += face == u"Liberation Sans"     ? "pelmora-sans,"
                   : face == u"AR PL KaitiM GB"   ? "pelmora-kai,"
                   : face == u"WenQuanYi Zen Hei" ? "pelmora-hei,"
                                                  : "";
        css.pop_back(); // the last comma
        style(id, css.c_str(), {pixelHeight});
    }
    void setColours(Id id, view::Rgb fore, view::Rgb back) override {
        style(id, "color:#%;background:#%", {hex(fore), hex(back)});
    }
    void showText(Id id, const Text& text, std::size_t caret) override {
        pelmora_text(id, text.data(), text.size(), static_cast<int>(caret));
    }
    std::size_t caret(Id id) const override { return static_cast<std::size_t>(pelmora_caret(id)); }
    void setTicked(Id id, bool ticked) override { pelmora_checked(id, ticked); }
    void setVisible(Id id, bool visible) override {
        style(id, visible ? "display:block" : "display:none", {});
    }
    void setOrders(const std::vector<Id>& tab, const std::vector<Id>& bottomUp) override {
        for (std::size_t layer = 0; layer < bottomUp.size(); ++layer)
            style(bottomUp[layer], "z-index:%", {static_cast<int>(layer) + 1});
        pelmora_order(tab.data(), tab.size());
    }
    void focus(Id id) override { pelmora_focus(id); }
    // Each band is a one-colour image over the client's ground, under every element.
    void paintBands(const std::vector<view::PaintedBand>& bands) override {
        std::string css = "background:";
        std::vector<int> numbers;
        for (const auto& [r, colour] : bands) {
            css += "linear-gradient(#%,#%) %px %px/%px %px no-repeat,";
            numbers.insert(numbers.end(), {hex(colour), hex(colour), r.x, r.y, r.width, r.height});
        }
        pelmora_style(0, (css + "var(--ground)").c_str(), numbers.data());
    }
    void setClock(int clock, int interval, bool running) override {
        pelmora_clock(clock, interval, running);
    }
    void messageBox(const Text& prompt, view::MessageIcon icon, const Text& title) override {
        pelmora_message_box(prompt.data(), prompt.size(), static_cast<int>(icon), title.data(),
                            title.size());
    }
    void callAfterTurn() override { pelmora_after_turn(); }
    void announce(const Text& text) override { pelmora_announce(text.data(), text.size()); }
    view::LocalTime localTime() override {
        std::array<int, 3> clock{};
        Text lines(pelmora_local_time(clock.data(), nullptr, 0), u'\0');
        pelmora_local_time(clock.data(), lines.data(), lines.size());
        const std::size_t am = lines.find(u'\n'), pm = lines.find(u'\n', am + 1);
        view::LocalTime time{clock[0], clock[1], clock[2], lines.substr(0, am)};
        time.am = lines.substr(am + 1, pm - am - 1);
        time.pm = lines.substr(pm + 1);
        return time;
    }
    void quit(int code) override { pelmora_end(code); }

private:
    // The numbers go apart from the text: a call then makes no temporary (web_page.h).
    static void style(Id id, const char* css, std::initializer_list<int> numbers) {
        pelmora_style(id, css, numbers.begin());
    }
    static int hex(view::Rgb c) { return c.red << 16 | c.green << 8 | c.blue; }
    static void setAttribute(Id id, const char* name, const Text& value) {
        pelmora_attribute(id, name, value.data(), value.size());
    }
};

} // namespace pelmora
