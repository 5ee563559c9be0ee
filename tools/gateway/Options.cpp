#include "tools/gateway/Options.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "tools/gateway/LayoutFigures.h"
#include "tools/gateway/Scenario.h"

namespace dashvell {
namespace {

bool Number(const std::string& s, double& v) {
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && end == s.data() + s.size() && std::isfinite(v);
}

}  // namespace

std::optional<GatewayOptions> ParseGatewayOptions(const std::vector<std::string>& args,
                                                  std::string& error) {
  GatewayOptions o;
  int outputs = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& v) {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return false;
      }
      v = args[++i];
      return true;
    };
    auto number = [&](double& v, double min, const char* what) {
      std::string s;
      if (!value(s)) return false;
      if (!Number(s, v) || v < min) {
        error = a + " needs " + what + ", not \"" + s + "\"";
        return false;
      }
      return true;
    };
    std::string s;
    double d = 0;
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--phases") {
      o.phases = true;
    } else if (a == "--pty" || a == "--device" || a == "--write") {
      if (!value(o.path)) return std::nullopt;
      o.output = a == "--pty"      ? GatewayOptions::Output::kPty
                 : a == "--device" ? GatewayOptions::Output::kDevice
                                   : GatewayOptions::Output::kWrite;
      ++outputs;
    } else if (a == "--replay") {
      if (!value(s)) return std::nullopt;
      o.replay = s;
    } else if (a == "--speed") {
      if (!number(o.speed, 0, "a positive factor")) return std::nullopt;
      if (o.speed <= 0) {
        error = "--speed needs a positive factor";
        return std::nullopt;
      }
    } else if (a == "--loop") {
      o.loop = true;
    } else if (a == "--rate") {
      if (!number(o.rate, 1, "a number of records a second")) return std::nullopt;
      if (o.rate > kMaxRecordsPerSecond) {
        error = "--rate is at most 576, what 115200 baud carries in 20-byte records";
        return std::nullopt;
      }
    } else if (a == "--silent-after") {
      if (!number(d, 0, "seconds")) return std::nullopt;
      o.silentAfter = d;
    } else if (a == "--silence-for") {
      if (!number(o.silenceFor, 0, "seconds")) return std::nullopt;
    } else if (a == "--duration") {
      if (!number(d, 0, "seconds")) return std::nullopt;
      o.duration = d;
    } else if (a == "--log-commands") {
      if (!value(s)) return std::nullopt;
      o.logCommands = s;
    } else if (a == "--noise") {
      if (!number(d, 0, "a number of bytes") || d != double(unsigned(d)) || d > 1000) {
        if (error.empty()) error = "--noise needs a whole number of bytes, 0 to 1000";
        return std::nullopt;
      }
      o.noise = unsigned(d);
    } else if (a == "--hold") {
      if (!value(s)) return std::nullopt;
      if (!PhaseEnd(s)) {
        error = "--hold: no phase \"" + s + "\" (see --phases)";
        return std::nullopt;
      }
      o.hold = s;
    } else {
      error = "unknown argument \"" + a + "\" (see --help)";
      return std::nullopt;
    }
  }
  if (o.help || o.phases) return o;
  if (outputs != 1) {
    error = "give exactly one of --pty LINK, --device PATH, --write FILE";
    return std::nullopt;
  }
  if (o.replay && (o.rate > 0 || o.hold)) {
    error = "--rate and --hold play the built-in drive, not a --replay";
    return std::nullopt;
  }
  if (!o.replay && (o.loop || o.speed != 1)) {
    error = "--loop and --speed belong to --replay";
    return std::nullopt;
  }
  if (o.output == GatewayOptions::Output::kWrite && o.loop && !o.duration) {
    error = "--write with --loop needs --duration";
    return std::nullopt;
  }
  return o;
}

std::string PhaseTable() {
  std::ostringstream s;
  char line[200];
  std::snprintf(line, sizeof line, "  %-32s %6s %6s %5s %5s %5s %5s %5s\n", "phase", "start", "rpm",
                "mph", "cool", "oil", "boost", "volts");
  s << line;
  double t = 0;
  for (const Phase& p : ScenarioPhases()) {
    std::snprintf(line, sizeof line, "  %-32.*s %5.0fs %6.0f %5.0f %5.0f %5.0f %5.0f %5.1f\n",
                  int(p.name.size()), p.name.data(), t, p.rpm, p.mph, p.coolantF, p.oilPsi,
                  p.boostPsi, p.volts);
    s << line;
    t += p.seconds;
  }
  s << "  (values at each phase's end; the drive loops after " << ScenarioLoopSeconds() << " s)\n";
  return s.str();
}

std::string GatewayHelp() {
  const LayoutFigures f = MeasureLayout();
  std::ostringstream s;
  s << R"(usage: dashvell-gateway (--pty LINK | --device PATH | --write FILE) [options]

Plays a J1939-to-serial gateway: relays CAN frames as 20-byte records at
115200 baud and answers the dashboard's text commands.

Where it talks (exactly one):
  --pty LINK        create a pseudo-terminal (115200 baud, raw) and make LINK,
                    for example ports/COM1 beside the dashboard, a symbolic
                    link to it; the link goes away on exit, SIGINT and SIGTERM.
                    A LINK that exists and is not a symbolic link is refused.
  --device PATH     use a real serial port (a null-modem cable to another PC)
  --write FILE      write the stream to FILE, as if "AT ST1" had arrived, for
                    --duration seconds (default one loop of the drive) or until
                    the replay ends; a capture for dashvell-decode

What it streams:
  (default)         a built-in drive at the broadcast rates of real trucks:
                    EEC1 every 20 ms; EEC2, CCVS, LFE every 100 ms; ET1,
                    EFL/P1, IC1, DD, VEP1, OI, VD, transmission fluids and DM1
                    from engine, transmission and brakes every second
  --phases          list the drive's phases and exit
  --hold PHASE      stream the drive frozen at the end of PHASE
  --rate N          N records a second of the drive's mix (1 to 576, what
                    115200 baud carries), for load tests
  --replay LOG      a can-utils candump log ("candump -L" lines
                    "(ts) iface ID#DATA") with its original timing; 11-bit,
                    remote, error and CAN FD frames are skipped, a malformed
                    line is reported once with its line number and skipped
  --speed X         replay X times as fast
  --loop            start the log again after its end
  --duration S      with --write: seconds of stream to write

Link loss:
  --silent-after S  S seconds after streaming began, fall silent once (nothing
                    is sent or answered); the next "AT ST1" brings it back
  --silence-for D   stay silent at least D seconds, ignoring "AT ST1" (default 0)

Faults and observation:
  --noise N         N random bytes of line noise after every record (the
                    stream writer does not know them, as with real noise)
  --log-commands F  append every line received to F as "SECONDS LINE", the
                    seconds counted from the start of the program

Commands (CR LF or CR ends a line; either case):
  AT ST1            start streaming (nothing is sent before it)
  AT EH             one HOURS record (PGN 65253); in a replay the log's last
  AT RV             the gateway's input voltage, "AT DV=12.6V" CR LF
  other AT lines    "OK" CR LF; anything else: no answer

Record layout (bytes 0..19; the receiver reads only 5..8 and 10..17):
  0       sequence number, one up per record
  1..3    'D' 'V' 'G' (stepped on when that would let a shifted window pass)
  4       adjust: bytes 0..4 sum to 0x6B x sequence (mod 256)
  5       identifier bits 28..21 (priority, EDP, DP, PF bits 7..5)
  6       bits 7..5: PF bits 4..2; bits 4..2: zero; bits 1..0: PF bits 1..0
  7       PS (destination address or group extension)
  8       SA (source address)
  9       adjust: bytes 0..9 sum to 0x9D x sequence
  10..17  J1939 data bytes 1..8 (0xFF where the CAN frame was shorter)
  18      adjust: bytes 0..18 sum to 0x35 x sequence
  19      checksum: the 20 bytes sum to 0 modulo 256
  The receiver tries its checksum at every byte. A window shifted k bytes into
  the next record sums to the difference of the two records' k-byte prefix
  sums; the adjust bytes make those step with the sequence number, and the
  stream writer, which knows what it sent before, moves bytes 1..4, 9 and 18
  off any value that would still let a window ending in the new record pass.
  A text reply goes out after one lead byte chosen the same way for the
  windows that end inside the text (the receiver restarts its line at "AT ").
)";
  char line[512];
  std::snprintf(line, sizeof line,
                "  Shifted windows that pass, per 1000 records of the drive (%zu records):\n"
                "    this stream:                          %.2f\n"
                "    the same records encoded one by one:  %.2f\n"
                "    free bytes all zero, for comparison:  %.2f\n",
                f.records, f.streamPer1000, f.statelessPer1000, f.zeroFreeBytesPer1000);
  s << line;
  return s.str();
}

}  // namespace dashvell
