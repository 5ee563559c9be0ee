// A rendered gauge, sampled by pixel: the white pointer lies along the angle
// its value maps to, and not along other directions.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>

#include "platform/AngularGauge.h"
#include "platform/GaugeGeometry.h"
#include "platform/tests/NamedRows.h"

namespace dashvell {
namespace {

struct PointerRow {
  const char* name;
  double value;
  double angle;  // where the pointer must lie
};

bool IsPointerWhite(QRgb c) {
  return qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) > 200;
}
bool IsDark(QRgb c) {
  return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90;
}

class GaugeRender : public ::testing::TestWithParam<PointerRow> {};

TEST_P(GaugeRender, PointerLiesAlongItsAngle) {
  GaugeLook look;  // 0 to 100, no bands or labels in the way
  look.min = 0;
  look.max = 100;
  AngularGauge g(look);
  g.resize(160, 160);
  g.PutProperty(AngularGauge::kPointerValue, Variant::R8(GetParam().value));
  QImage img = g.grab().toImage();
  ASSERT_EQ(img.width(), 160);

  gauge::Dial d = gauge::FitDial(160, 160);
  // Between the hub and the mark numbers, where only the pointer is white.
  for (double f : {0.25, 0.35, 0.45, 0.55}) {
    gauge::Point on = gauge::PolarPoint(d.centre, d.radius * f, GetParam().angle);
    EXPECT_TRUE(IsPointerWhite(img.pixel(int(on.x), int(on.y))))
        << "radius " << f << " at (" << on.x << ", " << on.y << ")";
    for (double away : {60.0, 150.0, -90.0}) {
      gauge::Point off = gauge::PolarPoint(d.centre, d.radius * f, GetParam().angle + away);
      EXPECT_TRUE(IsDark(img.pixel(int(off.x), int(off.y))))
          << "radius " << f << ", " << away << " degrees off the pointer";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Table, GaugeRender,
                         ::testing::Values(PointerRow{"AtRestLowerLeft", 0, 225},
                                           PointerRow{"MidScaleStraightUp", 50, 90},
                                           PointerRow{"QuarterUpperLeft", 25, 157.5},
                                           PointerRow{"ThreeQuartersUpperRight", 75, 22.5},
                                           PointerRow{"BeyondTheScaleAtTheEnd", 250, -45}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LayerCache, RebuildsOnlyForANewSizeOrPixelRatio) {
  LayerCache cache;
  int paints = 0;
  auto paint = [&](QPainter&) { ++paints; };
  const QPixmap& a = cache.Get({40, 30}, 1.0, paint);
  EXPECT_EQ(a.width(), 40);
  cache.Get({40, 30}, 1.0, paint);
  EXPECT_EQ(paints, 1);
  // At a device pixel ratio of 2 the layer has twice the pixels, for crisp edges.
  const QPixmap& b = cache.Get({40, 30}, 2.0, paint);
  EXPECT_EQ(paints, 2);
  EXPECT_EQ(b.width(), 80);
  EXPECT_EQ(b.height(), 60);
  EXPECT_EQ(b.devicePixelRatio(), 2.0);
  cache.Get({50, 30}, 2.0, paint);
  EXPECT_EQ(paints, 3);
  EXPECT_EQ(cache.builds(), 3);
}

}  // namespace
}  // namespace dashvell
