#pragma once
// A machine with nobody at it, for the fuzzer and the benchmarks that run the window without
// a view: a message box is recorded and returns as if OK was pressed, the clock tells a
// fixed time, and nothing is said to a screen reader.

#include <vector>

#include "toolkit/platform.h"

namespace pelmora::testing {

class HeadlessPlatform final : public Platform {
public:
    struct Message {
        Text prompt;
        int flags;
        Text title;
    };

    void messageBox(const Text& prompt, int flags, const Text& title) override {
        if (recording) messages.push_back({prompt, flags, title});
    }
    Text timeOfDayText() override { return time; }
    void announce(const Text&) override {}

    bool recording = true; // benchmarks only let them pass
    std::vector<Message> messages;
    Text time = u"14:05:09";
};

} // namespace pelmora::testing
