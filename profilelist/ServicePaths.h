// The list paths of the request in progress in the service. A discovery
// request sets them before it runs; the store's direct file functions read
// them. Process-wide, so only one request at a time may use them.
#pragma once

#include <string>

extern std::string QV_PLIST_PROFILE_PATH;
extern std::string QV_PLIST_PROFILE_PREV_PATH;
extern std::string QV_PLIST_PROFILE_SPOOL_PATH;

// Forms the three paths for a user and a model name; false when a path
// would exceed 254 bytes.
bool QVPListSetServicePaths(const std::string& user, const std::string& model);
