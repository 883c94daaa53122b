#pragma once
// The program's window in a test or benchmark: loaded, drawn by the Qt view and shown, on
// a headless platform that records message boxes instead of blocking on them. Helpers find
// the widget of a control, count how often a control's event reaches its handler, and run
// the event loop until the program ends.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "frontends/qt/qt_label_widget.h"
#include "frontends/qt/qt_main_window.h"
#include "frontends/qt/qt_text.h"
#include "headless_platform.h"

namespace pelmora::testing {

// The window as main() builds it, shown and active. It does not fail anything itself:
// `shown` says whether the window came up within the deadline.
struct ShownWindow {
    enum class Clock { Running, Stopped };
    explicit ShownWindow(Clock clock = Clock::Running) : model(platform) {
        model.load();
        // A stopped clock keeps "Label3" however long the set-up takes.
        if (clock == Clock::Stopped) model.Timer1.setEnabled(false);
        window = std::make_unique<QtMainWindow>(model.form(), platform);
        window->show();
        window->activateWindow();
        shown = QTest::qWaitForWindowActive(window.get());
    }

    QWidget* widget(const Control& control) const { return window->view().widgetFor(control); }
    QtLabelWidget* label(const Control& c) const { return dynamic_cast<QtLabelWidget*>(widget(c)); }
    QLineEdit* edit(const Control& c) const { return dynamic_cast<QLineEdit*>(widget(c)); }
    QCheckBox* check(const Control& c) const { return dynamic_cast<QCheckBox*>(widget(c)); }
    QPushButton* button(const Control& c) const { return dynamic_cast<QPushButton*>(widget(c)); }

    HeadlessPlatform platform;
    Main model;
    std::unique_ptr<QtMainWindow> window;
    bool shown = false;
};

class QtWindowTest : public ::testing::Test, public ShownWindow {
protected:
    explicit QtWindowTest(Clock clock = Clock::Running) : ShownWindow(clock) { EXPECT_TRUE(shown); }

    // Replaces the control's handler with a counter: what reaches the handler, and how
    // often, without the window's own behaviour getting in the way.
    int& countHandlerRuns(Control& control) {
        counters_.push_back(std::make_unique<int>(0));
        int& count = *counters_.back();
        control.setHandler([&count](std::int16_t) { ++count; });
        return count;
    }

private:
    std::vector<std::unique_ptr<int>> counters_;
};

// Runs the event loop as main() does, with `first` as its first event, and returns the
// code the program ends with. The deadline only bounds a hang, ending the loop with -1;
// its timer goes with the call, so it cannot end a later test's loop.
inline int exitCodeAfter(const std::function<void()>& first) {
    QTimer::singleShot(0, qApp, first);
    QTimer watchdog;
    watchdog.callOnTimeout([] { QCoreApplication::exit(-1); });
    watchdog.start(30000);
    return QApplication::exec();
}

inline QString q(const char16_t* text) { return QString::fromUtf16(text); }

} // namespace pelmora::testing
