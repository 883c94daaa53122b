#pragma once
// The top-level window "Pelmoria" on Win32: it owns the model of the window Main, raises
// its load event before anything is shown, creates the child windows, paints the etched
// lines, drives the timer and runs the dialog-style message loop that gives Tab, Enter
// and Space their usual meaning. Behaviour stays in the model; this only draws it and
// passes on what the person does.

#include <windows.h>

#include <memory>

#include "app/main_window.h"
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

    // Creates and shows the window; false when Windows refused to create it.
    bool create(int showCommand);
    // The message loop; returns the process exit code once the window is closed.
    int run();

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void onCreate();
    void onActivate(bool active);
    void onDpiChanged(int dpi, const RECT& suggested);
    void onTimer(UINT_PTR id);
    void paint();
    void resizeToClient();
    void closeAfterFailure(const char* what);

    HINSTANCE instance_;
    DpiApi dpiApi_;
    Win32Platform platform_;
    Main main_;
    AccessibleNames names_;
    FontCache fonts_;
    BrushCache lineBrushes_;
    std::unique_ptr<ControlWindows> controls_;
    HWND hwnd_ = nullptr;
    HWND focus_ = nullptr; // the child to give the focus back to on reactivation
    int dpi_ = 96;
};

} // namespace pelmora::win32
