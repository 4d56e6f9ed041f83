// rx8240-profiles show FILE [--pap]
// rx8240-profiles check FILE
//
// show prints the three lists of a profile list file as the store reads them:
// for RGB, SIM and DST a line "CLASS iNum=N", then one tab-separated line
// per used slot: slot, iIndexOnDevice, iInMenu, iProfileClass, iLocation,
// FileName, ProfileName. --pap reads each class as for a pap:// or usb://
// queue. check prints one line per thing the store's read or its next write
// would change or lose (states outside the table, duplicate entries, an iNum
// that is not the number of used slots, names that will be cut or dropped, an
// encoding other than UTF-8). Exit status 0, 1 for an unreadable or
// unparsable file or a check that found something, 2 for a usage error (told
// on standard error); --help and --version answer on standard output.
#include "platform/InstallDirs.h"
#include "tools/ListFileCheck.h"
#include "profilelist/ListFileReader.h"
#include "profilelist/ProfileList.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr char kUsage[] = "usage: rx8240-profiles show FILE [--pap]\n       rx8240-profiles check FILE\n";

void usage()
{
    std::fputs(kUsage, stderr);
}

void printList(const char* className, const ProfileList& list)
{
    std::printf("%s iNum=%d\n", className, list.iNum);
    for (int n = 0; n < kProfileListCapacity; ++n) {
        const ProfileListItem& item = list.litem[n];
        if (item.iInMenu == kStateEmpty)
            continue;
        std::printf("%d\t%d\t%d\t%d\t%d\t%.*s\t%.*s\n", n, item.iIndexOnDevice, item.iInMenu, item.iProfileClass,
                    item.iLocation, int(strnlen(item.FileName, kProfileNameFieldSize)), item.FileName,
                    int(strnlen(item.ProfileName, kProfileNameFieldSize)), item.ProfileName);
    }
}

// Prints the findings as "FILE: finding"; 0 when there is none.
int checkFile(const std::string& path)
{
    const std::vector<std::string> findings = rxtools::checkListFile(path);
    for (const std::string& f : findings)
        std::printf("%s: %s\n", path.c_str(), f.c_str());
    return findings.empty() && std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("rx8240-profiles " RX_VERSION);
        return 0;
    }
    const bool check = argc >= 3 && std::strcmp(argv[1], "check") == 0;
    if (argc < 3 || (!check && std::strcmp(argv[1], "show") != 0)) {
        usage();
        return 2;
    }
    std::string path;
    bool pap = false;
    for (int i = 2; i < argc; ++i) {
        if (!check && std::strcmp(argv[i], "--pap") == 0)
            pap = true;
        else if (path.empty())
            path = argv[i];
        else {
            usage();
            return 2;
        }
    }
    if (path.empty()) {
        usage();
        return 2;
    }

    if (check)
        return checkFile(path);
    auto lists = std::make_unique<ProfileList[]>(kProfileClassCount);  // zero-filled
    ProfileList* targets[kProfileClassCount] = {&lists[0], &lists[1], &lists[2]};
    plist::ReadResult why;
    auto status =
        profilelist::readListFile(path, targets, pap ? profilelist::ReadMode::Pap : profilelist::ReadMode::Plain, &why);
    if (status != profilelist::ReadStatus::Ok) {
        std::fprintf(stderr, "rx8240-profiles: %s: %s\n", path.c_str(), profilelist::describe(status, why).c_str());
        return 1;
    }
    for (int c = 0; c < kProfileClassCount; ++c)
        printList(QVPListClassKey(c), lists[c]);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
