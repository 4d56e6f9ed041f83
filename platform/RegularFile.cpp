#include "platform/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace rx {

namespace {

// Why an opened file is refused: 0 when it is taken.
int refusal(const struct stat& st, LinkRule links)
{
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    if (!S_ISREG(st.st_mode) || (links == LinkRule::Refuse && st.st_nlink != 1))
        return EINVAL;
    return 0;
}

RegularRead openFailure(int error)
{
    if (error == ENOENT || error == ENOTDIR)
        return RegularRead::NotFound;
    return error == ELOOP || error == EISDIR || error == EINVAL ? RegularRead::Refused : RegularRead::Unreadable;
}

}  // namespace

UniqueFd openRegularFile(int dirFd, const char* name, int flags, mode_t mode, LinkRule links)
{
    const int noFollow = links == LinkRule::Refuse ? O_NOFOLLOW : 0;
    UniqueFd fd(::openat(dirFd, name, flags | noFollow | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode));
    if (!fd)
        return fd;
    struct stat st {};
    const int refused = ::fstat(fd.get(), &st) != 0 ? errno : refusal(st, links);
    if (refused != 0) {
        errno = refused;
        return UniqueFd();
    }
    // Regular files never block; ordinary I/O from here on.
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    return fd;
}

template <class Buffer>
RegularRead readRegularFile(const std::string& path, std::size_t limit, Buffer* text, LinkRule links)
{
    UniqueFd fd = openRegularFile(AT_FDCWD, path.c_str(), O_RDONLY, 0, links);
    if (!fd)
        return openFailure(errno);
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

template RegularRead readRegularFile(const std::string&, std::size_t, std::string*, LinkRule);
template RegularRead readRegularFile(const std::string&, std::size_t, std::vector<char>*, LinkRule);

}  // namespace rx
