// Fixed system paths, placed below the optional root prefix that the
// environment variable TARNVALE_ROOT names (empty by default). Tests, the
// demo and the benchmarks run entirely under a temporary root.
#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>

namespace rx {

// TARNVALE_ROOT without a trailing slash; empty when unset.
std::string rootPrefix();

// The root prefix followed by an absolute path such as
// "/Library/Printers/TARNVALE/rx8240/Profiles".
std::string fixedPath(std::string_view absolutePath);

inline constexpr std::string_view kProfileDirectory =
    "/Library/Printers/TARNVALE/Preferences/tarnvale.printers.rx8240";
inline constexpr std::string_view kLauncherPath =
    "/Library/Application Support/TARNVALE/rx8240/Helpers/rx8240Helper.app/Contents/MacOS/rx8240Helper";
inline constexpr std::string_view kProfileIconPath = "/Library/Printers/TARNVALE/rx8240/Icons/fileExist8240.icns";
inline constexpr std::string_view kProfilesFolder = "/Library/Printers/TARNVALE/rx8240/Profiles";
inline constexpr std::string_view kResourceLoaderPath =
    "/Applications/Resource Loader rx8240/TARNVALE Resource Loader.app";

// The login name of a uid; empty when it has none.
std::string loginNameOf(uid_t uid);
// The login name of the process's real user; empty when it has none.
std::string realUserLoginName();

}  // namespace rx
