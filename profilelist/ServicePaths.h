// The list paths of the request in progress in the service. A discovery
// request sets them before it runs; the store's direct file functions read
// them. Each thread has its own: a request runs on its connection's thread,
// so walks of different users on different threads never see each other's.
#pragma once

#include <string>

extern thread_local std::string QV_PLIST_PROFILE_PATH;
extern thread_local std::string QV_PLIST_PROFILE_PREV_PATH;
extern thread_local std::string QV_PLIST_PROFILE_SPOOL_PATH;

// Forms the three paths for a user and a model name; false when a path
// would exceed 254 bytes.
bool QVPListSetServicePaths(const std::string& user, const std::string& model);
