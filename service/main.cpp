// ColorProfileService: the process entry with the device walk. Built a
// second time with RX_WALK_POOL_SIZE 1 and RX_WALK_SHARED 0 (every walk its
// own exchange, one at a time: the print-server benchmark's baseline).
#include "service/ServiceMain.h"

#if RX_HAVE_MIB_WALK
#include "discovery/MibWalk.h"
#else
#include <syslog.h>
#endif

#ifndef RX_WALK_POOL_SIZE
#define RX_WALK_POOL_SIZE svc::kWalkPoolSize
#endif
#ifndef RX_WALK_SHARED
#define RX_WALK_SHARED 1
#endif

namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;

namespace {

#if RX_HAVE_MIB_WALK
// The walk's two steps; what passes between them is this thread's walk state
// (spool list, found count), copied out after the exchange and copied in
// before the merge, so that the outcome of one thread's exchange can be
// merged on another's.
void exchange(int argc, char* argv[], svc::Clock::time_point deadline, svc::ExchangeOutcome* outcome)
{
    outcome->result = mib_walk_exchange(argc, argv, deadline);
    outcome->found = numprintedOfThisThread();
    outcome->spool = spoolListOfThisThread();
}

int merge(const svc::ExchangeOutcome& outcome)
{
    spoolListOfThisThread() = outcome.spool;
    numprintedOfThisThread() = outcome.found;
    return mib_walk_merge(outcome.result);
}
#else
// Built without the discovery library: every walk fails.
void exchange(int, char*[], svc::Clock::time_point, svc::ExchangeOutcome* outcome)
{
    syslog(LOG_ERR, "built without the device walk");
    outcome->result = -1;
}

int merge(const svc::ExchangeOutcome& outcome)
{
    return outcome.result;
}
#endif

}  // namespace

int main(int argc, char* argv[])
{
    svc::ServiceSettings settings;
    settings.walkPoolSize = RX_WALK_POOL_SIZE;
    settings.shareExchanges = RX_WALK_SHARED != 0;
    return svc::serviceMain(argc, argv, {exchange, merge}, settings);
}
