// rx8240-profiles show FILE [--pap]
//
// Prints the three lists of a profile list file as the store reads them:
// for RGB, SIM and DST a line "CLASS iNum=N", then one tab-separated line
// per used slot: slot, iIndexOnDevice, iInMenu, iProfileClass, iLocation,
// FileName, ProfileName. --pap reads each class as for a pap:// or usb://
// queue. Exit status 0, 1 for an unreadable or unparsable file, 2 for a
// usage error (told on standard error); --help and --version answer on
// standard output.
#include "platform/InstallDirs.h"
#include "profilelist/ListFileReader.h"
#include "profilelist/ProfileList.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr char kUsage[] = "usage: rx8240-profiles show FILE [--pap]\n";

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
    if (argc < 3 || std::strcmp(argv[1], "show") != 0) {
        usage();
        return 2;
    }
    std::string path;
    bool pap = false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pap") == 0)
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

    auto lists = std::make_unique<ProfileList[]>(3);  // zero-filled
    ProfileList* targets[3] = {&lists[0], &lists[1], &lists[2]};
    auto status = profilelist::readListFile(path, targets, pap ? profilelist::ReadMode::Pap : profilelist::ReadMode::Plain);
    if (status != profilelist::ReadStatus::Ok) {
        std::fprintf(stderr, "rx8240-profiles: %s: %s\n", path.c_str(), profilelist::describe(status));
        return 1;
    }
    for (int c = 0; c < 3; ++c)
        printList(QVPListClassKey(c), lists[c]);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
