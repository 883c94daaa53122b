#pragma once
// A loaded window on a headless machine, and the ways a test drives it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "headless_platform.h"
#include "toolkit/convert.h"

namespace pelmora::testing {

// A loaded window, as the person sees it after start.
class Window : public ::testing::Test {
protected:
    Window() : w(platform) {
        platform.window = &w;
        w.load();
    }

    // Types `text` one character at a time at the end of the entry.
    void type(const std::string& utf8) {
        const Text text = fromUtf8(utf8);
        for (char16_t c : text) w.txtDataIn.setText(w.txtDataIn.text() + c);
    }
    void tickSelection(int first, int last) {
        for (int i = first; i <= last; ++i) w.BitCheck(i).setValue(1);
    }
    Text cells() const { // captions of the analysis row, bit 31 first
        Text out;
        for (int i = 31; i >= 0; --i) out += w.LblBitInfo(i).caption();
        return out;
    }

    HeadlessPlatform platform;
    Main w;
};

inline std::string utf8(const Text& t) { return toUtf8(t); }

} // namespace pelmora::testing
