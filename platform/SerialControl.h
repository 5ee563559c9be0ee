// The serial communications control on QSerialPort: the port is driven by
// property put and get by dispatch id, and notifies its sink whenever received
// bytes are waiting. A device that vanishes while open (USB adapter unplugged,
// pty closed) is reopened by itself as soon as it is back.
#pragma once

#include <QObject>
#include <QSerialPort>
#include <QTimer>
#include <string>

#include "platform/Control.h"
#include "platform/LineSettings.h"
#include "platform/SerialDevicePath.h"

namespace dashvell {

class SerialControl : public QObject, public Control {
  Q_OBJECT

 public:
  // Dispatch ids of the properties.
  enum : DispId {
    kPortNumber = 4,         // VT_I2, 1..255; port n is ports/COMn or /dev/ttyS<n-1>
    kReadLength = 14,        // VT_I2, bytes one read returns at most; 0 = all waiting
    kOpenState = 20,         // VT_BOOL
    kReceiveThreshold = 21,  // VT_I2, notify when this many bytes wait; 0 = never
    kLineSettings = 23,      // VT_BSTR, "baud,parity,data bits,stop bits"
    kTransmitData = 25,      // put only: byte array (or string), written in order
    kReceivedData = 26,      // get only: the bytes waiting since the last read
    kEventCode = 27,         // get only, VT_I2: code of the event being notified
    kReceiveFormat = 29,     // VT_I4: 0 received data as a string, 1 as a byte array
  };

  // The notification event and its codes.
  static constexpr DispId kNotifyEvent = 1;
  // Received bytes are waiting (at least the receive threshold).
  static constexpr int16_t kEventReceive = 2;
  // The open device vanished. The control still reports itself open, drops
  // writes, and reopens the same device with the same settings once it is
  // back; nothing is raised when it comes back, bytes simply flow again.
  // A pseudo-terminal behind a ports/COMn link counts as back only once the
  // link has been made again: its number is handed to the next terminal
  // anyone opens, and that is not our gateway.
  static constexpr int16_t kEventDeviceLost = 1100;

  // How often a vanished device is looked for.
  static constexpr int kReopenIntervalMs = 500;

  explicit SerialControl(QObject* parent = nullptr);
  ~SerialControl() override;

  // Failures the port itself raises (no such device, permission denied,
  // device busy, line settings the device rejects, a malformed value) throw
  // ControlError with one sentence for the operator.
  void PutProperty(DispId id, const Variant& value) override;
  Variant GetProperty(DispId id) override;

 private:
  enum class State { Closed, Open, Lost };

  void Open();
  void Close();
  // Puts settings_ on the open port; on refusal fills detail and returns false.
  bool ApplyLineSettings(std::string& detail);
  void PutLineSettings(const std::string& text);
  void Transmit(const Variant& value);
  Variant TakeReceived();
  void OnReadyRead();
  void OnError(QSerialPort::SerialPortError error);
  void HandleLoss(unsigned generation);
  void TryReopen();
  void Notify(int16_t code);
  void NoteOpenedDevice();
  std::string PortName() const;

  QSerialPort port_;
  QTimer reopenTimer_;
  State state_ = State::Closed;
  bool lossPending_ = false;
  // Bumped by every open and close, so a loss noticed on an earlier opening
  // is not pinned on the next one.
  unsigned generation_ = 0;
  int readErrors_ = 0;

  int16_t portNumber_ = 1;
  int16_t readLength_ = 0;
  int16_t threshold_ = 0;
  int32_t receiveFormat_ = 0;
  std::string lineSettingsText_ = "9600,n,8,1";
  LineSettings lineSettings_;
  int16_t eventCode_ = 0;
  std::string device_;  // the path opened, kept for reopening after a loss
  // Set when device_ is a link to a pseudo-terminal: the link as it was made
  // when we opened it.
  std::optional<LinkStamp> ptyLink_;
  // Bytes taken off a vanishing device that no read has collected yet.
  ByteArray salvaged_;
};

}  // namespace dashvell
