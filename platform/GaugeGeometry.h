// Pure geometry of the angular gauge: value to pointer angle, mark values and
// positions, and where the dial sits in its control. No Qt, so it is tested
// with plain tables.
#pragma once

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

namespace dashvell::gauge {

// Angles are in degrees, counter-clockwise from the positive x axis (3 o'clock).
// The scale starts at the lower left and sweeps 270 degrees clockwise over the
// top to the lower right, leaving the bottom quarter open for the readouts.
inline constexpr double kStartDeg = 225.0;
inline constexpr double kSweepDeg = 270.0;
inline constexpr double kEndDeg = kStartDeg - kSweepDeg;  // -45

// Where on the scale a value is drawn: beyond either end it stays at that end,
// and a value that is not a number rests at the minimum rather than sending the
// pointer somewhere arbitrary.
constexpr double ClampToScale(double v, double min, double max) {
  if (v != v) return min;
  if (v < min) return min;
  if (v > max) return max;
  return v;
}

// 0 at the scale's start, 1 at its end. A scale without extent keeps the
// pointer at the start instead of dividing by zero.
constexpr double ScaleFraction(double v, double min, double max) {
  if (!(max > min)) return 0.0;
  return (ClampToScale(v, min, max) - min) / (max - min);
}

constexpr double ValueToAngleDeg(double v, double min, double max) {
  return kStartDeg - kSweepDeg * ScaleFraction(v, min, max);
}

// Value of major mark i (0 = the scale's start) of `count` marks spread evenly,
// both ends included.
constexpr double MajorMarkValue(double min, double max, int count, int i) {
  if (count < 2) return min;
  return min + (max - min) * i / (count - 1);
}

inline std::vector<double> MajorMarkValues(double min, double max, int count) {
  std::vector<double> out;
  for (int i = 0; i < count; ++i) out.push_back(MajorMarkValue(min, max, count, i));
  return out;
}

// The minor marks: `perMajor` evenly spaced between each pair of neighbouring
// majors, none beyond the ends.
inline std::vector<double> MinorMarkValues(double min, double max, int majorCount, int perMajor) {
  std::vector<double> out;
  if (majorCount < 2 || perMajor < 1) return out;
  for (int i = 0; i + 1 < majorCount; ++i) {
    double a = MajorMarkValue(min, max, majorCount, i);
    double b = MajorMarkValue(min, max, majorCount, i + 1);
    for (int j = 1; j <= perMajor; ++j) out.push_back(a + (b - a) * j / (perMajor + 1));
  }
  return out;
}

struct Point {
  double x = 0, y = 0;
};

// A point at `radius` from `centre` in the direction `angleDeg`, in screen
// coordinates (y grows downwards).
inline Point PolarPoint(Point centre, double radius, double angleDeg) {
  double a = angleDeg * std::numbers::pi / 180.0;
  return {centre.x + radius * std::cos(a), centre.y - radius * std::sin(a)};
}

struct Dial {
  Point centre;
  double radius = 0;
};

// The dial is a circle as wide as its control, at the top; a control taller
// than wide keeps the strip below the circle for labels and readouts. A control
// wider than tall fits the circle to its height instead.
constexpr Dial FitDial(double width, double height) {
  double r = (width < height ? width : height) / 2.0;
  return {{width / 2.0, r}, r};
}

// Text of a mark label: whole numbers without a point, others with the few
// digits they need ("14.2", not "14.200000").
inline std::string MarkLabel(double v) {
  double rounded = std::round(v * 1000.0) / 1000.0;
  if (rounded == 0.0) rounded = 0.0;  // no "-0"
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", rounded);
  return buf;
}

}  // namespace dashvell::gauge
