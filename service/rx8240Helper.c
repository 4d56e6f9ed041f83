/* rx8240Helper: the launcher between the plug-in and the service.
 *
 *   rx8240Helper COMMAND [ARGUMENT...] [--and|--then COMMAND [ARGUMENT...]]...
 *
 * Joins each request's arguments into the argument string of its COMMAND,
 * asks the service on the socket that RX8240_SERVICE_SOCKET names (or the
 * default one) and prints "COMMAND=REPLY", a line per request. A request
 * after "--and" runs only when the one before it answered TRUE, one after
 * "--then" whatever it answered. The requests of a run share one connection
 * and go out at once, the service skipping those that may not run, so that
 * a sequence costs one round trip.
 * When a request cannot be made it prints a line that does not hold the text
 * the plug-in looks for, runs nothing further and exits non-zero:
 * 1 = service unreachable or the request failed, 2 = bad usage (told on
 * standard error, before any request is sent). --help and --version answer
 * on standard output.
 *
 * Plain C over the protocol's wire functions: the plug-in starts it for
 * every request or sequence of requests, so it starts without the C++
 * runtime. */
#include "platform/InstallDirs.h"
#include "protocol/Wire.h"

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static const char kUsage[] = "usage: rx8240Helper COMMAND [ARGUMENT...] [--and|--then COMMAND [ARGUMENT...]]...\n";

/* One request of the command line. */
struct request {
    const char* command;
    const char* const* arguments;
    size_t count;
    int only_after_true;
};

static size_t usage_error(const char* command)
{
    fprintf(stderr, "%s: unknown command or wrong number of arguments\n", command);
    return 0;
}

/* Cuts the command line into requests (room for argc of them); their number,
 * or 0 after telling the usage error on standard error. */
static size_t parse_requests(int argc, char* argv[], struct request* requests)
{
    size_t n = 0;
    int at = 1, only_after_true = 0;
    for (;;) {
        const char* command = argv[at++];
        size_t fixed = 0;
        int open_ended = 0;
        const size_t left = (size_t)(argc - at);
        if (!rx_operation_arguments(command, &fixed, &open_ended) || left < fixed)
            return usage_error(command);
        const size_t count = open_ended ? left : fixed;
        requests[n++] = (struct request){command, (const char* const*)argv + at, count, only_after_true};
        at += (int)count;
        if (at == argc)
            return n;
        only_after_true = strcmp(argv[at], RX_STEP_IF_TRUE) == 0;
        if ((!only_after_true && strcmp(argv[at], RX_STEP_ALWAYS) != 0) || ++at == argc)
            return usage_error(command);
    }
}

/* Sends every request, those after "--and" marked to run only after a
 * TRUE, without waiting for replies; the number sent (all of them unless the
 * connection broke). */
static size_t send_requests(int fd, const struct request* requests, size_t count)
{
    const int64_t deadline = rx_request_deadline();
    size_t sent = 0;
    for (; sent < count; ++sent) {
        const struct request* request = &requests[sent];
        size_t size = 0;
        char* joined = rx_join_arguments(request->command, request->count, request->arguments, &size);
        const int ok = joined && rx_send_request(fd, request->command, request->only_after_true, joined, size,
                                                 deadline);
        free(joined);
        if (!ok)
            break;
    }
    return sent;
}

/* Reads the replies of the `sent` requests in order and prints a line for
 * each that ran, those after a skipped one included (a request after
 * "--then" runs whatever came before it); 0 when all were answered, else 1
 * (after a line without a reply for the request that failed). */
static int print_replies(int fd, const struct request* requests, size_t sent, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        char* reply = NULL;
        if (i == sent || rx_read_reply(fd, &reply, rx_request_deadline()) != RX_CALL_OK) {
            printf("%s: request failed\n", requests[i].command);
            return 1;
        }
        const int skipped = strcmp(reply, RX_REPLY_SKIPPED) == 0;
        if (!skipped) {
            /* A line at a time: a plug-in that stops waiting still sees
             * what was answered (a staged write's lease above all). */
            printf("%s=%s\n", requests[i].command, reply);
            fflush(stdout);
        }
        free(reply);
    }
    return 0;
}

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
    struct request* requests = malloc(sizeof *requests * (size_t)argc);
    const size_t count = requests ? parse_requests(argc, argv, requests) : 0;
    if (count == 0) {
        free(requests);
        return 2;
    }
    char socket_path[PATH_MAX];
    const int fd = rx_service_socket_path(socket_path, sizeof socket_path) ? rx_connect_service(socket_path) : -1;
    int status = 1;
    if (fd < 0) {
        printf("%s: service not reachable\n", requests[0].command);
    } else {
        status = print_replies(fd, requests, send_requests(fd, requests, count), count);
        close(fd);
    }
    free(requests);
    return fflush(stdout) == 0 ? status : 1;
}
