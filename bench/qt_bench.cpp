// Time per person's action through the Qt front end, on the offscreen platform: from
// the key event reaching the entry (or the click reaching a button) until every widget
// whose control changed holds its new value. Painting is left out on purpose: Qt paints
// later, once per frame, however many keystrokes came in between.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "app/main_window.h"
#include "frontends/qt/qt_application.h"
#include "frontends/qt/qt_main_window.h"
#include "headless_platform.h"

namespace {

using pelmora::Main;
using pelmora::QtMainWindow;
using pelmora::Text;

using pelmora::testing::HeadlessPlatform;

// The whole program as main() builds it, shown on the offscreen screen.
struct ShownWindow {
    HeadlessPlatform platform;
    Main model{platform};
    std::unique_ptr<QtMainWindow> window;

    ShownWindow() {
        platform.recording = false; // a message per iteration would pile up
        model.load();
        window = std::make_unique<QtMainWindow>(model.form(), platform);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) std::abort();
    }
    template <class W> W* widget(const pelmora::Control& c) {
        return static_cast<W*>(window->view().widgetFor(c));
    }
};

// One keystroke: typing an eighth digit, then taking it back with Backspace. Each
// changes most of the 32 cells, the decimal readouts and, on the way, the selection.
void QtKeystroke(benchmark::State& state) {
    ShownWindow app;
    auto* entry = app.widget<QLineEdit>(app.model.txtDataIn);
    entry->setFocus();
    QTest::keyClicks(entry, QStringLiteral("1234567"));
    bool typed = false;
    for (auto _ : state) {
        QTest::keyClick(entry, typed ? Qt::Key_Backspace : Qt::Key_F);
        typed = !typed;
    }
    if (app.model.txtDataIn.text().substr(0, 7) != u"1234567") state.SkipWithError("lost text");
}
BENCHMARK(QtKeystroke)->Unit(benchmark::kMicrosecond);

// "Select" over 0,31 pressed with the mouse: 32 boxes ticked and their widgets updated.
void QtSelectWholeRow(benchmark::State& state) {
    ShownWindow app;
    app.model.txtDataIn.setText(u"DEADBEEF");
    app.model.txtSelectRang.setText(u"0,31");
    auto* select = app.widget<QPushButton>(app.model.Command2);
    for (auto _ : state) select->click();
}
BENCHMARK(QtSelectWholeRow)->Unit(benchmark::kMicrosecond);

// "Clear Set" pressed with all 32 composer boxes ticked.
void QtClearSetAllTicked(benchmark::State& state) {
    ShownWindow app;
    auto* clear = app.widget<QPushButton>(app.model.CmdClrSet);
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i <= 31; ++i) app.model.BitSetCheck(i).setValue(1);
        state.ResumeTiming();
        clear->click();
    }
}
BENCHMARK(QtClearSetAllTicked)->Unit(benchmark::kMicrosecond);

// A megabyte pasted into the entry: the entry shows it, the program refuses it with a
// message and the entry is put back.
void QtMegabytePaste(benchmark::State& state) {
    ShownWindow app;
    auto* entry = app.widget<QLineEdit>(app.model.txtDataIn);
    entry->setFocus();
    const QString huge(1 << 20, u'F');
    for (auto _ : state) {
        entry->insert(huge); // what QLineEdit::paste() does with the clipboard's text
        state.PauseTiming();
        entry->clear();
        app.model.txtDataIn.setText(u"");
        state.ResumeTiming();
    }
}
BENCHMARK(QtMegabytePaste)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    pelmora::configureApplicationQt(app);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
