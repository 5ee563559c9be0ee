// dashvell-gateway: plays the J1939-to-serial gateway on this machine, on a
// pseudo-terminal, a real serial port or into a capture file.
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "tools/gateway/FrameSource.h"
#include "tools/gateway/GatewaySession.h"
#include "tools/gateway/Options.h"
#include "tools/gateway/PtyLink.h"
#include "tools/gateway/Scenario.h"

namespace dashvell {
namespace {

volatile std::sig_atomic_t gStop = 0;
void OnSignal(int) {
  gStop = 1;
}

void CatchSignals() {
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaction(s, &sa, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}

std::unique_ptr<FrameSource> MakeSource(const GatewayOptions& o) {
  if (o.replay) {
    auto replay = std::make_unique<CandumpReplay>(*o.replay, o.speed, o.loop, std::cerr);
    if (!replay->Open()) return nullptr;
    return MakeReplaySource(std::move(replay));
  }
  ScenarioOptions so;
  so.recordsPerSecond = o.rate;
  if (o.hold) so.holdAt = PhaseEnd(*o.hold);
  return MakeScenarioSource(so);
}

// A capture needs no clock: time steps on by a millisecond at a time.
int WriteCapture(const GatewayOptions& o, GatewaySession& session) {
  std::ofstream out(o.path, std::ios::binary | std::ios::trunc);
  if (!out) {
    std::cerr << "dashvell-gateway: cannot write " << o.path << "\n";
    return 1;
  }
  const double end = o.duration ? *o.duration : o.replay ? 1e300 : ScenarioLoopSeconds();
  for (char c : std::string("AT ST1\r\n")) session.Receive(uint8_t(c), 0);
  for (long ms = 0; double(ms) / 1000 <= end && !gStop; ++ms) {
    session.Tick(double(ms) / 1000);
    std::vector<uint8_t> bytes = session.TakeOutput();
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (session.SourceEnded()) break;
  }
  out.close();
  if (!out) {
    std::cerr << "dashvell-gateway: writing " << o.path << " failed\n";
    return 1;
  }
  std::cerr << "dashvell-gateway: wrote " << session.RecordsSent() << " records to " << o.path
            << "\n";
  return 0;
}

int Serve(const GatewayOptions& o, GatewaySession& session) {
  SerialEnd end;
  std::string error;
  const bool pty = o.output == GatewayOptions::Output::kPty;
  if (!(pty ? end.OpenPty(o.path, error) : end.OpenDevice(o.path, error))) {
    std::cerr << "dashvell-gateway: " << error << "\n";
    return 1;
  }
  std::cerr << "dashvell-gateway: listening on " << o.path << "; waiting for \"AT ST1\"\n";
  const auto start = std::chrono::steady_clock::now();
  auto now = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  std::vector<uint8_t> backlog;
  constexpr size_t kBacklogLimit = 64 * 1024;  // beyond this, a stuck line loses records
  bool reportedEnd = false;
  bool wasSilent = false;
  int status = 0;
  std::ofstream log;
  if (o.logCommands) log.open(*o.logCommands, std::ios::app);
  std::string line;
  auto logByte = [&](uint8_t b, double t) {
    if (!log.is_open()) return;
    if (b == '\r' || b == '\n') {
      if (!line.empty()) {
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%.3f ", t);
        log << stamp << line << std::endl;
      }
      line.clear();
    } else if (line.size() < 64) {
      line.push_back(char(b));
    }
  };
  while (!gStop) {
    const double t = now();
    session.Tick(t);
    std::vector<uint8_t> bytes = session.TakeOutput();
    if (backlog.size() + bytes.size() <= kBacklogLimit) {
      backlog.insert(backlog.end(), bytes.begin(), bytes.end());
    }
    backlog.erase(backlog.begin(), backlog.begin() + long(end.Write(backlog)));
    end.DropUnread(t);
    if (session.Silent() != wasSilent) {
      wasSilent = session.Silent();
      std::cerr << (wasSilent ? "dashvell-gateway: link lost (silent)\n"
                              : "dashvell-gateway: link back\n");
    }
    if (session.SourceEnded() && !reportedEnd) {
      reportedEnd = true;
      std::cerr << "dashvell-gateway: the replay has ended; the line stays silent\n";
    }

    pollfd p{end.fd(), POLLIN, 0};
    int r = poll(&p, 1, 5);
    if (r < 0 && errno != EINTR) break;
    if (r <= 0) continue;
    if (p.revents & POLLIN) {
      uint8_t buf[256];
      ssize_t n = read(end.fd(), buf, sizeof buf);
      for (ssize_t i = 0; i < n; ++i) {
        const double at = now();
        logByte(buf[i], at);
        session.Receive(buf[i], at);
      }
      if (n < 0 && errno != EAGAIN && errno != EINTR && !pty) {
        std::cerr << "dashvell-gateway: " << o.path << " failed; stopping\n";
        status = 1;
        break;
      }
    }
    if ((p.revents & (POLLHUP | POLLERR | POLLNVAL)) && !pty) {
      std::cerr << "dashvell-gateway: " << o.path << " went away; stopping\n";
      status = 1;
      break;
    }
  }
  end.RemoveLink();
  std::cerr << "dashvell-gateway: sent " << session.RecordsSent() << " records\n";
  return status;
}

}  // namespace
}  // namespace dashvell

int main(int argc, char** argv) {
  using namespace dashvell;
  std::string error;
  std::optional<GatewayOptions> o =
      ParseGatewayOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!o) {
    std::cerr << "dashvell-gateway: " << error << "\n";
    return 2;
  }
  if (o->help) {
    std::cout << GatewayHelp();
    return 0;
  }
  if (o->phases) {
    std::cout << PhaseTable();
    return 0;
  }
  CatchSignals();
  std::unique_ptr<FrameSource> source = MakeSource(*o);
  if (!source) return 1;
  SessionOptions so;
  so.silentAfter = o->silentAfter;
  so.silenceFor = o->silenceFor;
  so.noiseBytes = o->noise;
  GatewaySession session(std::move(source), so);
  return o->output == GatewayOptions::Output::kWrite ? WriteCapture(*o, session)
                                                     : Serve(*o, session);
}
