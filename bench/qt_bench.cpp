// Time per person's action through the Qt front end, on the offscreen platform: from
// the key event reaching the entry (or the click reaching a button) until every widget
// whose control changed holds its new value. Painting is left out on purpose: Qt paints
// later, once per frame, however many keystrokes came in between.
#include <benchmark/benchmark.h>

#include "frontends/qt/qt_application.h"
#include "qt_window_fixture.h"

namespace {

using pelmora::testing::ShownWindow;

// The whole program as main() builds it, shown on the offscreen screen; a message per
// iteration would pile up, so boxes are only counted.
struct BenchWindow : ShownWindow {
    BenchWindow() {
        if (!shown) std::abort();
        window.recording = false;
    }
};

// One keystroke: typing an eighth digit, then taking it back with Backspace. Each
// changes most of the 32 cells, the decimal readouts and, on the way, the selection.
void QtKeystroke(benchmark::State& state) {
    BenchWindow app;
    QLineEdit* entry = app.edit(app.model.txtDataIn);
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
    BenchWindow app;
    app.model.txtDataIn.setText(u"DEADBEEF");
    app.model.txtSelectRang.setText(u"0,31");
    QPushButton* select = app.button(app.model.Command2);
    for (auto _ : state) select->click();
}
BENCHMARK(QtSelectWholeRow)->Unit(benchmark::kMicrosecond);

// "Clear Set" pressed with all 32 composer boxes ticked.
void QtClearSetAllTicked(benchmark::State& state) {
    BenchWindow app;
    QPushButton* clear = app.button(app.model.CmdClrSet);
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
    BenchWindow app;
    QLineEdit* entry = app.edit(app.model.txtDataIn);
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
