// The parts of the walk that speak Net-SNMP types; for the walk's own
// sources and its tests. Everything else includes MibWalk.h only.
#pragma once

#include "discovery/MibWalk.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

// One GET of the OID over a session of the single-session API (snmp_sess_open).
// When the answer arrives without error, each variable in it is counted in
// numprinted and printed to standard output; nothing is stored.
void snmp_get_and_print(void* sessp, const oid* theoid, size_t theoid_len);

// Stores one variable of the device's profile table into the spool list:
// the column is the 16th sub-identifier of the OID, the row the 18th. A
// variable of another column, of an unexpected type, with a row outside
// 1..500 or without a row sub-identifier is not stored.
void vSpoolPlist(const oid* name, size_t name_length, const netsnmp_variable_list* var);

// The walk settings, as kept in Net-SNMP's application settings.
enum WalkSetting : int {
    kWalkIncludeRequested = 1,  // "includeRequested", -Ci
    kWalkPrintStatistics = 2,   // "printStatistics", -Cp
    kWalkDontCheckOrdering = 3, // "dontCheckOrdering", -Cc
};
// The setting of this thread's walk, as its vector left it.
bool walkSetting(WalkSetting setting);
