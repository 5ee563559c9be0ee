// A housekeeping cycle wired to a recording serial control (port open), a fake
// millisecond counter, a settable clock, a recording window and a counting
// settings save; Pass() runs one pass and returns the commands it sent.
#pragma once

#include <string>
#include <vector>

#include "dash/HousekeepingCycle.h"
#include "dash/tests/DashFakes.h"
#include "link/tests/LinkFakes.h"

namespace dashvell::testing {

struct HousekeepingFixture {
  HousekeepingFixture() {
    comm.Attach(&serial);
    state.portOpen = 1;
  }

  std::vector<std::string> Pass() {
    serial.ClearLog();
    cycle.RunHousekeepingCycle();
    return SentLines();
  }

  // The command lines the serial control was given, without their CR LF.
  std::vector<std::string> SentLines() const {
    std::vector<std::string> lines;
    const std::string text = TransmittedText(serial);
    std::size_t at = 0;
    while (at < text.size()) {
      std::size_t end = text.find("\r\n", at);
      if (end == std::string::npos) {
        lines.push_back(text.substr(at) + "<unterminated>");
        break;
      }
      lines.push_back(text.substr(at, end - at));
      at = end + 2;
    }
    return lines;
  }

  VehicleState state;
  RecordingControl serial;
  CMSComm comm;
  FakeCounter counter;
  GatewayCommands commands{state, comm, counter};
  SelfTest selfTest{state, commands};
  FakeClock clock;
  RecordingDashWindow window;
  int saves = 0;
  bool saveSucceeds = true;
  HousekeepingCycle cycle{state, commands, selfTest, clock, window, [this] {
                            ++saves;
                            if (saveSucceeds) state.settingsDirty = 0;
                          }};
};

}  // namespace dashvell::testing
