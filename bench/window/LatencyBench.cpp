// A record's way through the real program: from the moment the last byte of
// a CCVS record with a new vehicle speed is written at the far end of a
// pseudo-terminal to the moment display 1018 shows that speed, with the real
// serial control, the real timers and the real event loop. Records go out at
// a random phase to the 100 ms refresh timer, so the figures cover the whole
// wait for the next pass. Prints p50, p99 and max in milliseconds.
//   bench_latency [RECORDS]   (default 1000)
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <vector>

#include "bench/window/BenchWindow.h"
#include "core/GatewayRecord.h"
#include "platform/AnalogDisplay.h"

namespace dashvell {
namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// The gateway's end: a pty master whose slave is linked as ports/COM1.
struct FarEnd {
  int fd = -1;
  explicit FarEnd(const std::filesystem::path& dataDir) {
    fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0 || ::grantpt(fd) != 0 || ::unlockpt(fd) != 0) std::abort();
    std::filesystem::create_directories(dataDir / "ports");
    std::filesystem::create_symlink(::ptsname(fd), dataDir / "ports" / "COM1");
  }
  ~FarEnd() { ::close(fd); }
  // What the dashboard sends (its commands) is read and dropped.
  void Drain() {
    char buf[256];
    while (::read(fd, buf, sizeof buf) > 0) {
    }
  }
  bool Write(const GatewayRecord& r) {
    size_t done = 0;
    while (done < r.size()) {
      ssize_t n = ::write(fd, r.data() + done, r.size() - done);
      if (n < 0) return false;
      done += size_t(n);
    }
    return true;
  }
};

// CCVS (PGN 65265) from the engine with wheel-based speed raw/256 km/h.
GatewayRecord SpeedRecord(GatewayRecordWriter& writer, uint16_t raw) {
  std::array<uint8_t, 8> data{0xFF, uint8_t(raw & 0xFF), uint8_t(raw >> 8), 0xFF, 0xFF, 0xFF, 0xFF,
                              0xFF};
  return writer.Encode(J1939Id(6, 65265, 0), data);
}

// Runs the event loop for a while without spinning.
void PumpFor(std::chrono::microseconds d) {
  QEventLoop loop;
  QTimer::singleShot(std::chrono::duration_cast<std::chrono::milliseconds>(d), Qt::PreciseTimer,
                     &loop, &QEventLoop::quit);
  loop.exec();
}

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  size_t i = size_t(p * double(v.size() - 1) + 0.5);
  return v[std::min(i, v.size() - 1)];
}

int Run(int records) {
  bench::TempDataDirectory dir;
  FarEnd far(dir.path());
  auto dlg = bench::MakeRealWindow();
  dlg->OnInitDialog();
  dlg->show();
  QSocketNotifier commands(far.fd, QSocketNotifier::Read);
  QObject::connect(&commands, &QSocketNotifier::activated, [&far] { far.Drain(); });
  auto* shown = dynamic_cast<AnalogDisplay*>(dlg->item(1018));
  if (!shown || dlg->state().portOpen == 0) {
    std::fprintf(stderr, "bench_latency: the window did not open its port\n");
    return 1;
  }
  GatewayRecordWriter writer;
  std::mt19937 random(1018);
  std::uniform_int_distribution<int> phaseUs(0, 100000);
  // Warm up: the link is live and the first passes are done.
  for (int i = 0; i < 10; ++i) {
    far.Write(SpeedRecord(writer, uint16_t(5000 + i)));
    PumpFor(std::chrono::milliseconds(100));
  }
  std::vector<double> latencies;
  int missed = 0;
  for (int i = 0; i < records; ++i) {
    PumpFor(std::chrono::microseconds(phaseUs(random)));
    const double before = shown->shownValue();
    const uint16_t raw = uint16_t(8000 + (i % 2 ? 64 * (i % 97) : 32 * (i % 89) + 7000));
    if (!far.Write(SpeedRecord(writer, raw))) return 1;
    const auto written = Clock::now();
    const auto giveUp = written + std::chrono::seconds(1);
    bool seen = false;
    while (Clock::now() < giveUp) {
      QApplication::processEvents(QEventLoop::WaitForMoreEvents);
      if (shown->shownValue() != before) {
        latencies.push_back(Ms(Clock::now() - written));
        seen = true;
        break;
      }
    }
    if (!seen) ++missed;
  }
  dlg.reset();
  if (latencies.empty()) {
    std::fprintf(stderr, "bench_latency: no record was shown\n");
    return 1;
  }
  std::printf(
      "latency_p50_ms %.2f\nlatency_p99_ms %.2f\nlatency_max_ms %.2f\nrecords %zu\n"
      "missed %d\n",
      Percentile(latencies, 0.50), Percentile(latencies, 0.99), Percentile(latencies, 1.0),
      latencies.size(), missed);
  return missed == 0 ? 0 : 1;
}

}  // namespace
}  // namespace dashvell

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  dashvell::bench::ApplyProgramLook();
  const int records = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
  return dashvell::Run(records);
}
