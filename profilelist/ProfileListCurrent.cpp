// The operations on this side's current list file: reading it, writing one
// class, and the merge for pap:// and usb:// queues. The path and the
// whole-list writer come from the side's file functions (direct or launcher).
#include "platform/plist/PlistXml.h"
#include "profilelist/ListFileReader.h"
#include "profilelist/ProfileList.h"

#include <cstring>
#include <memory>

namespace {

std::unique_ptr<ProfileList[]> zeroLists(int n)
{
    auto lists = std::make_unique<ProfileList[]>(size_t(n));  // zero-filled
    return lists;
}

void copyList(ProfileList* out, const ProfileList& in)
{
    if (out && out != &in)
        std::memcpy(out, &in, sizeof(ProfileList));
}

}  // namespace

int QVPListReadProfile_All(ProfileList* rgb, ProfileList* sim, ProfileList* dst)
{
    return QVPListReadProfileFile_All(QVPListCurrentPath(), rgb, sim, dst);
}

int QVPListReadProfile_Dict(ProfileList* list, int classIndex)
{
    return QVPListReadProfileFile_Dict(QVPListCurrentPath(), list, classIndex);
}

int QVPListReadProfile_Dict_Pap(ProfileList* list, int classIndex)
{
    return QVPListReadProfileFile_Dict_Pap(QVPListCurrentPath(), list, classIndex);
}

void QVPListReadProfile_EachClass(ProfileList* rgb, ProfileList* sim, ProfileList* dst, bool pap)
{
    ProfileList* lists[kProfileClassCount] = {rgb, sim, dst};
    profilelist::readListFileEachClass(QVPListCurrentPath(), lists,
                                       pap ? profilelist::ReadMode::Pap : profilelist::ReadMode::Plain);
}

int QVPListWriteProfile_Dict(const ProfileList* list, int classIndex,
                             ProfileList* rgbOut, ProfileList* simOut, ProfileList* dstOut)
{
    if (!list || !QVPListClassKey(classIndex))
        return -1;
    // lists[0..2]: the file's lists; lists[kGiven]: the given list, copied
    // first since it may be one of the outs.
    constexpr int kGiven = kProfileClassCount;
    auto lists = zeroLists(kGiven + 1);
    std::memcpy(&lists[kGiven], list, sizeof(ProfileList));
    if (QVPListReadProfile_All(&lists[0], &lists[1], &lists[2]) != 0)
        std::memset(lists.get(), 0, sizeof(ProfileList) * kProfileClassCount);
    ProfileList* outs[kProfileClassCount] = {rgbOut, simOut, dstOut};
    for (int c = 0; c < kProfileClassCount; ++c)
        copyList(outs[c], lists[c]);
    std::memcpy(&lists[classIndex], &lists[kGiven], sizeof(ProfileList));
    int result = QVPListWriteProfile_All(&lists[0], &lists[1], &lists[2]);
    copyList(outs[classIndex], lists[kGiven]);
    return result;
}

int QVPListMappingProfile_All_Pap(const ProfileList* rgb, const ProfileList* sim, const ProfileList* dst,
                                  ProfileList* rgbOut, ProfileList* simOut, ProfileList* dstOut,
                                  const ProfileList* rgbDeleted, const ProfileList* simDeleted,
                                  const ProfileList* dstDeleted)
{
    auto file = zeroLists(kProfileClassCount);
    if (QVPListReadProfile_All(&file[0], &file[1], &file[2]) != 0)
        std::memset(file.get(), 0, sizeof(ProfileList) * kProfileClassCount);
    const ProfileList* edited[kProfileClassCount] = {rgb, sim, dst};
    const ProfileList* deleted[kProfileClassCount] = {rgbDeleted, simDeleted, dstDeleted};
    ProfileList* outs[kProfileClassCount] = {rgbOut, simOut, dstOut};
    for (int c = 0; c < kProfileClassCount; ++c)
        QVPListMapping_Pap(edited[c], &file[c], outs[c], deleted[c]);
    return 0;
}

int QVPListMappingGetMainDict_FromPlist(plist::DictionaryRef* rgb, plist::DictionaryRef* sim,
                                        plist::DictionaryRef* dst)
{
    const std::string path = QVPListCurrentPath();
    if (path.empty())
        return -1;
    plist::Value root = plist::readXmlFile(path);
    plist::DictionaryRef rootDict = root.dictionary();
    if (!rootDict)
        return -1;
    plist::DictionaryRef* outs[kProfileClassCount] = {rgb, sim, dst};
    for (int c = 0; c < kProfileClassCount; ++c) {
        plist::DictionaryRef d = rootDict->dictionary(QVPListClassKey(c));
        if (!d)
            return -1;
        if (outs[c])
            *outs[c] = d->deepCopy();
    }
    return 0;
}

std::string QVPListRemovePath(int removeType)
{
    if (removeType == kRemoveCurrent)
        return QVPListCurrentPath();
    if (removeType == kRemovePrevious)
        return QVPListPreviousPath();
    return {};
}
