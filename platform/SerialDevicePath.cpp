#include "platform/SerialDevicePath.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <string>
#include <system_error>

namespace dashvell {

std::filesystem::path PortLinkPath(const std::filesystem::path& dataDir, int port) {
  return dataDir / "ports" / ("COM" + std::to_string(port));
}

std::filesystem::path SerialDevicePath(const std::filesystem::path& dataDir, int port) {
  auto link = PortLinkPath(dataDir, port);
  std::error_code ec;
  if (std::filesystem::symlink_status(link, ec).type() != std::filesystem::file_type::not_found &&
      !ec) {
    return link;
  }
  return "/dev/ttyS" + std::to_string(port - 1);
}

std::optional<LinkStamp> StampOfLink(const std::filesystem::path& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return std::nullopt;
  return LinkStamp{uint64_t(st.st_ino),
                   int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec};
}

bool IsPseudoTerminal(const std::filesystem::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) return false;
  // Unix98 pty slaves, /dev/pts/N, have majors 136 to 143.
  const unsigned m = major(st.st_rdev);
  return m >= 136 && m <= 143;
}

}  // namespace dashvell
