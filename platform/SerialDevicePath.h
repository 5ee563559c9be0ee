// Which device file stands for port number n: a link or file ports/COMn in
// the data folder when one is there, otherwise the n-th standard serial port.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace dashvell {

// <dataDir>/ports/COM<n>, whether or not it exists.
std::filesystem::path PortLinkPath(const std::filesystem::path& dataDir, int port);

// PortLinkPath when that entry exists, even as a dangling link: the operator
// meant that device, and a dangling link just says it is unplugged. Without
// the entry, /dev/ttyS<n-1>, the numbering Linux gives COMn.
std::filesystem::path SerialDevicePath(const std::filesystem::path& dataDir, int port);

// One making of a symbolic link: a link removed and made again, even with the
// same target, has another stamp.
struct LinkStamp {
  uint64_t inode = 0;
  int64_t changedNs = 0;
  bool operator==(const LinkStamp&) const = default;
};

// The stamp of the link at path; nothing when path is not a symbolic link.
std::optional<LinkStamp> StampOfLink(const std::filesystem::path& path);

// Whether path (followed through links) is the slave of a pseudo-terminal.
bool IsPseudoTerminal(const std::filesystem::path& path);

}  // namespace dashvell
