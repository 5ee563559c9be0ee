#include "app/CDashDlg.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimerEvent>

#include "app/AppIcon.h"
#include "app/ApplicationName.h"
#include "app/CAboutDlg.h"
#include "dash/ClockText.h"
#include "platform/SerialControl.h"

namespace dashvell {
namespace {

constexpr int kGaugeIds[] = {1004, 1005, 1006, 1007, 1008, 1009};
constexpr int kDisplayAIds[] = {1011, 1012, 1013, 1014, 1015, 1017, 1016};
constexpr int kOdometerIds[] = {1020, 1019};
constexpr int kLampIds[] = {1029, 1030, 1031, 1035, 1033, 1032, 1039, 1038};
constexpr int kDisplayBIds[] = {1021, 1022, 1026, 1027, 1034, 1040, 1041};
// The lamps in the order a refresh pass writes them.
constexpr int kPanelLampIds[] = {1029, 1030, 1032, 1039, 1038, 1031, 1035, 1033};

DashServices WithDefaults(DashServices s) {
  if (!s.makeSerialControl) s.makeSerialControl = [] { return std::make_unique<SerialControl>(); };
  if (!s.counter) s.counter = &SystemMillisecondCounter();
  if (!s.clock) s.clock = &SystemLocalClock();
  if (!s.showWarning) {
    s.showWarning = [](QWidget* parent, const QString& caption, const QString& text) {
      QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, parent);
      box.exec();
    };
  }
  return s;
}

QString Latin1(const std::string& s) {
  return QString::fromLatin1(s.data(), qsizetype(s.size()));
}

}  // namespace

CDashDlg::CDashDlg(DashServices services, QWidget* parent)
    : QDialog(parent),
      services_(WithDefaults(std::move(services))),
      controls_(CreateTemplateControls(DashTemplate(), this)),
      serialControl_(services_.makeSerialControl()),
      icon_(AppIcon()),
      portDlg_(this),
      stream_(state_),
      sink_(stream_),
      commands_(state_, comm_, *services_.counter),
      link_(state_, comm_, commands_, *this, sink_),
      selfTest_(state_, commands_),
      refresh_(state_, panel_),
      housekeeping_(state_, commands_, selfTest_, *services_.clock, *this,
                    [this] { settings_.SaveSettings(state_); }),
      timers_(state_, refresh_, housekeeping_, *this) {
  controls_.controls[1002] = serialControl_.get();
  setWindowTitle(QString::fromLatin1(kDashCaption));
  // A window of its own with a title bar, the window menu and a minimize
  // box; fixed in size.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setSizeGripEnabled(false);

  for (size_t i = 0; i < gauges_.size(); ++i) panel_.gauges[i] = &gauges_[i];
  for (size_t i = 0; i < displaysA_.size(); ++i) panel_.displays[i] = &displaysA_[i];
  panel_.displays[7] = &display1018_;
  for (size_t i = 0; i < displaysB_.size(); ++i) panel_.displays[8 + i] = &displaysB_[i];
  panel_.engineHours = &odometers_[0];
  panel_.trip = &odometers_[1];
  for (size_t i = 0; i < std::size(kPanelLampIds); ++i) {
    for (size_t j = 0; j < std::size(kLampIds); ++j)
      if (kLampIds[j] == kPanelLampIds[i]) panel_.lamps[i] = &lamps_[j];
  }

  serialControl_->SetEventSink([this](DispId event) {
    if (event == CMSComm::kNotifyEvent) Guarded([this] { OnSerialEvent(); });
  });
  ConnectHandlers();
  auto* menuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
  connect(menuKey, &QShortcut::activated, this,
          [this] { ShowWindowMenu(mapToGlobal(QPoint(0, 0))); });
}

CDashDlg::~CDashDlg() {
  for (const auto& [qtId, id] : timerIds_) killTimer(qtId);
  // The serial control goes before the wrappers and the logic that point at it.
  serialControl_->SetEventSink({});
}

QWidget* CDashDlg::item(int id) const {
  auto it = controls_.byId.find(id);
  return it == controls_.byId.end() ? nullptr : it->second;
}

void CDashDlg::ConnectHandlers() {
  auto onClick = [this](int id, void (CDashDlg::*handler)()) {
    auto* button = qobject_cast<QAbstractButton*>(item(id));
    connect(button, &QAbstractButton::clicked, this,
            [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
  };
  auto onClickDo = [this](int id, std::function<void()> fn) {
    auto* button = qobject_cast<QAbstractButton*>(item(id));
    connect(button, &QAbstractButton::clicked, this, [this, fn] { Guarded(fn); });
  };
  // The window's message map, in its order.
  onClick(1003, &CDashDlg::OnExit);
  onClickDo(1010, [this] { selfTest_.ToggleSelfTest(); });
  onClickDo(1023, [this] { housekeeping_.RequestTripReset(); });
  onClickDo(1024, [this] { link_.OnChangePort(); });
  onClickDo(1042, [this] { link_.OnConnect(); });
  onClickDo(1043, [this] { link_.OnDisconnect(); });
  onClick(1044, &CDashDlg::OnSelectCan);
  onClick(1045, &CDashDlg::OnSelectAdc);
}

void CDashDlg::Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const ControlError& error) {
    const std::string text = error.what();
    // Timer passes keep running while the box is open and may well fail the
    // same way again: one box per message is enough.
    if (!openErrorBoxes_.insert(text).second) return;
    services_.showWarning(this, ApplicationName(), Latin1(text));
    openErrorBoxes_.erase(text);
  }
}

int CDashDlg::exec() {
  if (!opened_) OnInitDialog();
  return QDialog::exec();
}

void CDashDlg::OnInitDialog() {
  opened_ = true;
  // The controls exist with their stored looks; the first exchange attaches
  // the wrappers and shows empty text boxes and no radio selection.
  DoDataExchange(false);

  aboutInMenu_ = kAboutMenuText[0] != '\0';
  setWindowIcon(icon_);

  ClearVehicleState(state_);
  state_.adcVolts = 0;
  state_.adcReplySeen = 0;
  state_.adcReplyCount = 0;
  state_.selfTest = 0;
  state_.tripMiles = 0;
  state_.linkLost = 0;

  clockText_ = FormatClockText(services_.clock->Now());

  for (const TimerEntry& timer : kDashTimers) timerIds_[startTimer(timer.periodMs)] = timer.id;

  state_.settingsDirty = 0;
  settings_.LoadSettings(state_);
  radioValue_ = state_.voltFromCan != 0 ? 0 : 1;

  state_.portOpen = 0;
  Guarded([this] { link_.OpenGatewayPort(); });

  // Keyboard focus starts on the first tab stop, the Reset button.
  if (QWidget* reset = item(1023)) reset->setFocus();
}

void CDashDlg::DoDataExchange(bool saveAndValidate) {
  if (!attached_) {
    attached_ = true;
    comm_.Attach(controls_.controls.at(1002));
    for (size_t i = 0; i < gauges_.size(); ++i)
      gauges_[i].Attach(controls_.controls.at(kGaugeIds[i]));
    for (size_t i = 0; i < displaysA_.size(); ++i)
      displaysA_[i].Attach(controls_.controls.at(kDisplayAIds[i]));
    for (size_t i = 0; i < odometers_.size(); ++i)
      odometers_[i].Attach(controls_.controls.at(kOdometerIds[i]));
    display1018_.Attach(controls_.controls.at(1018));
    for (size_t i = 0; i < lamps_.size(); ++i) lamps_[i].Attach(controls_.controls.at(kLampIds[i]));
    for (size_t i = 0; i < displaysB_.size(); ++i)
      displaysB_[i].Attach(controls_.controls.at(kDisplayBIds[i]));
  }

  auto* port = qobject_cast<QLineEdit*>(item(1025));
  auto* clock = qobject_cast<QLineEdit*>(item(1028));
  QRadioButton* radios[] = {qobject_cast<QRadioButton*>(item(1044)),
                            qobject_cast<QRadioButton*>(item(1045))};
  if (saveAndValidate) {
    state_.portName = port->text().toLatin1().toStdString();
    clockText_ = clock->text().toLatin1().toStdString();
    radioValue_ = radios[0]->isChecked() ? 0 : radios[1]->isChecked() ? 1 : -1;
    return;
  }
  const QString portText = Latin1(state_.portName);
  if (port->text() != portText) port->setText(portText);
  const QString clockText = Latin1(clockText_);
  if (clock->text() != clockText) clock->setText(clockText);
  // Exclusive radio buttons refuse to be all off; "none" needs them apart.
  for (int i = 0; i < 2; ++i) radios[i]->setAutoExclusive(false);
  for (int i = 0; i < 2; ++i) radios[i]->setChecked(radioValue_ == i);
  for (int i = 0; i < 2; ++i) radios[i]->setAutoExclusive(true);
}

void CDashDlg::PushDataToControls() {
  DoDataExchange(false);
}

void CDashDlg::EnableConnect(bool enabled) {
  item(1042)->setEnabled(enabled);
}
void CDashDlg::EnableDisconnect(bool enabled) {
  item(1043)->setEnabled(enabled);
}

void CDashDlg::ShowWarningBox(const std::string& text) {
  services_.showWarning(this, ApplicationName(), Latin1(text));
}

bool CDashDlg::RunPortDialog(std::string& selectedPort) {
  portDlg_.selectedPort = selectedPort;
  if (portDlg_.exec() != QDialog::Accepted) return false;
  selectedPort = portDlg_.selectedPort;
  return true;
}

void CDashDlg::OnSysCommand(unsigned id) {
  if ((id & 0xFFF0) == kAboutCommandId) {
    CAboutDlg about(this);
    about.exec();
    return;
  }
  switch (id & 0xFFF0) {
    case kScMinimize:
      showMinimized();
      break;
    case kScRestore:
      showNormal();
      break;
    case kScClose:
      close();  // the close box: the Cancel result
      break;
    default:
      break;
  }
}

void CDashDlg::OnExit() {
  DoDataExchange(true);
  accept();
}

void CDashDlg::OnTimer(int id) {
  timers_.OnTimer(id);
}

void CDashDlg::OnSelectCan() {
  state_.voltFromCan = 1;
  state_.settingsDirty = 1;
  radioValue_ = 0;
  PushDataToControls();
}

void CDashDlg::OnSelectAdc() {
  state_.voltFromCan = 0;
  state_.settingsDirty = 1;
  radioValue_ = 1;
  PushDataToControls();
}

void CDashDlg::OnSerialEvent() {
  link_.OnSerialEvent();
}

void CDashDlg::timerEvent(QTimerEvent* event) {
  auto it = timerIds_.find(event->timerId());
  if (it == timerIds_.end()) {
    QDialog::timerEvent(event);
    return;
  }
  const int id = it->second;
  Guarded([this, id] { OnTimer(id); });
}

QMenu* CDashDlg::BuildWindowMenu() {
  auto* menu = new QMenu(this);
  auto add = [this, menu](const QString& text, unsigned id, bool enabled) {
    QAction* action = menu->addAction(text);
    action->setEnabled(enabled);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { OnSysCommand(id); });
  };
  const bool minimized = isMinimized();
  add(tr("&Restore"), kScRestore, minimized);
  add(tr("Mi&nimize"), kScMinimize, !minimized);
  add(tr("&Close"), kScClose, true);
  if (aboutInMenu_) {
    menu->addSeparator();
    add(QString::fromLatin1(kAboutMenuText), kAboutCommandId, true);
  }
  return menu;
}

void CDashDlg::ShowWindowMenu(const QPoint& globalPos) {
  QMenu* menu = BuildWindowMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(globalPos);
}

void CDashDlg::contextMenuEvent(QContextMenuEvent* event) {
  ShowWindowMenu(event->globalPos());
}

}  // namespace dashvell
