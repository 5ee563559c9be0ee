// The dashboard window: owns every control's wrapper, the vehicle state, the
// settings file and the port dialog for the whole run, and routes the timers,
// the serial control's event and the operator's buttons to their handlers.
#pragma once

#include <QDialog>
#include <QIcon>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "app/CPortDlg.h"
#include "app/TemplateControls.h"
#include "core/ReceiveStream.h"
#include "core/VehicleState.h"
#include "dash/DashPanel.h"
#include "dash/DashTimers.h"
#include "dash/DashWindow.h"
#include "dash/HousekeepingCycle.h"
#include "dash/Instruments.h"
#include "dash/RefreshCycle.h"
#include "dash/SelfTest.h"
#include "link/ByteSink.h"
#include "link/CMSComm.h"
#include "link/GatewayCommands.h"
#include "link/GatewayLink.h"
#include "link/LinkWindow.h"
#include "platform/Control.h"
#include "platform/LocalClock.h"
#include "platform/MillisecondCounter.h"
#include "settings/SettingsFile.h"

class QMenu;

namespace dashvell {

// What the window takes from the system; tests put fakes in.
struct DashServices {
  // Makes control 1002; by default the serial control on the real ports.
  std::function<std::unique_ptr<Control>()> makeSerialControl;
  MillisecondCounter* counter = nullptr;  // null: the system's
  LocalClock* clock = nullptr;            // null: the system's
  // Shows a modal warning box and returns when it is closed; by default a
  // QMessageBox with an OK button and an exclamation icon.
  std::function<void(QWidget* parent, const QString& caption, const QString& text)> showWarning;
};

// Window-menu command ids, as the platform numbers them.
enum SysCommand : unsigned {
  kScMinimize = 0xF020,
  kScClose = 0xF060,
  kScRestore = 0xF120,
};

class CDashDlg : public QDialog, public LinkWindow, public DashWindow {
 public:
  explicit CDashDlg(DashServices services = {}, QWidget* parent = nullptr);
  ~CDashDlg() override;

  // Opens the window (OnInitDialog first) and runs it modally.
  int exec() override;

  // One routine for both directions: attaches the wrappers (first time
  // only), then text box 1025 <-> portName, 1028 <-> the clock text and the
  // radio pair 1044/1045 <-> the radio value (-1: neither selected).
  void DoDataExchange(bool saveAndValidate);
  void OnInitDialog();

  // Handlers.
  void OnSysCommand(unsigned id);
  void OnExit();
  void OnTimer(int id);
  void OnSelectCan();
  void OnSelectAdc();
  void OnSerialEvent();

  // LinkWindow and DashWindow.
  void PushDataToControls() override;
  void EnableConnect(bool enabled) override;
  void EnableDisconnect(bool enabled) override;
  void ShowWarningBox(const std::string& text) override;
  bool RunPortDialog(std::string& selectedPort) override;
  void SetClockText(const std::string& text) override { clockText_ = text; }
  void SetRadioValue(int32_t value) override { radioValue_ = value; }

  // The one boundary between the event loop and the handlers: a ControlError
  // a handler lets out is shown to the operator once, in a warning box; the
  // same message is not stacked again while its box is still open.
  void Guarded(const std::function<void()>& handler);

  // For the tests and the screenshot tool.
  VehicleState& state() { return state_; }
  const ReceiveStream& stream() const { return stream_; }
  const std::string& clockText() const { return clockText_; }
  int32_t radioValue() const { return radioValue_; }
  QWidget* item(int id) const;
  const TemplateControls& controls() const { return controls_; }
  CPortDlg& portDialog() { return portDlg_; }
  // The window's menu as the right click and Alt+Space show it.
  QMenu* BuildWindowMenu();

 protected:
  void timerEvent(QTimerEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void ConnectHandlers();
  void ShowWindowMenu(const QPoint& globalPos);

  DashServices services_;
  TemplateControls controls_;
  std::unique_ptr<Control> serialControl_;

  // The members the window is known by, in this order.
  CMSComm comm_;                               // 1002
  std::array<CiAngularGaugeX, 6> gauges_;      // 1004 to 1009
  std::array<CiAnalogDisplayX, 7> displaysA_;  // 1011 1012 1013 1014 1015 1017 1016
  std::array<CiOdometerX, 2> odometers_;       // 1020 1019
  CiAnalogDisplayX display1018_;
  std::string clockText_;                      // 1028; portName lives in state_
  std::array<CiLedRectangleX, 8> lamps_;       // 1029 1030 1031 1035 1033 1032 1039 1038
  std::array<CiAnalogDisplayX, 7> displaysB_;  // 1021 1022 1026 1027 1034 1040 1041
  int32_t radioValue_ = -1;
  VehicleState state_;
  QIcon icon_;
  CSettingsFile settings_;
  CPortDlg portDlg_;

  // The logic the handlers forward to.
  ReceiveStream stream_;
  ReceiveStreamSink sink_;
  GatewayCommands commands_;
  GatewayLink link_;
  SelfTest selfTest_;
  DashPanel panel_;
  RefreshCycle refresh_;
  HousekeepingCycle housekeeping_;
  DashTimers timers_;

  bool attached_ = false;
  bool opened_ = false;
  bool aboutInMenu_ = false;
  std::map<int, int> timerIds_;  // Qt's timer id -> the window's 1 or 2
  std::set<std::string> openErrorBoxes_;
};

}  // namespace dashvell
