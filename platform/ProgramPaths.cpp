#include "platform/ProgramPaths.h"

#include <unistd.h>

#include <QStandardPaths>
#include <QString>
#include <system_error>

namespace dashvell {
namespace {

std::filesystem::path& Override() {
  static std::filesystem::path dir;
  return dir;
}

}  // namespace

std::filesystem::path ProgramDirectory() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  return exe.parent_path();
}

std::filesystem::path DataDirectory() {
  if (!Override().empty()) return Override();
  auto dir = ProgramDirectory();
  if (::access(dir.c_str(), W_OK) == 0) return dir;
  QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  if (config.isEmpty()) return dir;
  std::filesystem::path user(config.toStdString());
  std::error_code ec;
  std::filesystem::create_directories(user, ec);
  return user;
}

void OverrideDataDirectory(const std::filesystem::path& dir) { Override() = dir; }

}  // namespace dashvell
