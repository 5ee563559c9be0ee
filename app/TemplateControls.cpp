#include "app/TemplateControls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "app/DialogFont.h"
#include "app/FlatButton.h"
#include "platform/AnalogDisplay.h"
#include "platform/AngularGauge.h"
#include "platform/DialogUnits.h"
#include "platform/LabelControl.h"
#include "platform/LedRectangle.h"
#include "platform/Odometer.h"

namespace dashvell {
namespace {

template <typename Widget, typename Look>
Widget* MakeInstrument(const ItemLook& look, QWidget* parent, TemplateControls& out, int id) {
  auto* w = new Widget(*std::get<const Look*>(look), parent);
  out.controls[id] = w;
  return w;
}

QWidget* MakeItem(const TemplateItem& item, QWidget* parent, TemplateControls& out) {
  const QString text = QString::fromLatin1(item.text);
  switch (item.kind) {
    case ItemKind::Gauge:
      return MakeInstrument<AngularGauge, GaugeLook>(item.look, parent, out, item.id);
    case ItemKind::Display:
      return MakeInstrument<AnalogDisplay, DisplayLook>(item.look, parent, out, item.id);
    case ItemKind::Odometer:
      return MakeInstrument<Odometer, OdometerLook>(item.look, parent, out, item.id);
    case ItemKind::Lamp:
      return MakeInstrument<LedRectangle, LampLook>(item.look, parent, out, item.id);
    case ItemKind::Label:
      return MakeInstrument<LabelControl, LabelLook>(item.look, parent, out, item.id);
    case ItemKind::SerialComm:
      return nullptr;
    case ItemKind::Edit: {
      auto* edit = new QLineEdit(parent);
      edit->setReadOnly(item.style & kReadOnly);
      edit->setFrame(item.style & kBorder);
      if (item.style & kCentered) edit->setAlignment(Qt::AlignCenter);
      // The box is a few pixels high; Qt's own text margins would crop it.
      edit->setTextMargins(0, 0, 0, 0);
      return edit;
    }
    case ItemKind::PushButton:
    case ItemKind::CheckButton: {
      QPushButton* button =
          (item.style & kFlat) ? new FlatButton(text, parent) : new QPushButton(text, parent);
      button->setCheckable(item.kind == ItemKind::CheckButton);
      // Enter presses the focused button, and in the small dialogs OK when
      // no other button has the focus.
      button->setAutoDefault(item.kind == ItemKind::PushButton);
      button->setDefault(item.id == 1 && (item.style & kDefaultButton));
      return button;
    }
    case ItemKind::RadioButton:
      return new QRadioButton(text, parent);
    case ItemKind::GroupBox: {
      auto* box = new QGroupBox(text, parent);
      if (item.style & kCentered) box->setAlignment(Qt::AlignHCenter);
      // A frame drawn around its neighbours, not a container: clicks go
      // through to whatever lies under it.
      box->setAttribute(Qt::WA_TransparentForMouseEvents);
      return box;
    }
    case ItemKind::Icon: {
      auto* label = new QLabel(parent);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      return label;
    }
    case ItemKind::StaticText: {
      auto* label = new QLabel(text, parent);
      label->setTextFormat(Qt::PlainText);
      return label;
    }
    case ItemKind::ComboBox: {
      auto* combo = new QComboBox(parent);
      combo->setEditable(true);
      combo->setInsertPolicy(QComboBox::NoInsert);
      combo->setDuplicatesEnabled(true);
      return combo;
    }
  }
  return nullptr;
}

Qt::FocusPolicy FocusFor(const TemplateItem& item) {
  const bool tab = item.style & kTabStop;
  switch (item.kind) {
    case ItemKind::Gauge:
    case ItemKind::Display:
    case ItemKind::Odometer:
    case ItemKind::Lamp:
    case ItemKind::Label:
      return tab ? Qt::TabFocus : Qt::NoFocus;
    case ItemKind::GroupBox:
    case ItemKind::Icon:
    case ItemKind::StaticText:
    case ItemKind::SerialComm:
      return Qt::NoFocus;
    default:
      return tab ? Qt::StrongFocus : Qt::ClickFocus;
  }
}

}  // namespace

QString ShownCaption(const char* text) {
  QString in = QString::fromLatin1(text), out;
  for (qsizetype i = 0; i < in.size(); ++i) {
    if (in[i] == u'&' && i + 1 < in.size()) ++i;
    out += in[i];
  }
  return out;
}

TemplateControls CreateTemplateControls(const DialogTemplate& t, QWidget* parent) {
  TemplateControls out;
  parent->setFont(DialogFont());
  parent->setFixedSize(DialogXToPixels(t.width), DialogYToPixels(t.height));
  for (const TemplateItem& item : t.items) {
    QWidget* w = MakeItem(item, parent, out);
    if (!w) continue;
    PixelRect px = ToPixels(item.rect);
    int height = px.h;
    // The combo box's height counts its dropped list; the field keeps its own.
    if (item.kind == ItemKind::ComboBox) height = w->sizeHint().height();
    w->setGeometry(px.x, px.y, px.w, height);
    w->setFocusPolicy(FocusFor(item));
    w->setEnabled(!(item.style & kDisabled));
    w->setVisible(!(item.style & kInvisible));
    // The window's own menu answers a right click anywhere on it.
    w->setContextMenuPolicy(Qt::NoContextMenu);
    if (item.id != kNoId) out.byId[item.id] = w;
    out.inOrder.push_back(w);
  }
  // Template order is the tab order ...
  for (size_t i = 1; i < out.inOrder.size(); ++i)
    QWidget::setTabOrder(out.inOrder[i - 1], out.inOrder[i]);
  // ... and the earlier item lies on top.
  for (auto it = out.inOrder.rbegin(); it != out.inOrder.rend(); ++it) (*it)->raise();
  return out;
}

}  // namespace dashvell
