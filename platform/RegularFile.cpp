#include "platform/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace rx {

UniqueFd openRegularFile(int dirFd, const char* name, int flags, mode_t mode)
{
    UniqueFd fd(::openat(dirFd, name, flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode));
    if (!fd)
        return fd;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1) {
        errno = EINVAL;
        return UniqueFd();
    }
    // Regular files never block; ordinary I/O from here on.
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    return fd;
}

RegularRead readRegularFile(const std::string& path, std::size_t limit, std::string* text)
{
    UniqueFd fd = openRegularFile(AT_FDCWD, path.c_str(), O_RDONLY);
    if (!fd)
        return errno == ENOENT || errno == ENOTDIR ? RegularRead::NotFound : RegularRead::Refused;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return RegularRead::Failed;
    if (static_cast<unsigned long long>(st.st_size) > limit)
        return RegularRead::TooLarge;
    // The file may grow while it is read: at most limit + 1 bytes are taken.
    text->resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == text->size()) {
            if (used > limit)
                return RegularRead::TooLarge;
            text->resize(std::min(text->size() * 2, limit + 1));
        }
        const ssize_t n = ::read(fd.get(), text->data() + used, text->size() - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return RegularRead::Failed;
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    if (used > limit)
        return RegularRead::TooLarge;
    text->resize(used);
    return RegularRead::Ok;
}

}  // namespace rx
