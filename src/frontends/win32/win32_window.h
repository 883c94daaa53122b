#pragma once
// The top-level window on Win32, titled with the form's caption: it owns the model of the
// window Main, raises its load event before anything shows, creates the child windows,
// paints the lines and runs the message loop: Enter as the view says, Tab and Space by the
// dialog manager. Behaviour is the model's and decisions the view's; this draws.

#include <windows.h>

#include <memory>

#include "app/main_window.h"
#include "view/view_policy.h"
#include "win32_accessible.h"
#include "win32_controls.h"
#include "win32_dpi.h"
#include "win32_gdi.h"
#include "win32_platform.h"

namespace pelmora::win32 {

class MainWindowWin32 {
public:
    explicit MainWindowWin32(HINSTANCE instance);
    ~MainWindowWin32();
    MainWindowWin32(const MainWindowWin32&) = delete;
    MainWindowWin32& operator=(const MainWindowWin32&) = delete;

    // Creates and shows the window; false when the load event failed (after saying why)
    // or Windows refused to create it.
    bool create(int showCommand);
    // The message loop; returns the process exit code once the window is closed.
    int run();

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void onCreate();
    void onActivate(bool active);
    void onDpiChanged(int dpi, const RECT& suggested);
    void paint();
    void resizeToClient(const RECT* at = nullptr); // at: the new place, else where it is

    HINSTANCE instance_;
    DpiApi dpiApi_;
    Win32Platform platform_;
    Main main_;
    view::ViewPolicy policy_;
    AccessibleNames names_;
    FontCache fonts_;
    BrushCache lineBrushes_;
    std::unique_ptr<ControlWindows> controls_;
    HWND hwnd_ = nullptr;
    HWND focus_ = nullptr; // the child to give the focus back to on reactivation
    int dpi_ = 96;
    int exitCode_ = 0;
};

} // namespace pelmora::win32
