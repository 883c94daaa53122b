#pragma once
// The child windows that draw the form's controls, and the form's clocks, translating
// what src/view decides into Win32. It owns no fonts and paints no lines.
//
// Implemented, each as src/view decides it:
//   - STATIC, EDIT, BS_CHECKBOX and push BUTTON windows, made when first visible, stacked
//     in the view's order (the dialog manager's tab order); SetTimer clocks;
//   - their place, colours (WM_CTLCOLOR*), a label's WS_BORDER frame and text (lookOf);
//   - every property change of toolkit/form.h, under one mirroring; a text the window
//     shows already is left alone (mirrorText);
//   - EN_CHANGE, BN_CLICKED (valueAfterClick), Enter (buttonForEnter), WM_TIMER, through
//     the policy; the first focus (firstFocus).

#include <windows.h>

#include <type_traits>
#include <vector>

#include "toolkit/form.h"
#include "view/input.h"
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
    // The control id of the default button (0 when there is none), which the dialog
    // manager draws with the default frame.
    int defaultButtonId() const;
    // The window the focus starts in.
    HWND firstFocus() const;
    // Enter pressed while `focus` has the focus.
    void enter(HWND focus, view::KeyModifiers modifiers);
    // After a system colour change the brushes are made again.
    void systemColoursChanged() { brushes_.clear(); }

private:
    struct Entry {
        Control* control;
        HWND hwnd;
        int id;
    };
    // The entry whose `field` (control, window or id) is `key`; nullptr for one not ours.
    template <class Key> const Entry* find(Key Entry::*field, std::type_identity_t<Key> key) const {
        for (const Entry& e : entries_)
            if (key && e.*field == key) return &e;
        return nullptr;
    }
    void create(Control& control);
    void place(const Entry& entry) const;
    void show(const Entry& entry, Property property); // one property, under one mirroring
    void showText(const Entry& entry);
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
