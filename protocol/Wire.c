#include "protocol/Wire.h"

#include <errno.h>
#include <poll.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/uio.h>
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
    {RX_OP_LEASE, 1, {""}, NULL},
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

int rx_operation_arguments(const char* operation, size_t* fixed, int* open_ended)
{
    const struct join_shape* shape = find_shape(operation);
    if (!shape)
        return 0;
    *fixed = shape->fixed;
    *open_ended = shape->repeated != NULL;
    return 1;
}

char* rx_join_arguments(const char* operation, size_t count, const char* const* arguments, size_t* size)
{
    const struct join_shape* shape = find_shape(operation);
    if (!shape || count < shape->fixed || (count > shape->fixed && !shape->repeated))
        return NULL;
    /* Each length is taken once: a piece of a staged write is long. */
    size_t* lengths = malloc(sizeof *lengths * (count + 1));
    size_t total = 0;
    for (size_t i = 0; lengths && i < count; ++i)
        total += (lengths[i] = strlen(arguments[i])) + strlen(marker_of(shape, i));
    char* joined = lengths ? malloc(total + 1) : NULL;
    char* end = joined;
    for (size_t i = 0; joined && i < count; ++i) {
        memcpy(end, arguments[i], lengths[i]);
        end = stpcpy(end + lengths[i], marker_of(shape, i));
    }
    free(lengths);
    if (!joined)
        return NULL;
    *end = '\0';
    if (size)
        *size = total;
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

/* Reads exactly `size` bytes, waiting only when nothing is there; `started`
 * tells whether a frame is under way, so that an end of stream before any
 * byte is a clean close. */
static enum rx_frame_status read_exact(int fd, char* buffer, size_t size, int64_t deadline, int started)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t n = recv(fd, buffer + done, size - done, MSG_DONTWAIT);
        if (n > 0) {
            done += (size_t)n;
            continue;
        }
        if (n == 0)
            return (done == 0 && !started) ? RX_FRAME_CLOSED : RX_FRAME_BROKEN;
        if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)
            return RX_FRAME_BROKEN;
        if (errno != EINTR && !wait_ready(fd, POLLIN, deadline))
            return RX_FRAME_TIMED_OUT;
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

/* Sends the parts in order, in as few messages as the socket takes, waiting
 * only when it is full; 0 on error or when the deadline passes first. The
 * parts are used up. */
static int send_parts(int fd, struct iovec* parts, size_t count, int64_t deadline)
{
    size_t left = 0;
    for (size_t i = 0; i < count; ++i)
        left += parts[i].iov_len;
    while (left > 0) {
        struct msghdr message;
        memset(&message, 0, sizeof message);
        message.msg_iov = parts;
        message.msg_iovlen = count;
        const ssize_t n = sendmsg(fd, &message, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && wait_ready(fd, POLLOUT, deadline))
            continue;
        if (n <= 0)
            return 0;
        left -= (size_t)n;
        for (size_t sent = (size_t)n; sent > 0; ++parts, --count) {
            const size_t taken = sent < parts->iov_len ? sent : parts->iov_len;
            parts->iov_base = (char*)parts->iov_base + taken;
            parts->iov_len -= taken;
            sent -= taken;
            if (parts->iov_len > 0)
                break;
        }
    }
    return 1;
}

/* The header of a frame of `size` bytes. */
static void frame_header(unsigned char header[4], size_t size)
{
    header[0] = (unsigned char)(size >> 24);
    header[1] = (unsigned char)(size >> 16);
    header[2] = (unsigned char)(size >> 8);
    header[3] = (unsigned char)size;
}

int rx_write_frame(int fd, const char* payload, size_t size, int64_t deadline)
{
    if (size > RX_MAX_FRAME_SIZE)
        return 0;
    unsigned char header[4];
    frame_header(header, size);
    struct iovec parts[2] = {{header, sizeof header}, {(char*)payload, size}};
    return send_parts(fd, parts, 2, deadline);
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

int rx_connect_service(const char* socket_path)
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

int64_t rx_request_deadline(void)
{
    return rx_monotonic_ms() + (int64_t)(RX_REQUEST_BOUND_SECONDS + RX_LAUNCHER_MARGIN_SECONDS) * 1000;
}

int rx_send_request(int fd, const char* operation, int only_after_true, const char* argument, size_t argument_size,
                    int64_t deadline)
{
    const size_t prefix_size = only_after_true ? strlen(RX_ONLY_AFTER_TRUE) : 0;
    const size_t operation_size = prefix_size + strlen(operation);
    if (operation_size > RX_MAX_FRAME_SIZE || argument_size > RX_MAX_FRAME_SIZE)
        return 0;
    /* Both frames in one message: the service wakes once for the request. */
    unsigned char headers[2][4];
    frame_header(headers[0], operation_size);
    frame_header(headers[1], argument_size);
    struct iovec parts[5] = {{headers[0], 4},
                             {(char*)RX_ONLY_AFTER_TRUE, prefix_size},
                             {(char*)operation, operation_size - prefix_size},
                             {headers[1], 4},
                             {(char*)argument, argument_size}};
    return send_parts(fd, parts, 5, deadline);
}

enum rx_call_status rx_read_reply(int fd, char** reply, int64_t deadline)
{
    uint32_t size = 0;
    if (rx_read_frame_length(fd, &size, RX_MAX_FRAME_SIZE, deadline) != RX_FRAME_OK)
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
    const int fd = rx_connect_service(socket_path);
    if (fd < 0)
        return RX_CALL_UNREACHABLE;
    const int64_t deadline = rx_request_deadline();
    const enum rx_call_status status = rx_send_request(fd, operation, 0, argument, argument_size, deadline)
                                           ? rx_read_reply(fd, reply, deadline)
                                           : RX_CALL_FAILED;
    close(fd);
    return status;
}
