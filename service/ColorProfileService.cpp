#include "service/ColorProfileService.h"

#include "platform/FixedPaths.h"
#include "profilelist/ProfileList.h"
#include "profilelist/ServicePaths.h"
#include "protocol/ArgumentStrings.h"
#include "protocol/Framing.h"
#include "service/ListFileOps.h"
#include "service/WalkVector.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <syslog.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

namespace {

using Operation = void (QVmacServiceXPC::*)(const std::string&, const Reply&);

constexpr std::array<std::pair<std::string_view, Operation>, 9> kProtocol{{
    {kOpIsAdmin, &QVmacServiceXPC::qvPListIsAdminProfile_XPC},
    {kOpSwap, &QVmacServiceXPC::qvPListSwapProfile_XPC},
    {kOpExist, &QVmacServiceXPC::qvPListExistProfile_XPC},
    {kOpRemove, &QVmacServiceXPC::qvPListRemove_XPC},
    {kOpWriteDictionary, &QVmacServiceXPC::writeDictionaryToPlistFile_XPC},
    {kOpWritePiece, &QVmacServiceXPC::writeDataToPlistFile_XPC},
    {kOpCommit, &QVmacServiceXPC::writeDataToPlistFileRename_XPC},
    {kOpWalk, &QVmacServiceXPC::mibwalk_XPC},
    {kOpLease, &QVmacServiceXPC::stagedWriteLease},
}};

// Runs the exchange over writable copies of the vector's elements: the
// SNMP parser reorders the vector and blanks the community in place, and
// the elements stay the exchange's key.
void exchangeOfVector(const WalkSteps& steps, const std::vector<std::string>& elements, Clock::time_point deadline,
                      ExchangeOutcome* outcome)
{
    std::vector<std::vector<char>> storage;
    storage.reserve(elements.size());
    std::vector<char*> vector(kMaxWalkElements + 1, nullptr);
    for (std::size_t i = 0; i < elements.size(); ++i) {
        storage.emplace_back(elements[i].begin(), elements[i].end());
        storage.back().push_back('\0');
        vector[i] = storage.back().data();
    }
    steps.exchange(static_cast<int>(elements.size()), vector.data(), deadline, outcome);
}

std::string printable(std::string_view text)
{
    std::string out;
    for (char c : text.substr(0, 200))
        out.push_back((static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? '?' : c);
    return out;
}

}  // namespace

ServiceContext::ServiceContext(std::string directory, WalkSteps walkSteps, const ServiceSettings& settings)
    : profileDirectory(std::move(directory)),
      walk(walkSteps),
      walkBound(settings.walkBound),
      locks(settings.leaseTime, kMaxSequenceWait, kMaxModelsPerUser),
      exchanges(settings.walkPoolSize, settings.shareExchanges),
      merges(kMergeWorkers)
{
}

QVmacServiceXPC::QVmacServiceXPC(ServiceContext& context, Caller caller)
    : context_(context), caller_(std::move(caller))
{
}

void QVmacServiceXPC::refuse(std::string_view operation, std::string_view reason) const
{
    syslog(LOG_WARNING, "refused %.*s from uid %u: %s", static_cast<int>(operation.size()), operation.data(),
           static_cast<unsigned>(caller_.uid), printable(reason).c_str());
}

std::optional<ListFile> QVmacServiceXPC::allowedFile(std::string_view operation, std::string_view path)
{
    auto file = classifyListPath(path, context_.profileDirectory);
    if (!file) {
        refuse(operation, "not a list file: " + std::string(path));
        return std::nullopt;
    }
    if (!mayActFor(caller_, file->user)) {
        refuse(operation, "list file of another user: " + file->name);
        return std::nullopt;
    }
    return file;
}

std::unique_lock<std::mutex> UserFileLocks::lock(std::string_view user)
{
    return std::unique_lock(stripes_[std::hash<std::string_view>{}(user) % stripes_.size()]);
}

bool QVmacServiceXPC::mayCreate(std::string_view operation, const ListFile& file, std::uint64_t incoming)
{
    ListDirectory directory(context_.profileDirectory);
    const ListDirectory::Usage usage = directory.usageOf(file.user);
    if (!usage.models.count(file.model) && usage.models.size() >= kMaxModelsPerUser) {
        refuse(operation, "too many model names of " + file.user);
        return false;
    }
    if (usage.bytes + incoming > kMaxBytesPerUser) {
        refuse(operation, "disk quota of " + file.user + ": " + std::to_string(usage.bytes) + " bytes kept and " +
                              std::to_string(incoming) + " more asked, of " + std::to_string(kMaxBytesPerUser));
        return false;
    }
    return true;
}

std::optional<std::unique_lock<std::mutex>> QVmacServiceXPC::reserve(std::string_view operation,
                                                                     const ListFile& file, std::uint64_t incoming)
{
    auto reserved = context_.userFiles.lock(file.user);
    if (!mayCreate(operation, file, incoming))
        return std::nullopt;
    return reserved;
}

void QVmacServiceXPC::qvPListIsAdminProfile_XPC(const std::string& argument, const Reply& reply)
{
    auto file = allowedFile(kOpIsAdmin, argument);
    if (!file)
        return reply(kReplyFalse);
    auto reserved = reserve(kOpIsAdmin, *file, 0);
    if (!reserved)
        return reply(kReplyFalse);
    auto held = context_.locks.lock(file->stem());
    ListDirectory directory(context_.profileDirectory);
    reply(directory.probeWritable(file->name) ? kReplyTrue : kReplyFalse);
}

void QVmacServiceXPC::qvPListSwapProfile_XPC(const std::string& argument, const Reply& reply)
{
    SwapArgument swap = parseSwapArgument(argument);
    std::optional<ListFile> current, previous;
    if (swap.currentPath && !(current = allowedFile(kOpSwap, *swap.currentPath)))
        return reply(kReplyFalse);
    if (swap.previousPath && !(previous = allowedFile(kOpSwap, *swap.previousPath)))
        return reply(kReplyFalse);
    if ((current && current->kind != ListKind::Current) || (previous && previous->kind != ListKind::Previous)) {
        refuse(kOpSwap, "paths are not a current and a previous list");
        return reply(kReplyFalse);
    }
    if (current && previous && current->stem() != previous->stem()) {
        refuse(kOpSwap, "paths of two different lists");
        return reply(kReplyFalse);
    }
    if (!current && !previous)
        return reply(kReplyTrue);
    ListDirectory directory(context_.profileDirectory);
    // A backup copies the current list beside the previous one.
    const std::uint64_t incoming = swap.swapType == 2 && current ? directory.sizeOf(current->name) : 0;
    auto reserved = reserve(kOpSwap, current ? *current : *previous, incoming);
    if (!reserved)
        return reply(kReplyFalse);
    auto held = context_.locks.lock(current ? current->stem() : previous->stem());
    bool done = true;
    switch (swap.swapType) {
    case 2:
        if (previous)
            done = directory.backup(current ? current->name : std::string(), previous->name);
        break;
    case 1:
        if (previous)
            done = directory.discard(previous->name);
        break;
    case 0:
        if (current && previous)
            done = directory.restore(current->name, previous->name);
        break;
    default:
        break;
    }
    if (!done)
        refuse(kOpSwap, "a list name holds something other than a regular file, or the file system failed");
    reply(done ? kReplyTrue : kReplyFalse);
}

void QVmacServiceXPC::qvPListExistProfile_XPC(const std::string& argument, const Reply& reply)
{
    auto file = allowedFile(kOpExist, argument);
    if (!file)
        return reply(kReplyFalse);
    auto held = context_.locks.lock(file->stem());
    ListDirectory directory(context_.profileDirectory);
    reply(directory.exists(file->name) ? kReplyTrue : kReplyFalse);
}

void QVmacServiceXPC::qvPListRemove_XPC(const std::string& argument, const Reply& reply)
{
    auto file = allowedFile(kOpRemove, argument);
    if (!file)
        return reply(kReplyFalse);
    // A staged write of a new model name counts against the caller's models
    // before the list takes a place in the lock table.
    if (file->kind == ListKind::Staging && !mayCreate(kOpRemove, *file))
        return reply(kReplyFalse);
    auto held = context_.locks.lock(file->stem());
    ListDirectory directory(context_.profileDirectory);
    if (file->kind != ListKind::Staging)
        return reply(directory.remove(file->name) ? kReplyTrue : kReplyFalse);
    // Removing the staging file begins a staged write: the caller gets the
    // list's lease, and the write starts from no staging file.
    LeaseToken token;
    switch (held.beginSequence(writer(), &token)) {
    case BeginStatus::Begun:
        break;
    case BeginStatus::TimedOut:
        refuse(kOpRemove, "another staged write of this list did not end in time");
        return reply(kReplyFalse);
    case BeginStatus::TooManyLeases:
        refuse(kOpRemove, "too many staged writes of " + file->user + " under way");
        return reply(kReplyFalse);
    }
    lease_ = token;
    if (!directory.removeIfPresent(file->name)) {
        held.endSequence(writer());
        lease_.clear();
        refuse(kOpRemove, "the staging name holds something other than a regular file");
        return reply(kReplyFalse);
    }
    reply(leaseReply(token));
}

void QVmacServiceXPC::stagedWriteLease(const std::string& argument, const Reply& reply)
{
    if (!isLeaseToken(argument)) {
        refuse(kOpLease, "not a lease token");
        return reply(kReplyFalse);
    }
    lease_ = argument;
    reply(kReplyTrue);
}

std::optional<ListFile> QVmacServiceXPC::allowedFileOfUrl(std::string_view operation, std::string_view url)
{
    auto path = pathFromFileUrl(url);
    if (!path) {
        refuse(operation, "no file URL");
        return std::nullopt;
    }
    return allowedFile(operation, *path);
}

std::optional<QVmacServiceXPC::StagedWrite> QVmacServiceXPC::continueStagedWrite(std::string_view operation,
                                                                                  std::string_view url,
                                                                                  std::uint64_t incoming)
{
    auto file = allowedFileOfUrl(operation, url);
    if (!file)
        return std::nullopt;
    if (file->kind != ListKind::Current) {
        refuse(operation, "staged writes go to the current list only");
        return std::nullopt;
    }
    auto reserved = reserve(operation, *file, incoming);
    if (!reserved)
        return std::nullopt;
    auto held = context_.locks.lock(file->stem());
    if (!held.continueSequence(writer())) {
        refuse(operation, lease_.empty() ? "no staged write begun on this connection"
                                         : "the lease is not this list's live lease");
        return std::nullopt;
    }
    return StagedWrite{std::move(*file), std::move(*reserved), std::move(held)};
}

void QVmacServiceXPC::writeDictionaryToPlistFile_XPC(const std::string& argument, const Reply& reply)
{
    auto parts = parseUrlAndText(argument);
    if (!parts) {
        refuse(kOpWriteDictionary, "no file URL");
        return reply(kReplyFalse);
    }
    auto file = allowedFileOfUrl(kOpWriteDictionary, parts->url);
    if (!file)
        return reply(kReplyFalse);
    if (file->kind == ListKind::Staging) {
        refuse(kOpWriteDictionary, "staging file");
        return reply(kReplyFalse);
    }
    // The new text is written beside the old one before it replaces it.
    auto reserved = reserve(kOpWriteDictionary, *file, parts->text.size());
    if (!reserved)
        return reply(kReplyFalse);
    auto held = context_.locks.lock(file->stem());
    ListDirectory directory(context_.profileDirectory);
    reply(directory.writeWhole(file->name, parts->text) ? kReplyTrue : kReplyFalse);
}

void QVmacServiceXPC::writeDataToPlistFile_XPC(const std::string& argument, const Reply& reply)
{
    auto parts = parseUrlAndText(argument);
    if (!parts) {
        refuse(kOpWritePiece, "no file URL");
        return reply(kReplyFalse);
    }
    auto write = continueStagedWrite(kOpWritePiece, parts->url, parts->text.size());
    if (!write)
        return reply(kReplyFalse);
    const ListFile& file = write->file;
    ListDirectory directory(context_.profileDirectory);
    const std::string staging = listFileName(file.user, file.model, ListKind::Staging);
    switch (directory.appendPiece(staging, parts->text, kMaxListFileSize)) {
    case PieceStatus::Appended:
        return reply(kReplyTrue);
    case PieceStatus::OverCap:
        refuse(kOpWritePiece, "staged text over the size cap; staging file removed");
        return reply(kReplyFalse);
    case PieceStatus::Failed:
        return reply(kReplyFalse);
    }
}

void QVmacServiceXPC::writeDataToPlistFileRename_XPC(const std::string& argument, const Reply& reply)
{
    auto write = continueStagedWrite(kOpCommit, argument, 0);
    if (!write)
        return reply(kReplyFalse);
    const ListFile& file = write->file;
    ListDirectory directory(context_.profileDirectory);
    const bool committed = directory.commit(listFileName(file.user, file.model, ListKind::Staging), file.name);
    write->held.endSequence(writer());
    lease_.clear();
    reply(committed ? kReplyTrue : kReplyFalse);
}

void QVmacServiceXPC::mibwalk_XPC(const std::string& argument, const Reply& reply)
{
    const auto deadline = Clock::now() + context_.walkBound;
    auto refused = [&](std::string_view reason) {
        refuse(kOpWalk, reason);
        reply(walkReply(-1));
    };
    WalkArgument walk;
    switch (parseWalkArgument(argument, &walk)) {
    case WalkParse::Ok:
        break;
    case WalkParse::MissingMarker:
        return refused("model or user marker missing");
    case WalkParse::TooManyElements:
        return refused("more than 512 vector elements");
    }
    if (!isSafeUserName(walk.userName) || !isSafeModelName(walk.modelName))
        return refused("bad user or model name");
    if (!mayActFor(caller_, walk.userName))
        return refused("list of another user: " + walk.userName);
    if (std::string why = checkWalkVector(walk.vector); !why.empty())
        return refused(why);
    const ListFile list{walk.userName, walk.modelName, ListKind::Current,
                        listFileName(walk.userName, walk.modelName, ListKind::Current)};
    if (!mayCreate(kOpWalk, list))
        return reply(walkReply(-1));

    if (!QVPListSetServicePaths(walk.userName, walk.modelName))
        return refused("list path too long");

    const WalkSteps steps = context_.walk;
    auto outcome = context_.exchanges.run(caller_.uid, walk.vector, deadline, [&](ExchangeOutcome* out) {
        exchangeOfVector(steps, walk.vector, deadline, out);
    });
    if (!outcome) {
        // An earlier exchange of the caller, or the one this walk joined,
        // did not end within the bound: this walk fails rather than wait on.
        refuse(kOpWalk, "no turn or shared exchange ended within the walk's bound");
        return reply(walkReply(1));
    }
    // The list is held for the merge only: the caller's walks of other
    // devices merge into this same list, and their exchanges run meanwhile.
    // The merge replaces the list with one of at most the largest legal size;
    // a list of a new model name counts against the cap when it is made.
    const int result = context_.merges.run([&] {
        auto reserved = reserve(kOpWalk, list, 0);
        if (!reserved)
            return -1;
        auto held = context_.locks.lock(list.stem());
        return QVPListSetServicePaths(walk.userName, walk.modelName) ? steps.merge(*outcome) : 1;
    });
    reply(walkReply(result));
    syslog(LOG_ERR, "xpc - mibwalk_XPC - iRet=%d", result);
}

void QVmacServiceXPC::serve(int fd)
{
    // Whether the last request of this connection was answered TRUE: a
    // request marked to run only after a TRUE is otherwise skipped.
    bool lastTrue = true;
    for (;;) {
        std::string operation, argument;
        FrameStatus status = readFrame(fd, &operation, kMaxOperationSize, Clock::now() + context_.idleTimeout);
        if (status == FrameStatus::Ok)
            status = readFrame(fd, &argument, kMaxFrameSize, Clock::now() + context_.idleTimeout);
        if (status != FrameStatus::Ok) {
            if (status != FrameStatus::Closed)
                refuse("connection", status == FrameStatus::TimedOut   ? "idle too long"
                                     : status == FrameStatus::TooLarge ? "frame over the size limit"
                                                                       : "malformed frame");
            return;
        }
        const bool onlyAfterTrue = operation.starts_with(kOnlyAfterTrue);
        if (onlyAfterTrue)
            operation.erase(0, kOnlyAfterTrue.size());
        Operation handler = nullptr;
        for (const auto& [name, member] : kProtocol)
            if (name == operation)
                handler = member;
        if (!handler) {
            refuse("connection", "unknown operation " + operation);
            return;
        }
        std::string replyText;
        bool replied = false;
        if (onlyAfterTrue && !lastTrue) {
            replyText = kReplySkipped;
            replied = true;
        } else if (!isValidUtf8(argument)) {
            refuse(operation, "argument is not UTF-8");
            replyText = operation == kOpWalk ? walkReply(-1) : std::string(kReplyFalse);
            replied = true;
        } else {
            (this->*handler)(argument, [&](std::string_view text) {
                if (!replied) {
                    replyText = text;
                    replied = true;
                }
            });
        }
        if (!replied || !writeFrame(fd, replyText, Clock::now() + context_.idleTimeout))
            return;
        lastTrue = isTrueReply(replyText);
    }
}

bool peerCaller(int fd, Caller* caller)
{
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 || size != sizeof credentials)
        return false;
    caller->uid = credentials.uid;
    caller->login = rx::loginNameOf(credentials.uid);
    return true;
}

bool QVmacXPCServiceDelegate::shouldAcceptNewConnection(int fd)
{
    Caller caller;
    if (!peerCaller(fd, &caller)) {
        syslog(LOG_WARNING, "connection refused: caller unknown");
        close(fd);
        return false;
    }
    const uid_t uid = caller.uid;
    if (!context_.connections.take(uid)) {
        syslog(LOG_WARNING, "connection refused: uid %u or the service at its connection cap",
               static_cast<unsigned>(uid));
        close(fd);
        return false;
    }
    try {
        std::thread([this, fd, caller = std::move(caller)]() mutable {
            const uid_t owner = caller.uid;
            {
                QVmacServiceXPC exported(context_, std::move(caller));
                exported.serve(fd);
            }
            close(fd);
            context_.connections.give(owner);
        }).detach();
    } catch (const std::system_error&) {
        context_.connections.give(uid);
        close(fd);
        return false;
    }
    return true;
}

void QVmacXPCServiceDelegate::run(int listenFd)
{
    for (;;) {
        int fd = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno != EINTR && errno != ECONNABORTED)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));  // out of descriptors: back off
            continue;
        }
        shouldAcceptNewConnection(fd);
    }
}

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
