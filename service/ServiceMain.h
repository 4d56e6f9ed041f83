// The service's process entry, shared by ColorProfileService and test
// builds that put another walk in place.
#pragma once

#include "service/ColorProfileService.h"

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

// ColorProfileService [--listen PATH]
// Listens on the socket that systemd passes (socket activation), or else on
// PATH, or else on the socket that RX8240_SERVICE_SOCKET names (default
// /run/tarnvale/rx8240-profile.sock), and serves for the life of the
// process. Returns only on a start-up failure: 2 for bad usage, 1 when no
// socket could be had.
int serviceMain(int argc, char* argv[], WalkSteps walk, const ServiceSettings& settings = {});

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
