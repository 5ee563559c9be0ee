// Which device file stands for port number n: a link or file ports/COMn in
// the data folder when one is there, otherwise the n-th standard serial port.
#pragma once

#include <filesystem>

namespace dashvell {

// <dataDir>/ports/COM<n>, whether or not it exists.
std::filesystem::path PortLinkPath(const std::filesystem::path& dataDir, int port);

// PortLinkPath when that entry exists, even as a dangling link: the operator
// meant that device, and a dangling link just says it is unplugged. Without
// the entry, /dev/ttyS<n-1>, the numbering Linux gives COMn.
std::filesystem::path SerialDevicePath(const std::filesystem::path& dataDir, int port);

}  // namespace dashvell
