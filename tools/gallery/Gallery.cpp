// dashvell-gallery OUT.png [SCALE]: renders every instrument kind at rest,
// mid-scale and beyond its scale, and the lamps lit and dark, into one PNG, so
// the instruments can be reviewed without a truck. Runs without a display.
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>

#include "platform/AnalogDisplay.h"
#include "platform/AngularGauge.h"
#include "platform/DialogUnits.h"
#include "platform/LabelControl.h"
#include "platform/LedRectangle.h"
#include "platform/Odometer.h"
#include "tools/gallery/GalleryLooks.h"

namespace dashvell {
namespace {

using namespace gallery;

// Places w at dialog-unit rectangle (x, y, cx, cy) given relative to the
// dialog-unit origin (ox, oy) of its parent, as on the dashboard window.
void Place(QWidget* w, int ox, int oy, int x, int y, int cx, int cy) {
  int left = DialogXToPixels(x) - DialogXToPixels(ox);
  int top = DialogYToPixels(y) - DialogYToPixels(oy);
  w->setGeometry(left, top, DialogXToPixels(cx), DialogYToPixels(cy));
}

void Put(Control* c, DispId id, const Variant& v) {
  c->PutProperty(id, v);
}

enum class State { Rest, Mid, Beyond };

double ValueFor(const GaugeLook& g, State s) {
  switch (s) {
    case State::Rest:
      return g.rest;
    case State::Mid:
      return (g.min + g.max) / 2;
    case State::Beyond:
      return g.max + (g.max - g.min) * 0.2;
  }
  return g.rest;
}

QLabel* Caption(const QString& text, QWidget* parent) {
  auto* l = new QLabel(text, parent);
  QFont f(QStringLiteral("Liberation Sans"));
  f.setPixelSize(14);
  f.setBold(true);
  l->setFont(f);
  l->setStyleSheet(QStringLiteral("color: #d8d8d8;"));
  return l;
}

// A large gauge with what the dashboard puts on its dial.
QWidget* LargeCluster(bool tach, State s, QWidget* parent) {
  const GaugeLook& look = Gauge(tach ? 1004 : 1005);
  auto* g = new AngularGauge(look, parent);
  int ox = tach ? 10 : 173, oy = 11;
  g->resize(DialogXToPixels(tach ? 158 : 165), DialogYToPixels(157));
  double v = ValueFor(look, s);
  Put(g, AngularGauge::kPointerValue, Variant::R8(v));

  auto* readout = new AnalogDisplay(Display(tach ? 1021 : 1018), g);
  Place(readout, ox, oy, tach ? 54 : 222, 124, tach ? 72 : 71, 13);
  Put(readout, AnalogDisplay::kShownValue, Variant::R8(tach ? v * 1000 : v));

  auto* caption = new LabelControl(LabelAt(tach ? 1036 : 1037), g);
  if (tach)
    Place(caption, ox, oy, 65, 140, 58, 8);
  else
    Place(caption, ox, oy, 234, 141, 53, 8);

  auto* odo = new Odometer(OdometerAt(tach ? 1020 : 1019), g);
  Place(odo, ox, oy, tach ? 54 : 222, 151, 72, 12);
  double odoValue = s == State::Rest ? 0 : s == State::Mid ? (tach ? 12873.6 : 418.9) : 12345678.0;
  Put(odo, Odometer::kShownValue, Variant::R8(odoValue));

  if (tach) {
    auto* cruise = new LedRectangle(Lamp(1029), g);
    Place(cruise, ox, oy, 16, 147, 33, 17);
    auto* wif = new LedRectangle(Lamp(1030), g);
    Place(wif, ox, oy, 130, 147, 33, 18);
    Put(cruise, LedRectangle::kLit, Variant::Bool(s != State::Rest));
    Put(wif, LedRectangle::kLit, Variant::Bool(s == State::Beyond));
  }
  return g;
}

QWidget* SmallCluster(const GaugeLook& look, int ox, int dx, int readoutId, State s,
                      QWidget* parent) {
  auto* g = new AngularGauge(look, parent);
  g->resize(DialogXToPixels(79), DialogYToPixels(89));
  double v = ValueFor(look, s);
  Put(g, AngularGauge::kPointerValue, Variant::R8(v));
  auto* readout = new AnalogDisplay(Display(readoutId), g);
  Place(readout, ox, 173, dx, 237, 71, 13);
  Put(readout, AnalogDisplay::kShownValue, Variant::R8(v));
  return g;
}

QPixmap Render() {
  QWidget sheet;
  sheet.setAutoFillBackground(true);
  QPalette pal = sheet.palette();
  pal.setColor(QPalette::Window, QColor(44, 46, 50));
  sheet.setPalette(pal);

  const State states[] = {State::Rest, State::Mid, State::Beyond};
  const char* stateNames[] = {"at rest", "mid-scale", "beyond the scale"};
  const int margin = 16, gap = 14, titleH = 24;
  int y = margin;
  int widest = 0;

  auto row = [&](const QString& title, auto make) {
    Caption(title, &sheet)->setGeometry(margin, y, 900, titleH - 4);
    y += titleH;
    int x = margin, rowH = 0;
    make(x, rowH);
    widest = std::max(widest, x);
    y += rowH + gap;
  };

  for (bool tach : {true, false}) {
    row(tach ? QStringLiteral("Tachometer: at rest, mid-scale, beyond the scale")
             : QStringLiteral("Speedometer: at rest, mid-scale, beyond the scale"),
        [&](int& x, int& rowH) {
          for (State s : states) {
            QWidget* g = LargeCluster(tach, s, &sheet);
            g->move(x, y);
            x += g->width() + gap;
            rowH = std::max(rowH, g->height());
          }
        });
  }

  struct Small {
    const GaugeLook* look;
    int ox, dx;
    int readoutId;
  };
  const Small smalls[] = {{&Gauge(1006), 9, 14, 1022},
                          {&Gauge(1007), 92, 97, 1026},
                          {&Gauge(1008), 175, 180, 1027},
                          {&Gauge(1009), 258, 264, 1034}};
  for (int si = 0; si < 3; ++si) {
    row(QStringLiteral("Small gauges %1").arg(QString::fromUtf8(stateNames[si])),
        [&](int& x, int& rowH) {
          for (const Small& sm : smalls) {
            QWidget* g = SmallCluster(*sm.look, sm.ox, sm.dx, sm.readoutId, states[si], &sheet);
            g->move(x, y);
            x += g->width() + gap;
            rowH = std::max(rowH, g->height());
          }
        });
  }

  row(QStringLiteral("Lamps: lit, then dark"), [&](int& x, int& rowH) {
    struct L {
      const LampLook* look;
      int cx, cy;
    };
    const L lamps[] = {
        {&Lamp(1029), 33, 17}, {&Lamp(1030), 33, 18}, {&Lamp(1031), 48, 15}, {&Lamp(1032), 44, 15}};
    for (bool on : {true, false}) {
      for (const L& l : lamps) {
        auto* lamp = new LedRectangle(*l.look, &sheet);
        lamp->setGeometry(x, y, DialogXToPixels(l.cx), DialogYToPixels(l.cy));
        Put(lamp, LedRectangle::kLit, Variant::Bool(on));
        x += lamp->width() + 8;
        rowH = std::max(rowH, lamp->height());
      }
      x += gap;
    }
  });

  row(QStringLiteral("Displays and odometers: cleared, typical, out of range"),
      [&](int& x, int& rowH) {
        struct D {
          int id;
          double value;
        };
        const D displays[] = {
            {1011, -459.4}, {1012, 23.7}, {1013, 6.84}, {1040, 1234.56}, {1041, 987654321.5}};
        for (const D& d : displays) {
          auto* disp = new AnalogDisplay(Display(d.id), &sheet);
          disp->setGeometry(x, y, DialogXToPixels(60), DialogYToPixels(11));
          Put(disp, AnalogDisplay::kShownValue, Variant::R8(d.value));
          x += disp->width() + 8;
          rowH = std::max(rowH, disp->height());
        }
        x += gap;
        for (double v : {0.0, 4217.9, -3.0, 1e9}) {
          auto* odo = new Odometer(OdometerAt(1020), &sheet);
          odo->setGeometry(x, y, DialogXToPixels(72), DialogYToPixels(12));
          Put(odo, Odometer::kShownValue, Variant::R8(v));
          x += odo->width() + 8;
          rowH = std::max(rowH, odo->height());
        }
        x += gap;
        auto* label = new LabelControl(LabelAt(1036), &sheet);
        label->setGeometry(x, y, DialogXToPixels(58), DialogYToPixels(8));
        x += label->width();
      });

  sheet.resize(widest + margin, y + margin - gap);
  return sheet.grab();
}

}  // namespace
}  // namespace dashvell

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: dashvell-gallery OUT.png [SCALE]\n");
    return 2;
  }
  // The gallery is for review anywhere, also on a machine without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc == 3) qputenv("QT_SCALE_FACTOR", argv[2]);
  QApplication app(argc, argv);
  QPixmap png = dashvell::Render();
  if (!png.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "dashvell-gallery: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
