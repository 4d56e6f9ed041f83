// Discovery of the colour profiles stored on the printer: a walk of the
// device's profile table over SNMP (version 1, GETNEXT by GETNEXT) that fills
// the process-wide spool list, followed on every exit by the merge of the
// spool list into the current profile list file (SpoolRestructure.h).
//
// All state here is process-wide (the spool list, the found count, the debug
// buffer, the walk settings and the SNMP library's own state), so the service
// runs one walk at a time; mib_walk must be called inside that section.
#pragma once

#include "profilelist/ProfileList.h"

#include <cstddef>

// The spool list: zero-filled at the start of every walk, then one slot per
// row of the device's table (row r in slot r - 1); iNum counts the variables
// of the index column received. Read by the merge.
extern ProfileList PlistForSpool;

// Variables found by the current walk, including those of the GET of the
// start OID.
extern int numprinted;

// Last diagnostic of the walk (option letters, OID ordering); nothing reads it
// but tests and debugging. Always NUL-terminated.
inline constexpr std::size_t kDebugMessageSize = 128;
extern char sDEBUGmsg[kDebugMessageSize];

// The start OID of the device's profile table, as the plug-in sends it.
inline constexpr const char* kProfileTableOid = "1.3.6.1.4.1.71362.1.1.1.1.6.13.1.1";

// Upper bound of GETNEXT requests in one walk. A device that keeps answering
// inside the subtree (possible when the ordering check is switched off) ends
// the walk with result 1 when the bound is reached.
inline constexpr int kMaxWalkRequests = 20000;

// Upper bound of one walk's GETNEXT loop in seconds (300 by default). A
// device that answers every request just before the time-out would otherwise
// hold the one-walk-at-a-time section for hours; reaching the bound ends the
// walk with result 1. Process-wide; tests may lower it.
extern int mibWalkTimeLimitSeconds;

// Walks the agent named in argv, in the syntax of Net-SNMP's walk tool:
// argv[0] is a program name, then options ("-O...", "-c COMMUNITY", "-v 1",
// "-r N", "-t S", "-C LETTERS"), the agent's address and the start OID
// (default 1.3.6.1.2.1). argv must hold writable strings and stay valid
// during the call: the option parser may reorder it and blanks the community
// in place. The vector is expected to have been checked
// by the caller; this function does not restrict the options.
//
// Result:
//    0  the walk ended normally (left the subtree, end of the MIB view, or an
//       exception value arrived);
//    1  no answer, transport error, OIDs not increasing, start OID not
//       parsable, session not opened, an answer without variables, the
//       request bound reached, or the merge could not write the list file;
//    2  the agent answered with an error status other than noSuchName;
//   -1  the option parser refused the vector;
//   -2  the option parser handled an option that ends the run (e.g. -V).
// Whatever the result, the spool list is merged into the current list file
// (QV_PLIST_PROFILE_PATH) before returning; a non-zero result is passed to the
// merge as its failure flag.
int mib_walk(int argc, char* argv[]);

// Handler of the "-C" option for Net-SNMP's option parser: each letter of
// optarg toggles a walk setting (c: no ordering check, p: statistics,
// i: GET the start OID first); an unknown letter leaves
// "Unknown flag passed to -C: %c\n" in sDEBUGmsg and the next letter is read.
void optProc(int argc, char* const* argv, int opt);
