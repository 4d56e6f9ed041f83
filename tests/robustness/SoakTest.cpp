// Sixteen clients sending mixed requests to one service for a while: probes,
// existence checks, backups, staged writes with commit, and walks against a
// fake agent. Every reply must be the right one, no request may be lost or
// hang, and the service's descriptors and memory must not grow. The length
// comes from RX_SOAK_SECONDS (20 s by default; the soak label runs minutes).
#include "RobustSupport.h"

#include "platform/FixedPaths.h"
#include "profilelist/ListFileReader.h"
#include "protocol/ArgumentStrings.h"
#include "tests/discovery/SnmpTestAgents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;
using namespace robust;

namespace {

constexpr int kClients = 16;

double soakSeconds()
{
    const char* text = std::getenv("RX_SOAK_SECONDS");
    return text ? std::max(1.0, std::atof(text)) : 20.0;
}

struct Tally {
    std::atomic<long> requests{0};
    std::atomic<long> errors{0};
    std::mutex mutex;
    std::vector<std::string> firstErrors;
    void error(const std::string& what)
    {
        ++errors;
        std::lock_guard lock(mutex);
        if (firstErrors.size() < 10)
            firstErrors.push_back(what);
    }
};

// One client with a list of its own ("soakN-rx8240"), so that every reply
// and every file content is known.
void client(int index, const std::string& root, const std::string& socket, const std::string& agent,
            std::chrono::steady_clock::time_point end, Tally& tally)
{
    const std::string user = "soak" + std::to_string(index);
    const std::string dir = profileDirectory(root);
    const std::string current = dir + "/" + user + "-rx8240-profile.plist";
    const std::string previous = dir + "/" + user + "-rx8240-profile.prev.plist";
    const std::string url = svc::fileUrlFromPath(current);
    std::mt19937 random(static_cast<unsigned>(index));
    int version = index * 100000;
    std::string lease;
    auto expect = [&](const std::string& op, const std::string& argument, const std::string& wanted) {
        ++tally.requests;
        const std::string reply = call(socket, op, argument, 30, lease);
        if (reply != wanted)
            tally.error(user + " " + op + ": " + reply + " instead of " + wanted);
        return reply == wanted;
    };
    bool written = false;
    while (std::chrono::steady_clock::now() < end) {
        switch (random() % 6) {
        case 0:
            expect(std::string(svc::kOpIsAdmin), current, "TRUE");
            break;
        case 1:
            expect(std::string(svc::kOpExist), current, written ? "TRUE" : "FALSE");
            break;
        case 2:
            expect(std::string(svc::kOpSwap),
                   "2" + std::string(svc::kMarkerSwapType) + current + std::string(svc::kMarkerCurrent) + previous +
                       std::string(svc::kMarkerPrevious),
                   "TRUE");
            if (readFile(previous) != readFile(current))
                tally.error(user + ": the backup differs from the list");
            break;
        case 3:
        case 4: {
            const std::string text = versionText(++version, 3);
            // The staged write begins; pieces and commit carry its lease.
            ++tally.requests;
            lease = svc::leaseOfReply(call(socket, std::string(svc::kOpRemove), current + ".dummy", 30));
            if (lease.empty())
                tally.error(user + ": the staged write did not begin");
            const std::size_t half = text.size() / 2;
            bool ok = expect(std::string(svc::kOpWritePiece), url + std::string(svc::kMarkerUrl) + text.substr(0, half),
                             "TRUE");
            ok = expect(std::string(svc::kOpWritePiece), url + std::string(svc::kMarkerUrl) + text.substr(half),
                        "TRUE") && ok;
            ok = expect(std::string(svc::kOpCommit), url, "TRUE") && ok;
            lease.clear();
            if (ok && readFile(current) != text)
                tally.error(user + ": the committed list is not the text written");
            written = written || ok;
            break;
        }
        default: {
            std::string argument = std::string("rx8240") + std::string(svc::kMarkerModel) + user +
                                   std::string(svc::kMarkerUser);
            for (const std::string& element : {std::string("snmpwalk"), std::string("-Os"), std::string("-c"),
                                               std::string("ombrel"), std::string("-v"), std::string("1"), agent,
                                               std::string("1.3.6.1.4.1.71362.1.1.1.1.6.13.1.1")})
                argument += element + std::string(svc::kMarkerArg);
            if (expect(std::string(svc::kOpWalk), argument, "iRet=0")) {
                written = true;
                if (!readsBack(readFile(current)))
                    tally.error(user + ": the merged list does not read back");
            }
            break;
        }
        }
    }
}

TEST(Soak, SixteenClientsMixedRequestsNoLossNoHangNoGrowth)
{
    const std::string root = freshRoot();
    snmptest::FakeAgent agent{snmptest::TableResponder(robust::deviceTable(5, [](uint32_t) { return int32_t(1); }))};
    Service service;
    ASSERT_TRUE(service.start(RX_SERVICE_BINARY, root));
    const long fdsBefore = service.openDescriptors();

    Tally tally;
    const double seconds = soakSeconds();
    const auto begin = std::chrono::steady_clock::now();
    const auto end = begin + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                 std::chrono::duration<double>(seconds));
    std::vector<std::thread> clients;
    for (int i = 0; i < kClients; ++i)
        clients.emplace_back(client, i, root, service.socket(), agent.address(), end, std::ref(tally));

    // Memory after the warm-up (a quarter of the run) against the end.
    long warm = -1, peak = 0, fdPeak = 0;
    while (std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        const long rss = service.residentKiB();
        peak = std::max(peak, rss);
        fdPeak = std::max(fdPeak, service.openDescriptors());
        if (warm < 0 && std::chrono::steady_clock::now() - begin > (end - begin) / 4)
            warm = rss;
    }
    for (std::thread& t : clients)
        t.join();
    // Connections end on their own threads; give them a moment to close.
    long fdsAfter = service.openDescriptors();
    for (int i = 0; i < 100 && fdsAfter > fdsBefore; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        fdsAfter = service.openDescriptors();
    }
    const long rssAfter = service.residentKiB();

    std::printf("soak: %.0f s, %d clients, %ld requests, %ld errors, peak VmRSS %ld KiB (after warm-up %ld, at the end "
                "%ld), descriptors %ld before, %ld peak, %ld after\n",
                seconds, kClients, tally.requests.load(), tally.errors.load(), peak, warm, rssAfter, fdsBefore, fdPeak,
                fdsAfter);
    RecordProperty("requests", std::to_string(tally.requests.load()));
    RecordProperty("peak_rss_kib", std::to_string(peak));
    for (const std::string& e : tally.firstErrors)
        ADD_FAILURE() << e;
    EXPECT_EQ(tally.errors.load(), 0);
    EXPECT_GT(tally.requests.load(), kClients * 10L);
    EXPECT_TRUE(service.alive());
    // The count before may still hold the start-up check's connection, so
    // the end may be lower, never higher.
    EXPECT_LE(fdsAfter, fdsBefore) << "descriptors leaked";
#if !defined(RX_SANITIZE_ADDRESS) && !defined(__SANITIZE_THREAD__)
    // (Under the sanitizers freed memory is held back on purpose, so the
    // resident size grows whatever the service does.)
    EXPECT_LT(rssAfter - warm, 24 * 1024) << "memory grew by more than 24 MiB after the warm-up";
#endif
}

}  // namespace
