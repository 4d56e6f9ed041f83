// Helpers of the store's tests: lists, a private profile directory below the
// test root, files, and the peers (libplist, Python's plistlib).
#pragma once

#include "profilelist/ProfileList.h"
#include "profilelist/ServicePaths.h"
#include "tests/support/Files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace listtest {

// Three zero-filled lists on the heap.
struct Lists {
    std::unique_ptr<ProfileList[]> p{new ProfileList[kProfileClassCount]};
    Lists() { std::memset(p.get(), 0, sizeof(ProfileList) * kProfileClassCount); }
    ProfileList& operator[](int c) { return p[size_t(c)]; }
    const ProfileList& operator[](int c) const { return p[size_t(c)]; }
    ProfileList* rgb() { return &p[0]; }
    ProfileList* sim() { return &p[1]; }
    ProfileList* dst() { return &p[2]; }
};

std::unique_ptr<ProfileList> emptyList();
ProfileListItem item(int index, int inMenu, const char* fileName, const char* profileName, int location,
                     int profileClass = 2, int driver = 0);
// Appends at iNum.
void add(ProfileList& list, const ProfileListItem& item);
bool sameList(const ProfileList& a, const ProfileList& b);
// Lists with varied content in all three classes: escapes, non-ASCII,
// 31-byte names, extreme integers, iDriver set.
void fillVaried(Lists& lists);

using rxtest::pathExists;
using rxtest::readFile;
using rxtest::writeFile;
std::vector<std::string> directoryEntries(const std::string& dir);

// Creates the profile directory below the test root and sets the service
// paths for user "alice" and model "rx8240".
void useTestPaths();

// Tests on the current list file of the test paths.
class ListFileTest : public ::testing::Test {
protected:
    void SetUp() override { useTestPaths(); }
    std::string current() const { return QV_PLIST_PROFILE_PATH; }
};

// Every value of a list file, one line each, sorted: "PlistVersion 1",
// "RGB iNum 3", "RGB InMenu0001 i 4", "RGB FileName0001 s <UTF-8 hex>".
std::vector<std::string> dumpOfLists(const Lists& lists);
std::vector<std::string> dumpWithLibplist(const std::string& path);
std::vector<std::string> dumpWithPython(const std::string& path);
// Runs the peer script; true when it exits 0.
bool runPython(const std::string& args, std::string* output = nullptr);

}  // namespace listtest
