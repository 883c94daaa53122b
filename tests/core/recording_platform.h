#pragma once
// A stand-in for the machine: records every message box with what the entry showed at
// that moment, answers as if OK was pressed, and tells a fixed time of day.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "toolkit/convert.h"
#include "toolkit/platform.h"

namespace pelmora::testing {

struct ShownMessage {
    Text prompt;
    int flags;
    Text title;
    Text entryText; // txtDataIn while the message was up
    std::int32_t highWord, lowWord;
};

class RecordingPlatform : public Platform {
public:
    void messageBox(const Text& prompt, int flags, const Text& title) override {
        messages.push_back({prompt, flags, title, window ? window->txtDataIn.text() : Text(),
                            window ? window->dataDef().HighWord : 0,
                            window ? window->dataDef().LowWord : 0});
    }
    Text timeOfDayText() override { return time; }

    const Main* window = nullptr;
    std::vector<ShownMessage> messages;
    Text time = u"14:05:09";
};

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

    RecordingPlatform platform;
    Main w;
};

inline std::string utf8(const Text& t) { return toUtf8(t); }

} // namespace pelmora::testing
