// The odometer: the drums and the border are cached; a changed count draws
// the digits on top.
#include "platform/Odometer.h"

#include <QLinearGradient>
#include <QPaintEvent>
#include <algorithm>
#include <cmath>

namespace dashvell {
namespace {

constexpr double kBorder = 2.0;

int64_t Pow10(int n) {
  int64_t p = 1;
  for (int i = 0; i < n; ++i) p *= 10;
  return p;
}

}  // namespace

Odometer::Odometer(const OdometerLook& look, QWidget* parent) : QWidget(parent), look_(look) {
  look_.digits = std::clamp(look_.digits, 1, 15);
  look_.decimals = std::clamp(look_.decimals, 0, look_.digits - 1);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

int64_t Odometer::CounterFor(double v, int digits, int decimals) {
  const int64_t full = Pow10(digits) - 1;
  double scaled = v * double(Pow10(decimals));
  if (!(scaled > 0)) return 0;  // negative, zero or not a number
  if (scaled >= double(full)) return full;
  return int64_t(std::floor(scaled));
}

void Odometer::PutProperty(DispId id, const Variant& value) {
  if (id != kShownValue || value.type() != VarType::R8) return;
  value_ = value.r8();
  int64_t c = CounterFor(value_, look_.digits, look_.decimals);
  if (c == counter_) return;
  counter_ = c;
  update();
}

Variant Odometer::GetProperty(DispId id) {
  if (id == kShownValue) return Variant::R8(value_);
  return {};
}

void Odometer::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0,
               drums_.Get(size(), devicePixelRatioF(), [this](QPainter& dp) { PaintDrums(dp); }));

  const QRectF inner =
      QRectF(0, 0, width(), height()).adjusted(kBorder, kBorder, -kBorder, -kBorder);
  const double cell = inner.width() / look_.digits;
  int px = look_.digitPixels > 0 ? look_.digitPixels
                                 : std::max(6, int(std::lround(inner.height() * 0.86)));
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setFont(InstrumentFont(px, true));
  int64_t rest = counter_;
  for (int i = look_.digits - 1; i >= 0; --i) {
    bool fraction = i >= look_.digits - look_.decimals;
    p.setPen(fraction ? ToQColor(look_.background) : ToQColor(look_.digitColor));
    QRectF box(inner.left() + i * cell, inner.top(), cell, inner.height());
    p.drawText(box, Qt::AlignCenter, QString(QChar(u'0' + int(rest % 10))));
    rest /= 10;
  }
}

void Odometer::PaintDrums(QPainter& p) const {
  const QRectF all(0, 0, width(), height());
  // Lowered border: shade on the upper left, light on the lower right.
  p.fillRect(all, QColor(200, 200, 200));
  QPolygonF upper;
  upper << all.bottomLeft() << all.topLeft() << all.topRight()
        << QPointF(all.right() - kBorder, all.top() + kBorder)
        << QPointF(all.left() + kBorder, all.top() + kBorder)
        << QPointF(all.left() + kBorder, all.bottom() - kBorder);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(64, 64, 64));
  p.drawPolygon(upper);

  const QRectF inner = all.adjusted(kBorder, kBorder, -kBorder, -kBorder);
  const double cell = inner.width() / look_.digits;
  const QColor drum = ToQColor(look_.background);
  const QColor ink = ToQColor(look_.digitColor);
  for (int i = 0; i < look_.digits; ++i) {
    bool fraction = i >= look_.digits - look_.decimals;
    QColor base = fraction ? ink : drum;
    // Each drum is a cylinder: darker towards its upper and lower edges.
    QLinearGradient g(inner.topLeft(), inner.bottomLeft());
    QColor edge = fraction
                      ? base.darker(150)
                      : QColor(std::min(255, base.red() + 55), std::min(255, base.green() + 55),
                               std::min(255, base.blue() + 55));
    g.setColorAt(0.0, fraction ? edge : base);
    g.setColorAt(0.12, fraction ? base : edge);
    g.setColorAt(0.45, base);
    g.setColorAt(0.55, base);
    g.setColorAt(0.88, fraction ? base : edge);
    g.setColorAt(1.0, fraction ? edge : base);
    QRectF box(inner.left() + i * cell, inner.top(), cell, inner.height());
    p.fillRect(box, g);
  }
  // Thin gaps between the drums.
  p.setPen(QPen(QColor(90, 90, 90), 1.0));
  for (int i = 1; i < look_.digits; ++i) {
    double x = inner.left() + i * cell;
    p.drawLine(QPointF(x, inner.top()), QPointF(x, inner.bottom()));
  }
}

}  // namespace dashvell
