#include "platform/SerialControl.h"

#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/ProgramPaths.h"
#include "platform/SerialDevicePath.h"
#include "platform/SerialErrors.h"

namespace dashvell {
namespace {

int32_t IntegerOf(const Variant& v, const char* property) {
  if (v.type() == VarType::I2) return v.i2();
  if (v.type() == VarType::I4) return v.i4();
  throw ControlError(std::string("The serial port's ") + property + " must be a whole number.");
}

bool FlagOf(const Variant& v) {
  if (v.type() == VarType::Bool) return v.boolValue();
  return IntegerOf(v, "open state") != 0;
}

QSerialPort::Parity QtParity(Parity p) {
  switch (p) {
    case Parity::Even:
      return QSerialPort::EvenParity;
    case Parity::Odd:
      return QSerialPort::OddParity;
    case Parity::Mark:
      return QSerialPort::MarkParity;
    case Parity::Space:
      return QSerialPort::SpaceParity;
    case Parity::None:
      break;
  }
  return QSerialPort::NoParity;
}

QSerialPort::StopBits QtStopBits(StopBits s) {
  switch (s) {
    case StopBits::OneAndHalf:
      return QSerialPort::OneAndHalfStop;
    case StopBits::Two:
      return QSerialPort::TwoStop;
    case StopBits::One:
      break;
  }
  return QSerialPort::OneStop;
}

}  // namespace

SerialControl::SerialControl(QObject* parent) : QObject(parent) {
  lineSettings_ = *ParseLineSettings(lineSettingsText_);
  reopenTimer_.setInterval(kReopenIntervalMs);
  connect(&reopenTimer_, &QTimer::timeout, this, &SerialControl::TryReopen);
  connect(&port_, &QSerialPort::readyRead, this, &SerialControl::OnReadyRead);
  connect(&port_, &QSerialPort::errorOccurred, this, &SerialControl::OnError);
}

SerialControl::~SerialControl() {
  state_ = State::Closed;
  reopenTimer_.stop();
  port_.close();
}

std::string SerialControl::PortName() const {
  return "COM" + std::to_string(portNumber_);
}

void SerialControl::PutProperty(DispId id, const Variant& value) {
  switch (id) {
    case kPortNumber: {
      int32_t n = IntegerOf(value, "port number");
      if (n < 1 || n > 255) {
        throw ControlError("Port number " + std::to_string(n) +
                           " is not valid; choose one of COM1 to COM255.");
      }
      if (state_ != State::Closed) {
        throw ControlError(PortName() + " is open; close it before choosing another port.");
      }
      portNumber_ = int16_t(n);
      return;
    }
    case kReadLength:
    case kReceiveThreshold: {
      int32_t n = IntegerOf(value, id == kReadLength ? "read length" : "receive threshold");
      if (n < 0 || n > INT16_MAX) {
        throw ControlError("The serial port's " +
                           std::string(id == kReadLength ? "read length" : "receive threshold") +
                           " cannot be " + std::to_string(n) + ".");
      }
      (id == kReadLength ? readLength_ : threshold_) = int16_t(n);
      return;
    }
    case kOpenState:
      if (FlagOf(value)) {
        Open();
      } else {
        Close();
      }
      return;
    case kLineSettings:
      if (value.type() != VarType::BStr) {
        throw ControlError(
            "The serial port's line settings must be text such as \"115200,n,8,1\".");
      }
      PutLineSettings(value.bstr());
      return;
    case kTransmitData:
      Transmit(value);
      return;
    case kReceiveFormat: {
      int32_t f = IntegerOf(value, "receive format");
      if (f != 0 && f != 1) {
        throw ControlError("The serial port's receive format cannot be " + std::to_string(f) +
                           "; use 0 for text or 1 for bytes.");
      }
      receiveFormat_ = f;
      return;
    }
    default:
      throw ControlError("The serial port has no property with dispatch id " + std::to_string(id) +
                         " to set.");
  }
}

Variant SerialControl::GetProperty(DispId id) {
  switch (id) {
    case kPortNumber:
      return Variant::I2(portNumber_);
    case kReadLength:
      return Variant::I2(readLength_);
    case kOpenState:
      return Variant::Bool(state_ != State::Closed);
    case kReceiveThreshold:
      return Variant::I2(threshold_);
    case kLineSettings:
      return Variant::BStr(lineSettingsText_);
    case kReceivedData:
      return TakeReceived();
    case kEventCode:
      return Variant::I2(eventCode_);
    case kReceiveFormat:
      return Variant::I4(receiveFormat_);
    default:
      throw ControlError("The serial port has no property with dispatch id " + std::to_string(id) +
                         " to read.");
  }
}

void SerialControl::Open() {
  if (state_ != State::Closed) return;
  const auto dataDir = DataDirectory();
  const auto device = SerialDevicePath(dataDir, portNumber_);
  device_ = device.string();
  SerialFailureContext context{portNumber_, device_, PortLinkPath(dataDir, portNumber_).string(),
                               lineSettingsText_, ""};
  port_.setPortName(QString::fromStdString(device_));
  if (!port_.open(QIODevice::ReadWrite)) {
    const auto error = port_.error();
    context.detail = port_.errorString().toStdString();
    port_.clearError();
    std::error_code ec;
    const bool exists = std::filesystem::exists(device, ec);
    const bool accessible = ::access(device_.c_str(), R_OK | W_OK) == 0;
    throw ControlError(SerialFailureText(ClassifyOpenFailure(error, exists, accessible), context));
  }
  if (!ApplyLineSettings(context.detail)) {
    port_.close();
    throw ControlError(SerialFailureText(SerialFailure::SettingsRejected, context));
  }
  // Whatever the device held before this open belongs to nobody.
  ::tcflush(port_.handle(), TCIFLUSH);
  NoteOpenedDevice();
  salvaged_.clear();
  readErrors_ = 0;
  lossPending_ = false;
  ++generation_;
  state_ = State::Open;
}

void SerialControl::Close() {
  ++generation_;
  state_ = State::Closed;
  lossPending_ = false;
  reopenTimer_.stop();
  if (port_.isOpen()) port_.close();
  salvaged_.clear();
}

bool SerialControl::ApplyLineSettings(std::string& detail) {
  const auto& s = lineSettings_;
  const bool ok =
      port_.setBaudRate(s.baud) && port_.setDataBits(QSerialPort::DataBits(s.dataBits)) &&
      port_.setParity(QtParity(s.parity)) && port_.setStopBits(QtStopBits(s.stopBits)) &&
      port_.setFlowControl(QSerialPort::NoFlowControl);
  if (!ok) {
    detail = port_.errorString().toStdString();
    port_.clearError();
  }
  return ok;
}

void SerialControl::PutLineSettings(const std::string& text) {
  auto parsed = ParseLineSettings(text);
  if (!parsed) throw ControlError(MalformedLineSettingsText(text));
  if (state_ != State::Open) {
    // Closed: used at the next open. Lost: put on the device when it is back.
    lineSettings_ = *parsed;
    lineSettingsText_ = text;
    return;
  }
  const LineSettings previous = lineSettings_;
  lineSettings_ = *parsed;
  std::string detail;
  if (ApplyLineSettings(detail)) {
    lineSettingsText_ = text;
    return;
  }
  lineSettings_ = previous;
  SerialFailureContext context{portNumber_, device_, "", text, detail};
  Close();
  throw ControlError(SerialFailureText(SerialFailure::SettingsRejected, context));
}

void SerialControl::Transmit(const Variant& value) {
  const char* data = nullptr;
  size_t size = 0;
  if (value.type() == VarType::UI1Array) {
    data = reinterpret_cast<const char*>(value.bytes().data());
    size = value.bytes().size();
  } else if (value.type() == VarType::BStr) {
    data = value.bstr().data();
    size = value.bstr().size();
  } else {
    throw ControlError("Data sent to the serial port must be an array of bytes.");
  }
  if (state_ == State::Closed) {
    throw ControlError("Cannot send to " + PortName() + ": the port is not open; connect first.");
  }
  // A vanished device swallows what is sent until it is back, as a cable would.
  if (state_ == State::Lost || lossPending_ || size == 0) return;
  port_.write(data, qint64(size));
  // Callers pace single bytes in a busy wait without returning to the event
  // loop, so each write has to reach the device now, not on the next pass.
  port_.flush();
}

Variant SerialControl::TakeReceived() {
  const size_t waiting = size_t(state_ == State::Open ? port_.bytesAvailable() : 0);
  size_t total = salvaged_.size() + waiting;
  if (readLength_ > 0) total = std::min(total, size_t(readLength_));
  ByteArray out;
  out.reserve(total);
  const size_t fromSalvage = std::min(total, salvaged_.size());
  out.assign(salvaged_.begin(), salvaged_.begin() + fromSalvage);
  salvaged_.erase(salvaged_.begin(), salvaged_.begin() + fromSalvage);
  if (total > fromSalvage) {
    out.resize(total);
    const qint64 got =
        port_.read(reinterpret_cast<char*>(out.data() + fromSalvage), qint64(total - fromSalvage));
    out.resize(fromSalvage + size_t(std::max<qint64>(got, 0)));
  }
  if (receiveFormat_ == 0) return Variant::BStr(std::string(out.begin(), out.end()));
  return Variant::Bytes(std::move(out));
}

void SerialControl::OnReadyRead() {
  readErrors_ = 0;
  if (threshold_ <= 0 || state_ != State::Open) return;
  if (salvaged_.size() + size_t(port_.bytesAvailable()) < size_t(threshold_)) return;
  Notify(kEventReceive);
}

void SerialControl::OnError(QSerialPort::SerialPortError error) {
  if (state_ != State::Open) return;
  const bool ioError = error == QSerialPort::ReadError || error == QSerialPort::WriteError;
  if (error != QSerialPort::ResourceError && !(ioError && ++readErrors_ >= 2)) return;
  if (lossPending_) return;
  // A dead descriptor keeps Qt's notifier firing; everything after the first
  // sign is ignored until the port is closed, right after this signal returns.
  lossPending_ = true;
  const unsigned generation = generation_;
  QMetaObject::invokeMethod(
      this, [this, generation] { HandleLoss(generation); }, Qt::QueuedConnection);
}

void SerialControl::HandleLoss(unsigned generation) {
  if (generation != generation_ || state_ != State::Open) return;
  lossPending_ = false;
  // Bytes that arrived before the device went are still owed to the reader.
  const qint64 waiting = port_.bytesAvailable();
  if (waiting > 0) {
    const size_t at = salvaged_.size();
    salvaged_.resize(at + size_t(waiting));
    const qint64 got = port_.read(reinterpret_cast<char*>(salvaged_.data() + at), waiting);
    salvaged_.resize(at + size_t(std::max<qint64>(got, 0)));
  }
  port_.close();
  ++generation_;
  state_ = State::Lost;
  reopenTimer_.start();
  if (!salvaged_.empty() && threshold_ > 0) Notify(kEventReceive);
  if (state_ == State::Lost) Notify(kEventDeviceLost);
}

void SerialControl::TryReopen() {
  if (state_ != State::Lost) {
    reopenTimer_.stop();
    return;
  }
  if (ptyLink_ && StampOfLink(device_) == ptyLink_) return;
  if (!port_.open(QIODevice::ReadWrite)) {
    port_.clearError();
    return;
  }
  std::string detail;
  if (!ApplyLineSettings(detail)) {
    port_.close();
    return;
  }
  NoteOpenedDevice();
  reopenTimer_.stop();
  readErrors_ = 0;
  ++generation_;
  state_ = State::Open;
}

void SerialControl::NoteOpenedDevice() {
  ptyLink_.reset();
  if (IsPseudoTerminal(device_)) ptyLink_ = StampOfLink(device_);
}

void SerialControl::Notify(int16_t code) {
  eventCode_ = code;
  RaiseEvent(kNotifyEvent);
}

}  // namespace dashvell
