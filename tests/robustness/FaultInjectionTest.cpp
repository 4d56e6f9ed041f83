// Faults at the file boundary: the real service with a preloaded library that
// makes write, fsync, rename or close of the list files fail with ENOSPC or
// EIO. Every operation that writes must leave the current list byte-identical
// (or, once the rename is done, whole and new), leave no staging or temporary
// file behind, and say that it failed.
#include "RobustSupport.h"

#include "protocol/ArgumentStrings.h"
#include "tests/discovery/SnmpTestAgents.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;
using namespace robust;

namespace {

enum class Operation { StagedWrite, WholeWrite, Backup, Restore, WalkMerge };

const char* nameOf(Operation op)
{
    switch (op) {
    case Operation::StagedWrite: return "staged write";
    case Operation::WholeWrite: return "whole write";
    case Operation::Backup: return "backup";
    case Operation::Restore: return "restore";
    case Operation::WalkMerge: return "walk merge";
    }
    return "?";
}

// What the current list holds after the fault.
enum class After { Old, New };

struct FaultCase {
    Operation operation;
    const char* call;   // write | fsync | rename | close | create | open
    const char* error;  // ENOSPC | EIO
    int skip;           // matching calls that succeed first
    After after;
};

std::ostream& operator<<(std::ostream& out, const FaultCase& c)
{
    return out << nameOf(c.operation) << ", " << c.call << " #" << c.skip + 1 << " fails with " << c.error;
}

const std::string kOld = versionText(1);
const std::string kNew = versionText(2);

// The variables of one device row of class 1 on the disk, then the end.
std::vector<snmptest::VarBind> oneRow()
{
    using namespace snmptest;
    return {intVar(columnOid(1, 1), 11),        intVar(columnOid(2, 1), 4),
            stringVar(columnOid(3, 1), "Dev"),  stringVar(columnOid(4, 1), "DEV.ICC"),
            intVar(columnOid(5, 1), 1),         intVar(columnOid(7, 1), 2),
            intVar(parseOid("1.3.6.1.4.1.71362.1.1.1.1.6.13.1.2.0"), 0)};
}

// Runs the operation; true when every reply said it succeeded. The replies,
// in order, go to `replies` for the failure messages.
bool run(Operation op, const Service& service, const std::string& root, const std::string& agent,
         std::string* replies)
{
    const std::string& s = service.socket();
    replies->clear();
    std::string lease;
    auto send = [&](std::string_view operation, const std::string& argument, std::string_view success) {
        const std::string reply = call(s, std::string(operation), argument, 60, lease);
        *replies += (replies->empty() ? "" : ", ") + reply;
        return reply == success;
    };
    switch (op) {
    case Operation::StagedWrite: {
        lease = svc::leaseOfReply(call(s, std::string(svc::kOpRemove), stagingPath(root)));
        const std::size_t half = kNew.size() / 2;
        bool ok = send(svc::kOpWritePiece, pieceArgument(root, kNew.substr(0, half)), "TRUE");
        ok = send(svc::kOpWritePiece, pieceArgument(root, kNew.substr(half)), "TRUE") && ok;
        // The commit is sent even after a failed piece: it must not put a
        // torn text in place.
        return send(svc::kOpCommit, commitArgument(root), "TRUE") && ok;
    }
    case Operation::WholeWrite:
        return send(svc::kOpWriteDictionary, pieceArgument(root, kNew), "TRUE");
    case Operation::Backup:
        return send(svc::kOpSwap, swapArgument(2, root), "TRUE");
    case Operation::Restore:
        return send(svc::kOpSwap, swapArgument(0, root), "TRUE");
    case Operation::WalkMerge:
        return send(svc::kOpWalk, walkArgument(agent), "iRet=0");
    }
    return false;
}

class FileFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FileFaults, ListStaysWholeNoFileIsLeftAndTheReplyIsHonest)
{
    const FaultCase& c = GetParam();
    const std::string root = freshRoot();
    writeFile(currentPath(root), kOld);
    if (c.operation == Operation::Restore)
        writeFile(previousPath(root), kNew);
    if (c.operation == Operation::Backup)
        writeFile(previousPath(root), kNew);
    snmptest::FakeAgent agent{snmptest::TableResponder(oneRow())};

    Service service;
    ASSERT_TRUE(service.start(RX_SERVICE_BINARY, root, faultEnvironment(c.call, c.error, c.skip)));
    std::string replies;
    const bool succeeded = run(c.operation, service, root, agent.address(), &replies);

    EXPECT_FALSE(succeeded) << "a failed file call was reported as success: " << replies;
    if (c.after == After::Old) {
        EXPECT_EQ(readFile(currentPath(root)), kOld) << "the current list changed";
    } else {
        EXPECT_EQ(readFile(currentPath(root)), kNew) << "the renamed list is not the whole new text";
    }
    EXPECT_EQ(leftovers(root), std::vector<std::string>{});
    if (c.operation == Operation::Backup) {
        // The old backup stays until a whole new copy replaces it.
        EXPECT_EQ(readFile(previousPath(root)), kNew) << "the old backup was lost";
    }
    if (c.operation == Operation::Restore) {
        EXPECT_EQ(readFile(previousPath(root)), kNew);
    }
    EXPECT_TRUE(service.alive());

    // Without the fault the same operation succeeds on the same files.
    service.stop();
    ASSERT_TRUE(service.start(RX_SERVICE_BINARY, root));
    if (c.operation == Operation::Restore || c.operation == Operation::Backup) {
        writeFile(previousPath(root), kNew);
    }
    EXPECT_TRUE(run(c.operation, service, root, agent.address(), &replies)) << replies;
}

std::vector<FaultCase> allCases()
{
    std::vector<FaultCase> cases;
    for (const char* error : {"ENOSPC", "EIO"}) {
        for (Operation op : {Operation::StagedWrite, Operation::WholeWrite, Operation::Backup, Operation::WalkMerge}) {
            cases.push_back({op, "write", error, 0, After::Old});
            cases.push_back({op, "fsync", error, 0, After::Old});
            cases.push_back({op, "close", error, 0, After::Old});
        }
        for (Operation op : {Operation::StagedWrite, Operation::WholeWrite, Operation::Backup, Operation::Restore,
                             Operation::WalkMerge})
            cases.push_back({op, "rename", error, 0, After::Old});
        // The file a write or a backup makes cannot be created. (The walk's
        // merge makes its file through the C library's own open, out of the
        // shim's reach.)
        for (Operation op : {Operation::StagedWrite, Operation::WholeWrite, Operation::Backup})
            cases.push_back({op, "create", error, 0, After::Old});
        // The current list is there but cannot be opened: no empty backup.
        cases.push_back({Operation::Backup, "open", error, 0, After::Old});
        // The directory's fsync after the commit's rename: the list already
        // holds the whole new text, and the reply says the commit is not
        // known to be durable.
        cases.push_back({Operation::StagedWrite, "fsync", error, 1, After::New});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(AtTheFileBoundary, FileFaults, ::testing::ValuesIn(allCases()),
                         [](const ::testing::TestParamInfo<FaultCase>& param) {
                             std::string name = std::string(nameOf(param.param.operation)) + "_" +
                                                param.param.call + std::to_string(param.param.skip + 1) + "_" +
                                                param.param.error;
                             for (char& ch : name)
                                 if (ch == ' ')
                                     ch = '_';
                             return name;
                         });

}  // namespace
