// One refresh pass of the real window, painting included, under the offscreen
// platform: with nothing changing (what a parked truck costs ten times a
// second) and with every value changing on every pass (the worst the line can
// bring). The pass runs through the window's own timer handler; the paints it
// causes are delivered before the next pass and counted per pass.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "bench/window/BenchWindow.h"

namespace dashvell {
namespace {

// The window opened the way the tests open it: wrappers attached, shown and
// painted once, but without its own timers, so only the benchmark runs passes.
struct BenchDash {
  bench::TempDataDirectory dir;
  std::unique_ptr<CDashDlg> dlg = bench::MakeIsolatedWindow();
  BenchDash() {
    dlg->DoDataExchange(false);
    dlg->show();
    QApplication::processEvents();
  }
  void Pass() {
    dlg->OnTimer(1);
    QApplication::processEvents();
  }
};

// Gives every value the refresh pass shows a new value, different from the
// one before, and flips every lamp's flag.
void ChangeEverything(VehicleState& s, int n) {
  const float k = float(n % 16);
  s.engineSpeedKrpm = 0.8f + 0.09f * k;
  s.vehicleSpeedMph = 40.0f + 1.3f * k;
  s.oilPressurePsi = 30.0f + 1.1f * k;
  s.coolantTempF = 170.0f + 1.7f * k;
  s.voltmeterVolts = 12.0f + 0.13f * k;
  s.fuelLevelPct = 40.0f + 1.9f * k;
  s.transOilTempF = 150.0f + 1.3f * k;
  s.boostPsi = 10.0f + 0.7f * k;
  s.fuelEconomyMpg = 5.0f + 0.3f * k;
  s.fuelRateGph = 6.0f + 0.4f * k;
  s.acceleratorPct = 20.0f + 2.1f * k;
  s.engineLoadPct = 30.0f + 2.3f * k;
  s.inletAirTempF = 60.0f + 1.1f * k;
  s.engineHours = 1234.5f + 0.05f * float(n);
  s.tripDistanceMiles = 100.0 + 0.1 * n;
  s.totalDistanceMiles = 250000.0 + 0.1 * n;
  s.tripMiles = 10.0f + 0.1f * float(n % 1000);
  const int32_t flag = n & 1;
  s.engineRedLamp = s.engineAmberLamp = s.transRedLamp = s.transAmberLamp = flag;
  s.brakeRedLamp = s.brakeAmberLamp = s.waterInFuel = s.cruiseActive = flag;
}

void BM_RefreshPassIdle(benchmark::State& state) {
  BenchDash dash;
  ChangeEverything(dash.dlg->state(), 0);
  dash.dlg->state().engineRedLamp = 0;  // a steady panel: no lamp flashing
  dash.dlg->state().engineAmberLamp = 0;
  dash.dlg->state().transRedLamp = dash.dlg->state().transAmberLamp = 0;
  dash.dlg->state().brakeRedLamp = dash.dlg->state().brakeAmberLamp = 0;
  dash.dlg->state().waterInFuel = 0;
  // Let the pointers come to rest and everything be painted once.
  for (int i = 0; i < 40; ++i) dash.Pass();
  bench::PaintCounter paints(dash.dlg.get());
  for (auto _ : state) dash.Pass();
  state.counters["paints_per_pass"] =
      benchmark::Counter(double(paints.paints()) / double(state.iterations()));
}
BENCHMARK(BM_RefreshPassIdle)->Unit(benchmark::kMicrosecond);

void BM_RefreshPassBusy(benchmark::State& state) {
  BenchDash dash;
  int n = 0;
  for (int i = 0; i < 40; ++i) {
    ChangeEverything(dash.dlg->state(), ++n);
    dash.Pass();
  }
  bench::PaintCounter paints(dash.dlg.get());
  for (auto _ : state) {
    ChangeEverything(dash.dlg->state(), ++n);
    dash.Pass();
  }
  state.counters["paints_per_pass"] =
      benchmark::Counter(double(paints.paints()) / double(state.iterations()));
}
BENCHMARK(BM_RefreshPassBusy)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace dashvell

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  dashvell::bench::ApplyProgramLook();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
