// The service killed with SIGKILL at spread-out moments of staged writes,
// whole writes, commits, backups, restores and discovery merges. After every
// kill the current list is the whole old or the whole new text and reads
// back; a backup is absent or whole. RX_KILLS_PER_OPERATION sets the number
// of kills of each operation (default 44: 220 kills over the five).
#include "RobustSupport.h"

#include "profilelist/ListFileReader.h"
#include "protocol/ArgumentStrings.h"
#include "tests/discovery/SnmpTestAgents.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;
using namespace robust;

namespace {

enum class Operation { StagedWrite, WholeWrite, Backup, Restore, Discovery };
constexpr Operation kOperations[] = {Operation::StagedWrite, Operation::WholeWrite, Operation::Backup,
                                     Operation::Restore, Operation::Discovery};

const char* nameOf(Operation op)
{
    switch (op) {
    case Operation::StagedWrite: return "staged write and commit";
    case Operation::WholeWrite: return "whole write";
    case Operation::Backup: return "backup";
    case Operation::Restore: return "restore";
    case Operation::Discovery: return "discovery merge";
    }
    return "?";
}

int killsPerOperation()
{
    const char* text = std::getenv("RX_KILLS_PER_OPERATION");
    return text ? std::max(1, std::atoi(text)) : 44;
}

class CrashConsistency : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = freshRoot();
        const auto classOfRow = [](uint32_t row) { return int32_t(1 + row % 3); };
        agent_ = std::make_unique<snmptest::FakeAgent>(snmptest::TableResponder(robust::deviceTable(20, classOfRow)));
    }

    // Puts the files in the state before an operation (the service is down).
    void prepare(Operation op)
    {
        std::filesystem::remove(previousPath(root_));
        writeFile(currentPath(root_), kOld);
        if (op == Operation::Restore)
            writeFile(previousPath(root_), kNew);
    }

    // The operation as the plug-in sends it; true when all replies were good.
    bool run(Operation op, const std::string& socket)
    {
        switch (op) {
        case Operation::StagedWrite: {
            const std::string lease =
                svc::leaseOfReply(call(socket, std::string(svc::kOpRemove), stagingPath(root_), 10));
            const std::size_t quarter = kNew.size() / 4 + 1;
            for (std::size_t at = 0; at < kNew.size(); at += quarter)
                if (call(socket, std::string(svc::kOpWritePiece), pieceArgument(root_, kNew.substr(at, quarter)), 10,
                         lease) != "TRUE")
                    return false;
            return call(socket, std::string(svc::kOpCommit), commitArgument(root_), 10, lease) == "TRUE";
        }
        case Operation::WholeWrite:
            return call(socket, std::string(svc::kOpWriteDictionary), pieceArgument(root_, kNew), 10) == "TRUE";
        case Operation::Backup:
            return call(socket, std::string(svc::kOpSwap), swapArgument(2, root_), 10) == "TRUE";
        case Operation::Restore:
            return call(socket, std::string(svc::kOpSwap), swapArgument(0, root_), 10) == "TRUE";
        case Operation::Discovery:
            return call(socket, std::string(svc::kOpWalk), walkArgument(agent_->address()), 10) == "iRet=0";
        }
        return false;
    }

    // The whole new text of an operation, and its duration, from one run
    // that is not interrupted.
    std::pair<std::string, double> calibrate(Operation op)
    {
        prepare(op);
        Service service;
        EXPECT_TRUE(service.start(RX_SERVICE_BINARY, root_));
        const auto begin = std::chrono::steady_clock::now();
        EXPECT_TRUE(run(op, service.socket())) << nameOf(op);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        return {readFile(op == Operation::Backup ? previousPath(root_) : currentPath(root_)), seconds};
    }

    const std::string kOld = versionText(11);
    const std::string kNew = versionText(12);
    std::string root_;
    std::unique_ptr<snmptest::FakeAgent> agent_;
};

TEST_F(CrashConsistency, EveryKillLeavesTheWholeOldOrTheWholeNewList)
{
    const int kills = killsPerOperation();
    std::mt19937 random(8240);
    int total = 0;
    for (Operation op : kOperations) {
        const auto [expectedNew, duration] = calibrate(op);
        ASSERT_TRUE(readsBack(expectedNew)) << nameOf(op);
        std::map<std::string, int> outcomes;
        for (int k = 0; k < kills; ++k) {
            prepare(op);
            Service service;
            ASSERT_TRUE(service.start(RX_SERVICE_BINARY, root_));
            std::thread client([&] { run(op, service.socket()); });
            // Spread over the operation and a little past its end.
            std::uniform_real_distribution<double> at(0.0, duration * 1.2);
            std::this_thread::sleep_for(std::chrono::duration<double>(at(random)));
            service.kill9();
            client.join();
            ++total;

            const std::string current = readFile(currentPath(root_));
            ASSERT_FALSE(current.empty()) << nameOf(op) << ", kill " << k << ": the current list is empty";
            const bool isOld = current == kOld;
            const bool isNew = op != Operation::Backup && current == expectedNew;
            ASSERT_TRUE(isOld || isNew) << nameOf(op) << ", kill " << k << ": the current list is torn ("
                                        << current.size() << " bytes)";
            ASSERT_TRUE(readsBack(current));
            if (op == Operation::Backup && pathExists(previousPath(root_))) {
                // A backup is either not there yet or whole.
                ASSERT_EQ(readFile(previousPath(root_)), kOld) << "kill " << k << ": torn backup";
                ++outcomes["backup whole"];
            } else {
                ++outcomes[isNew ? "new" : "old"];
            }
        }
        std::string summary;
        for (const auto& [what, count] : outcomes)
            summary += " " + what + "=" + std::to_string(count);
        std::printf("%s: %d kills,%s\n", nameOf(op), kills, summary.c_str());
        RecordProperty(std::string(nameOf(op)), summary);
    }
    std::printf("kills: %d, every current list whole and readable\n", total);

    // After the kills a staged write starts cleanly from a new sequence,
    // whatever staging file the last kill left.
    Service service;
    ASSERT_TRUE(service.start(RX_SERVICE_BINARY, root_));
    ASSERT_TRUE(run(Operation::StagedWrite, service.socket()));
    EXPECT_EQ(readFile(currentPath(root_)), kNew);
}

}  // namespace
