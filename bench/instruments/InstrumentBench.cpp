// The refresh pass writes every display, odometer and lamp ten times a second
// whether or not the value changed, so an unchanged write must cost next to
// nothing; a changed one schedules a repaint of just what moved.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "platform/AnalogDisplay.h"
#include "platform/AngularGauge.h"
#include "platform/LedRectangle.h"
#include "platform/Odometer.h"

namespace dashvell {
namespace {

GaugeLook BenchGauge() {
  GaugeLook g;
  g.min = 0;
  g.max = 8;
  g.majorMarks = 9;
  g.minorPerMajor = 4;
  g.bands = {{{0, 5, colors::kDarkBlue}, {5, 6, colors::kOrange}, {6, 8, colors::kRed}}};
  g.bandCount = 3;
  g.label1 = "RPM";
  g.label2 = "x 1000";
  g.label1Offset = 44;
  g.label2Offset = 30;
  g.large = true;
  return g;
}

// Shows the widget and lets its first paint (and its cache) happen.
template <typename W>
void Settle(W& w, int width, int height) {
  w.resize(width, height);
  w.show();
  QApplication::processEvents();
}

// Writes that change nothing shown.
template <typename W, typename Look>
void Unchanged(benchmark::State& state, const Look& look, DispId id, Variant v, int w, int h) {
  W widget(look);
  Settle(widget, w, h);
  widget.PutProperty(id, v);
  QApplication::processEvents();
  for (auto _ : state) {
    widget.PutProperty(id, v);
    benchmark::ClobberMemory();
  }
}

// Writes that alternate between two shown values: the property, the check and
// the scheduled repaint, without the paint itself (Qt merges pending updates).
template <typename W, typename Look>
void Changed(benchmark::State& state, const Look& look, DispId id, Variant a, Variant b, int w,
             int h) {
  W widget(look);
  Settle(widget, w, h);
  bool flip = false;
  for (auto _ : state) {
    widget.PutProperty(id, flip ? a : b);
    flip = !flip;
    benchmark::ClobberMemory();
  }
  QApplication::processEvents();
}

void BM_GaugeUnchanged(benchmark::State& s) {
  Unchanged<AngularGauge>(s, BenchGauge(), 65, Variant::R8(3.2), 160, 160);
}
void BM_GaugeChanged(benchmark::State& s) {
  Changed<AngularGauge>(s, BenchGauge(), 65, Variant::R8(3.2), Variant::R8(3.3), 160, 160);
}
void BM_DisplayUnchanged(benchmark::State& s) {
  Unchanged<AnalogDisplay>(s, DisplayLook{.units = " RPM", .decimals = 2}, 4204, Variant::R8(1500),
                           108, 21);
}
void BM_DisplayChanged(benchmark::State& s) {
  Changed<AnalogDisplay>(s, DisplayLook{.units = " RPM", .decimals = 2}, 4204, Variant::R8(1500),
                         Variant::R8(1512.25), 108, 21);
}
void BM_LampUnchanged(benchmark::State& s) {
  Unchanged<LedRectangle>(s, LampLook{.text = "Red Stop"}, 1, Variant::Bool(true), 72, 24);
}
void BM_LampChanged(benchmark::State& s) {
  Changed<LedRectangle>(s, LampLook{.text = "Red Stop"}, 1, Variant::Bool(true),
                        Variant::Bool(false), 72, 24);
}
void BM_OdometerUnchanged(benchmark::State& s) {
  Unchanged<Odometer>(s, OdometerLook{}, 9, Variant::R8(12873.6), 108, 20);
}
void BM_OdometerChanged(benchmark::State& s) {
  Changed<Odometer>(s, OdometerLook{}, 9, Variant::R8(12873.6), Variant::R8(12874.1), 108, 20);
}

// A pointer move painted at 160 x 160 logical pixels: the write, then a
// synchronous repaint of the whole gauge (face blit, pointer, hub).
void BM_GaugeMoveRepaintWhole(benchmark::State& state) {
  AngularGauge g(BenchGauge());
  Settle(g, 160, 160);
  double v = 0;
  for (auto _ : state) {
    v = v >= 8 ? 0 : v + 0.05;
    g.PutProperty(65, Variant::R8(v));
    g.repaint();
  }
}

// The same move as the event loop paints it: only the area the pointer left
// and entered.
void BM_GaugeMovePaintDirty(benchmark::State& state) {
  AngularGauge g(BenchGauge());
  Settle(g, 160, 160);
  double v = 0;
  for (auto _ : state) {
    v = v >= 8 ? 0 : v + 0.05;
    g.PutProperty(65, Variant::R8(v));
    QApplication::processEvents();
  }
}

// A lamp switching state and painted: one cached pixmap blitted.
void BM_LampTogglePainted(benchmark::State& state) {
  LedRectangle lamp(LampLook{.text = "Red Stop"});
  Settle(lamp, 72, 24);
  bool on = false;
  for (auto _ : state) {
    on = !on;
    lamp.PutProperty(1, Variant::Bool(on));
    lamp.repaint();
  }
}

BENCHMARK(BM_GaugeUnchanged);
BENCHMARK(BM_GaugeChanged);
BENCHMARK(BM_DisplayUnchanged);
BENCHMARK(BM_DisplayChanged);
BENCHMARK(BM_LampUnchanged);
BENCHMARK(BM_LampChanged);
BENCHMARK(BM_OdometerUnchanged);
BENCHMARK(BM_OdometerChanged);
BENCHMARK(BM_GaugeMoveRepaintWhole)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GaugeMovePaintDirty)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LampTogglePainted)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace dashvell

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
