// Fuzz target: arbitrary contents of the settings file through the real
// loader. Whatever the operator typed, the port name must be one the line
// rules can produce, the voltmeter source 0 or 1, the operator's file must be
// left as it was, and our own rewrite must read back to the same two settings
// without asking for another rewrite.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "core/VehicleState.h"
#include "platform/ProgramPaths.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsFormat.h"

namespace fs = std::filesystem;
using dashvell::CSettingsFile;
using dashvell::VehicleState;

namespace {

fs::path g_file;

[[noreturn]] void Fail(const char* what, std::string_view detail) {
  std::fprintf(stderr, "fuzz_settings: %s [%.*s]\n", what, int(detail.size()), detail.data());
  std::abort();
}

void WriteFile(const uint8_t* data, size_t size) {
  std::ofstream out(g_file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  if (!out.flush()) Fail("cannot write the test file", g_file.string());
}

std::string ReadFile() {
  std::ifstream in(g_file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// "COM" and then the text before the first ';' of an upper-cased line whose
// leading C, O, M and '=' were taken off: never empty, never starting with one
// of those four, and holding no ';', no LF (it ends the line) and no lower-case
// letter.
void CheckPortName(const std::string& port) {
  if (port.size() < 4 || port.compare(0, 3, "COM") != 0)
    Fail("portName without COM and text", port);
  const std::string_view text = std::string_view(port).substr(3);
  if (std::string_view("COM=").find(text.front()) != std::string_view::npos)
    Fail("port text starts with a stripped character", port);
  for (char c : text) {
    if (c == ';' || c == '\n' || (c >= 'a' && c <= 'z'))
      Fail("port text holds a forbidden byte", port);
  }
}

void CheckVolt(const VehicleState& state) {
  if (state.voltFromCan != 0 && state.voltFromCan != 1) Fail("voltFromCan not 0 or 1", "");
  if (state.settingsDirty != 0 && state.settingsDirty != 1) Fail("settingsDirty not 0 or 1", "");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A folder of our own, on tmpfs when there is one: every input is written,
  // read and rewritten through the same calls the panel makes.
  std::error_code ec;
  fs::path base =
      fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
  fs::path dir = base / ("dashvell-fuzz-settings-" + std::to_string(::getpid()));
  fs::create_directories(dir, ec);
  if (ec) Fail("cannot create the folder", dir.string());
  dashvell::OverrideDataDirectory(dir);
  g_file = CSettingsFile::Path();
  std::atexit([] {
    std::error_code ignored;
    fs::remove_all(g_file.parent_path(), ignored);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Files the loader is not meant for (beyond 64 KiB) only slow the search.
  if (size > 65534) return 0;
  WriteFile(data, size);

  CSettingsFile file;
  VehicleState loaded;
  file.LoadSettings(loaded);
  CheckPortName(loaded.portName);
  CheckVolt(loaded);

  const std::string afterLoad = ReadFile();
  const std::string_view original(reinterpret_cast<const char*>(data), size);
  if (size == 0) {
    if (afterLoad != dashvell::kDefaultSettingsText)
      Fail("empty file not given the defaults", afterLoad);
    if (loaded.settingsDirty != 0) Fail("defaults asked for a rewrite", "");
  } else if (afterLoad != original) {
    Fail("loading changed the operator's file", afterLoad);
  }

  file.SaveSettings(loaded);
  if (loaded.settingsDirty != 0) Fail("save left the request standing", loaded.portName);
  const std::string saved = ReadFile();
  if (saved != dashvell::FormatSettings(loaded)) Fail("file is not what was saved", saved);

  VehicleState again;
  file.LoadSettings(again);
  if (again.portName != loaded.portName) Fail("port name did not read back", again.portName);
  if (again.voltFromCan != loaded.voltFromCan) Fail("voltmeter source did not read back", saved);
  if (again.settingsDirty != 0) Fail("our own file asked for a repair", saved);
  return 0;
}
