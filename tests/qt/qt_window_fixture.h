#pragma once
// The program's window in a test or benchmark: loaded, drawn by QtWindow and shown, with
// nobody at it. Its message boxes are recorded and return at once, as if OK was pressed
// (after `whileShown`), unless `realBoxes`; its clock reads 14:05:09; all else is the real
// front end. Helpers find the widget of a control, count how often a control's event
// reaches its handler, and run the event loop until the program ends.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

#include "app/main_window.h"
#include "frontends/qt/qt_label_widget.h"
#include "frontends/qt/qt_text.h"
#include "frontends/qt/qt_window.h"

namespace pelmora::testing {

class TestWindow final : public QtWindow {
public:
    struct Message {
        Text prompt;
        view::MessageIcon icon;
        Text title;
    };
    void messageBox(const Text& prompt, view::MessageIcon icon, const Text& title) override {
        if (realBoxes) return QtWindow::messageBox(prompt, icon, title);
        if (recording) messages.push_back({prompt, icon, title});
        if (whileShown) whileShown();
    }
    view::LocalTime localTime() override { return {14, 5, 9}; }

    bool realBoxes = false;
    bool recording = true; // benchmarks only let them pass
    std::vector<Message> messages;
    std::function<void()> whileShown; // runs as if the box were up
};

// The window as main() builds it, shown and active. It does not fail anything itself:
// `shown` says whether the window came up within the deadline.
struct ShownWindow {
    enum class Clock { Running, Stopped };
    explicit ShownWindow(Clock clock = Clock::Running) {
        window.view().load(model.form(), [this] { model.load(); });
        // A stopped clock keeps "Label3" however long the set-up takes.
        if (clock == Clock::Stopped) model.Timer1.setEnabled(false);
        window.view().show();
        window.show();
        window.activateWindow();
        shown = QTest::qWaitForWindowActive(&window);
    }

    QWidget* widget(const Control& c) { return window.widget(window.view().widgetOf(c)); }
    QtLabelWidget* label(const Control& c) { return dynamic_cast<QtLabelWidget*>(widget(c)); }
    QLineEdit* edit(const Control& c) { return dynamic_cast<QLineEdit*>(widget(c)); }
    QCheckBox* check(const Control& c) { return dynamic_cast<QCheckBox*>(widget(c)); }
    QPushButton* button(const Control& c) { return dynamic_cast<QPushButton*>(widget(c)); }

    TestWindow window;
    Main model{window.view()};
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
