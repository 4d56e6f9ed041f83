#include "RobustSupport.h"

#include "platform/FixedPaths.h"
#include "profilelist/ListFileReader.h"
#include "profilelist/ProfileList.h"
#include "protocol/ArgumentStrings.h"
#include "protocol/Framing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace fs = std::filesystem;
namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;

namespace robust {

std::string freshRoot()
{
    // Roots are numbered, not named after the test: the list paths below a
    // root have a length limit, and a parameterised test's name is long. The
    // test's name is kept in the root for whoever looks at it afterwards.
    static int count = 0;
    const char* base = std::getenv("RX_TEST_ROOT");
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string root = std::string(base ? base : "/tmp/rx8240-robust") + "/case-" + std::to_string(++count);
    fs::remove_all(root);
    fs::create_directories(root + std::string(rx::kProfileDirectory));
    for (const char* sub : {"snmp-conf", "snmp-persist", "snmp-mibs"})
        fs::create_directories(root + "/" + sub);
    std::ofstream(root + "/test-name") << info->test_suite_name() << "." << info->name() << "\n";
    const std::string longest = profileDirectory(root) + "/" + kUser + "-" + kModel + "-profile.spool.plist";
    if (longest.size() > kMaxListPathLength)
        ADD_FAILURE() << "the test root is too deep for the list paths: " << root;
    return root;
}

bool Service::start(const std::string& binary, const std::string& root,
                    const std::map<std::string, std::string>& environment)
{
    std::map<std::string, std::string> all{
        {"TARNVALE_ROOT", root},
        {"SNMPCONFPATH", root + "/snmp-conf"},
        {"SNMP_PERSISTENT_DIR", root + "/snmp-persist"},
        {"MIBDIRS", root + "/snmp-mibs"},
        {"MIBS", ""},
    };
    for (const auto& [name, value] : environment)
        all[name] = value;
    return ServiceProcess::start(binary, all);
}

std::string call(const std::string& socket, const std::string& operation, const std::string& argument,
                 double seconds, const std::string& lease)
{
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return "<unreachable>";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socket.c_str(), sizeof address.sun_path - 1);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return "<unreachable>";
    }
    const auto deadline =
        svc::Clock::now() + std::chrono::duration_cast<svc::Clock::duration>(std::chrono::duration<double>(seconds));
    std::string reply;
    std::string result = "<failed>";
    const bool leaseCarried = lease.empty() || (svc::writeFrame(fd, std::string(svc::kOpLease), deadline) &&
                                                 svc::writeFrame(fd, lease, deadline) &&
                                                 svc::readFrame(fd, &reply, svc::kMaxFrameSize, deadline) ==
                                                     svc::FrameStatus::Ok &&
                                                 reply == svc::kReplyTrue);
    if (leaseCarried && svc::writeFrame(fd, operation, deadline) && svc::writeFrame(fd, argument, deadline)) {
        const svc::FrameStatus status = svc::readFrame(fd, &reply, svc::kMaxFrameSize, deadline);
        result = status == svc::FrameStatus::Ok         ? reply
                 : status == svc::FrameStatus::TimedOut ? "<timed out>"
                                                        : "<failed>";
    }
    close(fd);
    return result;
}

std::string profileDirectory(const std::string& root)
{
    return root + std::string(rx::kProfileDirectory);
}

std::string currentPath(const std::string& root)
{
    return profileDirectory(root) + "/" + kUser + "-" + kModel + "-profile.plist";
}

std::string previousPath(const std::string& root)
{
    return profileDirectory(root) + "/" + kUser + "-" + kModel + "-profile.prev.plist";
}

std::string stagingPath(const std::string& root)
{
    return currentPath(root) + ".dummy";
}

std::string swapArgument(int type, const std::string& root)
{
    return std::to_string(type) + std::string(svc::kMarkerSwapType) + currentPath(root) +
           std::string(svc::kMarkerCurrent) + previousPath(root) + std::string(svc::kMarkerPrevious);
}

std::string pieceArgument(const std::string& root, const std::string& text)
{
    return svc::fileUrlFromPath(currentPath(root)) + std::string(svc::kMarkerUrl) + text;
}

std::string commitArgument(const std::string& root)
{
    return svc::fileUrlFromPath(currentPath(root));
}

std::string walkArgument(const std::string& agentAddress, const std::vector<std::string>& extra)
{
    std::vector<std::string> vector{"snmpwalk", "-Os", "-c", "ombrel", "-v", "1"};
    vector.insert(vector.end(), extra.begin(), extra.end());
    vector.push_back(agentAddress);
    vector.push_back("1.3.6.1.4.1.71362.1.1.1.1.6.13.1.1");
    std::string argument = std::string(kModel) + std::string(svc::kMarkerModel) + kUser + std::string(svc::kMarkerUser);
    for (const std::string& element : vector)
        argument += element + std::string(svc::kMarkerArg);
    return argument;
}

std::string versionText(int version, int entries)
{
    auto lists = std::make_unique<ProfileList[]>(3);
    std::memset(lists.get(), 0, sizeof(ProfileList) * 3);
    for (int c = 0; c < kProfileClassCount; ++c) {
        for (int i = 0; i < entries; ++i) {
            ProfileListItem& item = lists[c].litem[i];
            item.iIndexOnDevice = i + 1;
            item.iInMenu = kStateDeviceShownConfirmed;
            item.iProfileClass = 1;
            std::snprintf(item.FileName, sizeof item.FileName, "V%05d_%d.ICC", version, i);
            std::snprintf(item.ProfileName, sizeof item.ProfileName, "Version %d", version);
            item.iLocation = kLocationDisk;
        }
        lists[c].iNum = entries;
    }
    return QVPListBuildFileText(&lists[0], &lists[1], &lists[2]);
}

int versionOf(const std::string& text)
{
    const std::size_t at = text.find(">V");
    if (at == std::string::npos)
        return -1;
    const int version = std::atoi(text.c_str() + at + 2);
    for (int entries : {40, 30, 3})
        if (text == versionText(version, entries))
            return version;
    return -1;
}

bool readsBack(const std::string& text)
{
    auto lists = std::make_unique<ProfileList[]>(kProfileClassCount);
    std::memset(lists.get(), 0, sizeof(ProfileList) * kProfileClassCount);
    ProfileList* pointers[kProfileClassCount] = {&lists[0], &lists[1], &lists[2]};
    return profilelist::readListText(text, pointers, profilelist::ReadMode::Plain) == profilelist::ReadStatus::Ok;
}

std::vector<std::string> leftovers(const std::string& root)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(profileDirectory(root), error)) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with("-profile.plist") && !name.ends_with("-profile.prev.plist"))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::map<std::string, std::string> faultEnvironment(const std::string& op, const std::string& error, int skip)
{
    std::map<std::string, std::string> environment{
        {"LD_PRELOAD", RX_FAULT_SHIM},
        {"RX_FAULT_OP", op},
        {"RX_FAULT_ERRNO", error},
        {"RX_FAULT_SKIP", std::to_string(skip)},
        // A sanitizer runtime must otherwise come first in the library list.
        {"ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=0"},
    };
    return environment;
}

std::vector<snmptest::VarBind> deviceTable(uint32_t rows, const std::function<int32_t(uint32_t)>& classOfRow)
{
    using namespace snmptest;
    std::vector<VarBind> vars;
    for (uint32_t r = 1; r <= rows; ++r) {
        vars.push_back(intVar(columnOid(1, r), r));
        vars.push_back(intVar(columnOid(2, r), 4));
        vars.push_back(stringVar(columnOid(3, r), "Device " + std::to_string(r)));
        vars.push_back(stringVar(columnOid(4, r), "D" + std::to_string(r) + ".ICC"));
        vars.push_back(intVar(columnOid(5, r), classOfRow(r)));
        vars.push_back(intVar(columnOid(7, r), 2));
    }
    vars.push_back(intVar(parseOid("1.3.6.1.4.1.71362.1.1.1.1.6.13.1.2.0"), 0));
    return vars;
}

}  // namespace robust
