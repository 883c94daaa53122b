// What each action must do to the window, worked out without the window, and the comparison
// of the window with it, control by control.
#include "expected_window.h"

#include <bit>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

namespace pelmora::fuzz {
namespace {

// The only messages the window may show, all titled "出错" with flags 16.
const Text OverLength = u"不处理超过32bit的数据", NotHex = u"请正确输入16进制数",
           BadRange = u"输入查看位范围有错";
constexpr std::uint32_t Red = 0x0000FF, LightBlue = 0xFFC0C0, Silver = 0xC0C0C0;

std::size_t characters(const Text& text, std::size_t from = 0) {
    std::size_t n = 0;
    for (std::size_t i = from; i < text.size(); i += isPair(text, i) ? 2 : 1) ++n;
    return n;
}

// The `width` low bits, most significant first; the C library's hexadecimal. The
// expectation shares no conversion code with the program.
Text binaryDigits(std::uint32_t value, int width) {
    return std::bitset<32>(value).to_string(u'0', u'1').substr(32 - std::size_t(width));
}

Text hexDigits(std::uint32_t value) {
    char digits[9];
    const int n = std::snprintf(digits, sizeof digits, "%X", static_cast<unsigned>(value));
    return Text(digits, digits + n);
}

// How "Select" reads one bound. Plain decimal integers are fixed; text with no digit in it
// is fixed as an error; anything else (blanks, a plus, a second comma) is the program's
// own choice and is not predicted.
struct Bound {
    enum { Number, Error, Free } kind;
    int value = 0;
};

Bound readBound(const Text& part) {
    const Text digits = u"0123456789";
    if (part.find_first_of(digits) == Text::npos) return {Bound::Error};
    if (part.find_first_not_of(digits, part[0] == u'-' ? 1 : 0) != Text::npos) return {Bound::Free};
    const long value = std::strtol(std::string(part.begin(), part.end()).c_str(), nullptr, 10);
    if (value < -32768 || value > 32767) return {Bound::Error};
    return {Bound::Number, static_cast<int>(value)};
}

std::string show(const Text& t) {
    std::string out;
    for (char16_t c : t.substr(0, 40)) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\u%04X", unsigned{c});
        out += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c)) : buf;
    }
    return t.size() > 40 ? out + "...(" + std::to_string(t.size()) + " units)" : out;
}

void same(const Text& got, const Text& want, const char* what, int index = -1) {
    if (got == want) return;
    const std::string where = index < 0 ? what : what + ("(" + std::to_string(index) + ")");
    fail(where + ": shows \"" + show(got) + "\", expected \"" + show(want) + "\"");
}

} // namespace

void fail(const std::string& what) {
    std::fprintf(stderr, "\n*** window invariant broken: %s\n", what.c_str());
    std::fflush(stderr);
    __builtin_trap();
}

// An entry parses when it is 1 to 8 ASCII hex digits. An invalid entry of at most eight
// characters (a surrogate pair is one) loses its last character, one message each, until
// it parses or is empty: so it ends cut just before its first character that is no digit.
void ExpectedWindow::enterData(const Text& text) {
    Text& entry = texts_[0];
    if (text == entry) return; // no change, no event
    entry = text;
    if (characters(entry) > 8) return expected_.push_back(OverLength);
    std::size_t valid = 0;
    while (valid < entry.size() && entry[valid] < 0x80 && std::isxdigit(entry[valid])) ++valid;
    expected_.insert(expected_.end(), characters(entry, valid), NotHex);
    entry.resize(valid);
    if (entry.empty()) return;
    const std::string digits(entry.begin(), entry.end());
    bits_ = static_cast<std::uint32_t>(std::strtoul(digits.c_str(), nullptr, 16));
}

bool ExpectedWindow::selectPressed() {
    viewBefore_ = view_.any();
    view_.reset();
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
            for (int i = from; i <= std::min(to, 31); ++i) view_.set(static_cast<std::size_t>(i));
        if (from < 0 || to > 31) expected_.push_back(BadRange);
    }
    if (viewBefore_ || view_.any()) selectionChanged();
    return true;
}

// A freely read range still ticks one contiguous run, or nothing, from a cleared row.
void ExpectedWindow::adoptSelection(const Main& w) {
    for (int i = 0; i <= 31; ++i) view_[static_cast<std::size_t>(i)] = w.BitCheck(i).value() == 1;
    // Shifted down to bit 0, one run is all ones: adding one carries out of every bit.
    const auto ticked = static_cast<std::uint32_t>(view_.to_ulong());
    const std::uint32_t run = ticked ? ticked >> std::countr_zero(ticked) : 0;
    require((run & (run + 1)) == 0, "\"Select\" ticked boxes that are not one run");
    if (viewBefore_ || ticked) selectionChanged();
}

void ExpectedWindow::composerChanged() {
    composerShown_ = true;
    const auto composed = static_cast<std::uint32_t>(set_.to_ulong());
    texts_[2] = binaryDigits(composed, std::max(1u, std::bit_width(composed)));
    texts_[3] = hexDigits(composed);
}

void ExpectedWindow::check(const Main& w, const std::vector<Shown>& messages) const {
    require(w.form().eventDepth() == 0, "a handler is still running after the action");
    require(w.form().maxEventDepth() <= 9, "handlers nested too deep; depth",
            w.form().maxEventDepth());
    for (const Shown& m : messages) {
        same(m.title, u"出错", "message title");
        require(m.flags == 16, "message flags", m.flags);
    }
    if (rangeKnown_) {
        require(messages.size() == expected_.size(), "messages, expected",
                static_cast<int>(expected_.size()));
        for (std::size_t i = 0; i < messages.size(); ++i)
            same(messages[i].prompt, expected_[i], "message", static_cast<int>(i));
    } else {
        require(messages.size() <= 1, "more than one message for one \"Select\"");
        if (!messages.empty()) same(messages[0].prompt, BadRange, "message");
    }
    for (std::size_t b = 0; b < texts_.size(); ++b) {
        const TextBox& box = textBox(w, static_cast<Box>(b));
        same(box.text(), texts_[b], box.name().c_str());
    }

    const DataDef& data = w.dataDef();
    require(static_cast<std::uint32_t>(data.HighWord) == bits_ >> 16 &&
                static_cast<std::uint32_t>(data.LowWord) == (bits_ & 0xFFFF),
            "HighWord/LowWord do not hold the last entry that parsed");
    for (int i = 0; i <= 31; ++i) {
        const auto u = static_cast<std::size_t>(i);
        const bool bit = (bits_ >> i) & 1;
        require(data.BitArray(i) == (bit ? 1 : 0), "BitArray", i);
        same(w.LblBitInfo(i).caption(), bit ? u"1" : u"0", "LblBitInfo", i);
        require(w.LblBitInfo(i).backColour() == (bit ? Red : LightBlue), "LblBitInfo colour", i);
        require(w.BitCheck(i).value() == (view_[u] ? 1 : 0), "BitCheck", i);

        require(w.BitSetCheck(i).value() == (set_[u] ? 1 : 0), "BitSetCheck", i);
        require(data.BitSetArray(i) == (set_[u] ? 1 : 0), "BitSetArray", i);
        same(w.LblBitSetInfo(i).caption(), set_[u] ? u"1" : u"0", "LblBitSetInfo", i);
        const std::uint32_t cell = !touched_[u] ? LightBlue : set_[u] ? Red : Silver;
        require(w.LblBitSetInfo(i).backColour() == cell, "LblBitSetInfo colour", i);
    }

    // The field: the lowest run of ticked boxes, read from the value of the last box change.
    Text binary = u"0B", hex = u"0H";
    if (fieldShown_) {
        const auto ticked = static_cast<std::uint32_t>(view_.to_ulong());
        const int low = std::countr_zero(ticked);
        const int width = ticked ? std::countr_one(ticked >> low) : 0;
        const auto field = static_cast<std::uint32_t>(
            width == 0 ? 0 : (fieldBits_ >> low) & ((1ull << width) - 1));
        binary = (width == 0 ? u"0" : binaryDigits(field, width)) + u"B";
        hex = u"0" + hexDigits(field) + u"H";
    }
    same(w.LblBitSelected.caption(), binary, "LblBitSelected");
    same(w.lblBitSelectedHex.caption(), hex, "lblBitSelectedHex");

    // The hidden composer readouts change, but never show; zero leaves the binary one empty.
    require(!w.LblBitSetBinary.visible(), "LblBitSetBinary became visible");
    const auto composed = static_cast<std::uint32_t>(set_.to_ulong());
    same(w.LblBitSetBinary.caption(),
         composerShown_ ? binaryDigits(composed, std::bit_width(composed)) : u"0",
         "LblBitSetBinary");
    for (int k = 0; k <= 7; ++k) {
        require(!w.LblBitSetHex(k).visible(), "LblBitSetHex became visible", k);
        same(w.LblBitSetHex(k).caption(), hexDigits((composed >> (4 * k)) & 0xF), "LblBitSetHex",
             k);
    }
    same(w.Label3.caption(), clock_, "Label3");
}

} // namespace pelmora::fuzz
