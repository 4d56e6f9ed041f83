// Replacing a file whole and durably.
#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>

namespace profilelist {

// Mode of a list file the store creates, and the file-creation mask the
// writability probe sets (group members may write, others only read).
inline constexpr mode_t kListFileMode = 0664;
inline constexpr mode_t kListFileCreationMask = 002;

// Writes text to a new file in the directory of path, flushes it to disk,
// renames it over path and flushes the directory. The new file takes the
// old file's mode (and owner, when the process may set it), else
// kListFileMode.
// On failure (false) the old file is unchanged and no new file is left.
bool replaceFileDurably(const std::string& path, std::string_view text);

}  // namespace profilelist
