#pragma once
// The child windows that draw the form's controls, and the form's clocks: a STATIC per
// label, an EDIT per text box, a BUTTON per check box and push button, a SetTimer per
// timer. It translates the view policy (src/view) into Win32 and decides nothing itself.
//
// Implemented, per property change (the contract in toolkit/form.h):
//   Caption, Text (caret kept by the policy's rule), Value, ForeColour, BackColour, Left,
//   Visible (a window made on first show, put into the stacking order, which is the tab
//   order too), a Line's changes (the client repaints), a Timer's Enabled (SetTimer /
//   KillTimer).
// Person to model: EN_CHANGE, BN_CLICKED and WM_TIMER, through the policy, so nothing it
// set comes back and no tick interrupts a handler.

#include <windows.h>

#include <vector>

#include "toolkit/form.h"
#include "view/view_policy.h"
#include "win32_accessible.h"
#include "win32_gdi.h"

namespace pelmora::win32 {

class ControlWindows final : public FormObserver {
public:
    ControlWindows(Form& form, HWND parent, FontCache& fonts, AccessibleNames& names,
                   view::ViewPolicy& policy);
    ~ControlWindows() override;
    ControlWindows(const ControlWindows&) = delete;
    ControlWindows& operator=(const ControlWindows&) = delete;

    // Creates the windows the policy wants at start, and starts the enabled clocks.
    void createAll(int dpi);
    // Places every window and sets its font again for a new DPI.
    void relayout(int dpi);

    // The model changed: update the one window and property concerned.
    void controlChanged(Control& control, Property property) override;

    // WM_COMMAND from a child: the person edited, ticked or pressed something.
    void command(int id, int code);
    // WM_TIMER: a tick of clock `id`.
    void timer(UINT_PTR id);
    // Colours for WM_CTLCOLORSTATIC / WM_CTLCOLOREDIT; null for a window not ours.
    HBRUSH colours(HWND child, HDC dc);
    // The control id of the default button (0 when there is none).
    int defaultButtonId() const;
    // The first control in tab order: the focus when the window opens.
    HWND firstInTabOrder() const;
    // After a system colour change the brushes are made again.
    void systemColoursChanged() { brushes_.clear(); }

private:
    struct Entry {
        Control* control;
        HWND hwnd;
        int id;
    };
    const Entry* find(const Control& control) const;
    const Entry* findById(int id) const;
    const Entry* findByWindow(HWND hwnd) const;
    void create(Control& control);
    void place(const Entry& entry) const;
    void showText(HWND edit, const Text& text);
    void restack() const;
    void setClock(const Timer& timer);

    Form& form_;
    HWND parent_;
    FontCache& fonts_;
    AccessibleNames& names_;
    view::ViewPolicy& policy_;
    BrushCache brushes_;
    std::vector<Entry> entries_;
    std::vector<Timer*> timers_; // clock id: index + 1
    int dpi_ = 96;
    int nextId_ = 100;
};

} // namespace pelmora::win32
