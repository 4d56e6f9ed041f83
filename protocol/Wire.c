#include "protocol/Wire.h"

#include <errno.h>
#include <poll.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

/* How each operation joins its arguments: `fixed` arguments, each followed
 * by its marker ("" for none), and when `repeated` is set any number more,
 * each followed by it. */
struct join_shape {
    const char* operation;
    size_t fixed;
    const char* markers[3];
    const char* repeated;
};

static const struct join_shape kShapes[] = {
    {RX_OP_IS_ADMIN, 1, {""}, NULL},
    {RX_OP_EXIST, 1, {""}, NULL},
    {RX_OP_REMOVE, 1, {""}, NULL},
    {RX_OP_COMMIT, 1, {""}, NULL},
    {RX_OP_SWAP, 3, {RX_MARKER_SWAP_TYPE, RX_MARKER_CURRENT, RX_MARKER_PREVIOUS}, NULL},
    {RX_OP_WRITE_PIECE, 2, {RX_MARKER_URL, ""}, NULL},
    {RX_OP_WRITE_DICTIONARY, 2, {RX_MARKER_URL, ""}, NULL},
    {RX_OP_WALK, 2, {RX_MARKER_MODEL, RX_MARKER_USER}, RX_MARKER_ARG},
};

static const struct join_shape* find_shape(const char* operation)
{
    for (size_t i = 0; i < sizeof kShapes / sizeof kShapes[0]; ++i)
        if (strcmp(kShapes[i].operation, operation) == 0)
            return &kShapes[i];
    return NULL;
}

static const char* marker_of(const struct join_shape* shape, size_t index)
{
    return index < shape->fixed ? shape->markers[index] : shape->repeated;
}

char* rx_join_arguments(const char* operation, size_t count, const char* const* arguments)
{
    const struct join_shape* shape = find_shape(operation);
    if (!shape || count < shape->fixed || (count > shape->fixed && !shape->repeated))
        return NULL;
    size_t size = 1;
    for (size_t i = 0; i < count; ++i)
        size += strlen(arguments[i]) + strlen(marker_of(shape, i));
    char* joined = malloc(size);
    if (!joined)
        return NULL;
    char* end = joined;
    for (size_t i = 0; i < count; ++i) {
        end = stpcpy(end, arguments[i]);
        end = stpcpy(end, marker_of(shape, i));
    }
    *end = '\0';
    return joined;
}

int64_t rx_monotonic_ms(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (int64_t)now.tv_sec * 1000 + now.tv_nsec / 1000000;
}

/* Waits until the descriptor is ready for `events` or the deadline passes;
 * 0 when the deadline passed. */
static int wait_ready(int fd, short events, int64_t deadline)
{
    for (;;) {
        int timeout = -1;
        if (deadline != RX_NO_DEADLINE) {
            const int64_t left = deadline - rx_monotonic_ms();
            if (left <= 0)
                return 0;
            timeout = left > 60000 ? 60000 : (int)left;
        }
        struct pollfd p = {fd, events, 0};
        const int n = poll(&p, 1, timeout);
        if (n > 0 || (n < 0 && errno != EINTR))
            return 1; /* the following read or write reports an error */
    }
}

/* Reads exactly `size` bytes; `started` tells whether a frame is under way,
 * so that an end of stream before any byte is a clean close. */
static enum rx_frame_status read_exact(int fd, char* buffer, size_t size, int64_t deadline, int started)
{
    size_t done = 0;
    while (done < size) {
        if (!wait_ready(fd, POLLIN, deadline))
            return RX_FRAME_TIMED_OUT;
        const ssize_t n = recv(fd, buffer + done, size - done, MSG_DONTWAIT);
        if (n > 0) {
            done += (size_t)n;
            continue;
        }
        if (n == 0)
            return (done == 0 && !started) ? RX_FRAME_CLOSED : RX_FRAME_BROKEN;
        if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)
            return RX_FRAME_BROKEN;
    }
    return RX_FRAME_OK;
}

enum rx_frame_status rx_read_frame_length(int fd, uint32_t* size, size_t limit, int64_t deadline)
{
    unsigned char header[4];
    const enum rx_frame_status status = read_exact(fd, (char*)header, sizeof header, deadline, 0);
    if (status != RX_FRAME_OK)
        return status;
    *size = ((uint32_t)header[0] << 24) | ((uint32_t)header[1] << 16) | ((uint32_t)header[2] << 8) | header[3];
    return *size > limit ? RX_FRAME_TOO_LARGE : RX_FRAME_OK;
}

enum rx_frame_status rx_read_frame_body(int fd, char* buffer, size_t size, int64_t deadline)
{
    return read_exact(fd, buffer, size, deadline, 1);
}

static int send_all(int fd, const char* data, size_t size, int64_t deadline)
{
    size_t done = 0;
    while (done < size) {
        if (!wait_ready(fd, POLLOUT, deadline))
            return 0;
        const ssize_t n = send(fd, data + done, size - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0)
            done += (size_t)n;
        else if (n == 0 || (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK))
            return 0;
    }
    return 1;
}

int rx_write_frame(int fd, const char* payload, size_t size, int64_t deadline)
{
    if (size > RX_MAX_FRAME_SIZE)
        return 0;
    const unsigned char header[4] = {(unsigned char)(size >> 24), (unsigned char)(size >> 16),
                                     (unsigned char)(size >> 8), (unsigned char)size};
    return send_all(fd, (const char*)header, sizeof header, deadline) && send_all(fd, payload, size, deadline);
}

int rx_service_socket_path(char* buffer, size_t size)
{
    const char* named = getenv("RX8240_SERVICE_SOCKET");
    if (named && *named) {
        if (strlen(named) >= size)
            return 0;
        strcpy(buffer, named);
        return 1;
    }
    const char* root = getenv("TARNVALE_ROOT");
    size_t rootLength = root ? strlen(root) : 0;
    while (rootLength > 0 && root[rootLength - 1] == '/')
        --rootLength;
    if (rootLength + sizeof RX_SERVICE_SOCKET_PATH > size)
        return 0;
    memcpy(buffer, root ? root : "", rootLength);
    memcpy(buffer + rootLength, RX_SERVICE_SOCKET_PATH, sizeof RX_SERVICE_SOCKET_PATH);
    return 1;
}

static int connect_to(const char* socket_path)
{
    struct sockaddr_un address;
    memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (strlen(socket_path) >= sizeof address.sun_path)
        return -1;
    strcpy(address.sun_path, socket_path);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    int rc;
    do
        rc = connect(fd, (const struct sockaddr*)&address, sizeof address);
    while (rc < 0 && errno == EINTR);
    if (rc < 0) {
        close(fd);
        return -1;
    }
    return fd;
}

/* Sends the request and reads the reply on a connected socket. */
static enum rx_call_status exchange(int fd, const char* operation, const char* argument, size_t argument_size,
                                    char** reply)
{
    const int64_t deadline = rx_monotonic_ms() + (int64_t)(RX_REQUEST_BOUND_SECONDS + RX_LAUNCHER_MARGIN_SECONDS) * 1000;
    uint32_t size = 0;
    if (!rx_write_frame(fd, operation, strlen(operation), deadline) ||
        !rx_write_frame(fd, argument, argument_size, deadline) ||
        rx_read_frame_length(fd, &size, RX_MAX_FRAME_SIZE, deadline) != RX_FRAME_OK)
        return RX_CALL_FAILED;
    char* text = malloc((size_t)size + 1);
    if (!text)
        return RX_CALL_FAILED;
    if (rx_read_frame_body(fd, text, size, deadline) != RX_FRAME_OK) {
        free(text);
        return RX_CALL_FAILED;
    }
    text[size] = '\0';
    *reply = text;
    return RX_CALL_OK;
}

enum rx_call_status rx_call_service(const char* socket_path, const char* operation, const char* argument,
                                    size_t argument_size, char** reply)
{
    const int fd = connect_to(socket_path);
    if (fd < 0)
        return RX_CALL_UNREACHABLE;
    const enum rx_call_status status = exchange(fd, operation, argument, argument_size, reply);
    close(fd);
    return status;
}
