/* rx8240Helper: the launcher between the plug-in and the service.
 *
 *   rx8240Helper COMMAND [ARGUMENT...]
 *
 * Joins the arguments into the argument string of COMMAND, asks the service
 * on the socket that RX8240_SERVICE_SOCKET names (or the default one) and
 * prints "COMMAND=REPLY". When the request cannot be made it prints a line
 * that does not hold the text the plug-in looks for and exits non-zero:
 * 1 = service unreachable or the request failed, 2 = bad usage (told on
 * standard error). --help and --version answer on standard output.
 *
 * Plain C over the protocol's wire functions: the plug-in starts it once per
 * request, so it starts without the C++ runtime. */
#include "platform/InstallDirs.h"
#include "protocol/Wire.h"

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const char kUsage[] = "usage: rx8240Helper COMMAND [ARGUMENT...]\n";

int main(int argc, char* argv[])
{
    if (argc == 2 && strcmp(argv[1], "--help") == 0) {
        fputs(kUsage, stdout);
        return 0;
    }
    if (argc == 2 && strcmp(argv[1], "--version") == 0) {
        puts("rx8240Helper " RX_VERSION);
        return 0;
    }
    if (argc < 2) {
        fputs(kUsage, stderr);
        return 2;
    }
    const char* command = argv[1];
    char* joined = rx_join_arguments(command, (size_t)(argc - 2), (const char* const*)argv + 2);
    if (!joined) {
        fprintf(stderr, "%s: unknown command or wrong number of arguments\n", command);
        return 2;
    }
    char socket_path[PATH_MAX];
    char* reply = NULL;
    enum rx_call_status status = RX_CALL_UNREACHABLE;
    if (rx_service_socket_path(socket_path, sizeof socket_path))
        status = rx_call_service(socket_path, command, joined, strlen(joined), &reply);
    free(joined);
    if (status != RX_CALL_OK) {
        printf("%s: %s\n", command, status == RX_CALL_UNREACHABLE ? "service not reachable" : "request failed");
        return 1;
    }
    printf("%s=%s\n", command, reply);
    free(reply);
    return fflush(stdout) == 0 ? 0 : 1;
}
