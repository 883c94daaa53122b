#include "win32_controls.h"

#include <algorithm>

#include "app/accessible_names.h"
#include "view/input.h"
#include "view/layout.h"
#include "view/look.h"
#include "win32_text.h"

namespace pelmora::win32 {
namespace {

// WS_BORDER is drawn by Windows in the window-frame colour, the one the view frames
// labels in.
static_assert(view::LabelBorderColour == colours::system(COLOR_WINDOWFRAME));

struct WindowKind {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

WindowKind windowKind(const Control& c) {
    // Clipped by their siblings, overlapping windows show the stacking order whatever
    // order they paint in.
    const DWORD visible = (c.visible() ? WS_VISIBLE : 0) | WS_CLIPSIBLINGS;
    const auto align = static_cast<std::size_t>(c.alignment()); // Left, Right, Centre
    switch (c.kind()) {
    case ControlKind::Label: {
        // Labels wrap like the design's and never treat '&' as a mnemonic.
        const DWORD border = view::lookOf(c, view::BaseDpi).border ? WS_BORDER : 0;
        const DWORD styles[] = {SS_LEFT, SS_RIGHT, SS_CENTER};
        return {L"STATIC", WS_CHILD | visible | SS_NOPREFIX | styles[align] | border, 0};
    }
    case ControlKind::TextBox: {
        const DWORD styles[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
        return {L"EDIT", WS_CHILD | visible | WS_TABSTOP | ES_AUTOHSCROLL | styles[align],
                WS_EX_CLIENTEDGE};
    }
    case ControlKind::CheckBox:
        // BS_CHECKBOX leaves the tick to us, so the model's value is what shows.
        return {L"BUTTON", WS_CHILD | visible | WS_TABSTOP | BS_CHECKBOX, 0};
    case ControlKind::CommandButton: {
        const bool isDefault = static_cast<const CommandButton&>(c).isDefault();
        return {L"BUTTON",
                WS_CHILD | visible | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                0};
    }
    case ControlKind::Line:
    case ControlKind::Timer: break;
    }
    return {nullptr, 0, 0};
}

} // namespace

ControlWindows::ControlWindows(Form& form, HWND parent, FontCache& fonts, AccessibleNames& names,
                               view::ViewPolicy& policy)
    : form_(form), parent_(parent), fonts_(fonts), names_(names), policy_(policy),
      timers_(view::timersOf(form)) {}

ControlWindows::~ControlWindows() {
    for (std::size_t i = 0; i < timers_.size(); ++i) KillTimer(parent_, i + 1);
}

void ControlWindows::createAll(int dpi) {
    dpi_ = dpi;
    // Created in tab order, which is the order Tab walks the children in.
    for (Control* c : view::widgetsAtStart(form_)) create(*c);
    restack();
    for (const Timer* timer : timers_) setClock(*timer);
}

void ControlWindows::restack() const {
    // The last raised is on top; the dialog manager's Tab follows the stack down.
    for (Control* c : view::stackingOrder(form_))
        if (const Entry* e = find(&Entry::control, c))
            SetWindowPos(e->hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ControlWindows::create(Control& control) {
    const WindowKind kind = windowKind(control);
    const view::PixelRect r = view::controlRect(control, dpi_);
    const int id = nextId_++;
    HWND hwnd = CreateWindowExW(
        kind.exStyle, kind.className, L"", kind.style, r.x, r.y, r.width, r.height, parent_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return;
    entries_.push_back({&control, hwnd, id});
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.font(control.font())), FALSE);
    if (control.kind() == ControlKind::TextBox) // no limit: long entries reach the model
        SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);
    show(entries_.back(),
         control.kind() == ControlKind::CheckBox ? Property::Value : Property::Text);
    names_.setName(hwnd, accessibleName(control));
}

void ControlWindows::place(const Entry& entry) const {
    const view::PixelRect r = view::controlRect(*entry.control, dpi_);
    SetWindowPos(entry.hwnd, nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlWindows::relayout(int dpi) {
    dpi_ = dpi;
    for (const Entry& e : entries_) {
        place(e);
        SendMessageW(e.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.font(e.control->font())),
                     TRUE);
    }
}

void ControlWindows::showText(const Entry& e) {
    const Text text = view::shownText(*e.control);
    if (e.control->kind() != ControlKind::TextBox) {
        SetWindowTextW(e.hwnd, toWide(text).c_str());
        return;
    }
    DWORD start = 0, end = 0;
    SendMessageW(e.hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    const auto caret = view::mirrorText(windowText(e.hwnd), text, end);
    if (!caret) return;
    SetWindowTextW(e.hwnd, toWide(text).c_str());
    SendMessageW(e.hwnd, EM_SETSEL, static_cast<WPARAM>(*caret), static_cast<LPARAM>(*caret));
}

void ControlWindows::setClock(const Timer& timer) {
    const auto id = static_cast<UINT_PTR>(std::find(timers_.begin(), timers_.end(), &timer) -
                                          timers_.begin() + 1);
    if (timer.enabled())
        SetTimer(parent_, id, static_cast<UINT>(timer.interval()), nullptr);
    else
        KillTimer(parent_, id);
}

void ControlWindows::controlChanged(Control& control, Property property) {
    if (control.kind() == ControlKind::Line) {
        InvalidateRect(parent_, nullptr, TRUE); // lines are the client's own painting
        return;
    }
    if (control.kind() == ControlKind::Timer) return setClock(static_cast<Timer&>(control));
    const Entry* e = find(&Entry::control, &control);
    if (!e) {
        // First shown now: the window is made late, as if it had been there hidden.
        if (property == Property::Visible && control.visible()) {
            create(control);
            restack();
        }
        return;
    }
    show(*e, property);
}

void ControlWindows::show(const Entry& e, Property property) {
    const auto mirroring = policy_.mirroring();
    switch (property) {
    case Property::Caption:
    case Property::Text: showText(e); break;
    case Property::Value:
        SendMessageW(e.hwnd, BM_SETCHECK,
                     static_cast<CheckBox&>(*e.control).value() ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    case Property::ForeColour:
    case Property::BackColour: InvalidateRect(e.hwnd, nullptr, TRUE); break;
    case Property::Left: place(e); break;
    case Property::Visible: ShowWindow(e.hwnd, e.control->visible() ? SW_SHOWNA : SW_HIDE); break;
    case Property::Enabled: break;
    }
}

void ControlWindows::command(int id, int code) {
    const Entry* e = find(&Entry::id, id);
    if (!e) return;
    Control& c = *e->control;
    if (c.kind() == ControlKind::TextBox && code == EN_CHANGE) {
        HWND edit = e->hwnd;
        policy_.forward([&c, edit] { static_cast<TextBox&>(c).setText(windowText(edit)); });
    } else if (c.kind() == ControlKind::CheckBox && code == BN_CLICKED) {
        auto& box = static_cast<CheckBox&>(c);
        policy_.forward([&box] { box.setValue(view::valueAfterClick(box)); });
    } else if (c.kind() == ControlKind::CommandButton && code == BN_CLICKED) {
        policy_.forward([&c] { static_cast<CommandButton&>(c).click(); });
    }
}

void ControlWindows::timer(UINT_PTR id) {
    if (id >= 1 && id <= timers_.size()) policy_.tick(*timers_[id - 1]);
}

HBRUSH ControlWindows::colours(HWND child, HDC dc) {
    const Entry* e = find(&Entry::hwnd, child);
    if (!e) return nullptr;
    const view::Look look = view::lookOf(*e->control, dpi_);
    const COLORREF back = toColorRef(look.back);
    SetTextColor(dc, toColorRef(look.fore));
    SetBkColor(dc, back);
    SetBkMode(dc, OPAQUE);
    return brushes_.brush(back);
}

int ControlWindows::defaultButtonId() const {
    if (CommandButton* button = form_.defaultButton())
        if (const Entry* e = find(&Entry::control, button)) return e->id;
    return 0;
}

HWND ControlWindows::firstFocus() const {
    const Entry* e = find(&Entry::control, view::firstFocus(form_));
    return e ? e->hwnd : nullptr;
}

void ControlWindows::enter(HWND focus, view::KeyModifiers modifiers) {
    const Entry* e = find(&Entry::hwnd, focus);
    if (CommandButton* button = view::buttonForEnter(form_, e ? e->control : nullptr, modifiers))
        policy_.forward([button] { button->click(); });
}

} // namespace pelmora::win32
