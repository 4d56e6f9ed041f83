// The file operations of the service on the list files, inside one directory.
// Every file is reached by name relative to the directory's descriptor,
// opened with O_NOFOLLOW (and O_NONBLOCK, so a planted FIFO cannot stall a
// request), checked with fstat to be a regular file with one link, and all
// further I/O goes through that descriptor. Symbolic links are never followed
// and never replaced: a name that holds anything but a regular file refuses
// the operation.
#pragma once

#include "platform/FileDescriptor.h"

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

enum class PieceStatus {
    Appended,
    OverCap,  // the staged text would pass the cap: refused, staging file removed
    Failed,   // refused or not written whole (then the staging file is removed)
};

class ListDirectory {
public:
    // Opens the directory; valid() is false when it cannot be opened.
    explicit ListDirectory(const std::string& path);
    ~ListDirectory();
    ListDirectory(const ListDirectory&) = delete;
    ListDirectory& operator=(const ListDirectory&) = delete;

    bool valid() const { return fd_ >= 0; }

    // True when the file can be opened for writing (created with mode 0664
    // under the file-creation mask 002 when absent, and then removed again).
    bool probeWritable(const std::string& name);
    // True when the file can be opened for reading.
    bool exists(const std::string& name);
    // True when the file was removed.
    bool remove(const std::string& name);
    // True when no file of that name is left: removed, or none was there.
    bool removeIfPresent(const std::string& name);

    // Backup: the previous file becomes a copy of the current one, copied in
    // blocks of at most 65535 bytes, so a missing current file leaves it
    // empty. The copy is made in a temporary file that replaces the previous
    // file when whole. False when a name holds something other than a
    // regular file, or when the current list cannot be read or the copy
    // failed (then the previous file stays as it was).
    bool backup(const std::string& current, const std::string& previous);
    // Discard: removes the previous file.
    bool discard(const std::string& previous);
    // Restore: renames the previous file over the current one in one step;
    // without a previous file the current file stays. False when refused or
    // when the rename fails.
    bool restore(const std::string& current, const std::string& previous);

    // Appends a piece of text to the staging file, creating it when absent.
    // When the piece cannot be written whole, or the staging file would grow
    // past `cap` bytes, the staging file is removed.
    PieceStatus appendPiece(const std::string& staging, std::string_view text, std::size_t cap);
    // Makes the staged text the file's content: syncs the staging file,
    // renames it over the file and syncs the directory. True only when all of
    // that succeeded; a missing staging file leaves the file alone. A staging
    // file that cannot be synced or renamed is removed.
    bool commit(const std::string& staging, const std::string& name);
    // Replaces the whole content of a file, through a temporary file that is
    // synced and renamed over it.
    bool writeWhole(const std::string& name, std::string_view text);

    // What `user` keeps in the directory: the model names of which it has
    // any list file, and the bytes of its list files and of this process's
    // temporary files beside them. The user's temporary files of an earlier
    // service process (one that ended in the middle of an operation) are
    // removed on the way.
    struct Usage {
        std::set<std::string> models;
        std::uint64_t bytes = 0;
    };
    Usage usageOf(std::string_view user) const;
    // The size of a regular file; 0 when there is none of that name.
    std::uint64_t sizeOf(const std::string& name) const;

private:
    enum class Presence { Absent, Regular, Other };
    Presence presence(const std::string& name) const;
    rx::UniqueFd openRegular(const std::string& name, int flags, bool mayCreate = false) const;
    bool syncDirectory() const;
    // A fresh name for a temporary file beside `name` in the directory.
    static std::string temporaryName(const std::string& name);

    int fd_ = -1;
};

// Copy block size of a backup.
inline constexpr std::size_t kBackupBlockSize = 65535;

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
