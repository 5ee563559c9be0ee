// The label control: its caption is painted once into the cache.
#include "platform/LabelControl.h"

#include <QPaintEvent>

namespace dashvell {

LabelControl::LabelControl(const LabelLook& look, QWidget* parent)
    : QWidget(parent), look_(look), caption_(QString::fromUtf8(look.caption ? look.caption : "")) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void LabelControl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, layer_.Get(size(), devicePixelRatioF(), [this](QPainter& lp) {
    QRectF all(0, 0, width(), height());
    lp.fillRect(all, ToQColor(look_.background));
    lp.setFont(FitFont(caption_, look_.textPixels, look_.bold, width()));
    lp.setPen(ToQColor(look_.textColor));
    lp.drawText(all, Qt::AlignCenter, caption_);
  }));
}

}  // namespace dashvell
