// Each instrument: its one property changes what it shows, a write that changes
// nothing shown schedules no paint, and writes it does not know are ignored.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <limits>

#include "dash/Instruments.h"
#include "platform/AnalogDisplay.h"
#include "platform/AngularGauge.h"
#include "platform/LabelControl.h"
#include "platform/LedRectangle.h"
#include "platform/Odometer.h"
#include "platform/tests/NamedRows.h"

namespace dashvell {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Counts the paints a widget receives.
template <typename W>
class Counted : public W {
 public:
  using W::W;
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent* e) override {
    ++paints;
    W::paintEvent(e);
  }
};

// Shows the widget and lets its first paint happen, so later counts start at 0.
template <typename W>
void ShowSettled(Counted<W>& w, QSize size) {
  w.resize(size);
  w.show();
  QApplication::processEvents();
  w.paints = 0;
}

int PaintsAfter(auto& w, auto&& action) {
  w.paints = 0;
  action();
  QApplication::processEvents();
  return w.paints;
}

GaugeLook TestGauge() {
  GaugeLook g;
  g.min = 0;
  g.max = 100;
  g.rest = 0;
  return g;
}

TEST(AngularGauge, PointerFollowsPutsAndRepaintsOnlyWhenItMoves) {
  Counted<AngularGauge> g(TestGauge());
  ShowSettled(g, {160, 160});
  EXPECT_EQ(g.pointerValue(), 0.0);

  EXPECT_GE(PaintsAfter(g, [&] { g.PutProperty(65, Variant::R8(40)); }), 1);
  EXPECT_EQ(g.pointerValue(), 40.0);
  EXPECT_EQ(g.GetProperty(65), Variant::R8(40));

  EXPECT_EQ(PaintsAfter(g, [&] { g.PutProperty(65, Variant::R8(40)); }), 0) << "unchanged value";

  // Past the end the pointer stays at the end: a further write beyond it moves
  // nothing, though the control still holds what was written.
  EXPECT_GE(PaintsAfter(g, [&] { g.PutProperty(65, Variant::R8(120)); }), 1);
  EXPECT_EQ(PaintsAfter(g, [&] { g.PutProperty(65, Variant::R8(180)); }), 0);
  EXPECT_EQ(g.pointerValue(), 180.0);
  EXPECT_DOUBLE_EQ(g.pointerAngleDeg(), -45.0);

  // The face is painted once and reused for every pointer move.
  EXPECT_EQ(g.faceBuilds(), 1);
}

TEST(AngularGauge, StartsAtItsRestValue) {
  GaugeLook look = TestGauge();
  look.min = -40;
  look.max = 260;
  look.rest = -40;
  AngularGauge g(look);
  EXPECT_EQ(g.pointerValue(), -40.0);
  EXPECT_DOUBLE_EQ(g.pointerAngleDeg(), 225.0);
}

TEST(AngularGauge, NotANumberRestsThePointerAtTheMinimum) {
  AngularGauge g(TestGauge());
  g.PutProperty(65, Variant::R8(50));
  g.PutProperty(65, Variant::R8(kNaN));
  EXPECT_DOUBLE_EQ(g.pointerAngleDeg(), 225.0);
}

// Writes the wrappers never send must not change anything or throw.
struct IgnoredRow {
  const char* name;
  DispId id;
  Variant value;
};

class IgnoredWrites : public ::testing::TestWithParam<IgnoredRow> {};

TEST_P(IgnoredWrites, LeaveEveryInstrumentAsItWas) {
  const IgnoredRow& r = GetParam();
  AngularGauge gauge(TestGauge());
  AnalogDisplay display(DisplayLook{});
  LedRectangle lamp(LampLook{});
  Odometer odo(OdometerLook{});
  LabelControl label(LabelLook{.caption = "Trip Odo (miles)"});
  for (Control* c : std::initializer_list<Control*>{&gauge, &display, &lamp, &odo, &label})
    EXPECT_NO_THROW(c->PutProperty(r.id, r.value));
  EXPECT_EQ(gauge.pointerValue(), 0.0);
  EXPECT_EQ(display.shownValue(), 0.0);
  EXPECT_FALSE(lamp.lit());
  EXPECT_EQ(odo.shownValue(), 0.0);
  EXPECT_EQ(label.caption(), "Trip Odo (miles)");
}

INSTANTIATE_TEST_SUITE_P(Table, IgnoredWrites,
                         ::testing::Values(IgnoredRow{"UnknownId", 7777, Variant::R8(42)},
                                           IgnoredRow{"GaugeIdAsInteger", 65, Variant::I4(42)},
                                           IgnoredRow{"DisplayIdAsString", 4204,
                                                      Variant::BStr("42")},
                                           IgnoredRow{"LampIdAsDouble", 1, Variant::R8(1)},
                                           IgnoredRow{"OdometerIdAsShort", 9, Variant::I2(42)},
                                           IgnoredRow{"EmptyVariant", 65, Variant()}),
                         [](const auto& info) { return std::string(info.param.name); });

// The wrappers' dispatch ids and types reach the widgets that answer them.
TEST(Wrappers, DriveThePaintedInstruments) {
  AngularGauge gauge(TestGauge());
  AnalogDisplay display(DisplayLook{.units = " PSI", .decimals = 2});
  LedRectangle lamp(LampLook{});
  Odometer odo(OdometerLook{});
  CiAngularGaugeX wg;
  CiAnalogDisplayX wd;
  CiLedRectangleX wl;
  CiOdometerX wo;
  wg.Attach(&gauge);
  wd.Attach(&display);
  wl.Attach(&lamp);
  wo.Attach(&odo);

  wg.SetPointerValue(62.5);
  wd.SetShownValue(23.75);
  wl.SetLampLit(7);  // any non-zero flag is true
  wo.SetShownValue(12873.6);

  EXPECT_EQ(gauge.pointerValue(), 62.5);
  EXPECT_EQ(display.text(), "23.75 PSI");
  EXPECT_TRUE(lamp.lit());
  EXPECT_EQ(odo.counter(), 12873);
  wl.SetLampLit(0);
  EXPECT_FALSE(lamp.lit());
}

struct FormatRow {
  const char* name;
  double v;
  int decimals;
  const char* units;
  const char* text;
};

class DisplayFormat : public ::testing::TestWithParam<FormatRow> {};

TEST_P(DisplayFormat, ShowsTheNumberThenItsUnits) {
  const FormatRow& r = GetParam();
  EXPECT_EQ(AnalogDisplay::FormatValue(r.v, r.decimals, QString::fromUtf8(r.units)),
            QString::fromUtf8(r.text));
}

INSTANTIATE_TEST_SUITE_P(
    Table, DisplayFormat,
    ::testing::Values(FormatRow{"TwoDecimalsOnADial", 1500, 2, " RPM", "1500.00 RPM"},
                      FormatRow{"RoundsToNearest", 23.456, 2, " PSI", "23.46 PSI"},
                      FormatRow{"ClearedTransmissionTemp", -459.4, 1, " F", "-459.4 F"},
                      FormatRow{"NoDecimals", 87.6, 0, " %", "88 %"},
                      FormatRow{"TinyNegativeReadsZero", -0.001, 2, " F", "0.00 F"},
                      FormatRow{"NegativeZeroReadsZero", -0.0, 1, " mile", "0.0 mile"},
                      FormatRow{"NotANumberReadsDashes", kNaN, 2, " V", "-- V"},
                      FormatRow{"InfinityReadsDashes", std::numeric_limits<double>::infinity(), 2,
                                " MPG", "-- MPG"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AnalogDisplay, RepaintsOnlyWhenTheShownTextChanges) {
  Counted<AnalogDisplay> d(DisplayLook{.units = " PSI", .decimals = 2});
  ShowSettled(d, {107, 21});
  EXPECT_EQ(d.text(), "0.00 PSI");

  EXPECT_GE(PaintsAfter(d, [&] { d.PutProperty(4204, Variant::R8(12.34)); }), 1);
  EXPECT_EQ(d.text(), "12.34 PSI");
  EXPECT_EQ(PaintsAfter(d, [&] { d.PutProperty(4204, Variant::R8(12.34)); }), 0) << "same value";
  // A new value that reads the same at two decimals: held, not repainted.
  EXPECT_EQ(PaintsAfter(d, [&] { d.PutProperty(4204, Variant::R8(12.3412)); }), 0);
  EXPECT_EQ(d.shownValue(), 12.3412);
  EXPECT_EQ(d.GetProperty(4204), Variant::R8(12.3412));
}

TEST(AnalogDisplay, ALongNumberShrinksToFitRatherThanBeingCut) {
  AnalogDisplay d(DisplayLook{.units = " mile", .digitPixels = 11, .decimals = 1});
  d.resize(90, 18);
  d.PutProperty(4204, Variant::R8(12.5));
  EXPECT_EQ(d.textFont().pixelSize(), 11);
  d.PutProperty(4204, Variant::R8(987654321.5));
  EXPECT_EQ(d.text(), "987654321.5 mile");
  EXPECT_LT(d.textFont().pixelSize(), 11);
  EXPECT_LE(QFontMetricsF(d.textFont()).horizontalAdvance(d.text()), 90.0);
}

TEST(LedRectangle, SwitchesBetweenLitAndDarkAndRepaintsOnlyOnAChange) {
  Counted<LedRectangle> lamp(LampLook{.text = "Red Stop"});
  ShowSettled(lamp, {72, 24});
  EXPECT_FALSE(lamp.lit());
  EXPECT_EQ(PaintsAfter(lamp, [&] { lamp.PutProperty(1, Variant::Bool(false)); }), 0);
  EXPECT_GE(PaintsAfter(lamp, [&] { lamp.PutProperty(1, Variant::Bool(true)); }), 1);
  EXPECT_TRUE(lamp.lit());
  EXPECT_EQ(lamp.GetProperty(1), Variant::Bool(true));
  EXPECT_EQ(PaintsAfter(lamp, [&] { lamp.PutProperty(1, Variant::Bool(true)); }), 0);
  EXPECT_GE(PaintsAfter(lamp, [&] { lamp.PutProperty(1, Variant::Bool(false)); }), 1);
  EXPECT_FALSE(lamp.lit());
}

struct DarkRow {
  const char* name;
  Rgb lit;
  int percent;
  Rgb dark;
};

class LampDark : public ::testing::TestWithParam<DarkRow> {};

TEST_P(LampDark, DimsTheLitColour) {
  LampLook look{.lit = GetParam().lit, .darkPercent = GetParam().percent};
  EXPECT_EQ(LedRectangle::DarkColor(look), GetParam().dark);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LampDark,
    ::testing::Values(DarkRow{"RedQuarter", {255, 0, 0}, 25, {64, 0, 0}},
                      DarkRow{"CruiseBlackWhenDark", {0, 255, 0}, 0, {0, 0, 0}},
                      DarkRow{"OverHundredIsLit", {255, 255, 0}, 150, {255, 255, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

struct CounterRow {
  const char* name;
  double v;
  int digits, decimals;
  int64_t counter;
};

class OdometerCounter : public ::testing::TestWithParam<CounterRow> {};

TEST_P(OdometerCounter, TurnsLikeAMechanicalCounter) {
  const CounterRow& r = GetParam();
  EXPECT_EQ(Odometer::CounterFor(r.v, r.digits, r.decimals), r.counter);
}

INSTANTIATE_TEST_SUITE_P(Table, OdometerCounter,
                         ::testing::Values(CounterRow{"Zero", 0, 7, 0, 0},
                                           CounterRow{"TruncatesNotRounds", 12873.99, 7, 0, 12873},
                                           CounterRow{"LastWholeValue", 9999999.0, 7, 0, 9999999},
                                           CounterRow{"OverflowHoldsAtAllNines", 12345678.0, 7, 0,
                                                      9999999},
                                           CounterRow{"HugeHoldsAtAllNines", 1e300, 7, 0, 9999999},
                                           CounterRow{"NegativeReadsZero", -3.0, 7, 0, 0},
                                           CounterRow{"NotANumberReadsZero", kNaN, 7, 0, 0},
                                           CounterRow{"TenthsDrum", 418.97, 7, 1, 4189},
                                           CounterRow{"TenthsOverflow", 1000000.0, 7, 1, 9999999}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Odometer, RepaintsOnlyWhenADrumTurns) {
  Counted<Odometer> odo(OdometerLook{});
  ShowSettled(odo, {108, 20});
  EXPECT_GE(PaintsAfter(odo, [&] { odo.PutProperty(9, Variant::R8(12.3)); }), 1);
  EXPECT_EQ(odo.counter(), 12);
  // The hours creep on but the whole hour does not turn: nothing to paint.
  EXPECT_EQ(PaintsAfter(odo, [&] { odo.PutProperty(9, Variant::R8(12.7)); }), 0);
  EXPECT_EQ(odo.shownValue(), 12.7);
  EXPECT_EQ(odo.GetProperty(9), Variant::R8(12.7));
  EXPECT_GE(PaintsAfter(odo, [&] { odo.PutProperty(9, Variant::R8(13.0)); }), 1);
}

}  // namespace
}  // namespace dashvell
