#include "view/view_policy.h"

#include <algorithm>
#include <exception>

#include "toolkit/text.h"

namespace pelmora::view {

bool hasWidget(const Control& c) {
    return c.kind() != ControlKind::Line && c.kind() != ControlKind::Timer;
}

std::vector<Control*> widgetsAtStart(const Form& form) {
    std::vector<Control*> out = form.tabOrder();
    std::erase_if(out, [](const Control* c) { return !c->visible(); });
    for (Control* c : form.controls())
        if (hasWidget(*c) && c->visible() && std::find(out.begin(), out.end(), c) == out.end())
            out.push_back(c);
    return out;
}

std::vector<Control*> stackingOrder(const Form& form) {
    std::vector<Control*> out;
    for (Control* c : form.controls())
        if (c->kind() == ControlKind::Label) out.push_back(c);
    const std::vector<Control*> tabs = form.tabOrder();
    out.insert(out.end(), tabs.rbegin(), tabs.rend());
    return out;
}

std::vector<Timer*> timersOf(const Form& form) {
    std::vector<Timer*> out;
    for (Control* c : form.controls())
        if (auto* timer = dynamic_cast<Timer*>(c)) out.push_back(timer);
    return out;
}

std::size_t caretAfterMirror(std::size_t caret, std::size_t length) {
    return std::min(caret, length);
}

std::optional<std::size_t> mirrorText(TextView shown, TextView model, std::size_t caret) {
    if (shown == model) return std::nullopt;
    return caretAfterMirror(caret, model.size());
}

ViewPolicy::ViewPolicy(Form& form, Platform& platform, std::function<void(int)> quit)
    : form_(form), platform_(platform), quit_(std::move(quit)) {}

void ViewPolicy::forward(const std::function<void()>& action) {
    if (isMirroring()) return; // the view's own update, not the person
    if (!runOrReport(action)) quit_(FailureExitCode);
}

void ViewPolicy::tick(Timer& timer) {
    if (form_.eventDepth() == 0) forward([&timer] { timer.tick(); });
}

bool ViewPolicy::runOrReport(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const std::exception& error) {
        report(error.what());
    } catch (...) {
        report("unexpected error");
    }
    return false;
}

void ViewPolicy::fail(std::string_view what) {
    report(what);
    quit_(FailureExitCode);
}

void ViewPolicy::report(std::string_view what) {
    platform_.messageBox(fromUtf8(what), message_box::Critical, form_.settings().caption);
}

} // namespace pelmora::view
