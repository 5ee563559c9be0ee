#include "tools/gateway/PtyLink.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace dashvell {
namespace {

// Raw 8N1 at 115200 baud, no flow control, reads that never block.
bool MakeRaw(int fd) {
  termios t{};
  if (tcgetattr(fd, &t) != 0) return false;
  cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  t.c_cflag &= ~CRTSCTS;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  cfsetispeed(&t, B115200);
  cfsetospeed(&t, B115200);
  return tcsetattr(fd, TCSANOW, &t) == 0;
}

std::string Why() {
  return std::strerror(errno);
}

// A reader that has not taken a byte for this long is taken to be gone.
constexpr double kUnreadAfter = 0.3;

}  // namespace

SerialEnd::~SerialEnd() {
  RemoveLink();
  if (slave_ >= 0) close(slave_);
  if (fd_ >= 0) close(fd_);
}

bool SerialEnd::OpenPty(const std::string& link, std::string& error) {
  struct stat st {};
  if (lstat(link.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
    error = link + " exists and is not a symbolic link; refusing to replace it";
    return false;
  }
  std::error_code ec;
  const std::filesystem::path parent = std::filesystem::path(link).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);
  fd_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd_ < 0 || grantpt(fd_) != 0 || unlockpt(fd_) != 0) {
    error = "cannot create a pseudo-terminal: " + Why();
    return false;
  }
  const char* name = ptsname(fd_);
  if (!name) {
    error = "cannot name the pseudo-terminal: " + Why();
    return false;
  }
  slaveName_ = name;
  // Holding the slave open ourselves keeps the master from reporting a
  // hang-up (and EIO) whenever the dashboard closes its port.
  slave_ = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (slave_ < 0 || !MakeRaw(slave_)) {
    error = "cannot set up the pseudo-terminal " + slaveName_ + ": " + Why();
    return false;
  }
  // Publish atomically: a stale link of an earlier run is replaced in one step.
  const std::string temp = link + ".new" + std::to_string(getpid());
  unlink(temp.c_str());
  if (symlink(name, temp.c_str()) != 0 || rename(temp.c_str(), link.c_str()) != 0) {
    error = "cannot make the link " + link + ": " + Why();
    unlink(temp.c_str());
    return false;
  }
  link_ = link;
  return true;
}

bool SerialEnd::OpenDevice(const std::string& path, std::string& error) {
  fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd_ < 0) {
    error = "cannot open " + path + ": " + Why() +
            (errno == EACCES ? " (add yourself to the dialout group)" : "");
    return false;
  }
  if (!MakeRaw(fd_)) {
    error = path + " is not a serial port that takes 115200 baud raw: " + Why();
    return false;
  }
  return true;
}

size_t SerialEnd::Write(std::span<const uint8_t> bytes) {
  if (bytes.empty()) return 0;
  ssize_t n = write(fd_, bytes.data(), bytes.size());
  return n > 0 ? size_t(n) : 0;
}

void SerialEnd::DropUnread(double now) {
  if (slave_ < 0) return;
  int queued = 0;
  if (ioctl(slave_, FIONREAD, &queued) != 0) return;
  if (queued == 0 || queued < lastQueued_) lastDrained_ = now;
  lastQueued_ = queued;
  if (queued > 0 && now - lastDrained_ > kUnreadAfter) {
    tcflush(slave_, TCIFLUSH);
    lastQueued_ = 0;
    lastDrained_ = now;
  }
}

void SerialEnd::RemoveLink() {
  if (link_.empty()) return;
  std::error_code ec;
  if (std::filesystem::read_symlink(link_, ec) == slaveName_) unlink(link_.c_str());
  link_.clear();
}

}  // namespace dashvell
