#pragma once
// A loaded window drawn by the Qt view, shown on the offscreen platform, on a headless
// platform that records message boxes instead of blocking on them. Helpers find the
// widget of a control and count how often a control's event reaches its handler.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

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

class QtWindowTest : public ::testing::Test {
protected:
    enum class Clock { Running, Stopped };
    explicit QtWindowTest(Clock clock = Clock::Running) : model(platform) {
        model.load();
        // A stopped clock keeps "Label3" however long the set-up takes.
        if (clock == Clock::Stopped) model.Timer1.setEnabled(false);
        window = std::make_unique<QtMainWindow>(model.form(), platform);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QWidget* widget(const Control& control) const { return window->view().widgetFor(control); }
    QtLabelWidget* label(const Control& c) const { return dynamic_cast<QtLabelWidget*>(widget(c)); }
    QLineEdit* edit(const Control& c) const { return dynamic_cast<QLineEdit*>(widget(c)); }
    QCheckBox* check(const Control& c) const { return dynamic_cast<QCheckBox*>(widget(c)); }
    QPushButton* button(const Control& c) const { return dynamic_cast<QPushButton*>(widget(c)); }

    // Replaces the control's handler with a counter: what reaches the handler, and how
    // often, without the window's own behaviour getting in the way.
    int& countHandlerRuns(Control& control) {
        counters_.push_back(std::make_unique<int>(0));
        int& count = *counters_.back();
        control.setHandler([&count](std::int16_t) { ++count; });
        return count;
    }

    HeadlessPlatform platform;
    Main model;
    std::unique_ptr<QtMainWindow> window;

private:
    std::vector<std::unique_ptr<int>> counters_;
};

inline QString q(const char16_t* text) { return QString::fromUtf16(text); }

} // namespace pelmora::testing
