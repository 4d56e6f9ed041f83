// Checking a profile list file for what the store's read or its next write
// would change or lose.
#pragma once

#include <string>
#include <vector>

namespace rxtools {

// The findings for the file at path, one line each ("RGB slot 7: state 9 is
// not a state code"); empty when nothing is wrong. A file that cannot be read
// or parsed gives one finding, the reason.
std::vector<std::string> checkListFile(const std::string& path);

}  // namespace rxtools
