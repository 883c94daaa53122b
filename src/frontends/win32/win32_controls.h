#pragma once
// The child windows that draw the form's controls: a STATIC per label, an EDIT per text
// box, a BUTTON per check box and push button. It creates them in tab order, mirrors
// every property change of the model onto exactly the window concerned, and turns what
// the person does (EN_CHANGE, BN_CLICKED) into the model's setters. Lines and the timer
// have no window; the owner draws and drives them.

#include <windows.h>

#include <vector>

#include "toolkit/form.h"
#include "win32_accessible.h"
#include "win32_gdi.h"

namespace pelmora::win32 {

class ControlWindows final : public FormObserver {
public:
    ControlWindows(Form& form, HWND parent, FontCache& fonts, AccessibleNames& names);
    ControlWindows(const ControlWindows&) = delete;
    ControlWindows& operator=(const ControlWindows&) = delete;

    // Creates a window for every control that has one, focusable controls first in tab
    // order so that Tab follows it; controls hidden in the model are created hidden.
    void createAll(int dpi);
    // Places every window and sets its font again for a new DPI.
    void relayout(int dpi);

    // The model changed: update the one window and property concerned.
    void controlChanged(Control& control, Property property) override;

    // WM_COMMAND from a child: the person edited, ticked or pressed something.
    void command(int id, int code);
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
    void create(Control& control, int dpi);
    void place(const Entry& entry, int dpi) const;
    // Sets an edit's text for the model without the EN_CHANGE reaching the model.
    void mirrorText(HWND edit, const Text& text);

    Form& form_;
    HWND parent_;
    FontCache& fonts_;
    AccessibleNames& names_;
    BrushCache brushes_;
    std::vector<Entry> entries_;
    int dpi_ = 96;
    int nextId_ = 100;
    bool mirroring_ = false; // true while our own SetWindowTextW runs
};

} // namespace pelmora::win32
