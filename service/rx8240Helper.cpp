// rx8240Helper: the launcher between the plug-in and the service.
//
//   rx8240Helper COMMAND [ARGUMENT...]
//
// Joins the arguments into the argument string of COMMAND, asks the service
// on the socket that RX8240_SERVICE_SOCKET names (or the default one) and
// prints "COMMAND=REPLY". When the request cannot be made it prints a line
// that does not hold the text the plug-in looks for and exits non-zero:
// 1 = service unreachable or the request failed, 2 = bad usage.
#include "protocol/ArgumentStrings.h"
#include "protocol/Framing.h"

#include <cstdio>
#include <string>
#include <vector>

namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fputs("usage: rx8240Helper COMMAND [ARGUMENT...]\n", stderr);
        return 2;
    }
    std::string_view command = argv[1];
    std::vector<std::string_view> arguments(argv + 2, argv + argc);
    auto joined = svc::joinArguments(command, arguments);
    if (!joined) {
        std::printf("%s: unknown command or wrong number of arguments\n", argv[1]);
        return 2;
    }
    std::string reply;
    switch (svc::callService(svc::serviceSocketPath(), command, *joined, &reply)) {
    case svc::CallStatus::Ok:
        break;
    case svc::CallStatus::Unreachable:
        std::printf("%s: service not reachable\n", argv[1]);
        return 1;
    case svc::CallStatus::Failed:
        std::printf("%s: request failed\n", argv[1]);
        return 1;
    }
    std::printf("%s=%s\n", argv[1], reply.c_str());
    return std::fflush(stdout) == 0 ? 0 : 1;
}
