// Comparing the window with what it must show, control by control.
#include <cstdio>

#include "expected_window.h"

namespace pelmora::fuzz {
namespace {

constexpr std::uint32_t Red = 0x0000FF, LightBlue = 0xFFC0C0, Silver = 0xC0C0C0;

std::string show(const Text& t) {
    std::string out;
    for (char16_t c : t.substr(0, 40)) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char buf[12];
            std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
            out += buf;
        }
    }
    if (t.size() > 40) out += "...(" + std::to_string(t.size()) + " units)";
    return out;
}

void same(const Text& got, const Text& want, const char* what, int index = -1) {
    if (got == want) return;
    const std::string where = index < 0 ? what : what + ("(" + std::to_string(index) + ")");
    fail(where + ": shows \"" + show(got) + "\", expected \"" + show(want) + "\"");
}

} // namespace

void ExpectedWindow::check(const Main& w, const std::vector<Shown>& messages) const {
    const Form& form = w.form();
    require(form.eventDepth() == 0, "a handler is still running after the action");
    require(form.maxEventDepth() <= 9, "handlers nested too deep; depth", form.maxEventDepth());

    for (const Shown& m : messages) {
        same(m.title, u"出错", "message title");
        require(m.flags == 16, "message flags", m.flags);
        if (m.prompt != OverLength && m.prompt != NotHex && m.prompt != BadRange)
            fail("unexpected message \"" + show(m.prompt) + "\"");
    }
    if (rangeKnown_) {
        if (messages.size() != expected_.size())
            fail(std::to_string(messages.size()) + " messages, expected " +
                 std::to_string(expected_.size()));
        for (std::size_t i = 0; i < messages.size(); ++i)
            same(messages[i].prompt, expected_[i], "message", static_cast<int>(i));
    } else {
        require(messages.size() <= 1, "more than one message for one \"Select\"");
    }

    same(w.txtDataIn.text(), texts_[0], "txtDataIn");
    same(w.txtSelectRang.text(), texts_[1], "txtSelectRang");
    same(w.TxtBitSetBinary.text(), texts_[2], "TxtBitSetBinary");
    same(w.TxtBitSetHex.text(), texts_[3], "TxtBitSetHex");

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
        int low = 0;
        while (low <= 31 && !view_[static_cast<std::size_t>(low)]) ++low;
        int width = 0;
        while (low + width <= 31 && view_[static_cast<std::size_t>(low + width)]) ++width;
        const std::uint64_t field = width == 0 ? 0 : (fieldBits_ >> low) & ((1ull << width) - 1);
        binary =
            (width == 0 ? u"0" : binaryDigits(static_cast<std::uint32_t>(field), width)) + u"B";
        hex = u"0" + hexDigits(static_cast<std::uint32_t>(field)) + u"H";
    }
    same(w.LblBitSelected.caption(), binary, "LblBitSelected");
    same(w.lblBitSelectedHex.caption(), hex, "lblBitSelectedHex");

    // The hidden composer readouts change, but never show.
    std::uint32_t value = 0;
    for (int i = 31; i >= 0; --i)
        value = value << 1 | (set_[static_cast<std::size_t>(i)] ? 1u : 0u);
    require(!w.LblBitSetBinary.visible(), "LblBitSetBinary became visible");
    int width = 32;
    while (width > 0 && !((value >> (width - 1)) & 1)) --width;
    same(w.LblBitSetBinary.caption(), composerShown_ ? binaryDigits(value, width) : u"0",
         "LblBitSetBinary");
    for (int k = 0; k <= 7; ++k) {
        require(!w.LblBitSetHex(k).visible(), "LblBitSetHex became visible", k);
        same(w.LblBitSetHex(k).caption(), hexDigits((value >> (4 * k)) & 0xF), "LblBitSetHex", k);
    }
    same(w.Label3.caption(), clock_, "Label3");
}

} // namespace pelmora::fuzz
