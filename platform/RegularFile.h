// Opening files the one safe way: never blocking on a FIFO or a device, only
// regular files, all further I/O through the descriptor that was checked. The
// service's own files are also never reached through a symbolic link and have
// one link; a file the user named for their own tool may be a link.
#pragma once

#include "platform/FileDescriptor.h"

#include <cstddef>
#include <string>
#include <sys/types.h>

namespace rx {

// Whom a path belongs to, and so which links are accepted.
enum class LinkRule {
    Refuse,  // the service's files: no symbolic link, exactly one hard link
    Follow,  // a file the user named: a symbolic link is followed, any link count
};

// Opens `name` relative to the directory descriptor `dirFd` (AT_FDCWD: a path
// relative to the working directory, or an absolute one) with `flags` plus
// O_NOFOLLOW, O_NONBLOCK and O_CLOEXEC, creating it with `mode` when flags
// hold O_CREAT; O_NOFOLLOW is left out under LinkRule::Follow. The descriptor
// is returned only for a regular file (with one link under LinkRule::Refuse),
// with O_NONBLOCK cleared again; otherwise it is closed and the result holds
// -1 (errno ELOOP for a link, EISDIR for a directory, EINVAL for anything
// else refused, or the open's own error).
UniqueFd openRegularFile(int dirFd, const char* name, int flags, mode_t mode = 0,
                         LinkRule links = LinkRule::Refuse);

enum class RegularRead {
    Ok,
    NotFound,    // nothing at the path
    Refused,     // not regular, or a link the rule refuses; errno as for the open
    Unreadable,  // the open failed otherwise (a permission); errno says why
    TooLarge,    // more than the limit
    Failed,      // an I/O error; errno says which
};

// Reads the whole file at `path`, opened as above, into *text (std::string
// or std::vector<char>, whose capacity is reused). A file larger than `limit`
// bytes is not read, nor one that grows past it while it is read (TooLarge),
// so a planted file cannot make the reader hold more than the limit. On
// failure *text is unspecified.
template <class Buffer>
RegularRead readRegularFile(const std::string& path, std::size_t limit, Buffer* text,
                            LinkRule links = LinkRule::Refuse);

}  // namespace rx
