// Support of the robustness tests: the real service started and killed under
// a private root, requests over its socket, list texts of known versions,
// and the file checks the tests share.
#pragma once

#include <sys/types.h>

#include "tests/discovery/SnmpTestAgents.h"
#include "tests/support/Files.h"
#include "tests/support/ServiceProcess.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace robust {

inline constexpr const char* kUser = "tester";
inline constexpr const char* kModel = "rx8240";

// A new, empty private root below the test's RX_TEST_ROOT, with Net-SNMP's
// configuration and MIB paths inside it and the running test's name in its
// file "test-name".
std::string freshRoot();

// The service binary on a socket of its own, working under `root`.
class Service : public rxtest::ServiceProcess {
public:
    // Starts `binary` with TARNVALE_ROOT and Net-SNMP's paths below `root`
    // and waits until it accepts connections. The list files under `root`
    // are left as they are, so a killed service can be started again on the
    // same files.
    bool start(const std::string& binary, const std::string& root,
               const std::map<std::string, std::string>& environment = {});
};

// One request over a new connection: the reply, or "<unreachable>",
// "<failed>" or "<timed out>" (after `seconds`) when there was none. With a
// lease token the connection first carries that staged write's lease.
std::string call(const std::string& socket, const std::string& operation, const std::string& argument,
                 double seconds = 60, const std::string& lease = {});

// Paths of the tester's list files under a root.
std::string profileDirectory(const std::string& root);
std::string currentPath(const std::string& root);
std::string previousPath(const std::string& root);
std::string stagingPath(const std::string& root);

// Argument strings of the operations on the tester's list.
std::string swapArgument(int type, const std::string& root);
std::string pieceArgument(const std::string& root, const std::string& text);
std::string commitArgument(const std::string& root);
std::string walkArgument(const std::string& agentAddress, const std::vector<std::string>& extra = {});

// The file text of version `version`: three lists of `entries` entries whose
// names carry the version. Every version has a different text.
std::string versionText(int version, int entries = 40);
// The version a text is the whole file of, or -1 when it is none.
int versionOf(const std::string& text);
// True when the store reads the text as a complete list file.
bool readsBack(const std::string& text);

using rxtest::pathExists;
using rxtest::readFile;
using rxtest::writeFile;
// Names in the profile directory that are neither a current nor a previous
// list file: staging and temporary files.
std::vector<std::string> leftovers(const std::string& root);

// A device's profile table of `rows` shown disk profiles "D<row>.ICC", with
// the device class of each row from `classOfRow`, and the end marker.
std::vector<snmptest::VarBind> deviceTable(uint32_t rows, const std::function<int32_t(uint32_t)>& classOfRow);

// Environment that preloads the fault library into the service.
std::map<std::string, std::string> faultEnvironment(const std::string& op, const std::string& error, int skip);

}  // namespace robust
