#include "settings/SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <string>
#include <system_error>

#include "platform/ProgramPaths.h"
#include "settings/SettingsFormat.h"

namespace dashvell {
namespace fs = std::filesystem;
namespace {

constexpr const char* kFileName = "dvlj1939.ini";

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(size_t(n));
  }
  return true;
}

// The rename is only durable once the folder's entry is on the disk too.
void SyncDirectory(const fs::path& dir) {
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// A file nobody may write to was protected on purpose; root passes access(),
// so the permission bits are looked at as well.
bool WriteProtected(const fs::path& path, const fs::file_status& st) {
  constexpr auto anyWrite =
      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if ((st.permissions() & anyWrite) == fs::perms::none) return true;
  return ::access(path.c_str(), W_OK) != 0;
}

}  // namespace

bool ReplaceFileContents(const fs::path& path, std::string_view text) {
  std::error_code ec;
  // Write through a symbolic link to the file it names, not over the link.
  fs::path target = path;
  if (fs::is_symlink(path, ec)) {
    fs::path resolved = fs::weakly_canonical(path, ec);
    if (!ec) target = resolved;
  }
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists) {
    fs::file_status st = fs::status(target, ec);
    if (ec || !fs::is_regular_file(st) || WriteProtected(target, st)) return false;
  } else if (errno != ENOENT) {
    return false;
  }

  fs::path dir = target.parent_path();
  std::string temp = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
  int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;

  mode_t mode;
  if (exists) {
    mode = old.st_mode & 07777;
    // Keep the owner when an administrator's run rewrites a user's file.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
      // Not ours to change; the file then belongs to whoever runs the program.
    }
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  SyncDirectory(dir.empty() ? fs::path(".") : dir);
  return true;
}

fs::path CSettingsFile::Path() {
  return DataDirectory() / kFileName;
}

void CSettingsFile::LoadSettings(VehicleState& state) {
  const fs::path path = Path();
  state.portName = "COM1";
  state.voltFromCan = 0;

  std::error_code ec;
  fs::file_status st = fs::status(path, ec);
  if (!fs::exists(st)) {
    ReplaceFileContents(path, kDefaultSettingsText);
    return;
  }
  // A folder or a device of that name is not ours to replace; the defaults
  // apply. So does a file we may not read: replacing it would lose what the
  // operator wrote there.
  if (!fs::is_regular_file(st)) return;
  std::ifstream in(path, std::ios::binary);
  if (!in) return;

  if (in.peek() == std::ifstream::traits_type::eof()) {
    in.close();
    ReplaceFileContents(path, kDefaultSettingsText);
    return;
  }
  // Lines end at LF; a last line without one counts like the others. The
  // length is never counted, so files of any size read to their end.
  std::string line;
  while (std::getline(in, line)) ApplySettingsLine(line, state);
}

void CSettingsFile::SaveSettings(VehicleState& state) {
  if (ReplaceFileContents(Path(), FormatSettings(state))) state.settingsDirty = 0;
}

}  // namespace dashvell
