#include "platform/SerialDevicePath.h"

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

}  // namespace dashvell
