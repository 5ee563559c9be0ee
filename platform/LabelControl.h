// The label control: a fixed caption on its own background. It is placed on
// the window with its text and never driven afterwards.
#pragma once

#include <QString>
#include <QWidget>

#include "platform/Control.h"
#include "platform/InstrumentLook.h"
#include "platform/InstrumentPaint.h"

namespace dashvell {

class LabelControl : public QWidget, public Control {
 public:
  explicit LabelControl(const LabelLook& look, QWidget* parent = nullptr);

  // The caption is fixed: every put is ignored; a get returns nothing.
  void PutProperty(DispId, const Variant&) override {}
  Variant GetProperty(DispId) override { return {}; }

  const QString& caption() const { return caption_; }

  QSize sizeHint() const override { return {87, 13}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  LabelLook look_;
  QString caption_;
  LayerCache layer_;
};

}  // namespace dashvell
