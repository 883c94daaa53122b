// The child windows: Win32Window's FrontEnd calls for one widget, and what its windows
// report back (WM_COMMAND, WM_CTLCOLOR*).
#include "win32_window.h"

#include <commctrl.h>

#include "win32_text.h"

namespace pelmora::win32 {
namespace {

// Control ids start above IDOK and IDCANCEL, which the dialog manager sends for Enter and
// Escape.
constexpr int FirstControlId = 100;

// The whole window text of `hwnd`, however long.
Text windowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return fromWide(text);
}

// A label's WS_BORDER frame in the view's colour (the subclass's data: its brush), where
// Windows would paint it in the desktop's window-frame colour.
LRESULT CALLBACK framedLabel(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR brush) {
    if (message != WM_NCPAINT) return DefSubclassProc(hwnd, message, wParam, lParam);
    RECT frame;
    GetWindowRect(hwnd, &frame);
    OffsetRect(&frame, -frame.left, -frame.top);
    HDC dc = GetWindowDC(hwnd);
    FrameRect(dc, &frame, reinterpret_cast<HBRUSH>(brush));
    ReleaseDC(hwnd, dc);
    return 0;
}

} // namespace

void Win32Window::make(view::WidgetId id, const view::WidgetSpec& spec) {
    using Kind = view::WidgetKind;
    const auto align = static_cast<std::size_t>(spec.alignment); // Left, Right, Centre
    // Clipped by their siblings, overlapping windows show the stacking order whatever
    // order they paint in.
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (spec.kind == Kind::Label ? 0 : WS_TABSTOP);
    const wchar_t* className = L"BUTTON";
    if (spec.kind == Kind::Label) {
        // Labels wrap like the design's and never treat '&' as a mnemonic.
        constexpr DWORD aligned[] = {SS_LEFT, SS_RIGHT, SS_CENTER};
        className = L"STATIC";
        style |= SS_NOPREFIX | aligned[align] | (spec.border ? WS_BORDER : 0);
    } else if (spec.kind == Kind::TextBox) {
        constexpr DWORD aligned[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
        className = L"EDIT";
        style |= ES_AUTOHSCROLL | aligned[align];
    } else {
        style |= spec.kind == Kind::CheckBox ? BS_CHECKBOX
                 : spec.isDefault            ? BS_DEFPUSHBUTTON
                                             : BS_PUSHBUTTON;
    }
    const int controlId = FirstControlId + id;
    HWND hwnd = CreateWindowExW(
        spec.kind == Kind::TextBox ? WS_EX_CLIENTEDGE : 0, className, L"", style, 0, 0, 0, 0, hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance_, nullptr);
    if (widgets_.size() < static_cast<std::size_t>(id))
        widgets_.resize(static_cast<std::size_t>(id));
    widgets_[static_cast<std::size_t>(id - 1)] = {hwnd, spec.kind};
    if (spec.kind == Kind::TextBox) SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0); // long entries too
    if (spec.border)
        SetWindowSubclass(hwnd, &framedLabel, 0,
                          reinterpret_cast<DWORD_PTR>(gdi_.brush(toColorRef(*spec.border))));
    if (spec.isDefault) defaultId_ = controlId;
    names_.setName(hwnd, spec.accessibleName);
}

void Win32Window::place(view::WidgetId id, view::PixelRect r) {
    SetWindowPos(hwndOf(id), nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::setFont(view::WidgetId id, const Font& font, int pixelHeight) {
    SendMessageW(hwndOf(id), WM_SETFONT, reinterpret_cast<WPARAM>(gdi_.font(font, pixelHeight)),
                 TRUE);
}

void Win32Window::setColours(view::WidgetId id, view::Rgb fore, view::Rgb back) {
    Widget& shown = widgets_[static_cast<std::size_t>(id - 1)];
    shown.fore = toColorRef(fore);
    shown.back = toColorRef(back);
    InvalidateRect(shown.hwnd, nullptr, TRUE);
}

void Win32Window::showText(view::WidgetId id, const Text& text, std::size_t caret) {
    HWND hwnd = hwndOf(id);
    SetWindowTextW(hwnd, toWide(text).c_str());
    if (widget(id).kind == view::WidgetKind::TextBox)
        SendMessageW(hwnd, EM_SETSEL, caret, static_cast<LPARAM>(caret));
}

std::size_t Win32Window::caret(view::WidgetId id) const {
    DWORD start = 0, end = 0;
    SendMessageW(hwndOf(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return end;
}

void Win32Window::setTicked(view::WidgetId id, bool ticked) {
    SendMessageW(hwndOf(id), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32Window::setVisible(view::WidgetId id, bool visible) {
    ShowWindow(hwndOf(id), visible ? SW_SHOWNA : SW_HIDE);
}

void Win32Window::setOrders(const std::vector<view::WidgetId>&,
                            const std::vector<view::WidgetId>& bottomUp) {
    // The last raised is on top, and the dialog manager's Tab follows the stack down.
    for (const view::WidgetId id : bottomUp)
        SetWindowPos(hwndOf(id), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Window::focus(view::WidgetId id) {
    focus_ = hwndOf(id);
    if (IsWindowVisible(hwnd_)) SetFocus(focus_); // else once the window is shown
}

view::WidgetId Win32Window::widgetOf(HWND hwnd) const {
    const int id = hwnd ? GetDlgCtrlID(hwnd) - FirstControlId : 0;
    return id >= 1 && id <= static_cast<int>(widgets_.size()) && hwndOf(id) == hwnd ? id : 0;
}

void Win32Window::command(HWND control, int code) {
    // The view passes over a window that shows no widget (id 0).
    if (code == EN_CHANGE) // only an edit sends it
        view_->edited(widgetOf(control), windowText(control));
    else if (code == BN_CLICKED) // a box or a push button
        view_->clicked(widgetOf(control));
}

HBRUSH Win32Window::colours(HWND control, HDC dc) {
    const view::WidgetId id = widgetOf(control);
    if (!id) return nullptr;
    const Widget& shown = widget(id);
    SetTextColor(dc, shown.fore);
    SetBkColor(dc, shown.back);
    SetBkMode(dc, OPAQUE);
    return gdi_.brush(shown.back);
}

} // namespace pelmora::win32
