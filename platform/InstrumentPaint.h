// Painting helpers shared by the instruments: colour and font from the look
// tables, and the cached layer that holds each widget's static parts.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <cmath>

#include "platform/InstrumentLook.h"

namespace dashvell {

inline QColor ToQColor(Rgb c) {
  return QColor(c.r, c.g, c.b);
}

// The one family the application ships (fonts-liberation2), at a pixel size so
// that instruments look the same at every screen resolution.
QFont InstrumentFont(int pixels, bool bold);

// The largest pixel size, at most `pixels` and at least `minPixels`, at which
// `text` fits in `width`: a number cut at the control's edge would read wrong.
QFont FitFont(const QString& text, int pixels, bool bold, double width, int minPixels = 6);

// A pixmap of the parts of a widget that never move, rebuilt only when the
// widget's logical size or its device pixel ratio changes. Every instrument
// covers its whole rectangle, so the layer is opaque: blitting it is a copy,
// not a blend.
class LayerCache {
 public:
  template <typename PaintFn>
  const QPixmap& Get(QSize logical, qreal dpr, PaintFn&& paint) {
    if (!Valid(logical, dpr)) {
      pixmap_ =
          QPixmap(int(std::ceil(logical.width() * dpr)), int(std::ceil(logical.height() * dpr)));
      pixmap_.setDevicePixelRatio(dpr);
      pixmap_.fill(Qt::black);
      QPainter p(&pixmap_);
      p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                       QPainter::SmoothPixmapTransform);
      paint(p);
      size_ = logical;
      dpr_ = dpr;
      ++builds_;
    }
    return pixmap_;
  }
  bool Valid(QSize logical, qreal dpr) const {
    return !pixmap_.isNull() && size_ == logical && dpr_ == dpr;
  }
  // How often the layer was painted: lets tests see that it is reused.
  int builds() const { return builds_; }

 private:
  QPixmap pixmap_;
  QSize size_;
  qreal dpr_ = 0;
  int builds_ = 0;
};

}  // namespace dashvell
