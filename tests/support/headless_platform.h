#pragma once
// A machine with nobody at it, for every test, fuzzer and benchmark that runs the window
// without a desktop: a message box is recorded, with what the entry and the parsed halves
// held at that moment when the window is known, and returns as if OK was pressed; the
// clock tells a fixed time; what a screen reader would say is recorded.

#include <cstdint>
#include <functional>
#include <vector>

#include "app/main_window.h"
#include "toolkit/platform.h"

namespace pelmora::testing {

class HeadlessPlatform final : public Platform {
public:
    struct Message {
        Text prompt;
        int flags;
        Text title;
        Text entryText; // txtDataIn while the message was up
        std::int32_t highWord, lowWord;
    };

    void messageBox(const Text& prompt, int flags, const Text& title) override {
        ++shown;
        if (recording)
            messages.push_back({prompt, flags, title, window ? window->txtDataIn.text() : Text(),
                                window ? window->dataDef().HighWord : 0,
                                window ? window->dataDef().LowWord : 0});
        if (whileShown) whileShown();
    }
    Text timeOfDayText() override { return time; }
    void announce(const Text& text) override { announced.push_back(text); }

    const Main* window = nullptr; // whose state a message records, if set
    bool recording = true;        // benchmarks only count
    int shown = 0;
    std::vector<Message> messages;
    std::vector<Text> announced;      // what a screen reader was given to say
    std::function<void()> whileShown; // runs as if the box were up
    Text time = u"14:05:09";
};

} // namespace pelmora::testing
