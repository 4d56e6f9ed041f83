// The service's file functions: the writability probe, the whole-list
// writers, and swap, exist and remove on the paths of the request in
// progress. Symbolic links are never followed.
#include "platform/FileDescriptor.h"
#include "platform/RegularFile.h"
#include "profilelist/DurableFile.h"
#include "profilelist/ProfileList.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kCopyBlock = 65535;

int writeLists(const ProfileList* rgb, const ProfileList* sim, const ProfileList* dst)
{
    const std::string path = QVPListCurrentPath();
    if (path.empty())
        return -1;
    return profilelist::replaceFileDurably(path, QVPListBuildFileText(rgb, sim, dst)) ? 0 : -1;
}

// Copies the whole of in to out in blocks; a read or write error ends it.
void copyBlocks(int in, int out)
{
    auto buffer = std::make_unique<char[]>(kCopyBlock);
    for (;;) {
        ssize_t n = ::read(in, buffer.get(), kCopyBlock);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || !rx::writeAll(out, buffer.get(), size_t(n)))
            return;
    }
}

// Opens a list path by the service's rules (RegularFile.h).
rx::UniqueFd openList(const std::string& path, int flags, mode_t mode = 0)
{
    return rx::openRegularFile(AT_FDCWD, path.c_str(), flags, mode);
}

}  // namespace

int QVPListIsAdminProfile()
{
    const std::string path = QVPListCurrentPath();
    if (path.empty())
        return 0;
    ::umask(profilelist::kListFileCreationMask);
    if (openList(path, O_RDWR | O_APPEND))
        return 1;
    if (errno != ENOENT)
        return 0;
    // Absent: create it to prove the directory is writable, then remove
    // exactly the file created here.
    if (!openList(path, O_RDWR | O_APPEND | O_CREAT | O_EXCL, profilelist::kListFileMode))
        return 0;
    ::unlink(path.c_str());
    return 1;
}

int QVPListWriteProfile_All(const ProfileList* rgb, const ProfileList* sim, const ProfileList* dst)
{
    if (!QVPListIsAdminProfile())
        return -1;
    return writeLists(rgb, sim, dst);
}

int QVPListWriteProfile_All_Pap(const ProfileList* rgb, const ProfileList* sim, const ProfileList* dst,
                                const ProfileList* rgbDeleted, const ProfileList* simDeleted,
                                const ProfileList* dstDeleted)
{
    if (!QVPListIsAdminProfile())
        return -1;
    auto merged = std::make_unique<ProfileList[]>(3);  // zero-filled
    QVPListMappingProfile_All_Pap(rgb, sim, dst, &merged[0], &merged[1], &merged[2], rgbDeleted, simDeleted,
                                  dstDeleted);
    return writeLists(&merged[0], &merged[1], &merged[2]);
}

int QVPListSwapProfile(int swapType)
{
    if (!QVPListIsAdminProfile())
        return -1;
    const std::string current = QVPListCurrentPath();
    const std::string previous = QVPListPreviousPath();
    if (current.empty() || previous.empty())
        return -1;
    switch (swapType) {
    case kSwapBackup: {
        ::unlink(previous.c_str());
        rx::UniqueFd in = openList(current, O_RDONLY);
        rx::UniqueFd out = openList(previous, O_RDWR | O_APPEND | O_CREAT, profilelist::kListFileMode);
        if (!in || !out)
            return -1;
        copyBlocks(in.get(), out.get());
        return 0;
    }
    case kSwapDiscard:
        return ::unlink(previous.c_str()) == 0 ? 0 : -1;
    case kSwapRestore:
        // One step: with no previous file the current file stays.
        return ::rename(previous.c_str(), current.c_str()) == 0 ? 0 : -1;
    default:
        return -1;
    }
}

int QVPListExistProfile()
{
    if (!QVPListIsAdminProfile())
        return 0;
    return openList(QVPListCurrentPath(), O_RDONLY) ? 1 : 0;
}

int QVPListRemove(int removeType)
{
    if (!QVPListIsAdminProfile())
        return 0;
    const std::string path = QVPListRemovePath(removeType);
    return !path.empty() && ::unlink(path.c_str()) == 0 ? 1 : 0;
}
