#pragma once
// QtFontWarmUp reads the system's font configuration on a second thread while the main
// thread starts the application and connects to the display. Reading it (fontconfig's
// parse of its XML files) is the largest single cost of the first painted window, and
// nothing before the first font look-up needs it. It changes no setting and picks no
// font: the font configuration it loads is the one Qt would load itself a moment later.
// Construct it first thing in main(); call wait() before the first widget is made.

#include <thread>

namespace pelmora {

class QtFontWarmUp {
public:
    QtFontWarmUp();
    ~QtFontWarmUp() { wait(); }
    QtFontWarmUp(const QtFontWarmUp&) = delete;
    QtFontWarmUp& operator=(const QtFontWarmUp&) = delete;

    // Returns once the configuration is loaded, so that Qt does not load it a second
    // time beside the warm-up thread.
    void wait();

private:
    std::thread thread_;
};

} // namespace pelmora
