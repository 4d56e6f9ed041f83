// Reading list files into lists, and the normalisation after every read.
#include "profilelist/ListFileReader.h"
#include "profilelist/ProfileList.h"

#include <cstring>

namespace {

int readOne(const std::string& path, ProfileList* list, int classIndex, profilelist::ReadMode mode)
{
    if (!list || !QVPListClassKey(classIndex))
        return -1;
    ProfileList* lists[3] = {nullptr, nullptr, nullptr};
    lists[classIndex] = list;
    return profilelist::readListFile(path, lists, mode) == profilelist::ReadStatus::Ok ? 0 : -1;
}

}  // namespace

int QVPListReadProfileFile_All(const std::string& path, ProfileList* rgb, ProfileList* sim, ProfileList* dst)
{
    if (!rgb || !sim || !dst)
        return -1;
    ProfileList* lists[3] = {rgb, sim, dst};
    return profilelist::readListFile(path, lists, profilelist::ReadMode::Plain) == profilelist::ReadStatus::Ok
               ? 0
               : -1;
}

int QVPListReadProfileFile_Dict(const std::string& path, ProfileList* list, int classIndex)
{
    return readOne(path, list, classIndex, profilelist::ReadMode::Plain);
}

int QVPListReadProfileFile_Dict_Pap(const std::string& path, ProfileList* list, int classIndex)
{
    return readOne(path, list, classIndex, profilelist::ReadMode::Pap);
}

void QVPlistCheckWithInMenu_Dict(ProfileList* list)
{
    if (!list)
        return;
    int count = 0;
    for (const ProfileListItem& item : list->litem)
        if (item.iInMenu != kStateEmpty)
            ++count;
    if (count == list->iNum)
        return;
    std::memset(&list->litem[count], 0, sizeof(ProfileListItem) * size_t(kProfileListCapacity - count));
    list->iNum = count;
}

void ReadDictionaryIntEntry(const plist::Dictionary& dict, const char* key, int32_t* out)
{
    if (!key || !out)
        return;
    const plist::Value* v = dict.find(key);
    if (!v)
        return;
    if (auto i = v->integer())
        *out = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(*i)));
    else if (auto d = v->real(); d && *d > -2147483649.0 && *d < 2147483648.0)
        *out = static_cast<int32_t>(*d);
}

void ReadDictionaryStringEntry(const plist::Dictionary& dict, const char* key, char out[kProfileNameFieldSize])
{
    if (!key || !out)
        return;
    const plist::Value* v = dict.find(key);
    if (!v)
        return;
    if (const std::string* s = v->string())
        QVPListCopyName(out, s->data(), s->size());
    else
        std::memset(out, 0, kProfileNameFieldSize);
}
