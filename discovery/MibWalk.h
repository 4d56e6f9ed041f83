// Discovery of the colour profiles stored on the printer: a walk of the
// device's profile table over SNMP (version 1, GETNEXT by GETNEXT) that fills
// the spool list, followed on every exit by the merge of the spool list into
// the current profile list file (SpoolRestructure.h). The two steps can also
// be run apart (mib_walk_exchange, mib_walk_merge): the service runs one
// exchange for simultaneous walks of one vector and merges its outcome into
// each caller's own list.
//
// A walk's state (the spool list, the found count, the debug buffer, the walk
// settings, the list paths and its SNMP session) belongs to the walk: a walk
// runs on one thread from start to end, and each thread has its own, so
// walks on different threads run side by side. Only the parse of the option
// vector and the opening and closing of the session go through the SNMP
// library's process-wide state, and they take turns inside the walk.
#pragma once

#include "profilelist/ProfileList.h"

#include <chrono>
#include <cstddef>

// The spool list of this thread's walk: zero-filled at the start of every
// walk, then one slot per row of the device's table (row r in slot r - 1);
// iNum counts the variables of the index column received. Read by the merge.
extern thread_local ProfileList PlistForSpool;

// Variables found by this thread's current walk, including those of the GET
// of the start OID.
extern thread_local int numprinted;

// Last diagnostic of this thread's walk (option letters, OID ordering);
// nothing reads it but tests and debugging. Always NUL-terminated.
inline constexpr std::size_t kDebugMessageSize = 128;
extern thread_local char sDEBUGmsg[kDebugMessageSize];

// This thread's PlistForSpool, numprinted and sDEBUGmsg, for code outside the
// walk's library (tests, benchmarks): reached through the library, which owns
// the thread's storage, rather than through the storage's address computed
// in the caller.
ProfileList& spoolListOfThisThread();
int& numprintedOfThisThread();
char* debugMessageOfThisThread();

// The start OID of the device's profile table, as the plug-in sends it.
inline constexpr const char* kProfileTableOid = "1.3.6.1.4.1.71362.1.1.1.1.6.13.1.1";

// Upper bound of GETNEXT requests in one walk. A device that keeps answering
// inside the subtree (possible when the ordering check is switched off) ends
// the walk with result 1 when the bound is reached.
inline constexpr int kMaxWalkRequests = 20000;

// Upper bound of one walk's GETNEXT loop in seconds (300 by default). A
// device that answers every request just before the time-out would otherwise
// hold its user's walks for hours; reaching the bound ends the walk with
// result 1. Process-wide; tests may lower it before walking.
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

// mib_walk whose GETNEXT loop also ends (result 1) at `deadline`, when that
// comes before the time limit. The same as mib_walk_exchange followed by
// mib_walk_merge of its result.
int mib_walk_until(int argc, char* argv[], std::chrono::steady_clock::time_point deadline);

// The exchange alone: resets this thread's spool list and found count, parses
// argv (as mib_walk does) and walks the agent into them until `deadline` or
// the time limit. Returns the exchange's result (0, 1, 2, -1, -2 as for
// mib_walk, without the merge's part); nothing is written to any file.
int mib_walk_exchange(int argc, char* argv[], std::chrono::steady_clock::time_point deadline);

// The merge alone: merges this thread's spool list into the current list file
// (QV_PLIST_PROFILE_PATH) with the failure flag set when `result` is not 0.
// Returns `result`, or 1 when a normal end could not be written.
int mib_walk_merge(int result);

// Handler of the "-C" option for Net-SNMP's option parser: each letter of
// optarg toggles a walk setting in the library's application settings, from
// which the walk takes its own copy once the vector is parsed (c: no
// ordering check, p: statistics, i: GET the start OID first); an unknown
// letter leaves
// "Unknown flag passed to -C: %c\n" in sDEBUGmsg and the next letter is read.
void optProc(int argc, char* const* argv, int opt);
