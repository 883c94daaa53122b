#pragma once
// Pelmora.exe's window, drawn with the plain Win32 API: the view's FrontEnd. FormView
// decides what every widget shows and what every key and click means; this makes the
// native windows, shows on them what it is told, keeps the clocks and runs the message
// loop. Its source files also hold the program's entry point.
//
// Implemented:
//   - STATIC labels (SS_NOPREFIX; a frame over WS_BORDER in the view's colour), EDIT boxes
//     (no length limit), BS_CHECKBOX (the tick is the view's, never the button's own),
//     push BUTTONs (BS_DEFPUSHBUTTON, DM_GETDEFID), aligned as the spec says;
//   - texts and the caret (EM_SETSEL), ticks, visibility, rectangles, fonts, the colours
//     given (WM_CTLCOLOR*), the client's ground and the lines (WM_PAINT);
//   - the stacking order, clocks (SetTimer), message boxes (MessageBoxW, the view's icon),
//     the locale's time pattern, announcements after the turn (AccessibleNames' live
//     region) and accessible names; per-monitor DPI (WM_DPICHANGED: the view lays out anew).
// Reported to the view: EN_CHANGE, BN_CLICKED (a click, or Space by the dialog manager),
// Enter with Shift, Ctrl or Alt (Alt+Enter comes as WM_SYSKEYDOWN), WM_TIMER, an exception.
// Where it differs: Tab walks the stacking order, as the dialog manager does, so the view's
// tab list goes unused (its stacking order puts the focusable widgets in tab order). The
// focus goes back to the child that had it when the window is activated again, as in a
// dialog. A face the system lacks takes one of the view's substitutes (GdiCache).
// Buttons, boxes and edit frames keep Windows' own native drawing.

#include <windows.h>

#include <vector>

#include "view/form_view.h"
#include "win32_accessible.h"
#include "win32_gdi.h"

namespace pelmora::win32 {

class Win32Window final : public view::FrontEnd {
public:
    explicit Win32Window(HINSTANCE instance) : instance_(instance) {}
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // Makes the window at its monitor's DPI, has `view` show the loaded form in it, and
    // shows it; false when Windows refused.
    bool create(view::FormView& view, int showCommand);
    // The message loop; returns the process exit code once the window is closed.
    int run();

    void setWindow(const Text& caption, view::PixelSize client, view::Rgb ground) override;
    void make(view::WidgetId id, const view::WidgetSpec& spec) override;
    void place(view::WidgetId id, view::PixelRect rect) override;
    void setFont(view::WidgetId id, const Font& font, int pixelHeight) override;
    void setColours(view::WidgetId id, view::Rgb fore, view::Rgb back) override;
    void showText(view::WidgetId id, const Text& text, std::size_t caret) override;
    std::size_t caret(view::WidgetId id) const override;
    void setTicked(view::WidgetId id, bool ticked) override;
    void setVisible(view::WidgetId id, bool visible) override;
    void setOrders(const std::vector<view::WidgetId>& tab,
                   const std::vector<view::WidgetId>& bottomUp) override;
    void focus(view::WidgetId id) override;
    void paintBands(const std::vector<view::PaintedBand>& bands) override;
    void setClock(int clock, int interval, bool running) override;
    void messageBox(const Text& prompt, view::MessageIcon icon, const Text& title) override;
    void callAfterTurn() override;
    void announce(const Text& text) override;
    view::LocalTime localTime() override;
    void quit(int code) override;

private:
    struct Widget {
        HWND hwnd = nullptr;
        view::WidgetKind kind = view::WidgetKind::Label;
        COLORREF fore = 0, back = 0;
    };
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_COMMAND from child `control`, and WM_CTLCOLOR* for it (null: not a widget).
    void command(HWND control, int code);
    HBRUSH colours(HWND control, HDC dc);
    view::WidgetId widgetOf(HWND hwnd) const;
    const Widget& widget(view::WidgetId id) const {
        return widgets_[static_cast<std::size_t>(id - 1)];
    }
    HWND hwndOf(view::WidgetId id) const { return widget(id).hwnd; }
    void onActivate(bool active);
    void onDpiChanged(int dpi, const RECT& suggested);
    void paint();

    HINSTANCE instance_;
    AccessibleNames names_;
    GdiCache gdi_;
    view::FormView* view_ = nullptr;
    std::vector<Widget> widgets_; // widget n at n - 1
    std::vector<view::PaintedBand> bands_;
    HWND hwnd_ = nullptr;
    HWND focus_ = nullptr; // the child to give the focus back to on reactivation
    int dpi_ = view::BaseDpi;
    int defaultId_ = 0; // the default button's control id, for the dialog manager
    int exitCode_ = 0;
};

} // namespace pelmora::win32
