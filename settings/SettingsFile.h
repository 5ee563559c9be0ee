// The settings file dvlj1939.ini in the data folder: read once when the window
// opens, rewritten from the housekeeping pass whenever settingsDirty is set.
#pragma once

#include <filesystem>
#include <string_view>

#include "core/VehicleState.h"

namespace dashvell {

class CSettingsFile {
 public:
  // Sets portName and voltFromCan from the file (defaults "COM1" and the
  // gateway's input), sets settingsDirty when a line had to be repaired, and
  // writes the default file when there is none or it is empty. Never fails
  // visibly: whatever cannot be read or written leaves the defaults in place.
  void LoadSettings(VehicleState& state);

  // Rewrites the whole file from portName and voltFromCan and clears
  // settingsDirty, but only once the new file is completely in place. A file
  // the operator made read-only is left as it is and the request stands.
  void SaveSettings(VehicleState& state);

  // Computed afresh on every call, as the data folder may move between runs.
  static std::filesystem::path Path();
};

// Replaces the file at path by one holding exactly text: written to a
// temporary file beside it, flushed to the disk and renamed over it, so a power
// loss never leaves half a file and no old bytes survive. Creates the file when
// it is missing. Returns false, leaving everything as it was, when the path is
// not a regular file, the file is write-protected, or any step fails.
bool ReplaceFileContents(const std::filesystem::path& path, std::string_view text);

}  // namespace dashvell
