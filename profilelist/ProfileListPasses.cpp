// Passes over one list: the merge for pap:// and usb:// queues, and clean,
// padding and salvage, which discovery applies after its merge.
#include "profilelist/ProfileList.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

bool sameEntry(const ProfileListItem& a, const ProfileListItem& b)
{
    return a.iLocation == b.iLocation &&
           std::strncmp(a.FileName, b.FileName, kProfileNameFieldSize) == 0;
}

bool holds(const ProfileList* list, const ProfileListItem& item)
{
    const int n = QVPListUsedCount(list);
    for (int i = 0; i < n; ++i)
        if (sameEntry(list->litem[i], item))
            return true;
    return false;
}

bool hasFileName(const ProfileListItem& item)
{
    return item.FileName[0] != '\0';
}

}  // namespace

void QVPListMapping_Pap(const ProfileList* edited, const ProfileList* file, ProfileList* out,
                        const ProfileList* deleted)
{
    if (!out)
        return;
    // Built aside: out may be one of the inputs.
    auto merged = std::make_unique<ProfileList>();  // zero-filled
    int i = 0;
    const int fileCount = QVPListUsedCount(file);
    for (int n = 0; n < fileCount && i < kProfileListCapacity; ++n) {
        const ProfileListItem& entry = file->litem[n];
        if (!isConfirmedState(entry.iInMenu))
            continue;
        if (holds(edited, entry) || holds(deleted, entry))
            continue;
        merged->litem[i++] = entry;
    }
    const int editedCount = QVPListUsedCount(edited);
    for (int n = 0; n < editedCount && i < kProfileListCapacity; ++n)
        merged->litem[i++] = edited->litem[n];
    merged->iNum = i;
    std::memcpy(out, merged.get(), sizeof(ProfileList));
}

void QVPListCleanProfile_Dict(ProfileList* list)
{
    if (!list)
        return;
    for (ProfileListItem& item : list->litem) {
        if (item.iIndexOnDevice != 0 || !hasFileName(item))
            continue;
        if (item.iInMenu == kStateDeviceShown || item.iInMenu == kStateDeviceShownConfirmed) {
            item.iIndexOnDevice = kIndexKeptWithoutDevice;
            item.iInMenu = kStateDeviceShown;
        } else {
            std::memset(&item, 0, sizeof item);
            --list->iNum;
        }
    }
}

void QVPListPaddingProfile_Dict(ProfileList* list)
{
    if (!list)
        return;
    // Stable compaction: the used slots move to the front in their order.
    int to = 0;
    for (int from = 0; from < kProfileListCapacity; ++from) {
        ProfileListItem& item = list->litem[from];
        if (item.iInMenu == kStateEmpty)
            continue;
        if (from != to) {
            list->litem[to] = item;
            item.iIndexOnDevice = 0;
            item.iInMenu = kStateEmpty;
            std::memset(item.FileName, 0, sizeof item.FileName);
            std::memset(item.ProfileName, 0, sizeof item.ProfileName);
            item.iLocation = 0;
            item.iDriver = 0;
        }
        ++to;
    }
}

void QVPListSalvage_Dict(ProfileList* list)
{
    if (!list)
        return;
    for (ProfileListItem& item : list->litem)
        if (item.iIndexOnDevice != 0 && hasFileName(item) && item.iInMenu == kStateDeviceShown)
            item.iInMenu = kStateManualShown;
}
