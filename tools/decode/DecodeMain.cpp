// dashvell-decode: replays a capture of the gateway's serial stream through
// the dashboard's receive stream and prints what it decoded as JSON.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "core/ReceiveStream.h"
#include "core/VehicleState.h"
#include "tools/decode/StateJson.h"

namespace {

constexpr const char kHelp[] =
    R"(usage: dashvell-decode [--each] [FILE | -]

Reads the raw bytes of a capture of the gateway's serial stream (as saved by
any terminal program, or written by dashvell-gateway --write) from FILE, or
from standard input when FILE is "-" or absent, and hands every byte, in
order, to the same receive stream the dashboard uses, with self-test off.

Prints one line of JSON on standard output: every field the receive path
writes, by its name in the vehicle state (engineSpeedKrpm ... totalDistanceMiles,
canVolts, the six lamp flags, waterInFuel, cruiseActive, frameSeen, hoursSeen,
adcVolts, adcReplyCount, adcReplySeen), then "frames", the number of 20-byte
windows that passed the checksum and were decoded. Values print as the stored
float or double widened to double, in the shortest text that reads back to
that double (a float 12.3 prints 12.300000190734863); flags and counters
print as integers. Nothing is ever cleared: the values are what the stream
left after the last byte.

  --each   print such a line after every decoded window instead of once at
           the end (nothing when no window passes)
  --help   this text

Exit status: 0 on success; 1 when the input cannot be read or the output
cannot be written (one line on standard error naming the file and the
reason); 2 for a wrong command line.
)";

int Usage(const char* problem) {
  std::fprintf(stderr, "dashvell-decode: %s\nusage: dashvell-decode [--each] [FILE | -]\n",
               problem);
  return 2;
}

bool PrintLine(const std::string& line) {
  return std::fwrite(line.data(), 1, line.size(), stdout) == line.size() &&
         std::fputc('\n', stdout) != EOF;
}

}  // namespace

int main(int argc, char** argv) {
  bool each = false;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kHelp, stdout);
      return 0;
    }
    if (arg == "--each") {
      each = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage(("unknown option " + std::string(arg)).c_str());
    } else if (path) {
      return Usage("only one input file");
    } else {
      path = argv[i];
    }
  }
  const bool fromStdin = !path || std::string_view(path) == "-";
  const char* name = fromStdin ? "standard input" : path;

  const int in = fromStdin ? STDIN_FILENO : ::open(path, O_RDONLY | O_CLOEXEC);
  if (in < 0) {
    std::fprintf(stderr, "dashvell-decode: cannot read %s: %s\n", name, std::strerror(errno));
    return 1;
  }

  dashvell::VehicleState state;
  dashvell::ReceiveStream stream(state);
  unsigned char chunk[1 << 16];
  bool written = true;
  for (;;) {
    // read() rather than stdio, so that a live pipe is decoded as bytes come.
    const ssize_t n = ::read(in, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      std::fprintf(stderr, "dashvell-decode: cannot read %s: %s\n", name, std::strerror(errno));
      return 1;
    }
    if (n == 0) break;
    for (ssize_t i = 0; i < n; ++i) {
      const uint64_t before = stream.FramesDecoded();
      stream.ReceiveByte(chunk[i]);
      if (each && stream.FramesDecoded() != before) {
        written = written && PrintLine(dashvell::StateJson(state, stream.FramesDecoded()));
      }
    }
    if (each) written = written && std::fflush(stdout) == 0;
  }
  if (!fromStdin) ::close(in);

  if (!each) written = PrintLine(dashvell::StateJson(state, stream.FramesDecoded()));
  if (!written || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "dashvell-decode: cannot write standard output: %s\n",
                 std::strerror(errno));
    return 1;
  }
  return 0;
}
