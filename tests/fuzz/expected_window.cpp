// What each action must do to the window, worked out without the window.
#include "expected_window.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>

namespace pelmora::fuzz {
namespace {

bool isHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

int hexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

// How "Select" reads one bound. Plain decimal integers are fixed; text with no digit in it
// is fixed as an error; anything else (blanks, a plus, a second comma) is the program's
// own choice and is not predicted.
struct Bound {
    enum { Number, Error, Free } kind;
    int value = 0;
};

Bound readBound(const Text& part) {
    bool digit = false, plain = !part.empty();
    for (std::size_t i = 0; i < part.size(); ++i) {
        const char16_t c = part[i];
        if (c >= u'0' && c <= u'9')
            digit = true;
        else if (!(c == u'-' && i == 0))
            plain = false;
    }
    if (!digit) return {Bound::Error};
    if (!plain) return {Bound::Free};
    long value = 0;
    for (char16_t c : part)
        if (c != u'-' && (value = value * 10 + (c - u'0')) > 40000) return {Bound::Error};
    if (part[0] == u'-') value = -value;
    if (value < -32768 || value > 32767) return {Bound::Error};
    return {Bound::Number, static_cast<int>(value)};
}

} // namespace

void fail(const std::string& what) {
    std::fprintf(stderr, "\n*** window invariant broken: %s\n", what.c_str());
    std::fflush(stderr);
    __builtin_trap();
}

bool longerThan(const Text& text, std::size_t limit) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isHigh(text[i]) && i + 1 < text.size() && isLow(text[i + 1])) ++i;
        if (++n > limit) return true;
    }
    return false;
}

Text binaryDigits(std::uint32_t value, int width) {
    Text out;
    for (int b = width - 1; b >= 0; --b) out += (value >> b) & 1 ? u'1' : u'0';
    return out;
}

// The C library's own hexadecimal, so the expectation shares no code with the program's.
Text hexDigits(std::uint32_t value) {
    char digits[9];
    const int n = std::snprintf(digits, sizeof digits, "%X", static_cast<unsigned>(value));
    return Text(digits, digits + n);
}

void ExpectedWindow::beginAction() {
    expected_.clear();
    rangeKnown_ = true;
}

void ExpectedWindow::edited(Box box, const Text& text) {
    if (box == Box::DataIn)
        enterData(text);
    else
        texts_[static_cast<std::size_t>(box)] = text;
}

// An entry parses when it is 1 to 8 ASCII hex digits. An invalid entry of at most eight
// characters loses its last character, one message each, until it parses or is empty:
// so it ends cut just before its first character that is not a hex digit.
void ExpectedWindow::enterData(const Text& text) {
    Text& entry = texts_[0];
    if (text == entry) return; // no change, no event
    entry = text;
    if (entry.empty()) return;
    if (longerThan(entry, 8)) {
        expected_.push_back(OverLength);
        return;
    }
    std::size_t valid = 0;
    while (valid < entry.size() && hexValue(entry[valid]) >= 0) ++valid;
    std::size_t removed = 0;
    for (std::size_t i = valid; i < entry.size(); ++i, ++removed)
        if (isHigh(entry[i]) && i + 1 < entry.size() && isLow(entry[i + 1])) ++i;
    expected_.insert(expected_.end(), removed, NotHex);
    entry.resize(valid);
    if (entry.empty()) return;
    std::uint32_t value = 0;
    for (char16_t c : entry) value = value * 16 + static_cast<std::uint32_t>(hexValue(c));
    bits_ = value;
}

bool ExpectedWindow::anyView() const {
    for (bool b : view_)
        if (b) return true;
    return false;
}

void ExpectedWindow::toggled(bool composerRow, int index) {
    const auto i = static_cast<std::size_t>(index);
    if (composerRow) {
        set_[i] = !set_[i];
        touched_[i] = true;
        composerChanged();
    } else {
        view_[i] = !view_[i];
        selectionChanged();
    }
}

bool ExpectedWindow::selectPressed() {
    viewBefore_ = anyView();
    view_.fill(false);
    const Text& range = texts_[1];
    const std::size_t comma = range.find(u',');
    const Bound low = readBound(comma == Text::npos ? range : range.substr(0, comma));
    std::optional<Bound> high;
    if (low.kind == Bound::Number && comma != Text::npos) high = readBound(range.substr(comma + 1));

    if (low.kind == Bound::Free || (high && high->kind == Bound::Free)) {
        rangeKnown_ = false;
        return false;
    }
    if (low.kind == Bound::Error || (high && high->kind == Bound::Error)) {
        expected_.push_back(BadRange);
    } else {
        int from = low.value, to = high ? high->value : low.value;
        if (from > to) std::swap(from, to);
        // Boxes exist for 0 to 31 only: ticking stops at the first missing one.
        if (from >= 0 && from <= 31)
            for (int i = from; i <= std::min(to, 31); ++i)
                view_[static_cast<std::size_t>(i)] = true;
        if (from < 0 || to > 31) expected_.push_back(BadRange);
    }
    if (viewBefore_ || anyView()) selectionChanged();
    return true;
}

// A freely read range still ticks one contiguous run, or nothing, from a cleared row.
void ExpectedWindow::adoptSelection(const Main& w) {
    int first = -1, last = -1;
    for (int i = 0; i <= 31; ++i) {
        view_[static_cast<std::size_t>(i)] = w.BitCheck(i).value() == 1;
        if (view_[static_cast<std::size_t>(i)]) {
            require(last < 0 || last == i - 1, "\"Select\" ticked boxes that are not one run");
            if (first < 0) first = i;
            last = i;
        }
    }
    if (viewBefore_ || first >= 0) selectionChanged();
}

void ExpectedWindow::clearSelectPressed() {
    if (!anyView()) return;
    view_.fill(false);
    selectionChanged();
}

void ExpectedWindow::clearSetPressed() {
    bool any = false;
    for (bool& b : set_) any = std::exchange(b, false) || any;
    if (any) composerChanged();
}

void ExpectedWindow::composerChanged() {
    composerShown_ = true;
    std::uint32_t value = 0;
    for (int i = 31; i >= 0; --i)
        value = value << 1 | (set_[static_cast<std::size_t>(i)] ? 1u : 0u);
    int width = 32;
    while (width > 1 && !((value >> (width - 1)) & 1)) --width;
    texts_[2] = binaryDigits(value, width);
    texts_[3] = hexDigits(value);
}

} // namespace pelmora::fuzz
