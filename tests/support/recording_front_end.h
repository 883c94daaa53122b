#pragma once
// A front end with nobody at it, for the view's loop and the core's tests: it keeps what each
// widget shows and writes every call FormView makes into a log of short lines
// ("text txtDataIn 1F @2"), and it stands in for the person (type, click, Enter, a tick).
// A message box is logged and returns at once, as if OK was pressed, after `whileShown`.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "toolkit/convert.h"
#include "view/form_view.h"

namespace pelmora::testing {

using Log = std::vector<std::string>;

class RecordingFrontEnd final : public view::FrontEnd {
public:
    struct Widget {
        view::WidgetSpec spec;
        Text text;
        std::size_t caret = 0;
        bool ticked = false, visible = false;
        view::PixelRect rect;
        view::Rgb fore, back;
    };

    void setWindow(const Text& caption, view::PixelSize client, view::Rgb ground) override {
        write("window " + toUtf8(caption) + " " + std::to_string(client.width) + "x" +
              std::to_string(client.height) + " " + rgb(ground));
    }
    void make(view::WidgetId id, const view::WidgetSpec& spec) override {
        widgets[id].spec = spec;
        write("make " + spec.name);
    }
    void place(view::WidgetId id, view::PixelRect r) override {
        widgets.at(id).rect = r;
        write("place " + name(id));
    }
    void setFont(view::WidgetId id, const Font&, int pixels) override {
        write("font " + name(id) + " " + std::to_string(pixels));
    }
    void setColours(view::WidgetId id, view::Rgb fore, view::Rgb back) override {
        widgets.at(id).fore = fore;
        widgets.at(id).back = back;
        write("colours " + name(id) + " " + rgb(fore) + " on " + rgb(back));
    }
    void showText(view::WidgetId id, const Text& text, std::size_t caret) override {
        widgets.at(id).text = text;
        widgets.at(id).caret = caret;
        write("text " + name(id) + " " + toUtf8(text) + " @" + std::to_string(caret));
        if (echoTo) echoTo->edited(id, text);
    }
    std::size_t caret(view::WidgetId id) const override { return widgets.at(id).caret; }
    void setTicked(view::WidgetId id, bool ticked) override {
        widgets.at(id).ticked = ticked;
        write("tick " + name(id) + (ticked ? " 1" : " 0"));
        if (echoTo) echoTo->clicked(id);
    }
    void setVisible(view::WidgetId id, bool visible) override {
        widgets.at(id).visible = visible;
        write((visible ? "show " : "hide ") + name(id));
    }
    void setOrders(const std::vector<view::WidgetId>& tab,
                   const std::vector<view::WidgetId>& bottomUp) override {
        tabOrder = tab;
        stacking = bottomUp;
        write("orders");
    }
    void focus(view::WidgetId id) override {
        focused = id;
        write("focus " + name(id));
    }
    void paintBands(const std::vector<view::PaintedBand>& painted) override { bands = painted; }
    void setClock(int clock, int interval, bool running) override {
        write("clock " + std::to_string(clock) + " " + std::to_string(interval) +
              (running ? " on" : " off"));
    }
    void messageBox(const Text& prompt, view::MessageIcon icon, const Text& title) override {
        write("box " + toUtf8(title) + " " + toUtf8(prompt) +
              (icon == view::MessageIcon::Stop ? " stop" : ""));
        if (whileShown) whileShown();
    }
    void callAfterTurn() override { write("later"); }
    void announce(const Text& text) override { write("say " + toUtf8(text)); }
    view::LocalTime localTime() override { return time; }
    void quit(int code) override { write("quit " + std::to_string(code)); }

    // The log's lines from `first` that begin with `prefix`.
    Log lines(const std::string& prefix, std::size_t first = 0) const {
        Log out;
        for (std::size_t i = first; i < log.size(); ++i)
            if (log[i].rfind(prefix, 0) == 0) out.push_back(log[i]);
        return out;
    }
    std::string name(view::WidgetId id) const {
        const auto it = widgets.find(id);
        return it == widgets.end() ? "#" + std::to_string(id) : it->second.spec.name;
    }
    static std::string rgb(view::Rgb c) {
        return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
    }

    std::map<view::WidgetId, Widget> widgets;
    std::vector<view::WidgetId> tabOrder, stacking;
    view::WidgetId focused = 0;
    std::vector<view::PaintedBand> bands;
    Log log;
    std::function<void()> whileShown; // runs as if the box were up
    view::LocalTime time{14, 5, 9};
    view::FormView* echoTo = nullptr; // reports what the view sets back to it, as Win32 does

private:
    void write(std::string line) { log.push_back(std::move(line)); }
};

// The window Main shown through a FormView on the recording front end, and the person's
// hands on it: what they do goes through the view, as from a real widget.
struct ShownWindow {
    ShownWindow() : w(view) {
        view.load(w.form(), [this] { w.load(); });
        view.show();
    }
    view::WidgetId id(const Control& c) const { return view.widgetOf(c); }
    RecordingFrontEnd::Widget& widget(const Control& c) { return screen.widgets.at(id(c)); }
    // Types `text` at the caret of `box`, one edit a UTF-16 unit, as keys arrive.
    void type(const TextBox& box, TextView text) {
        for (char16_t c : text) paste(box, TextView(&c, 1));
    }
    // Puts `text` in at the caret of `box` in one edit; `replace`: over the whole text.
    void paste(const TextBox& box, TextView text, bool replace = false) {
        RecordingFrontEnd::Widget& shown = widget(box);
        if (replace) {
            shown.text.clear();
            shown.caret = 0;
        }
        shown.text.insert(shown.caret, text);
        shown.caret += text.size();
        view.edited(id(box), shown.text);
    }
    void click(const Control& c) { view.clicked(id(c)); }

    RecordingFrontEnd screen;
    view::FormView view{screen};
    Main w;
};

} // namespace pelmora::testing
