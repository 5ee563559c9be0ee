// The command line of dashvell-gateway and its --help text.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace dashvell {

struct GatewayOptions {
  enum class Output { kNone, kPty, kDevice, kWrite };
  Output output = Output::kNone;
  std::string path;  // the link, the device or the capture file
  std::optional<std::string> replay;
  double speed = 1;
  bool loop = false;
  double rate = 0;  // records a second; 0: the scenario's own rates
  std::optional<double> silentAfter;
  double silenceFor = 0;
  std::optional<double> duration;
  std::optional<std::string> hold;         // a phase name
  std::optional<std::string> logCommands;  // each received line, with its time
  unsigned noise = 0;                      // random bytes after every record
  bool help = false;
  bool phases = false;
};

inline constexpr double kMaxRecordsPerSecond = 576;  // 115200 baud / 10 bits / 20 bytes

// Parses argv; on a usage error returns nothing and sets error to one line.
std::optional<GatewayOptions> ParseGatewayOptions(const std::vector<std::string>& args,
                                                  std::string& error);

std::string GatewayHelp();
std::string PhaseTable();

}  // namespace dashvell
