// The checks on the walk's argument vector before it reaches the SNMP
// library's parser. Only what the plug-in sends is let through: the program
// name "snmpwalk"; the options -O<output flags>, -C<i|c|p>, -c COMMUNITY,
// -v 1|2c, -r RETRIES (0..5), -t SECONDS (1..10); then one agent address and
// one numeric OID. Everything else (log files, MIB folders, configuration
// directives, debug output, other transports) is refused.
#pragma once

#include <string>
#include <vector>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

// Empty when the vector may be handed to the walk; otherwise why not. An
// empty vector is let through (the walk itself fails on it).
std::string checkWalkVector(const std::vector<std::string>& vector);

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
