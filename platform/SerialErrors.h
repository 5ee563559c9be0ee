// The sentences an operator reads when a serial port cannot be used: which
// failure it was, told from what QSerialPort reports and what the device file
// allows, and one sentence naming the port, the device and what to do.
#pragma once

#include <QSerialPort>
#include <string>

namespace dashvell {

enum class SerialFailure { DeviceMissing, PermissionDenied, DeviceBusy, SettingsRejected, Other };

// Qt reports both "permission denied" and "device busy" (another program, or
// its lock file) as PermissionError; the device file's own access rights tell
// them apart. deviceExists and accessible are what stat and access(R_OK|W_OK)
// say about the device path.
SerialFailure ClassifyOpenFailure(QSerialPort::SerialPortError error, bool deviceExists,
                                  bool accessible);

struct SerialFailureContext {
  int port = 1;              // COM<port>
  std::string device;        // the device path that was opened
  std::string link;          // where a ports/COM<port> link would go
  std::string lineSettings;  // for SettingsRejected
  std::string detail;        // the system's own words, for SettingsRejected and Other
};

// One sentence, ending in a full stop.
std::string SerialFailureText(SerialFailure failure, const SerialFailureContext& context);

// A line-settings text that is not "baud,parity,data bits,stop bits".
std::string MalformedLineSettingsText(const std::string& text);

}  // namespace dashvell
