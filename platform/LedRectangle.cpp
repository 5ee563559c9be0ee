// The rectangular lamp: one cached pixmap per state, so switching costs a blit.
#include "platform/LedRectangle.h"

#include <QLinearGradient>
#include <QPaintEvent>
#include <QRadialGradient>
#include <algorithm>

namespace dashvell {

LedRectangle::LedRectangle(const LampLook& look, QWidget* parent)
    : QWidget(parent), look_(look), text_(QString::fromUtf8(look.text ? look.text : "")) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

Rgb LedRectangle::DarkColor(const LampLook& look) {
  int pct = std::clamp(look.darkPercent, 0, 100);
  auto dim = [pct](uint8_t c) { return uint8_t((c * pct + 50) / 100); };
  return {dim(look.lit.r), dim(look.lit.g), dim(look.lit.b)};
}

void LedRectangle::PutProperty(DispId id, const Variant& value) {
  if (id != kLit || value.type() != VarType::Bool) return;
  bool on = value.boolValue();
  if (on == lit_) return;
  lit_ = on;
  update();
}

Variant LedRectangle::GetProperty(DispId id) {
  if (id == kLit) return Variant::Bool(lit_);
  return {};
}

void LedRectangle::paintEvent(QPaintEvent*) {
  QPainter p(this);
  LayerCache& layer = lit_ ? litLayer_ : darkLayer_;
  const bool on = lit_;
  p.drawPixmap(0, 0, layer.Get(size(), devicePixelRatioF(), [this, on](QPainter& lp) {
    PaintLamp(lp, on);
  }));
}

void LedRectangle::PaintLamp(QPainter& p, bool on) const {
  const QRectF all(0, 0, width(), height());
  const QColor base = ToQColor(on ? look_.lit : DarkColor(look_));
  const double bevel = look_.raisedBevel ? std::clamp(height() / 10.0, 1.0, 3.0) : 1.0;
  QRectF lens = all.adjusted(bevel, bevel, -bevel, -bevel);

  if (look_.raisedBevel) {
    // Raised: light from the upper left, shade to the lower right.
    QColor light = on ? base.lighter(160) : QColor(150, 150, 150);
    QColor shade = on ? base.darker(260) : QColor(40, 40, 40);
    if (light == shade) light = QColor(200, 200, 200);
    p.fillRect(all, shade);
    QPolygonF upper;
    upper << all.bottomLeft() << all.topLeft() << all.topRight()
          << QPointF(all.right() - bevel, all.top() + bevel)
          << QPointF(all.left() + bevel, all.top() + bevel)
          << QPointF(all.left() + bevel, all.bottom() - bevel);
    p.setPen(Qt::NoPen);
    p.setBrush(light);
    p.drawPolygon(upper);
  } else {
    p.fillRect(all, base.darker(180).value() < 20 ? QColor(30, 30, 30) : base.darker(180));
  }

  if (on) {
    // A lit lens glows brightest at its centre.
    QRadialGradient glow(lens.center(), std::max(lens.width(), lens.height()) * 0.7);
    glow.setColorAt(0.0, base.lighter(135));
    glow.setColorAt(0.6, base);
    glow.setColorAt(1.0, base.darker(125));
    p.fillRect(lens, glow);
  } else {
    QLinearGradient g(lens.topLeft(), lens.bottomLeft());
    g.setColorAt(0.0, base.lighter(125));
    g.setColorAt(1.0, base.darker(130));
    p.fillRect(lens, base == QColor(0, 0, 0) ? QBrush(base) : QBrush(g));
  }

  QFont f = FitFont(text_, look_.textPixels, look_.bold, lens.width() - 2);
  p.setFont(f);
  p.setPen(ToQColor(look_.textColor));
  p.drawText(lens, Qt::AlignCenter, text_);
}

}  // namespace dashvell
