// Reads can-utils candump logs in the -L form "(ts) iface ID#DATA", which is
// what --replay streams: 29-bit frames with their original timing.
#pragma once

#include <fstream>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "tools/gateway/CanFrame.h"

namespace dashvell {

struct CandumpLine {
  enum class Kind {
    kFrame,      // a 29-bit data frame
    kSkipped,    // a valid line the gateway would not relay: 11-bit, remote,
                 // error or CAN FD frame
    kBlank,      // nothing but white space
    kMalformed,  // anything else; problem says what
  };
  Kind kind = Kind::kBlank;
  double timestamp = 0;  // seconds
  CanFrame frame;        // data bytes beyond the frame's length are 0xFF
  std::string problem;
};

CandumpLine ParseCandumpLine(std::string_view line);

struct ReplayFrame {
  double time = 0;  // seconds after the log's first frame, at the replay speed
  CanFrame frame;
};

// Streams a log frame by frame. Each malformed line is reported once on the
// report stream, with its line number, and skipped; with loop set the log
// starts again after its last frame (and reports nothing the second time).
class CandumpReplay {
 public:
  CandumpReplay(std::string path, double speed, bool loop, std::ostream& report);
  bool Open();  // false (and reported) when the log cannot be read
  std::optional<ReplayFrame> Next();

 private:
  std::string path_;
  double speed_;
  bool loop_;
  std::ostream& report_;
  std::ifstream in_;
  size_t lineNumber_ = 0;
  bool firstPass_ = true;
  bool framesThisPass_ = false;
  std::optional<double> firstStamp_;  // of the current pass
  double passOffset_ = 0;             // replay time at which the current pass began
  double lastTime_ = 0;
};

}  // namespace dashvell
