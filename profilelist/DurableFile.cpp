#include "profilelist/DurableFile.h"

#include "platform/FileDescriptor.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace profilelist {

bool replaceFileDurably(const std::string& path, std::string_view text)
{
    const size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    if (base.empty())
        return false;
    std::string temp = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "." + base +
                       ".XXXXXX";
    rx::UniqueFd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd)
        return false;

    struct stat old {};
    bool ok = true;
    if (::lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ok = ::fchmod(fd.get(), old.st_mode & 07777) == 0;
        if (ok && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()))
            (void)!::fchown(fd.get(), old.st_uid, old.st_gid);
    } else {
        ok = ::fchmod(fd.get(), kListFileMode) == 0;
    }
    ok = ok && rx::writeAll(fd.get(), text.data(), text.size()) && ::fsync(fd.get()) == 0;
    ok = fd.closeChecked() && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // The rename is done; flushing the directory makes it survive a crash.
    const rx::UniqueFd directory(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory)
        (void)::fsync(directory.get());
    return true;
}

}  // namespace profilelist
