/* The request protocol between the launcher and the service at the level of
 * bytes, in C so that the launcher needs no C++ runtime: operation names,
 * argument markers, the joining of the launcher's arguments into one
 * argument text, and the frames on the Unix-domain stream socket. The C++
 * side (ArgumentStrings.h, Framing.h) builds on these.
 *
 * A frame is a 4-byte big-endian length followed by that many bytes. A
 * request is two frames, the operation name and the argument text; a
 * response is one frame, the reply text. */
#ifndef RX_PROTOCOL_WIRE_H
#define RX_PROTOCOL_WIRE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Operation names. */
#define RX_OP_IS_ADMIN "qvPListIsAdminProfile_XPC"
#define RX_OP_SWAP "qvPListSwapProfile_XPC"
#define RX_OP_EXIST "qvPListExistProfile_XPC"
#define RX_OP_REMOVE "qvPListRemove_XPC"
#define RX_OP_WRITE_DICTIONARY "writeDictionaryToPlistFile_XPC"
#define RX_OP_WRITE_PIECE "writeDataToPlistFile_XPC"
#define RX_OP_COMMIT "writeDataToPlistFileRename_XPC"
#define RX_OP_WALK "mibwalk_XPC"
/* Carries a staged write's lease into a connection (below). */
#define RX_OP_LEASE "stagedWriteLease"

/* Markers. Each one ends the value before it. */
#define RX_MARKER_SWAP_TYPE ":ARG_iSwapType"
#define RX_MARKER_CURRENT ":ARG_cFooCurrentString"
#define RX_MARKER_PREVIOUS ":ARG_cFooPrevString"
#define RX_MARKER_URL ":AddURL:END"
#define RX_MARKER_MODEL ":ModelName:END"
#define RX_MARKER_USER ":USErName:END"
#define RX_MARKER_ARG ":arg:"

/* Frames over this size end the connection. */
#define RX_MAX_FRAME_SIZE (1024u * 1024u)

/* The longest the service takes over a request; the launcher gives up the
 * margin after it. */
#define RX_REQUEST_BOUND_SECONDS 300
#define RX_LAUNCHER_MARGIN_SECONDS 30

/* The service's socket below TARNVALE_ROOT, unless RX8240_SERVICE_SOCKET
 * names another. */
#define RX_SERVICE_SOCKET_PATH "/run/tarnvale/rx8240-profile.sock"

/* The further arguments an operation takes on the launcher's command line:
 * *fixed of them, and any number more when *open_ended is set (the walk's
 * vector elements). 0 when the operation is unknown. */
int rx_operation_arguments(const char* operation, size_t* fixed, int* open_ended);

/* A launcher run may carry several requests, one after the other on its
 * command line, each joined to the one before it by a step word: the request
 * runs only when the one before it answered "TRUE" (RX_STEP_IF_TRUE), or
 * whatever it answered (RX_STEP_ALWAYS). An open-ended operation takes the
 * rest of the line. */
#define RX_STEP_IF_TRUE "--and"
#define RX_STEP_ALWAYS "--then"
#define RX_REPLY_TRUE "TRUE"

/* A staged write (the removal of the staging file, the pieces, the commit)
 * is one writer's while it runs: the removal that begins it is answered
 * RX_REPLY_TRUE, RX_LEASE_MARK and the write's lease token (RX_LEASE_TOKEN_SIZE
 * lower-case hexadecimal digits). Its pieces and its commit are accepted on
 * the connection the removal came on, or on another connection of the same
 * user after RX_OP_LEASE with the token; every other piece or commit of the
 * list is refused while the lease lives. */
#define RX_LEASE_MARK " lease="
#define RX_LEASE_TOKEN_SIZE 32

/* Joins the launcher's further arguments into the argument text of the
 * operation, its length into *size (when not NULL). Returns a string the
 * caller frees, or NULL when the operation is unknown, the number of
 * arguments does not fit it (the walk needs at least model and user name),
 * or memory ran out. */
char* rx_join_arguments(const char* operation, size_t count, const char* const* arguments, size_t* size);

/* Deadlines are CLOCK_MONOTONIC times in milliseconds; RX_NO_DEADLINE waits
 * without bound. */
#define RX_NO_DEADLINE INT64_MAX
int64_t rx_monotonic_ms(void);

enum rx_frame_status {
    RX_FRAME_OK,
    RX_FRAME_CLOSED,    /* the peer closed the connection before the first byte */
    RX_FRAME_TIMED_OUT, /* the deadline passed */
    RX_FRAME_TOO_LARGE, /* the length exceeds the limit */
    RX_FRAME_BROKEN     /* I/O error or the peer closed in the middle of a frame */
};

/* Reads a frame's length (at most `limit`), then its `size` bytes. */
enum rx_frame_status rx_read_frame_length(int fd, uint32_t* size, size_t limit, int64_t deadline);
enum rx_frame_status rx_read_frame_body(int fd, char* buffer, size_t size, int64_t deadline);
/* Writes one frame; 0 on error or when the deadline passes first, else 1. */
int rx_write_frame(int fd, const char* payload, size_t size, int64_t deadline);

/* The socket path into `buffer` (of `size` bytes); 0 when it does not fit. */
int rx_service_socket_path(char* buffer, size_t size);

enum rx_call_status { RX_CALL_OK, RX_CALL_UNREACHABLE, RX_CALL_FAILED };
/* A connection to the service, or -1 when none could be made (no service
 * listens there). The requests of one connection are served in order. */
int rx_connect_service(const char* socket_path);

/* Requests may be sent ahead of their replies, which come in order. One sent
 * with `only_after_true` runs only when the request before it on the
 * connection was answered "TRUE"; otherwise the service answers it
 * RX_REPLY_SKIPPED without running it, and so every such request after it.
 * The mark is RX_ONLY_AFTER_TRUE before the operation's name. */
#define RX_ONLY_AFTER_TRUE "?"
#define RX_REPLY_SKIPPED "SKIPPED"
/* The deadline of one request: the service's bound and the launcher's
 * margin from now. */
int64_t rx_request_deadline(void);
/* 1 when the request was sent, 0 on error or when the deadline passed. */
int rx_send_request(int fd, const char* operation, int only_after_true, const char* argument, size_t argument_size,
                    int64_t deadline);
/* Reads the reply to the oldest request not yet answered. */
enum rx_call_status rx_read_reply(int fd, char** reply, int64_t deadline);
/* Connects to the service, sends one request and reads the reply into a
 * NUL-terminated string the caller frees (*reply, on RX_CALL_OK only),
 * giving up after the request bound and the launcher's margin.
 * RX_CALL_UNREACHABLE: no service listens there; RX_CALL_FAILED: the
 * connection broke, timed out, or the service ended it without a reply. */
enum rx_call_status rx_call_service(const char* socket_path, const char* operation, const char* argument,
                                    size_t argument_size, char** reply);

#ifdef __cplusplus
}
#endif

#endif
