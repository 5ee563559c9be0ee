// The gateway's end of the serial line: a pseudo-terminal published through a
// symbolic link, or a real serial port; raw bytes at 115200 baud.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace dashvell {

class SerialEnd {
 public:
  SerialEnd() = default;
  SerialEnd(const SerialEnd&) = delete;
  SerialEnd& operator=(const SerialEnd&) = delete;
  ~SerialEnd();

  // Each returns false and sets error to one sentence on failure.
  bool OpenPty(const std::string& link, std::string& error);
  bool OpenDevice(const std::string& path, std::string& error);

  int fd() const { return fd_; }
  // Sends what it can without blocking; returns the bytes taken (the rest is
  // the caller's to retry). A pty's EIO or a full buffer takes nothing.
  size_t Write(std::span<const uint8_t> bytes);
  // Nobody reading the pty: drops what waits there, as bytes put on a wire
  // with no listener are gone; call now and then with the current time.
  void DropUnread(double now);
  // Removes the link if it still points at our pty.
  void RemoveLink();

 private:
  int fd_ = -1;     // pty master or device
  int slave_ = -1;  // held open so the master never sees a hang-up
  std::string link_, slaveName_;
  int lastQueued_ = 0;
  double lastDrained_ = 0;
};

}  // namespace dashvell
