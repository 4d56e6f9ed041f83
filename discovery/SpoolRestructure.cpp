#include "discovery/SpoolRestructure.h"

#include "discovery/MibWalk.h"
#include "platform/RegularFile.h"
#include "profilelist/ListFileReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace {

constexpr int kBaseMaxLength = 27;
constexpr int kExtensionMaxLength = 3;

// Device class codes and the lists they are merged into.
constexpr int kDeviceClassRgbLow = 1;
constexpr int kDeviceClassRgbHigh = 2;
constexpr int kDeviceClassSimDst = 3;

struct StateReset {
    int32_t before;
    int32_t afterSuccess;
    int32_t afterFailure;
};
constexpr std::array<StateReset, 3> kStateResets{{
    {kStateDeviceHidden, kStateDeviceHidden, kStateEmpty},
    {kStateDeviceHiddenConfirmed, kStateDeviceHidden, kStateEmpty},
    {kStateDeviceShownConfirmed, kStateDeviceShown, kStateManualShown},
}};

struct Confirmation {
    int32_t before;
    int32_t after;
};
constexpr std::array<Confirmation, 4> kConfirmations{{
    {kStateDeviceHidden, kStateDeviceHiddenConfirmed},
    {kStateDeviceShown, kStateDeviceShownConfirmed},
    {kStateManualHidden, kStateDeviceHiddenConfirmed},
    {kStateManualShown, kStateDeviceShownConfirmed},
}};

bool isMergedLocation(int32_t location)
{
    return location == kLocationDisk || location == kLocationCard;
}

bool sameProfile(const ProfileListItem& a, const ProfileListItem& b)
{
    return std::memcmp(a.FileName, b.FileName, sizeof a.FileName) == 0 && a.iLocation == b.iLocation;
}

// Clears every slot whose file name the device cannot hold; true when one was.
bool removeUnacceptableNames(ProfileList* list)
{
    bool removed = false;
    for (ProfileListItem& item : list->litem) {
        if (item.FileName[0] != '\0' && !bJudgement8point3Format(item.FileName)) {
            item = ProfileListItem{};
            --list->iNum;
            removed = true;
        }
    }
    return removed;
}

// Reads the current list as every open of the service does: no link, no FIFO,
// a regular file of one link and at most kMaxListFileSize bytes. Anything
// else is a failed read, which leaves the lists as they were.
void readCurrentLists(ProfileList* rgb, ProfileList* sim, ProfileList* dst)
{
    std::string text;
    if (rx::readRegularFile(QVPListCurrentPath(), kMaxListFileSize, &text) != rx::RegularRead::Ok)
        return;
    ProfileList* lists[3] = {rgb, sim, dst};
    profilelist::readListText(text, lists, profilelist::ReadMode::Plain);
}

}  // namespace

bool FileNameFilter(int character)
{
    if (character <= 0 || character > 127)
        return false;
    const auto c = static_cast<char>(character);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
        return true;
    return std::strchr("!#$%&'()-.^_`{}~", c) != nullptr;
}

bool bJudgement8point3Format(const char* name)
{
    if (!name || name[0] == '\0')
        return false;
    const size_t length = std::strlen(name);
    const char* dot = std::strchr(name, '.');
    if (!dot) {
        if (length > static_cast<size_t>(kBaseMaxLength))
            return false;
    } else {
        const size_t base = static_cast<size_t>(dot - name);
        const size_t extension = length - base - 1;
        if (base == 0 || base > static_cast<size_t>(kBaseMaxLength) ||
            extension > static_cast<size_t>(kExtensionMaxLength))
            return false;
    }
    return std::all_of(name, name + length,
                       [](char c) { return FileNameFilter(static_cast<unsigned char>(c)); });
}

void vDeleteMIBprofilesTemporary(int failed, ProfileList* list)
{
    for (ProfileListItem& item : list->litem) {
        for (const StateReset& reset : kStateResets) {
            if (item.iInMenu == reset.before) {
                item.iInMenu = failed ? reset.afterFailure : reset.afterSuccess;
                break;
            }
        }
    }
}

void vRestructDetail(int spoolIndex, ProfileList* list)
{
    if (spoolIndex < 0 || spoolIndex >= kProfileListCapacity)
        return;
    const ProfileListItem& reported = PlistForSpool.litem[spoolIndex];

    // iNum may count freed slots (and exceed the capacity after a failed walk
    // refilled them); the search never leaves the list.
    const int searched = QVPListUsedCount(list);
    for (int i = 0; i < searched; ++i) {
        ProfileListItem& item = list->litem[i];
        if (item.iInMenu == kStateEmpty || !sameProfile(item, reported))
            continue;
        for (const Confirmation& c : kConfirmations) {
            if (item.iInMenu == c.before) {
                item.iInMenu = c.after;
                break;
            }
        }
        return;
    }

    for (ProfileListItem& item : list->litem) {
        if (item.iInMenu == kStateEmpty) {
            item = reported;
            item.iInMenu = kStateDeviceHiddenConfirmed;
            ++list->iNum;
            return;
        }
    }
}

int vRestructPlistSpool2Current(int failed)
{
    auto lists = std::make_unique<std::array<ProfileList, 3>>();  // zero-filled
    ProfileList& rgb = (*lists)[kClassRGB];
    ProfileList& sim = (*lists)[kClassSIM];
    ProfileList& dst = (*lists)[kClassDST];
    readCurrentLists(&rgb, &sim, &dst);  // unreadable: merge into empty lists

    for (ProfileList& list : *lists)
        vDeleteMIBprofilesTemporary(failed, &list);

    bool removed = false;
    for (ProfileList& list : *lists)
        removed = removeUnacceptableNames(&list) || removed;
    if (removed) {
        for (ProfileList& list : *lists)
            QVPListPaddingProfile_Dict(&list);
    }

    const int spoolCount = QVPListUsedCount(&PlistForSpool);
    for (int i = 0; i < spoolCount; ++i) {
        const ProfileListItem& reported = PlistForSpool.litem[i];
        if (!isMergedLocation(reported.iLocation) || !bJudgement8point3Format(reported.FileName))
            continue;
        switch (reported.iProfileClass) {
        case kDeviceClassRgbLow:
        case kDeviceClassRgbHigh:
            vRestructDetail(i, &rgb);
            break;
        case kDeviceClassSimDst:
            vRestructDetail(i, &sim);
            vRestructDetail(i, &dst);
            break;
        default:
            break;
        }
    }

    for (ProfileList& list : *lists) {
        QVPListCleanProfile_Dict(&list);
        QVPListPaddingProfile_Dict(&list);
        QVPListSalvage_Dict(&list);
    }
    return QVPListWriteProfile_All(&rgb, &sim, &dst);
}
