#include "service/ListFileOps.h"

#include "platform/FileDescriptor.h"
#include "platform/RegularFile.h"
#include "service/ListFileNames.h"

#include <atomic>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

namespace {

using rx::UniqueFd;
using rx::writeAll;

}  // namespace

ListDirectory::ListDirectory(const std::string& path)
    : fd_(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
}

ListDirectory::~ListDirectory()
{
    if (fd_ >= 0)
        close(fd_);
}

ListDirectory::Presence ListDirectory::presence(const std::string& name) const
{
    struct stat st;
    if (fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? Presence::Absent : Presence::Other;
    return (S_ISREG(st.st_mode) && st.st_nlink == 1) ? Presence::Regular : Presence::Other;
}

// Opens a name as a regular file with one link; empty otherwise. With mayCreate
// an absent file is created, mode 0664.
rx::UniqueFd ListDirectory::openRegular(const std::string& name, int flags, bool mayCreate) const
{
    return rx::openRegularFile(fd_, name.c_str(), flags | (mayCreate ? O_CREAT : 0), 0664);
}

bool ListDirectory::syncDirectory() const
{
    return fsync(fd_) == 0;
}

bool ListDirectory::probeWritable(const std::string& name)
{
    if (!valid())
        return false;
    umask(002);
    Presence before = presence(name);
    if (before == Presence::Other)
        return false;
    UniqueFd file(openRegular(name, O_RDWR | O_APPEND | (before == Presence::Absent ? O_EXCL : 0),
                                    before == Presence::Absent));
    if (!file)
        return false;
    if (before == Presence::Absent) {
        // Remove only the file this probe made.
        struct stat made, now;
        if (fstat(file.get(), &made) == 0 && fstatat(fd_, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
            made.st_dev == now.st_dev && made.st_ino == now.st_ino)
            unlinkat(fd_, name.c_str(), 0);
    }
    return true;
}

bool ListDirectory::exists(const std::string& name)
{
    if (!valid())
        return false;
    UniqueFd file(openRegular(name, O_RDONLY));
    return static_cast<bool>(file);
}

bool ListDirectory::remove(const std::string& name)
{
    if (!valid() || presence(name) != Presence::Regular)
        return false;
    return unlinkat(fd_, name.c_str(), 0) == 0;
}

bool ListDirectory::removeIfPresent(const std::string& name)
{
    if (!valid())
        return false;
    const Presence now = presence(name);
    return now == Presence::Absent || (now == Presence::Regular && unlinkat(fd_, name.c_str(), 0) == 0);
}

bool ListDirectory::backup(const std::string& current, const std::string& previous)
{
    if (!valid())
        return false;
    Presence prev = presence(previous);
    Presence cur = presence(current);
    if (prev == Presence::Other || cur == Presence::Other)
        return false;
    // The copy is made in a temporary file that is synced and renamed over
    // the previous file only when complete: the old backup goes only then,
    // and a failed or interrupted copy never leaves a torn backup that a
    // later restore would make the current list. A current list that is
    // there but cannot be opened is a failure, not an empty backup; only an
    // absent one is backed up as empty.
    UniqueFd source(openRegular(current, O_RDONLY));
    if (!source && cur == Presence::Regular)
        return false;
    umask(002);
    const std::string temporary = temporaryName(previous);
    UniqueFd target(openRegular(temporary, O_RDWR | O_APPEND | O_EXCL, true));
    if (!target)
        return false;  // no backup was made: a failure, as a failed copy is
    bool copied = true;
    if (source) {
        auto buffer = std::make_unique<char[]>(kBackupBlockSize);
        for (;;) {
            ssize_t n = read(source.get(), buffer.get(), kBackupBlockSize);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 || (n > 0 && !writeAll(target.get(), buffer.get(), static_cast<std::size_t>(n))))
                copied = false;
            if (n <= 0 || !copied)
                break;
        }
    }
    copied = copied && fsync(target.get()) == 0;
    copied = target.closeChecked() && copied;
    if (!copied || renameat(fd_, temporary.c_str(), fd_, previous.c_str()) != 0) {
        unlinkat(fd_, temporary.c_str(), 0);
        return false;
    }
    syncDirectory();
    return true;
}

bool ListDirectory::discard(const std::string& previous)
{
    if (!valid())
        return false;
    Presence prev = presence(previous);
    if (prev == Presence::Other)
        return false;
    if (prev == Presence::Regular)
        unlinkat(fd_, previous.c_str(), 0);
    return true;
}

bool ListDirectory::restore(const std::string& current, const std::string& previous)
{
    if (!valid())
        return false;
    Presence prev = presence(previous);
    Presence cur = presence(current);
    if (prev == Presence::Other || cur == Presence::Other)
        return false;
    if (prev == Presence::Absent)
        return true;
    // A rename the file system refuses is a failure, not a success.
    if (renameat(fd_, previous.c_str(), fd_, current.c_str()) != 0)
        return false;
    syncDirectory();
    return true;
}

PieceStatus ListDirectory::appendPiece(const std::string& staging, std::string_view text, std::size_t cap)
{
    if (!valid())
        return PieceStatus::Failed;
    umask(002);
    UniqueFd file(openRegular(staging, O_WRONLY | O_APPEND, true));
    if (!file)
        return PieceStatus::Failed;
    struct stat st {};
    if (fstat(file.get(), &st) != 0 || static_cast<std::size_t>(st.st_size) + text.size() > cap) {
        unlinkat(fd_, staging.c_str(), 0);
        return PieceStatus::OverCap;
    }
    // A piece that was not written whole breaks the sequence: the staging
    // file goes, so that no commit can put a torn text in place.
    bool written = writeAll(file.get(), text.data(), text.size());
    // The piece starts on its way to the disk now, while the next ones
    // arrive, so that the commit's fsync has little left to wait for.
    if (written)
        sync_file_range(file.get(), st.st_size, static_cast<off_t>(text.size()), SYNC_FILE_RANGE_WRITE);
    written = file.closeChecked() && written;
    if (!written)
        unlinkat(fd_, staging.c_str(), 0);
    return written ? PieceStatus::Appended : PieceStatus::Failed;
}

bool ListDirectory::commit(const std::string& staging, const std::string& name)
{
    if (!valid() || presence(name) == Presence::Other)
        return false;
    UniqueFd file(openRegular(staging, O_RDONLY));
    if (!file)
        return false;
    // A staging file that cannot be made durable or put in place is dropped:
    // the list stays as it was and the writer starts again.
    if (fsync(file.get()) != 0 || renameat(fd_, staging.c_str(), fd_, name.c_str()) != 0) {
        unlinkat(fd_, staging.c_str(), 0);
        return false;
    }
    // The list now holds the staged text; false here means only that the
    // rename may not survive a power loss.
    return syncDirectory();
}

std::string ListDirectory::temporaryName(const std::string& name)
{
    static std::atomic<unsigned> counter{0};
    return "." + name + ".tmp" + std::to_string(getpid()) + "." + std::to_string(counter.fetch_add(1));
}

bool ListDirectory::writeWhole(const std::string& name, std::string_view text)
{
    if (!valid() || presence(name) == Presence::Other)
        return false;
    umask(002);
    std::string temporary = temporaryName(name);
    UniqueFd file(openRegular(temporary, O_WRONLY | O_EXCL, true));
    if (!file)
        return false;
    // Closed (and its error looked at) before the rename: the new text goes
    // in place only when every step of writing it succeeded.
    bool written = writeAll(file.get(), text.data(), text.size()) && fsync(file.get()) == 0;
    written = file.closeChecked() && written;
    if (!written || renameat(fd_, temporary.c_str(), fd_, name.c_str()) != 0) {
        unlinkat(fd_, temporary.c_str(), 0);
        return false;
    }
    return syncDirectory();
}

std::uint64_t ListDirectory::sizeOf(const std::string& name) const
{
    struct stat st;
    if (!valid() || fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
        return 0;
    return static_cast<std::uint64_t>(st.st_size);
}

namespace {

// True when a temporary file's "PID.N" suffix names this process.
bool ofThisProcess(std::string_view suffix)
{
    return suffix.substr(0, suffix.find('.')) == std::to_string(getpid());
}

}  // namespace

ListDirectory::Usage ListDirectory::usageOf(std::string_view user) const
{
    Usage usage;
    if (!valid())
        return usage;
    // The directory's own descriptor stays for the other operations.
    std::unique_ptr<DIR, int (*)(DIR*)> dir(fdopendir(dup(fd_)), closedir);
    if (!dir)
        return usage;
    while (const dirent* entry = readdir(dir.get())) {
        std::string_view name = entry->d_name;
        // A temporary file (temporaryName) counts for the list file it is of.
        const bool temporary = name.starts_with('.') && name.find(".tmp") != std::string_view::npos;
        const std::size_t mark = name.rfind(".tmp");
        if (temporary)
            name = name.substr(1, mark - 1);
        auto file = classifyListName(name);
        if (!file || file->user != user)
            continue;
        if (temporary && !ofThisProcess(std::string_view(entry->d_name).substr(mark + 4))) {
            // Left by a service that ended in the middle of an operation:
            // nothing will rename it, and the user cannot remove it.
            unlinkat(fd_, entry->d_name, 0);
            continue;
        }
        if (!temporary)
            usage.models.insert(file->model);
        usage.bytes += sizeOf(entry->d_name);
    }
    return usage;
}

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
