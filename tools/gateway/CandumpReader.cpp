#include "tools/gateway/CandumpReader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <ostream>

namespace dashvell {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Token(std::string_view& rest) {
  size_t b = 0;
  while (b < rest.size() && IsSpace(rest[b])) ++b;
  size_t e = b;
  while (e < rest.size() && !IsSpace(rest[e])) ++e;
  std::string_view t = rest.substr(b, e - b);
  rest.remove_prefix(e);
  return t;
}

bool Hex(std::string_view s, uint32_t& value) {
  if (s.empty()) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, 16);
  return ec == std::errc() && end == s.data() + s.size();
}

CandumpLine Malformed(std::string problem) {
  CandumpLine l;
  l.kind = CandumpLine::Kind::kMalformed;
  l.problem = std::move(problem);
  return l;
}

bool ParseStamp(std::string_view t, double& seconds) {
  if (t.size() < 3 || t.front() != '(' || t.back() != ')') return false;
  t = t.substr(1, t.size() - 2);
  size_t dot = t.find('.');
  std::string_view whole = t.substr(0, dot);
  std::string_view frac = dot == std::string_view::npos ? std::string_view{} : t.substr(dot + 1);
  auto digits = [](std::string_view s) {
    for (char c : s) {
      if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
  };
  if (whole.empty() || !digits(whole) || !digits(frac)) return false;
  if (dot != std::string_view::npos && frac.empty()) return false;
  seconds = std::stod(std::string(t));
  return std::isfinite(seconds);
}

}  // namespace

CandumpLine ParseCandumpLine(std::string_view line) {
  std::string_view rest = line;
  std::string_view stamp = Token(rest);
  if (stamp.empty()) return {};
  std::string_view iface = Token(rest);
  std::string_view frame = Token(rest);
  if (!Token(rest).empty()) return Malformed("more than three fields");
  CandumpLine l;
  if (!ParseStamp(stamp, l.timestamp)) return Malformed("no (seconds.micros) timestamp");
  if (iface.empty() || frame.empty()) return Malformed("expected \"(ts) iface ID#DATA\"");
  const size_t hash = frame.find('#');
  if (hash == std::string_view::npos) return Malformed("no '#' between identifier and data");
  std::string_view idText = frame.substr(0, hash);
  std::string_view dataText = frame.substr(hash + 1);
  uint32_t id = 0;
  if ((idText.size() != 3 && idText.size() != 8) || !Hex(idText, id)) {
    return Malformed("identifier is not 3 or 8 hexadecimal digits");
  }
  if (idText.size() == 3 && id > 0x7FF) return Malformed("11-bit identifier above 7FF");
  const bool fd = !dataText.empty() && dataText.front() == '#';
  const bool remote = !dataText.empty() && (dataText.front() == 'R' || dataText.front() == 'r');
  // 11-bit frames, remote requests, error frames (the error flag above the 29
  // identifier bits) and CAN FD frames carry nothing the gateway relays.
  if (idText.size() == 3 || remote || fd || id > 0x1FFFFFFF) {
    l.kind = CandumpLine::Kind::kSkipped;
    return l;
  }
  size_t n = 0;
  for (size_t i = 0; i < dataText.size();) {
    if (dataText[i] == '.') {  // cansend-style separators
      ++i;
      continue;
    }
    uint32_t byte = 0;
    if (i + 2 > dataText.size() || !Hex(dataText.substr(i, 2), byte)) {
      return Malformed("data is not pairs of hexadecimal digits");
    }
    if (n == 8) return Malformed("more than 8 data bytes");
    l.frame.data[n++] = uint8_t(byte);
    i += 2;
  }
  l.kind = CandumpLine::Kind::kFrame;
  l.frame.id = id;
  return l;
}

CandumpReplay::CandumpReplay(std::string path, double speed, bool loop, std::ostream& report)
    : path_(std::move(path)), speed_(speed > 0 ? speed : 1), loop_(loop), report_(report) {}

bool CandumpReplay::Open() {
  in_.open(path_, std::ios::binary);
  if (!in_) {
    report_ << "dashvell-gateway: cannot read the log " << path_ << "\n";
    return false;
  }
  return true;
}

std::optional<ReplayFrame> CandumpReplay::Next() {
  std::string line;
  for (;;) {
    if (!std::getline(in_, line)) {
      // A pass without a single frame would loop for ever.
      if (!loop_ || !framesThisPass_) return std::nullopt;
      in_.clear();
      in_.seekg(0);
      lineNumber_ = 0;
      firstPass_ = false;
      framesThisPass_ = false;
      firstStamp_.reset();
      passOffset_ = lastTime_ + 0.010;  // a short gap between the last and the first frame
      continue;
    }
    ++lineNumber_;
    CandumpLine l = ParseCandumpLine(line);
    if (l.kind == CandumpLine::Kind::kMalformed) {
      if (firstPass_) {
        report_ << "dashvell-gateway: " << path_ << ":" << lineNumber_ << ": " << l.problem
                << "; line skipped\n";
      }
      continue;
    }
    if (l.kind != CandumpLine::Kind::kFrame) continue;
    if (!firstStamp_) firstStamp_ = l.timestamp;
    framesThisPass_ = true;
    // A clock that steps back (a log pieced together) sends at once.
    double t = passOffset_ + (l.timestamp - *firstStamp_) / speed_;
    lastTime_ = std::max(lastTime_, t);
    return ReplayFrame{lastTime_, l.frame};
  }
}

}  // namespace dashvell
