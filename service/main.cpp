// ColorProfileService: the process entry with the device walk.
#include "service/ServiceMain.h"

#if RX_HAVE_MIB_WALK
#include "discovery/MibWalk.h"
#else
#include <syslog.h>
#endif

namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;

#if !RX_HAVE_MIB_WALK
// Built without the discovery library: every walk fails.
static int mib_walk(int, char*[])
{
    syslog(LOG_ERR, "built without the device walk");
    return -1;
}
#endif

int main(int argc, char* argv[])
{
    return svc::serviceMain(argc, argv, mib_walk);
}
