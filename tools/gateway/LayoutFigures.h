// Measures how well the record layout keeps shifted windows from passing:
// the drive's stream scanned the way the receiver scans it.
#pragma once

#include <cstddef>

namespace dashvell {

struct LayoutFigures {
  size_t records = 0;
  double streamPer1000 = 0;         // through the stream writer
  double statelessPer1000 = 0;      // EncodeGatewayRecord alone
  double zeroFreeBytesPer1000 = 0;  // every free byte 0 but the checksum
};

// Over seconds of the drive (default: one loop).
LayoutFigures MeasureLayout(double seconds = 0);

}  // namespace dashvell
