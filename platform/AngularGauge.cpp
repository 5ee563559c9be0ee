// Painting of the angular gauge. The face (bezel, bands, marks, numbers and
// labels) lives in a cached pixmap; a pointer move repaints only the area the
// pointer leaves and enters, with the face blitted under it.
#include "platform/AngularGauge.h"

#include <QConicalGradient>
#include <QPaintEvent>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/GaugeGeometry.h"

namespace dashvell {
namespace {

// Radii as fractions of the dial's radius.
constexpr double kBezelInner = 0.955;
constexpr double kMarkOuter = 0.90;
constexpr double kMajorInner = 0.76;
constexpr double kMinorInner = 0.83;
constexpr double kBandOuter = 0.90;
constexpr double kBandInner = 0.84;
constexpr double kNumberRadius = 0.61;
constexpr double kPointerTip = 0.86;
constexpr double kPointerTail = 0.20;

struct PointerShape {
  double baseHalf;  // half width at the hub
  double tipHalf;   // half width at the tip
  double hub;       // hub radius
};

// The two large gauges carry a heavier pointer and hub than the small ones,
// also relative to their size.
PointerShape ShapeFor(const GaugeLook& look, double r) {
  if (look.large)
    return {std::max(3.0, r * 0.036), std::max(1.0, r * 0.010), std::max(8.0, r * 0.095)};
  return {std::max(1.8, r * 0.030), std::max(0.7, r * 0.010), std::max(4.5, r * 0.080)};
}

QPointF ToQ(gauge::Point p) {
  return {p.x, p.y};
}

}  // namespace

AngularGauge::AngularGauge(const GaugeLook& look, QWidget* parent)
    : QWidget(parent),
      look_(look),
      label1_(QString::fromUtf8(look.label1 ? look.label1 : "")),
      label2_(QString::fromUtf8(look.label2 ? look.label2 : "")),
      value_(look.rest),
      angleDeg_(gauge::ValueToAngleDeg(look.rest, look.min, look.max)) {
  // Every pixel is ours: Qt need not clear the background before painting.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void AngularGauge::PutProperty(DispId id, const Variant& value) {
  if (id == kPointerValue && value.type() == VarType::R8) SetPointerValue(value.r8());
}

Variant AngularGauge::GetProperty(DispId id) {
  if (id == kPointerValue) return Variant::R8(value_);
  return {};
}

void AngularGauge::SetPointerValue(double v) {
  value_ = v;
  double angle = gauge::ValueToAngleDeg(v, look_.min, look_.max);
  // Beyond the scale, or a value that moves the pointer by nothing: no paint.
  if (angle == angleDeg_) return;
  QRect before = PointerBounds(angleDeg_);
  angleDeg_ = angle;
  if (isVisible()) {
    update(before);
    update(PointerBounds(angleDeg_));
  }
}

QRect AngularGauge::PointerBounds(double angleDeg) const {
  gauge::Dial d = gauge::FitDial(width(), height());
  PointerShape s = ShapeFor(look_, d.radius);
  QPointF tip = ToQ(gauge::PolarPoint(d.centre, d.radius * kPointerTip, angleDeg));
  QPointF tail = ToQ(gauge::PolarPoint(d.centre, d.radius * kPointerTail, angleDeg + 180.0));
  QRectF r = QRectF(tip, tail).normalized();
  QRectF hub(d.centre.x - s.hub, d.centre.y - s.hub, 2 * s.hub, 2 * s.hub);
  // Room for the pointer's width, its shadow and antialiasing.
  double pad = s.baseHalf + 3.0;
  return r.united(hub).adjusted(-pad, -pad, pad, pad).toAlignedRect();
}

void AngularGauge::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  update();
}

void AngularGauge::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QPixmap& face =
      face_.Get(size(), devicePixelRatioF(), [this](QPainter& fp) { PaintFace(fp); });
  QRect dirty = event->rect();
  p.drawPixmap(
      dirty, face,
      QRectF(dirty.topLeft() * face.devicePixelRatio(), dirty.size() * face.devicePixelRatio()));
  p.setRenderHint(QPainter::Antialiasing);
  PaintPointer(p);
}

void AngularGauge::PaintPointer(QPainter& p) const {
  gauge::Dial d = gauge::FitDial(width(), height());
  const double r = d.radius;
  PointerShape s = ShapeFor(look_, r);
  const double tip = r * kPointerTip, tail = r * kPointerTail;

  QPainterPath needle;
  needle.moveTo(-tail, -s.baseHalf * 0.8);
  needle.lineTo(0, -s.baseHalf);
  needle.lineTo(tip, -s.tipHalf);
  needle.arcTo(QRectF(tip - s.tipHalf, -s.tipHalf, 2 * s.tipHalf, 2 * s.tipHalf), 90, -180);
  needle.lineTo(0, s.baseHalf);
  needle.lineTo(-tail, s.baseHalf * 0.8);
  needle.closeSubpath();

  p.save();
  p.translate(d.centre.x, d.centre.y);
  // Qt turns clockwise on screen for positive angles; ours run counter-clockwise.
  p.rotate(-angleDeg_);
  p.setPen(Qt::NoPen);
  // A soft shadow lifts the pointer off the face.
  p.save();
  p.translate(1.2, 1.6);
  p.setBrush(QColor(0, 0, 0, 150));
  p.drawPath(needle);
  p.restore();
  p.setBrush(ToQColor(look_.pointer));
  p.drawPath(needle);
  p.restore();

  // The hub sits on top of the pointer.
  QColor hub = ToQColor(look_.hub);
  QRadialGradient g(QPointF(d.centre.x - s.hub * 0.35, d.centre.y - s.hub * 0.35), s.hub * 1.3);
  g.setColorAt(0.0, hub.lighter(170));
  g.setColorAt(0.45, hub);
  g.setColorAt(1.0, hub.darker(220));
  p.setBrush(g);
  p.setPen(QPen(hub.darker(300), std::max(0.8, s.hub * 0.08)));
  p.drawEllipse(QPointF(d.centre.x, d.centre.y), s.hub, s.hub);
}

void AngularGauge::PaintFace(QPainter& p) const {
  const double w = width(), h = height();
  gauge::Dial d = gauge::FitDial(w, h);
  const QPointF c(d.centre.x, d.centre.y);
  const double r = d.radius;
  const QColor face = ToQColor(look_.face);

  // The whole control is the dial's black background; readouts and lamps sit
  // on it in the open lower part.
  p.fillRect(QRectF(0, 0, w, h), face);

  // Bezel: a dark metal ring lit from above.
  QConicalGradient bezel(c, 90);
  bezel.setColorAt(0.0, QColor(150, 150, 155));
  bezel.setColorAt(0.25, QColor(60, 60, 64));
  bezel.setColorAt(0.5, QColor(28, 28, 30));
  bezel.setColorAt(0.75, QColor(60, 60, 64));
  bezel.setColorAt(1.0, QColor(150, 150, 155));
  p.setPen(Qt::NoPen);
  p.setBrush(bezel);
  p.drawEllipse(c, r - 0.5, r - 0.5);

  // Face: black, with a faint sheen towards the top.
  QRadialGradient sheen(QPointF(c.x(), c.y() - r * 0.35), r * 1.1);
  QColor lit(std::min(255, face.red() + 34), std::min(255, face.green() + 34),
             std::min(255, face.blue() + 38));
  sheen.setColorAt(0.0, lit);
  sheen.setColorAt(0.7, face);
  sheen.setColorAt(1.0, face);
  p.setBrush(sheen);
  p.drawEllipse(c, r * kBezelInner, r * kBezelInner);

  auto angleOf = [this](double v) { return gauge::ValueToAngleDeg(v, look_.min, look_.max); };

  // Colour bands under the outer end of the marks.
  const double bandMid = r * (kBandOuter + kBandInner) / 2;
  const double bandWidth = r * (kBandOuter - kBandInner);
  QRectF bandRect(c.x() - bandMid, c.y() - bandMid, 2 * bandMid, 2 * bandMid);
  for (int i = 0; i < std::min<int>(look_.bandCount, int(look_.bands.size())); ++i) {
    const GaugeBand& b = look_.bands[i];
    double a0 = angleOf(b.from), a1 = angleOf(b.to);
    if (a0 == a1) continue;
    p.setPen(QPen(ToQColor(b.color), bandWidth, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    // drawArc takes sixteenths of a degree, counter-clockwise from 3 o'clock.
    p.drawArc(bandRect, int(std::lround(a1 * 16)), int(std::lround((a0 - a1) * 16)));
  }

  // Minor marks, then the major marks over them.
  auto drawMark = [&](double v, double inner, double outer) {
    double a = angleOf(v);
    p.drawLine(ToQ(gauge::PolarPoint(d.centre, r * inner, a)),
               ToQ(gauge::PolarPoint(d.centre, r * outer, a)));
  };
  const double minorWidth = std::max(1.0, r * 0.012);
  const double majorWidth = std::max(1.5, r * (look_.large ? 0.026 : 0.030));
  p.setPen(QPen(ToQColor(look_.minorMark), minorWidth, Qt::SolidLine, Qt::FlatCap));
  for (double v :
       gauge::MinorMarkValues(look_.min, look_.max, look_.majorMarks, look_.minorPerMajor))
    drawMark(v, kMinorInner, kMarkOuter);
  p.setPen(QPen(ToQColor(look_.majorMark), majorWidth, Qt::SolidLine, Qt::FlatCap));
  const std::vector<double> majors = gauge::MajorMarkValues(look_.min, look_.max, look_.majorMarks);
  for (double v : majors) drawMark(v, kMajorInner, kMarkOuter);

  // Numbers at the major marks.
  // Left to itself the size follows the dial, but a crowded scale (the
  // speedometer's seventeen numbers) gets a smaller one so neighbours never touch.
  int numberPx = look_.markLabelPixels;
  if (numberPx <= 0) {
    double auto_ = r * 0.115;
    if (majors.size() > 1) {
      double spacing = r * kNumberRadius * (gauge::kSweepDeg * std::numbers::pi / 180.0) /
                       double(majors.size() - 1);
      auto_ = std::min(auto_, spacing / 1.9);
    }
    numberPx = std::clamp(int(std::lround(auto_)), 8, 16);
  }
  p.setFont(InstrumentFont(numberPx, true));
  p.setPen(ToQColor(look_.markLabel));
  for (double v : majors) {
    gauge::Point at = gauge::PolarPoint(d.centre, r * kNumberRadius, angleOf(v));
    QRectF box(at.x - r * 0.3, at.y - numberPx, r * 0.6, 2.0 * numberPx);
    p.drawText(box, Qt::AlignCenter, QString::fromStdString(gauge::MarkLabel(v)));
  }

  // The two yellow labels on the vertical axis, centred at their offsets below
  // the dial's centre; a label wider than the control shrinks to fit it.
  int labelPx =
      look_.labelPixels > 0 ? look_.labelPixels : std::clamp(int(std::lround(r * 0.12)), 9, 16);
  p.setPen(ToQColor(look_.labelColor));
  auto drawLabel = [&](const QString& text, int offset) {
    if (text.isEmpty()) return;
    QFont f = FitFont(text, labelPx, true, w - 4);
    p.setFont(f);
    double y = c.y() + offset;
    p.drawText(QRectF(0, y - labelPx, w, 2.0 * labelPx), Qt::AlignCenter, text);
  };
  drawLabel(label1_, look_.label1Offset);
  drawLabel(label2_, look_.label2Offset);
}

}  // namespace dashvell
