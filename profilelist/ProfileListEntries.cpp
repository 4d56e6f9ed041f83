#include "profilelist/ProfileListEntries.h"

#include <algorithm>
#include <cstring>

namespace {

bool fieldEquals(const char (&field)[kProfileNameFieldSize], std::string_view text)
{
    return std::string_view(field, strnlen(field, kProfileNameFieldSize)) == text;
}

void storeName(char (&field)[kProfileNameFieldSize], std::string_view text)
{
    QVPListCopyName(field, text.data(), text.size());
}

}  // namespace

int QVPListFindFile(const ProfileList* list, std::string_view fileName, int32_t location, int except)
{
    const int used = QVPListUsedCount(list);
    for (int slot = 0; slot < used; ++slot)
        if (slot != except && list->litem[slot].iLocation == location &&
            fieldEquals(list->litem[slot].FileName, fileName))
            return slot;
    return -1;
}

int QVPListAddManualEntry(ProfileList* list, std::string_view fileName, std::string_view profileName,
                          int32_t location)
{
    if (!list)
        return -1;
    const ProfileListItem* begin = list->litem;
    const ProfileListItem* end = begin + kProfileListCapacity;
    const ProfileListItem* free =
        std::find_if(begin, end, [](const ProfileListItem& i) { return i.iInMenu == kStateEmpty; });
    if (free == end)
        return -1;
    const int slot = int(free - begin);
    ProfileListItem& item = list->litem[slot];
    item = ProfileListItem{};
    item.iIndexOnDevice = kManualIndexBase + slot;
    item.iInMenu = kStateManualShown;
    item.iProfileClass = kManualProfileClass;
    item.iDriver = kManualDriver;
    storeName(item.FileName, fileName);
    storeName(item.ProfileName, profileName);
    item.iLocation = location;
    list->iNum = std::min(QVPListUsedCount(list) + 1, kProfileListCapacity);
    return slot;
}

void QVPListEditEntry(ProfileListItem* item, std::string_view fileName, std::string_view profileName,
                      int32_t location)
{
    storeName(item->ProfileName, profileName);
    if (isDeviceState(item->iInMenu))
        return;
    storeName(item->FileName, fileName);
    item->iLocation = location;
}

bool QVPListRemoveEntry(ProfileList* list, int row)
{
    const int used = QVPListUsedCount(list);
    if (row < 0 || row >= used)
        return false;
    std::copy(list->litem + row + 1, list->litem + used, list->litem + row);
    list->litem[used - 1] = ProfileListItem{};
    list->iNum = used - 1;
    return true;
}

bool QVPListAppendEntry(ProfileList* list, const ProfileListItem& item)
{
    if (!list || list->iNum < 0 || list->iNum >= kProfileListCapacity)
        return false;
    list->litem[list->iNum++] = item;
    return true;
}
