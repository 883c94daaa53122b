#include "win32_window.h"

#include <commctrl.h>

#include <exception>

#include "view/layout.h"
#include "win32_text.h"

namespace pelmora::win32 {
namespace {

constexpr wchar_t ClassName[] = L"PelmoraMainWindow";
constexpr DWORD WindowStyle = WS_OVERLAPPEDWINDOW;
constexpr int ProgramIcon = 1;

HICON programIcon(HINSTANCE instance, int metricX, int metricY) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(ProgramIcon), IMAGE_ICON,
                                         GetSystemMetrics(metricX), GetSystemMetrics(metricY),
                                         LR_SHARED));
}

} // namespace

MainWindowWin32::MainWindowWin32(HINSTANCE instance)
    : instance_(instance), main_(platform_), policy_(main_.form(), platform_, [this](int code) {
          exitCode_ = code;
          if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
      }) {}

MainWindowWin32::~MainWindowWin32() { main_.form().setObserver(nullptr); }

bool MainWindowWin32::create(int showCommand) {
    // The load event runs while there is nothing on screen yet.
    if (!policy_.runOrReport([this] { main_.load(); })) return false;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &MainWindowWin32::windowProc;
    wc.hInstance = instance_;
    wc.hIcon = programIcon(instance_, SM_CXICON, SM_CYICON);
    wc.hIconSm = programIcon(instance_, SM_CXSMICON, SM_CYSMICON);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = ClassName;
    if (!RegisterClassExW(&wc)) return false;

    const std::wstring caption = toWide(main_.form().settings().caption);
    if (!CreateWindowExW(0, ClassName, caption.c_str(), WindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_, this))
        return false;
    resizeToClient();
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    if (!focus_) focus_ = controls_->firstFocus();
    if (focus_) SetFocus(focus_);
    return true;
}

int MainWindowWin32::run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Enter means what the view says, before the dialog manager gives it its own.
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && controls_ &&
            (msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd))) {
            controls_->enter(msg.hwnd, {GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                                        GetKeyState(VK_MENU) < 0});
            continue;
        }
        // The dialog manager gives Tab, Shift+Tab and Space their usual meaning.
        if (hwnd_ && IsDialogMessageW(hwnd_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

LRESULT CALLBACK MainWindowWin32::windowProc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<MainWindowWin32*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindowWin32*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    // No exception may cross back into Windows. A handler that fails outside its own
    // error trap ends the program with a message, as an untrapped run-time error does.
    try {
        return self->handle(message, wParam, lParam);
    } catch (const std::exception& e) {
        self->policy_.fail(e.what());
    } catch (...) {
        self->policy_.fail("unexpected error");
    }
    return 0;
}

LRESULT MainWindowWin32::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: onCreate(); return 0;
    case WM_ACTIVATE: onActivate(LOWORD(wParam) != WA_INACTIVE); return 0;
    case WM_SETFOCUS: onActivate(true); return 0;
    case WM_COMMAND:
        if (lParam != 0 && controls_) controls_->command(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case DM_GETDEFID:
        if (controls_ && controls_->defaultButtonId())
            return MAKELRESULT(controls_->defaultButtonId(), DC_HASDEFID);
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        if (controls_)
            if (HBRUSH brush = controls_->colours(reinterpret_cast<HWND>(lParam),
                                                  reinterpret_cast<HDC>(wParam)))
                return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_PAINT: paint(); return 0;
    case WM_TIMER:
        if (controls_) controls_->timer(wParam);
        return 0;
    case Win32Platform::SayPending: platform_.sayPending(); return 0;
    case WM_DPICHANGED:
        onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SYSCOLORCHANGE:
        if (controls_) controls_->systemColoursChanged();
        lineBrushes_.clear();
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return 0;
    case WM_DESTROY:
        platform_.setAccessibility(nullptr);
        main_.form().setObserver(nullptr);
        controls_.reset();
        names_.clearAll();
        PostQuitMessage(exitCode_);
        return 0;
    default: break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void MainWindowWin32::onCreate() {
    dpi_ = dpiApi_.dpiForWindow(hwnd_);
    fonts_.setDpi(dpi_);
    platform_.setOwner(hwnd_);
    // The live region: a window of no size, no text and no tab stop.
    names_.setLiveRegion(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                         hwnd_, nullptr, instance_, nullptr));
    platform_.setAccessibility(&names_);
    controls_ = std::make_unique<ControlWindows>(main_.form(), hwnd_, fonts_, names_, policy_);
    controls_->createAll(dpi_);
    main_.form().setObserver(controls_.get());
}

void MainWindowWin32::onActivate(bool active) {
    // Like a dialog: remember the focused child when deactivated (a message box, another
    // program) and give it back on return.
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) focus_ = focus;
    } else if (focus_ && IsWindow(focus_)) {
        SetFocus(focus_);
    }
}

void MainWindowWin32::onDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    // The controls switch to the new fonts before the old ones are deleted.
    FontCache retired = std::move(fonts_);
    fonts_ = FontCache();
    fonts_.setDpi(dpi);
    if (controls_) controls_->relayout(dpi);
    resizeToClient(&suggested);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void MainWindowWin32::resizeToClient(const RECT* at) {
    const view::PixelSize client = view::clientSize(main_.form().settings(), dpi_);
    const SIZE size = dpiApi_.windowSizeFor({client.width, client.height}, WindowStyle, 0, dpi_);
    SetWindowPos(hwnd_, nullptr, at ? at->left : 0, at ? at->top : 0, size.cx, size.cy,
                 (at ? 0 : SWP_NOMOVE) | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindowWin32::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    // The etched grooves: each line is a band of its width in its own colour.
    for (const view::LineBand& band : view::visibleLineBands(main_.form(), dpi_)) {
        const view::PixelRect& r = band.rect;
        const RECT rect{r.x, r.y, r.x + r.width, r.y + r.height};
        FillRect(dc, &rect, lineBrushes_.brush(toColorRef(band.colour)));
    }
    EndPaint(hwnd_, &ps);
}

} // namespace pelmora::win32
