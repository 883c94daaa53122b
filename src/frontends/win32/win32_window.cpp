#include "win32_window.h"

#include <commctrl.h>

#include <exception>

#include "app/main_window.h"
#include "win32_dpi.h"
#include "win32_text.h"

namespace pelmora::win32 {
namespace {

constexpr wchar_t ClassName[] = L"PelmoraMainWindow";
constexpr DWORD WindowStyle = WS_OVERLAPPEDWINDOW;
constexpr UINT TurnOver = WM_APP + 1; // posted by callAfterTurn

} // namespace

bool Win32Window::create(view::FormView& view, int showCommand) {
    view_ = &view;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Win32Window::windowProc;
    wc.hInstance = instance_;
    const auto icon = [this](int width, int height) { // the program icon, resource 1
        return static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                             GetSystemMetrics(width), GetSystemMetrics(height),
                                             LR_SHARED));
    };
    wc.hIcon = icon(SM_CXICON, SM_CYICON);
    wc.hIconSm = icon(SM_CXSMICON, SM_CYSMICON);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.lpszClassName = ClassName; // no background: the view's ground comes with setWindow
    if (!RegisterClassExW(&wc) ||
        !CreateWindowExW(0, ClassName, L"", WindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_, this))
        return false;
    dpi_ = dpiOf(hwnd_);
    // The live region: a window of no size, no text and no tab stop.
    names_.setLiveRegion(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                         hwnd_, nullptr, instance_, nullptr));
    view.show(std::make_unique<view::PixelGeometry>(dpi_));
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    if (focus_) SetFocus(focus_);
    return true;
}

int Win32Window::run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Enter means what the view says, before the dialog manager gives it its own; with
        // Alt held it comes as a system key.
        if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) &&
            msg.wParam == VK_RETURN && (msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd))) {
            view_->enter(
                widgetOf(msg.hwnd),
                {GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0});
            continue;
        }
        if (!msg.hwnd && msg.message == TurnOver) view_->turnOver(); // posted before the window
        // The dialog manager gives Tab, Shift+Tab and Space their usual meaning.
        if (hwnd_ && IsDialogMessageW(hwnd_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

LRESULT CALLBACK Win32Window::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    // No exception may cross back into Windows; the view reports it and ends the program.
    try {
        return self->handle(message, wParam, lParam);
    } catch (const std::exception& e) {
        self->view_->fail(e.what());
    } catch (...) {
        self->view_->fail("unexpected error");
    }
    return 0;
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE: onActivate(LOWORD(wParam) != WA_INACTIVE); return 0;
    case WM_SETFOCUS: onActivate(true); return 0;
    case WM_COMMAND:
        if (lParam) command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case DM_GETDEFID: return defaultId_ ? MAKELRESULT(defaultId_, DC_HASDEFID) : 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        if (HBRUSH brush = colours(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_PAINT: paint(); return 0;
    case WM_TIMER: view_->tick(static_cast<int>(wParam) - 1); return 0;
    case TurnOver: view_->turnOver(); return 0;
    case WM_DPICHANGED:
        onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DESTROY:
        names_.clearAll();
        PostQuitMessage(exitCode_);
        return 0;
    default: break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Win32Window::setWindow(const Text& caption, view::PixelSize client, view::Rgb ground) {
    SetWindowTextW(hwnd_, toWide(caption).c_str());
    SetClassLongPtrW(hwnd_, GCLP_HBRBACKGROUND,
                     reinterpret_cast<LONG_PTR>(gdi_.brush(toColorRef(ground))));
    const SIZE size = windowSizeFor({client.width, client.height}, WindowStyle, dpi_);
    SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::paintBands(const std::vector<view::PaintedBand>& bands) {
    bands_ = bands;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Win32Window::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    for (const view::PaintedBand& band : bands_) {
        const view::PixelRect& r = band.rect;
        const RECT rect{r.x, r.y, r.x + r.width, r.y + r.height};
        FillRect(dc, &rect, gdi_.brush(toColorRef(band.colour)));
    }
    EndPaint(hwnd_, &ps);
}

void Win32Window::setClock(int clock, int interval, bool running) {
    const auto id = static_cast<UINT_PTR>(clock + 1); // WM_TIMER gives it back
    if (running)
        SetTimer(hwnd_, id, static_cast<UINT>(interval), nullptr);
    else
        KillTimer(hwnd_, id);
}

void Win32Window::messageBox(const Text& prompt, view::MessageIcon icon, const Text& title) {
    // The view's icons are numbered as MessageBox's: 16 stop, 32 question and so on.
    const std::wstring text = toWide(prompt), caption = toWide(title);
    MessageBoxW(hwnd_, text.c_str(), caption.c_str(), static_cast<UINT>(icon) * MB_ICONHAND);
}

void Win32Window::callAfterTurn() { PostMessageW(hwnd_, TurnOver, 0, 0); }

void Win32Window::announce(const Text& text) { names_.announce(text); }

view::LocalTime Win32Window::localTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    view::LocalTime time{now.wHour, now.wMinute, now.wSecond};
    // The person's own settings; a value the locale lacks keeps the view's default.
    const auto read = [](LCTYPE item, Text& into) {
        wchar_t buffer[80] = {};
        if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, buffer, 80) > 0)
            into = fromWide(buffer);
    };
    read(LOCALE_STIMEFORMAT, time.pattern);
    read(LOCALE_S1159, time.am);
    read(LOCALE_S2359, time.pm);
    return time;
}

void Win32Window::quit(int code) {
    exitCode_ = code;
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void Win32Window::onActivate(bool active) {
    // Like a dialog: remember the focused child when deactivated (a message box, another
    // program) and give it back on return.
    if (HWND focus = GetFocus(); !active && focus && IsChild(hwnd_, focus))
        focus_ = focus;
    else if (active && focus_ && IsWindow(focus_))
        SetFocus(focus_);
}

void Win32Window::onDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    view_->setGeometry(std::make_unique<view::PixelGeometry>(dpi));
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

} // namespace pelmora::win32

// Pelmora.exe: per-monitor DPI awareness first (before any window exists), the model of
// the window Main and its load event, then the one window and its message loop. An error
// of the load event has been reported by then.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    using namespace pelmora;
    win32::enablePerMonitorAwareness();
    win32::Win32Window window(instance);
    view::FormView view(window);
    Main model(view);
    if (!view.load(model.form(), [&] { model.load(); }) || !window.create(view, showCommand))
        return view::FailureExitCode;
    return window.run();
}
