// ColorProfileService: the process entry with the device walk. Built a
// second time with RX_WALK_POOL_SIZE 1 (walks one at a time, for the
// print-server benchmark's baseline).
#include "service/ServiceMain.h"

#if RX_HAVE_MIB_WALK
#include "discovery/MibWalk.h"
#else
#include <syslog.h>
#endif

#ifndef RX_WALK_POOL_SIZE
#define RX_WALK_POOL_SIZE svc::kWalkPoolSize
#endif

namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;

namespace {

#if RX_HAVE_MIB_WALK
int walk(int argc, char* argv[], svc::Clock::time_point deadline)
{
    return mib_walk_until(argc, argv, deadline);
}
#else
// Built without the discovery library: every walk fails.
int walk(int, char*[], svc::Clock::time_point)
{
    syslog(LOG_ERR, "built without the device walk");
    return -1;
}
#endif

}  // namespace

int main(int argc, char* argv[])
{
    svc::ServiceSettings settings;
    settings.walkPoolSize = RX_WALK_POOL_SIZE;
    return svc::serviceMain(argc, argv, walk, settings);
}
