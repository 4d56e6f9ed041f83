// Replacing a file whole and durably.
#pragma once

#include <string>
#include <string_view>

namespace profilelist {

// Writes text to a new file in the directory of path, flushes it to disk,
// renames it over path and flushes the directory. The new file takes the
// old file's mode (and owner, when the process may set it), else 0664.
// On failure (false) the old file is unchanged and no new file is left.
bool replaceFileDurably(const std::string& path, std::string_view text);

}  // namespace profilelist
