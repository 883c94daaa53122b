// Time per person's action in the core: what one keystroke, one "Select", one
// "Clear Set" and one huge paste cost before any toolkit draws anything.
#include <benchmark/benchmark.h>

#include "app/main_window.h"
#include "headless_platform.h"

namespace {

using pelmora::Main;
using pelmora::Text;

using pelmora::testing::HeadlessPlatform;

struct Loaded {
    HeadlessPlatform platform;
    Main w{platform};
    Loaded() {
        platform.recording = false; // a message per iteration would pile up
        w.load();
    }
};

// One keystroke: the change handler, parsing, decomposition and 32 cells repainted.
void Keystroke(benchmark::State& state) {
    Loaded app;
    app.w.txtDataIn.setText(u"1234567");
    const Text texts[] = {u"12345678", u"1234567F"};
    std::size_t k = 0;
    for (auto _ : state) app.w.txtDataIn.setText(texts[k++ & 1]);
}
BENCHMARK(Keystroke);

// An invalid keystroke: message, the entry shortened, the analysis run twice.
void InvalidKeystroke(benchmark::State& state) {
    Loaded app;
    app.w.txtDataIn.setText(u"1234567");
    for (auto _ : state) app.w.txtDataIn.setText(u"1234567G");
}
BENCHMARK(InvalidKeystroke);

// "Select" over 0,31: the row cleared, then 32 nested box clicks.
void SelectWholeRow(benchmark::State& state) {
    Loaded app;
    app.w.txtDataIn.setText(u"DEADBEEF");
    app.w.txtSelectRang.setText(u"0,31");
    for (auto _ : state) app.w.Command2.click();
}
BENCHMARK(SelectWholeRow);

// "Clear Set" with all 32 composer boxes ticked: 32 nested composer runs.
void ClearSetAllTicked(benchmark::State& state) {
    Loaded app;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i <= 31; ++i) app.w.BitSetCheck(i).setValue(1);
        state.ResumeTiming();
        app.w.CmdClrSet.click();
    }
}
BENCHMARK(ClearSetAllTicked);

// A megabyte pasted into the entry: refused once, without walking the whole text.
void MegabytePaste(benchmark::State& state) {
    Loaded app;
    const Text huge(std::size_t{1} << 20, u'F');
    for (auto _ : state) {
        app.w.txtDataIn.setText(huge);
        state.PauseTiming();
        app.w.txtDataIn.setText(u"");
        state.ResumeTiming();
    }
}
BENCHMARK(MegabytePaste)->Unit(benchmark::kMillisecond);

// Creating and loading the whole window model, as at start-up.
void StartUp(benchmark::State& state) {
    HeadlessPlatform platform;
    for (auto _ : state) {
        Main w(platform);
        w.load();
        benchmark::DoNotOptimize(w.form().controls().size());
    }
}
BENCHMARK(StartUp);

} // namespace

BENCHMARK_MAIN();
