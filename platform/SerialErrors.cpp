#include "platform/SerialErrors.h"

namespace dashvell {

SerialFailure ClassifyOpenFailure(QSerialPort::SerialPortError error, bool deviceExists,
                                  bool accessible) {
  if (!deviceExists || error == QSerialPort::DeviceNotFoundError) {
    return SerialFailure::DeviceMissing;
  }
  if (error == QSerialPort::PermissionError) {
    return accessible ? SerialFailure::DeviceBusy : SerialFailure::PermissionDenied;
  }
  if (error == QSerialPort::OpenError) return SerialFailure::DeviceBusy;
  return SerialFailure::Other;
}

std::string SerialFailureText(SerialFailure failure, const SerialFailureContext& c) {
  const std::string head =
      std::string(failure == SerialFailure::SettingsRejected ? "Cannot use COM"
                                                             : "Cannot open COM") +
      std::to_string(c.port) + ": ";
  switch (failure) {
    case SerialFailure::DeviceMissing:
      return head + "the device " + c.device +
             " does not exist; check that the gateway's cable or USB serial adapter is plugged "
             "in, or make " +
             c.link + " a link to the right device.";
    case SerialFailure::PermissionDenied:
      return head + "permission to use " + c.device +
             " was denied; add your user to the dialout group (sudo usermod -aG dialout "
             "$USER), log in again and connect.";
    case SerialFailure::DeviceBusy:
      return head + "the device " + c.device +
             " is in use by another program; close that program and connect again.";
    case SerialFailure::SettingsRejected:
      return head + "the device " + c.device + " does not accept the line settings \"" +
             c.lineSettings + "\" (" + c.detail + "); choose settings the adapter supports.";
    case SerialFailure::Other:
      break;
  }
  return head + "the device " + c.device + " failed with \"" + c.detail +
         "\"; check the device and connect again.";
}

std::string MalformedLineSettingsText(const std::string& text) {
  return "The line settings \"" + text +
         "\" are not valid; write them as baud,parity,data bits,stop bits, for example "
         "\"115200,n,8,1\".";
}

}  // namespace dashvell
