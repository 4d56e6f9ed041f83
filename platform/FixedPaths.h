// Fixed system paths: where each piece of the driver lives once installed,
// in the places of the Linux file system hierarchy, placed below the
// optional root prefix that the environment variable TARNVALE_ROOT names
// (empty by default). Tests, the demo and the benchmarks run entirely under a
// temporary root.
//
//   what                          path (prefix /usr)
//   list files                    /var/lib/tarnvale/rx8240/USER-MODEL-profile.plist
//   launcher                      /usr/libexec/tarnvale/rx8240Helper
//   service                       /usr/libexec/tarnvale/ColorProfileService
//   service socket                /run/tarnvale/rx8240-profile.sock
//   profile window icon           /usr/share/tarnvale/rx8240/icons/fileExist8240.icns
//   profiles folder (ICC)         /usr/share/color/icc/tarnvale/rx8240
//   resource loader               /usr/bin/tarnvale-resource-loader
//   plug-in bundle                /usr/lib/<multiarch>/tarnvale/ColorOptionsPDE.plugin
//   PPD                           /usr/share/ppd/tarnvale/rx8240.ppd
//
// The state directory and the socket have fixed places whatever the prefix
// (systemd's StateDirectory= and /run); the rest follows the prefix the build
// was configured for.
#pragma once

#include "platform/InstallDirs.h"

#include <string>
#include <string_view>
#include <sys/types.h>

namespace rx {

// TARNVALE_ROOT without a trailing slash; empty when unset.
std::string rootPrefix();

// The root prefix followed by an absolute path such as kProfilesFolder.
std::string fixedPath(std::string_view absolutePath);

inline constexpr std::string_view kProfileDirectory = "/var/lib/tarnvale/rx8240";
inline constexpr std::string_view kLauncherPath = RX_INSTALL_FULL_LIBEXECDIR "/tarnvale/rx8240Helper";
inline constexpr std::string_view kServicePath = RX_INSTALL_FULL_LIBEXECDIR "/tarnvale/ColorProfileService";
inline constexpr std::string_view kServiceSocketPath = "/run/tarnvale/rx8240-profile.sock";
inline constexpr std::string_view kProfileIconPath = RX_INSTALL_FULL_DATADIR "/tarnvale/rx8240/icons/fileExist8240.icns";
inline constexpr std::string_view kProfilesFolder = RX_INSTALL_FULL_DATADIR "/color/icc/tarnvale/rx8240";
inline constexpr std::string_view kResourceLoaderPath = RX_INSTALL_FULL_BINDIR "/tarnvale-resource-loader";
inline constexpr std::string_view kBundleDirectory = RX_INSTALL_FULL_LIBDIR "/tarnvale/ColorOptionsPDE.plugin";
inline constexpr std::string_view kPpdPath = RX_INSTALL_FULL_DATADIR "/ppd/tarnvale/rx8240.ppd";

// The login name of a uid; empty when it has none.
std::string loginNameOf(uid_t uid);
// The login name of the process's real user; empty when it has none.
std::string realUserLoginName();

}  // namespace rx
