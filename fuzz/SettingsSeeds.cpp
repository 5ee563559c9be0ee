// fuzz_settings_seeds DIR: writes a handful of settings files for the loader's
// fuzzer, the system's own rewrites among them, so the search starts from
// files that reach every line kind.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "core/VehicleState.h"
#include "settings/SettingsFormat.h"

namespace {

struct Seed {
  const char* name;
  const char* port;  // nullptr: the text below stands as it is
  int voltFromCan;
  std::string_view text;
};

const Seed kSeeds[] = {
    {"default", nullptr, 0, dashvell::kDefaultSettingsText},
    {"com12-can", "COM12", 1, {}},
    {"com30-adc", "COM30", 0, {}},
    {"typed-lower", "com5", 0, {}},
    {"commented", nullptr, 0,
     "; hand-edited\r\n//VLT=CAN: Voltmeter from J1939 input\r\n\r\ncom=com3;\nvlt=can"},
    {"repairs", nullptr, 0, "COM=12\r\nVLT=XYZ;\r\n COM=3;\r\nCOMMENT\r\nOTHER=1\r\n"},
    {"overrides", nullptr, 0, "COM=2;\nCOM=99;junk\nVLT=CAN;\nVLT=ADC\n"},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_settings_seeds DIR\n");
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir);
  for (const Seed& seed : kSeeds) {
    std::string text(seed.text);
    if (seed.port != nullptr) {
      dashvell::VehicleState state;
      state.portName = seed.port;
      state.voltFromCan = seed.voltFromCan;
      text = dashvell::FormatSettings(state);
    }
    std::ofstream out(dir / seed.name, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) {
      std::fprintf(stderr, "fuzz_settings_seeds: cannot write %s\n", seed.name);
      return 1;
    }
  }
  return 0;
}
