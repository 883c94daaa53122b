#pragma once
// A platform for timing runs: message boxes return at once (and are counted), and the
// clock reads a fixed time, so nothing waits on a person or on the system.

#include "toolkit/platform.h"

namespace pelmora::bench {

class SilentPlatform : public Platform {
public:
    void messageBox(const Text&, int, const Text&) override { ++shown; }
    Text timeOfDayText() override { return u"12:00:00"; }
    int shown = 0;
};

} // namespace pelmora::bench
