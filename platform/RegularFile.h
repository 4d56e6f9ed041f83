// Opening the list files the one safe way: never through a symbolic link,
// never blocking on a FIFO or a device, only regular files with one link, and
// all further I/O through the descriptor that was checked.
#pragma once

#include "platform/FileDescriptor.h"

#include <cstddef>
#include <string>
#include <sys/types.h>

namespace rx {

// Opens `name` relative to the directory descriptor `dirFd` (AT_FDCWD: a path
// relative to the working directory, or an absolute one) with `flags` plus
// O_NOFOLLOW, O_NONBLOCK and O_CLOEXEC, creating it with `mode` when flags
// hold O_CREAT. The descriptor is returned only for a regular file with one
// link, with O_NONBLOCK cleared again; otherwise it is closed and the result
// holds -1 (errno ELOOP for a link, EINVAL for anything else not regular).
UniqueFd openRegularFile(int dirFd, const char* name, int flags, mode_t mode = 0);

enum class RegularRead {
    Ok,
    NotFound,  // nothing at the path
    Refused,   // a link, a FIFO, a device, a directory or a file with more links
    TooLarge,  // more than the limit
    Failed,    // an I/O error
};

// Reads the whole file at `path`, opened as above, into *text. A file larger
// than `limit` bytes is not read (TooLarge), so a planted file cannot make
// the reader hold more than the limit.
RegularRead readRegularFile(const std::string& path, std::size_t limit, std::string* text);

}  // namespace rx
