/* A preloadable library that makes file calls fail, for fault injection at
 * the file boundary of the service. Configured by the environment:
 *   RX_FAULT_OP     write | fsync | rename | close | create | open
 *                   (no fault when unset; create: open or openat with
 *                   O_CREAT; open: one without O_CREAT of a file, not
 *                   a directory)
 *   RX_FAULT_ERRNO  ENOSPC | EIO                     (default EIO)
 *   RX_FAULT_MATCH  text that the file's path must contain
 *                   (default "/var/lib/tarnvale/rx8240")
 *   RX_FAULT_SKIP   number of matching calls that succeed before the
 *                   first failure (default 0); every later one fails.
 * A failing close still releases the descriptor, as close(2) does on Linux.
 * Calls on descriptors that are not files of the matching path (sockets,
 * pipes, logs) are never touched. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

enum { kNone, kWrite, kFsync, kRename, kClose, kCreate, kReadOpen };

static int faultOp(void)
{
    static int op = -1;
    if (op < 0) {
        const char* text = getenv("RX_FAULT_OP");
        op = !text                         ? kNone
             : strcmp(text, "write") == 0  ? kWrite
             : strcmp(text, "fsync") == 0  ? kFsync
             : strcmp(text, "rename") == 0 ? kRename
             : strcmp(text, "close") == 0  ? kClose
             : strcmp(text, "create") == 0 ? kCreate
             : strcmp(text, "open") == 0   ? kReadOpen
                                           : kNone;
    }
    return op;
}

static int faultErrno(void)
{
    const char* text = getenv("RX_FAULT_ERRNO");
    return text && strcmp(text, "ENOSPC") == 0 ? ENOSPC : EIO;
}

static const char* faultMatch(void)
{
    const char* text = getenv("RX_FAULT_MATCH");
    return text && *text ? text : "/var/lib/tarnvale/rx8240";
}

static int pathMatches(const char* path)
{
    return path && strstr(path, faultMatch()) != NULL;
}

static int fdMatches(int fd)
{
    char link[64], target[4096];
    if (fd < 0)
        return 0;
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    ssize_t n = readlink(link, target, sizeof target - 1);
    if (n <= 0)
        return 0;
    target[n] = '\0';
    return target[0] == '/' && pathMatches(target);
}

static atomic_long matched;

/* True when this matching call is to fail. */
static int shouldFail(int op, int matches)
{
    if (faultOp() != op || !matches)
        return 0;
    const char* skip = getenv("RX_FAULT_SKIP");
    long n = atomic_fetch_add(&matched, 1);
    return n >= (skip ? atol(skip) : 0);
}

#define REAL(name, type) ((type)dlsym(RTLD_NEXT, #name))

ssize_t write(int fd, const void* buf, size_t count)
{
    if (shouldFail(kWrite, fdMatches(fd))) {
        errno = faultErrno();
        return -1;
    }
    return REAL(write, ssize_t(*)(int, const void*, size_t))(fd, buf, count);
}

int fsync(int fd)
{
    if (shouldFail(kFsync, fdMatches(fd))) {
        errno = faultErrno();
        return -1;
    }
    return REAL(fsync, int (*)(int))(fd);
}

int fdatasync(int fd)
{
    if (shouldFail(kFsync, fdMatches(fd))) {
        errno = faultErrno();
        return -1;
    }
    return REAL(fdatasync, int (*)(int))(fd);
}

int close(int fd)
{
    int fail = shouldFail(kClose, fdMatches(fd));
    int result = REAL(close, int (*)(int))(fd);
    if (fail) {
        errno = faultErrno();
        return -1;
    }
    return result;
}

int rename(const char* from, const char* to)
{
    if (shouldFail(kRename, pathMatches(from) || pathMatches(to))) {
        errno = faultErrno();
        return -1;
    }
    return REAL(rename, int (*)(const char*, const char*))(from, to);
}

static int renameAtMatches(int fromDir, const char* from, int toDir, const char* to)
{
    return pathMatches(from) || pathMatches(to) || fdMatches(fromDir) || fdMatches(toDir);
}

int renameat(int fromDir, const char* from, int toDir, const char* to)
{
    if (shouldFail(kRename, renameAtMatches(fromDir, from, toDir, to))) {
        errno = faultErrno();
        return -1;
    }
    return REAL(renameat, int (*)(int, const char*, int, const char*))(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags)
{
    if (shouldFail(kRename, renameAtMatches(fromDir, from, toDir, to))) {
        errno = faultErrno();
        return -1;
    }
    return REAL(renameat2, int (*)(int, const char*, int, const char*, unsigned))(fromDir, from, toDir, to, flags);
}

/* The mode argument of an open call, present only when it creates. */
#define OPEN_MODE(flags, last)                                                                                    \
    mode_t mode = 0;                                                                                              \
    if ((flags) & (O_CREAT | O_TMPFILE)) {                                                                        \
        va_list args;                                                                                             \
        va_start(args, last);                                                                                     \
        mode = (mode_t)va_arg(args, int);                                                                         \
        va_end(args);                                                                                             \
    }

/* True (errno set) when this open call of a matching file, creating it or
 * opening a file (not a directory) that exists, is to fail. */
static int createFails(int dir, const char* path, int flags)
{
    const int op = (flags & O_CREAT) ? kCreate : (flags & O_DIRECTORY) ? kNone : kReadOpen;
    int matches = op != kNone &&
                  (pathMatches(path) || (path && path[0] != '/' && dir != AT_FDCWD && fdMatches(dir)));
    if (!shouldFail(op, matches))
        return 0;
    errno = faultErrno();
    return 1;
}

int open(const char* path, int flags, ...)
{
    OPEN_MODE(flags, flags)
    return createFails(AT_FDCWD, path, flags) ? -1 : REAL(open, int (*)(const char*, int, ...))(path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    OPEN_MODE(flags, flags)
    return createFails(AT_FDCWD, path, flags) ? -1 : REAL(open64, int (*)(const char*, int, ...))(path, flags, mode);
}

int openat(int dir, const char* path, int flags, ...)
{
    OPEN_MODE(flags, flags)
    return createFails(dir, path, flags) ? -1 : REAL(openat, int (*)(int, const char*, int, ...))(dir, path, flags, mode);
}

int openat64(int dir, const char* path, int flags, ...)
{
    OPEN_MODE(flags, flags)
    return createFails(dir, path, flags) ? -1
                                         : REAL(openat64, int (*)(int, const char*, int, ...))(dir, path, flags, mode);
}
