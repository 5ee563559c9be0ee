// The dashboard window offscreen, with a recording serial control, fake
// clocks and a box presenter that records instead of blocking.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "app/AppIcon.h"
#include "app/CDashDlg.h"
#include "app/DashTemplate.h"
#include "app/DialogFont.h"
#include "platform/LabelControl.h"
#include "platform/ProgramPaths.h"
#include "platform/RecordingControl.h"

namespace dashvell {
namespace {

namespace fs = std::filesystem;

class FakeCounter : public MillisecondCounter {
 public:
  uint32_t Now() override { return now_++; }
  void Pause() override { ++now_; }

 private:
  uint32_t now_ = 0;
};

class FixedClock : public LocalClock {
 public:
  TimeOfDay Now() override { return {9, 5, 7}; }
};

class Window : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string dir = (fs::temp_directory_path() / "dashvell-window-XXXXXX").string();
    ASSERT_NE(::mkdtemp(dir.data()), nullptr);
    dir_ = dir;
    OverrideDataDirectory(dir_);
    DashServices services;
    services.makeSerialControl = [this] {
      auto control = std::make_unique<RecordingControl>();
      control->SetGetResult(CMSComm::kOpenState, Variant::Bool(false));
      control->SetGetResult(CMSComm::kEventCode, Variant::I2(1));
      serial_ = control.get();
      return control;
    };
    services.counter = &counter_;
    services.clock = &clock_;
    services.showWarning = [this](QWidget*, const QString& caption, const QString& text) {
      boxes_.push_back(caption + ": " + text);
      if (onBox_) onBox_();
    };
    dlg_ = std::make_unique<CDashDlg>(std::move(services));
  }
  void TearDown() override {
    dlg_.reset();
    OverrideDataDirectory({});
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  template <typename T>
  T* Item(int id) {
    return qobject_cast<T*>(dlg_->item(id));
  }

  fs::path dir_;
  FakeCounter counter_;
  FixedClock clock_;
  RecordingControl* serial_ = nullptr;
  std::vector<QString> boxes_;
  std::function<void()> onBox_;
  std::unique_ptr<CDashDlg> dlg_;
};

TEST_F(Window, EveryItemAtItsPixelPlace) {
  EXPECT_EQ(dlg_->size(), QSize(740, 505));
  EXPECT_EQ(dlg_->windowTitle(), QStringLiteral("Dashvell V1.00A, By Brevikon, Build 02012012-01"));
  int made = 0;
  for (const TemplateItem& item : DashTemplate().items) {
    if (item.kind == ItemKind::SerialComm) continue;
    ++made;
    if (item.id == kNoId) continue;
    QWidget* w = dlg_->item(item.id);
    ASSERT_NE(w, nullptr) << item.id;
    PixelRect px = ToPixels(item.rect);
    EXPECT_EQ(w->geometry(), QRect(px.x, px.y, px.w, px.h)) << item.id;
  }
  EXPECT_EQ(made, 58);  // and the serial control, which has no window
  EXPECT_EQ(dlg_->controls().inOrder.size(), 58u);

  struct Row {
    int id;
    QRect px;
  };
  const Row rows[] = {
      {1004, {15, 18, 237, 255}}, {1005, {260, 18, 248, 255}}, {1044, {654, 158, 47, 16}},
      {1003, {635, 289, 86, 18}}, {1039, {438, 453, 62, 24}},  {1041, {527, 364, 90, 18}},
  };
  for (const Row& r : rows) EXPECT_EQ(dlg_->item(r.id)->geometry(), r.px) << r.id;
  EXPECT_FALSE(dlg_->item(1043)->isEnabled());
  EXPECT_EQ(dlg_->findChildren<QGroupBox*>().size(), 15);
}

TEST_F(Window, TabOrderIsTemplateOrder) {
  const std::vector<int> expected = {1023, 1030, 1029, 1034, 1027, 1026, 1022, 1021, 1004, 1019,
                                     1018, 1005, 1038, 1039, 1032, 1003, 1006, 1007, 1008, 1009,
                                     1010, 1011, 1012, 1013, 1014, 1015, 1016, 1017, 1025, 1024,
                                     1031, 1033, 1035, 1040, 1041, 1042, 1043};
  std::map<QWidget*, int> ids;
  for (const auto& [id, w] : dlg_->controls().byId) ids[w] = id;
  std::vector<int> chain;
  QWidget* w = dlg_->item(1044);
  for (size_t i = 0; i < 200 && chain.size() < expected.size(); ++i, w = w->nextInFocusChain()) {
    if (!ids.count(w) || !(w->focusPolicy() & Qt::TabFocus)) continue;
    chain.push_back(ids[w]);
  }
  EXPECT_EQ(chain, expected);
}

TEST_F(Window, EarlierItemLiesOnTop) {
  // The readout, odometer, lamps and caption on the tachometer's dial.
  for (int onDial : {1021, 1020, 1036, 1029, 1030}) {
    QWidget* top = dlg_->childAt(dlg_->item(onDial)->geometry().center());
    EXPECT_EQ(top, dlg_->item(onDial)) << onDial;
  }
  // A group box listed before its buttons lets clicks through to them.
  EXPECT_TRUE(
      dlg_->findChildren<QGroupBox*>().front()->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST_F(Window, CaptionsFit) {
  EXPECT_EQ(QFontInfo(DialogFont()).family(), QStringLiteral("Liberation Sans"))
      << "install fonts-liberation2";
  for (const TemplateItem& item : DashTemplate().items) {
    QWidget* w = nullptr;
    if (item.id != kNoId) w = dlg_->item(item.id);
    const QString caption = ShownCaption(item.text);
    QFontMetrics fm(dlg_->font());
    switch (item.kind) {
      case ItemKind::PushButton:
      case ItemKind::CheckButton: {
        EXPECT_LE(fm.horizontalAdvance(caption) + 4, w->width()) << item.text;
        EXPECT_LE(fm.height(), w->height()) << item.text;
        break;
      }
      case ItemKind::RadioButton: {
        auto* radio = qobject_cast<QRadioButton*>(w);
        QStyleOptionButton opt;
        opt.initFrom(radio);
        QRect contents =
            radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, radio);
        EXPECT_LE(fm.horizontalAdvance(caption), contents.width()) << item.text;
        break;
      }
      case ItemKind::GroupBox: {
        // Centred on the top edge: the style's label rectangle, which holds
        // the whole text, must lie inside the box.
        QGroupBox* box = nullptr;
        for (QGroupBox* b : dlg_->findChildren<QGroupBox*>())
          if (b->title() == caption) box = b;
        ASSERT_NE(box, nullptr) << item.text;
        QStyleOptionGroupBox opt;
        opt.initFrom(box);
        opt.text = box->title();
        opt.textAlignment = box->alignment();
        opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        QRect label =
            box->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, box);
        EXPECT_GE(label.width(), fm.horizontalAdvance(caption)) << item.text;
        EXPECT_TRUE(box->rect().contains(label)) << item.text << " label " << label.x() << "+"
                                                 << label.width() << " in " << box->width();
        break;
      }
      case ItemKind::Label: {
        auto* label = static_cast<LabelControl*>(w);
        const LabelLook& look = *std::get<const LabelLook*>(item.look);
        QFont f = DialogFont();
        f.setPixelSize(look.textPixels);
        EXPECT_LE(QFontMetrics(f).horizontalAdvance(label->caption()), w->width()) << item.id;
        break;
      }
      default:
        break;
    }
  }
}

TEST_F(Window, RadioPairShowsNoneCanAdc) {
  auto* can = Item<QRadioButton>(1044);
  auto* adc = Item<QRadioButton>(1045);
  struct Row {
    const char* name;
    int32_t value;
    bool can, adc;
  };
  const Row rows[] = {{"Can", 0, true, false}, {"Adc", 1, false, true}, {"None", -1, false, false}};
  for (const Row& r : rows) {
    dlg_->SetRadioValue(r.value);
    dlg_->PushDataToControls();
    EXPECT_EQ(can->isChecked(), r.can) << r.name;
    EXPECT_EQ(adc->isChecked(), r.adc) << r.name;
    dlg_->SetRadioValue(7);
    dlg_->DoDataExchange(true);
    EXPECT_EQ(dlg_->radioValue(), r.value) << r.name;
  }
}

TEST_F(Window, OpeningLoadsSettingsAndFirstPassShowsThem) {
  dlg_->OnInitDialog();
  EXPECT_EQ(dlg_->state().portName, "COM1");
  EXPECT_EQ(dlg_->clockText(), "9:5:7");
  EXPECT_EQ(dlg_->radioValue(), 1);
  EXPECT_TRUE(fs::exists(dir_ / "dvlj1939.ini"));
  EXPECT_EQ(dlg_->state().portOpen, 1);
  EXPECT_TRUE(boxes_.empty());
  // Nothing reaches the text boxes and radio buttons before the first push.
  EXPECT_TRUE(Item<QLineEdit>(1025)->text().isEmpty());
  EXPECT_FALSE(Item<QRadioButton>(1045)->isChecked());

  dlg_->OnTimer(1);
  EXPECT_EQ(Item<QLineEdit>(1025)->text(), QStringLiteral("COM1"));
  EXPECT_EQ(Item<QLineEdit>(1028)->text(), QStringLiteral("9:5:7"));
  EXPECT_TRUE(Item<QRadioButton>(1045)->isChecked());
}

TEST_F(Window, VoltmeterSourceButtonsMarkSettingsDirty) {
  dlg_->OnInitDialog();
  Item<QRadioButton>(1044)->click();
  EXPECT_EQ(dlg_->state().voltFromCan, 1);
  EXPECT_EQ(dlg_->state().settingsDirty, 1);
  EXPECT_TRUE(Item<QRadioButton>(1044)->isChecked());
  EXPECT_FALSE(Item<QRadioButton>(1045)->isChecked());

  dlg_->state().settingsDirty = 0;
  Item<QRadioButton>(1044)->click();  // already selected: still a change request
  EXPECT_EQ(dlg_->state().settingsDirty, 1);
  EXPECT_TRUE(Item<QRadioButton>(1044)->isChecked());

  Item<QRadioButton>(1045)->click();
  EXPECT_EQ(dlg_->state().voltFromCan, 0);
  EXPECT_EQ(dlg_->radioValue(), 1);
}

QString& SeenModal() {
  static QString seen;
  return seen;
}

TEST_F(Window, SysCommandsSixteenToThirtyOneOpenAbout) {
  struct Row {
    unsigned id;
    bool about;
  };
  const Row rows[] = {{16, true},  {17, true},  {31, true},
                      {32, false}, {15, false}, {0xF120, false}};
  for (const Row& r : rows) {
    SeenModal().clear();
    QTimer::singleShot(0, [] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        SeenModal() = modal->windowTitle();
        static_cast<QDialog*>(modal)->reject();
      }
    });
    dlg_->OnSysCommand(r.id);
    QApplication::processEvents();
    EXPECT_EQ(SeenModal() == QStringLiteral("About Dashvell V1.00A"), r.about) << r.id;
  }
}

TEST_F(Window, WindowMenuEndsWithAboutUnderSeparator) {
  dlg_->OnInitDialog();
  QMenu* menu = dlg_->BuildWindowMenu();
  QList<QAction*> actions = menu->actions();
  ASSERT_EQ(actions.size(), 5);
  EXPECT_TRUE(actions[3]->isSeparator());
  EXPECT_EQ(actions[4]->text(), QStringLiteral("&About Dashvell..."));
  EXPECT_EQ(actions[4]->data().toUInt(), 16u);
  delete menu;
}

struct EndCase {
  const char* name;
  std::function<void(CDashDlg&)> end;
  int result;
};

class WindowEnd : public Window, public ::testing::WithParamInterface<EndCase> {};

TEST_P(WindowEnd, RunEnds) {
  CDashDlg* dlg = dlg_.get();
  auto end = GetParam().end;
  QTimer::singleShot(50, dlg, [dlg, end] { end(*dlg); });
  EXPECT_EQ(dlg->exec(), GetParam().result);
  EXPECT_FALSE(dlg->isVisible());
}

const EndCase kEnds[] = {
    {"Exit", [](CDashDlg& d) { qobject_cast<QPushButton*>(d.item(1003))->click(); },
     QDialog::Accepted},
    {"Escape",
     [](CDashDlg& d) {
       QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
       QApplication::sendEvent(&d, &key);
     },
     QDialog::Rejected},
    {"CloseBox", [](CDashDlg& d) { d.close(); }, QDialog::Rejected},
    {"MenuClose", [](CDashDlg& d) { d.OnSysCommand(kScClose); }, QDialog::Rejected},
};

INSTANTIATE_TEST_SUITE_P(Ways, WindowEnd, ::testing::ValuesIn(kEnds),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Window, ExitReadsTheControlsBack) {
  dlg_->OnInitDialog();
  dlg_->PushDataToControls();
  Item<QLineEdit>(1025)->setText(QStringLiteral("COM9"));
  dlg_->OnExit();
  EXPECT_EQ(dlg_->state().portName, "COM9");
  EXPECT_EQ(dlg_->result(), QDialog::Accepted);
}

TEST_F(Window, ControlErrorShownOnceWhileItsBoxIsOpen) {
  int nested = 0;
  onBox_ = [&] {
    // Passes that run while the box is open fail the same way.
    if (nested++ < 3) dlg_->Guarded([] { throw ControlError("COM1 is gone"); });
  };
  dlg_->Guarded([] { throw ControlError("COM1 is gone"); });
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_TRUE(boxes_[0].endsWith(QStringLiteral(": COM1 is gone")));
  EXPECT_TRUE(boxes_[0].startsWith(QStringLiteral("app_tests")));
  onBox_ = nullptr;
  dlg_->Guarded([] { throw ControlError("COM1 is gone"); });  // box closed: shown again
  EXPECT_EQ(boxes_.size(), 2u);
}

TEST_F(Window, FailedOpenAtStartShowsTheControlsMessage) {
  dlg_.reset();
  DashServices services;
  services.makeSerialControl = [this] {
    auto control = std::make_unique<RecordingControl>();
    control->SetGetResult(CMSComm::kOpenState, Variant::Bool(false));
    control->OnPut([](DispId id, const Variant& v) {
      if (id == CMSComm::kOpenState && v.boolValue()) throw ControlError("no device for COM1");
    });
    serial_ = control.get();
    return control;
  };
  services.counter = &counter_;
  services.clock = &clock_;
  services.showWarning = [this](QWidget*, const QString&, const QString& text) {
    boxes_.push_back(text);
  };
  dlg_ = std::make_unique<CDashDlg>(std::move(services));
  dlg_->OnInitDialog();
  EXPECT_EQ(boxes_, std::vector<QString>{QStringLiteral("no device for COM1")});
  EXPECT_EQ(dlg_->state().portOpen, 0);
  EXPECT_TRUE(dlg_->item(1042)->isEnabled());
}

}  // namespace
}  // namespace dashvell

namespace dashvell {
namespace {

TEST(AppIcon, HasBothSizesOfIcon128) {
  QIcon icon = AppIcon();
  EXPECT_FALSE(icon.isNull());
  EXPECT_EQ(icon.pixmap(32, 32).size(), QSize(32, 32));
  EXPECT_EQ(icon.pixmap(16, 16).size(), QSize(16, 16));
}

}  // namespace
}  // namespace dashvell
