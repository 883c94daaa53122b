#pragma once
// What the window must show after each of a person's actions, worked out here on its own,
// without asking the window's handlers or its helpers: the value of the last entry that
// parsed, the boxes, the field readouts as of the last box change, the composer readouts and
// the messages that should come up. It compares that with the window and traps on any
// difference. It does not drive the window; the fuzzer does that.

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "headless_platform.h"

namespace pelmora::fuzz {

using Shown = testing::HeadlessPlatform::Message;

// Stops the run with a readable reason; libFuzzer reports the trap and keeps the input.
[[noreturn]] void fail(const std::string& what);
// The reason is only put together when the check fails: checks run after every action.
inline void require(bool ok, const char* what, int index = -1) {
    if (!ok) fail(index < 0 ? std::string(what) : what + ("(" + std::to_string(index) + ")"));
}

// Whether a surrogate pair, one character, starts at `i`.
inline bool isPair(const Text& text, std::size_t i) {
    return i + 1 < text.size() && (text[i] & 0xFC00) == 0xD800 && (text[i + 1] & 0xFC00) == 0xDC00;
}

enum class Box { DataIn, SelectRange, SetBinary, SetHex };
inline TextBox& textBox(const Main& w, Box b) {
    TextBox* boxes[] = {&w.txtDataIn, &w.txtSelectRang, &w.TxtBitSetBinary, &w.TxtBitSetHex};
    return *boxes[static_cast<int>(b)];
}

class ExpectedWindow {
public:
    // Starts a new action: forgets the messages expected of the previous one.
    void beginAction() {
        expected_.clear();
        rangeKnown_ = true;
    }
    // A person's edit of a text box; `text` is the box's whole new text.
    void edited(Box box, const Text& text) {
        if (box == Box::DataIn) return enterData(text);
        texts_[static_cast<std::size_t>(box)] = text;
    }
    // A click on one box of either row, which flips it.
    void toggled(bool composerRow, int index) {
        const auto i = static_cast<std::size_t>(index);
        if (!composerRow) {
            view_.flip(i);
            return selectionChanged();
        }
        set_.flip(i);
        touched_.set(i);
        composerChanged();
    }
    // "Select", by mouse or Enter. Returns false when the range text is one whose reading
    // is the program's own choice (blanks, signs, separators); then adoptSelection() must
    // follow the action.
    bool selectPressed();
    void adoptSelection(const Main& w);
    void clearSelectPressed() {
        if (view_.none()) return;
        view_.reset();
        selectionChanged();
    }
    void clearSetPressed() {
        if (set_.none()) return;
        set_.reset();
        composerChanged();
    }
    void ticked(const Text& time) { clock_ = time; }

    // Compares everything with the window after one action and the messages it showed.
    void check(const Main& w, const std::vector<Shown>& messages) const;

private:
    void enterData(const Text& text);
    void selectionChanged() {
        fieldBits_ = bits_;
        fieldShown_ = true;
    }
    void composerChanged();

    std::array<Text, 4> texts_{Text(), Text(), u"0", u"0"}; // as the design has them
    std::uint32_t bits_ = 0; // the value of the last entry that parsed
    std::bitset<32> view_, set_, touched_;
    std::uint32_t fieldBits_ = 0; // bits_ at the last change of a selection box
    bool fieldShown_ = false;     // false while the readouts keep their design captions
    bool composerShown_ = false;  // false until the first composer box changes
    Text clock_ = u"Label3";

    // The current action's messages: exactly these, or for a freely read range at most one.
    std::vector<Text> expected_{};
    bool rangeKnown_ = true;
    bool viewBefore_ = false; // some selection box was ticked before "Select"
};

} // namespace pelmora::fuzz
