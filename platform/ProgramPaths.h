// Where the program keeps what lives "beside the program": the settings file
// and the ports/ folder. That is the executable's own folder when it is
// writable, otherwise (a system-wide install) the user's configuration folder.
#pragma once

#include <filesystem>

namespace dashvell {

// The folder that holds the running executable, from /proc/self/exe.
std::filesystem::path ProgramDirectory();

// ProgramDirectory() if it is writable, else the per-user configuration
// folder of the application (created when missing).
std::filesystem::path DataDirectory();

// Tests point both at a folder of their own; an empty path restores the default.
void OverrideDataDirectory(const std::filesystem::path& dir);

}  // namespace dashvell
