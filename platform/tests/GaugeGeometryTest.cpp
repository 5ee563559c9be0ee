#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/DialogUnits.h"
#include "platform/GaugeGeometry.h"
#include "platform/tests/NamedRows.h"

namespace dashvell::gauge {
using dashvell::PrintTo;
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct AngleRow {
  const char* name;
  double v, min, max;
  double angle;
};

class ValueToAngle : public ::testing::TestWithParam<AngleRow> {};

TEST_P(ValueToAngle, MapsTheScaleClockwiseFromLowerLeft) {
  const AngleRow& r = GetParam();
  EXPECT_NEAR(ValueToAngleDeg(r.v, r.min, r.max), r.angle, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ValueToAngle,
    ::testing::Values(AngleRow{"MinimumAtLowerLeft", 0, 0, 8, 225},
                      AngleRow{"MidScaleStraightUp", 4, 0, 8, 90},
                      AngleRow{"MaximumAtLowerRight", 8, 0, 8, -45},
                      AngleRow{"QuarterAtUpperLeft", 40, 0, 160, 157.5},
                      AngleRow{"NegativeMinimumCoolantRest", -40, -40, 260, 225},
                      AngleRow{"CoolantHundredTen", 110, -40, 260, 90},
                      AngleRow{"VoltmeterBelowScaleHeldAtStart", 0, 6, 30, 225},
                      AngleRow{"BeyondMaximumHeldAtEnd", 9.5, 0, 8, -45},
                      AngleRow{"InfinityHeldAtEnd", kInf, 0, 8, -45},
                      AngleRow{"MinusInfinityHeldAtStart", -kInf, 0, 8, 225},
                      AngleRow{"NotANumberRestsAtStart", kNaN, 0, 8, 225},
                      AngleRow{"EmptyScaleStaysAtStart", 5, 3, 3, 225}),
    [](const auto& info) { return std::string(info.param.name); });

struct MarkRow {
  const char* name;
  double min, max;
  int majors, minorPer;
  std::vector<double> firstMajors;  // the first few, in order
  size_t minorCount;
  std::vector<double> firstMinors;
};

class Marks : public ::testing::TestWithParam<MarkRow> {};

TEST_P(Marks, FallOnTheDashboardsSteps) {
  const MarkRow& r = GetParam();
  std::vector<double> majors = MajorMarkValues(r.min, r.max, r.majors);
  ASSERT_EQ(majors.size(), size_t(r.majors));
  EXPECT_DOUBLE_EQ(majors.front(), r.min);
  EXPECT_DOUBLE_EQ(majors.back(), r.max);
  for (size_t i = 0; i < r.firstMajors.size(); ++i) EXPECT_NEAR(majors[i], r.firstMajors[i], 1e-9);
  std::vector<double> minors = MinorMarkValues(r.min, r.max, r.majors, r.minorPer);
  EXPECT_EQ(minors.size(), r.minorCount);
  for (size_t i = 0; i < r.firstMinors.size(); ++i) EXPECT_NEAR(minors[i], r.firstMinors[i], 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Marks,
    ::testing::Values(
        MarkRow{"SpeedometerEveryTenMph", 0, 160, 17, 1, {0, 10, 20}, 16, {5, 15}},
        MarkRow{"TachometerEveryThousand", 0, 8, 9, 4, {0, 1, 2}, 32, {0.2, 0.4}},
        MarkRow{"OilEveryTwentyFivePsi", 0, 150, 7, 4, {0, 25, 50}, 24, {5, 10}},
        MarkRow{"CoolantEveryFiftyFromMinusForty", -40, 260, 7, 4, {-40, 10, 60}, 24, {-30}},
        MarkRow{"VoltmeterEveryThreeVolts", 6, 30, 9, 2, {6, 9, 12}, 16, {7, 8}},
        MarkRow{"FuelEveryTenPercent", 0, 100, 11, 3, {0, 10}, 30, {2.5, 5, 7.5}},
        MarkRow{"NoMinorMarks", 0, 100, 11, 0, {0, 10}, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Marks, ASingleMajorMarkStandsAtTheMinimumWithoutDividingByZero) {
  EXPECT_EQ(MajorMarkValues(5, 10, 1), std::vector<double>{5});
  EXPECT_TRUE(MinorMarkValues(5, 10, 1, 4).empty());
  EXPECT_TRUE(MajorMarkValues(5, 10, 0).empty());
}

struct LabelRow {
  const char* name;
  double v;
  const char* text;
};

class MarkLabels : public ::testing::TestWithParam<LabelRow> {};

TEST_P(MarkLabels, ReadAsOnAPrintedDial) {
  EXPECT_EQ(MarkLabel(GetParam().v), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table, MarkLabels,
                         ::testing::Values(LabelRow{"Whole", 160, "160"},
                                           LabelRow{"Negative", -40, "-40"},
                                           LabelRow{"Fraction", 14.2, "14.2"},
                                           // 0.1 * 3 is 0.30000000000000004 in binary.
                                           LabelRow{"RoundingNoise", 0.1 * 3, "0.3"},
                                           LabelRow{"NegativeZero", -0.0, "0"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct PolarRow {
  const char* name;
  double angle;
  Point expected;
};

class Polar : public ::testing::TestWithParam<PolarRow> {};

TEST_P(Polar, UsesScreenCoordinatesWithYDown) {
  Point p = PolarPoint({100, 100}, 50, GetParam().angle);
  EXPECT_NEAR(p.x, GetParam().expected.x, 1e-9);
  EXPECT_NEAR(p.y, GetParam().expected.y, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Polar,
    ::testing::Values(PolarRow{"Right", 0, {150, 100}}, PolarRow{"Up", 90, {100, 50}},
                      PolarRow{"Left", 180, {50, 100}},
                      PolarRow{"ScaleStartLowerLeft",
                               225,
                               {100 - 50 / std::sqrt(2.0), 100 + 50 / std::sqrt(2.0)}},
                      PolarRow{"ScaleEndLowerRight",
                               -45,
                               {100 + 50 / std::sqrt(2.0), 100 + 50 / std::sqrt(2.0)}}),
    [](const auto& info) { return std::string(info.param.name); });

struct DialRow {
  const char* name;
  int duWidth, duHeight;
  int pxWidth, pxHeight;
  Dial dial;
};

class DialFit : public ::testing::TestWithParam<DialRow> {};

TEST_P(DialFit, CircleAsWideAsTheControlAtItsTop) {
  const DialRow& r = GetParam();
  int w = DialogXToPixels(r.duWidth), h = DialogYToPixels(r.duHeight);
  EXPECT_EQ(w, r.pxWidth);
  EXPECT_EQ(h, r.pxHeight);
  Dial d = FitDial(w, h);
  EXPECT_DOUBLE_EQ(d.radius, r.dial.radius);
  EXPECT_DOUBLE_EQ(d.centre.x, r.dial.centre.x);
  EXPECT_DOUBLE_EQ(d.centre.y, r.dial.centre.y);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DialFit,
    ::testing::Values(DialRow{"Tachometer", 158, 157, 237, 255, {{118.5, 118.5}, 118.5}},
                      DialRow{"Speedometer", 165, 157, 248, 255, {{124, 124}, 124}},
                      DialRow{"SmallGauge", 79, 89, 119, 145, {{59.5, 59.5}, 59.5}},
                      // Wider than tall: the circle fits the height, centred across.
                      DialRow{"WideControl", 100, 40, 150, 65, {{75, 32.5}, 32.5}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dashvell::gauge
