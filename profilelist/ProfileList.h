// The profile list store: the per-user list of colour profiles that the
// printer holds, in three classes (RGB source, simulation, destination), and
// the functions that read and write it as an XML property list file.
//
// The same functions exist in both deliverables. Reading, the merge and the
// list passes are one implementation (profilelist_core). What touches the
// files for writing comes in two link-time variants with the same names:
//   - profilelist_direct: the service opens, writes, copies and removes the
//     files itself, at the paths of the request in progress
//     (QV_PLIST_PROFILE_PATH and friends, ServicePaths.h);
//   - the plug-in's variant sends each change to the service through the
//     launcher and forms the paths from the real user's login name.
#pragma once

#include "platform/plist/Plist.h"

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr int kProfileListCapacity = 500;
inline constexpr int kProfileNameFieldSize = 32;
// The largest list file the store writes is 991 255 bytes (three classes
// of 500 slots, every name 31 bytes that each need a five-byte XML escape,
// every number of eleven characters). The service reads no list file and
// builds no staging file larger than this cap, over four times that size,
// so that a planted or endless file cannot exhaust its memory or disk.
inline constexpr std::size_t kMaxListFileSize = 4u << 20;

// One profile. Plain data: zero-filled before use, copied whole.
struct ProfileListItem {
    int32_t iIndexOnDevice;  // index in the device's table; 500+slot added by hand; 501 kept by clean; 0 none
    int32_t iInMenu;         // state code, ProfileState; 0 = empty slot
    int32_t iProfileClass;   // the device's class code; 2 for entries added by hand
    char FileName[kProfileNameFieldSize];     // UTF-8, NUL-terminated
    char ProfileName[kProfileNameFieldSize];  // UTF-8, NUL-terminated
    int32_t iLocation;       // ProfileLocation
    int32_t iDriver;         // availability reported by the device; never written to the file
};

// The list of one class: used slots packed at the front, iNum of them.
struct ProfileList {
    ProfileListItem litem[kProfileListCapacity];
    int32_t iNum;
};

// iInMenu state codes.
enum ProfileState : int32_t {
    kStateEmpty = 0,
    kStateDeviceHidden = 1,           // not offered, not confirmed
    kStateDeviceHiddenConfirmed = 2,  // not offered, confirmed by the last discovery
    kStateDeviceShown = 3,            // offered, not confirmed
    kStateDeviceShownConfirmed = 4,   // offered, confirmed
    kStateManualHidden = 5,           // no device confirmation, not offered
    kStateManualShown = 6,            // no device confirmation, offered
};

// Offered in the profile menus: codes 3, 4 and 6.
constexpr bool isShownState(int32_t code)
{
    return code == kStateDeviceShown || code == kStateDeviceShownConfirmed || code == kStateManualShown;
}
// Reported by the device: codes 1 to 4.
constexpr bool isDeviceState(int32_t code)
{
    return code >= kStateDeviceHidden && code <= kStateDeviceShownConfirmed;
}
// Confirmed by the last discovery: codes 2 and 4.
constexpr bool isConfirmedState(int32_t code)
{
    return code == kStateDeviceHiddenConfirmed || code == kStateDeviceShownConfirmed;
}

// The number of entries a list claims, within the capacity; 0 without a list.
// (iNum may count freed slots, or exceed the capacity in a damaged list.)
constexpr int QVPListUsedCount(const ProfileList* list)
{
    return !list ? 0 : list->iNum < 0 ? 0 : list->iNum > kProfileListCapacity ? kProfileListCapacity : list->iNum;
}

// Class indexes, also the profile window's class menu.
enum ProfileClassIndex : int {
    kClassRGB = 0,
    kClassSIM = 1,
    kClassDST = 2,
};
inline constexpr int kProfileClassCount = 3;

// iIndexOnDevice of an entry that the clean pass keeps without a device index.
inline constexpr int32_t kIndexKeptWithoutDevice = 501;

enum ProfileLocation : int32_t {
    kLocationDisk = 4,
    kLocationCard = 5,
};

// Swap types of QVPListSwapProfile.
enum SwapType : int { kSwapRestore = 0, kSwapDiscard = 1, kSwapBackup = 2 };
// Remove types of QVPListRemove.
enum RemoveType : int { kRemovePrevious = 2, kRemoveCurrent = 3 };

// File keys.
extern const char* const cIndexOnDeviceKey;  // "IndexOnDevice"
extern const char* const cInMenuKey;         // "InMenu"
extern const char* const cProfileClassKey;   // "ProfileClass"
extern const char* const cFileNameKey;       // "FileName"
extern const char* const cProfileNameKey;    // "ProfileName"
extern const char* const cLocationKey;       // "Location"
extern const char* const cPlistVersionKey;   // "PlistVersion"
extern const char* const cNumKey;            // "iNum"
// "RGB", "SIM", "DST" by class index; null for any other index.
const char* QVPListClassKey(int classIndex);

// ---- Paths -------------------------------------------------------------
// Directory of all list files, below TARNVALE_ROOT.
std::string QVPListProfileDirectory();
// The current and previous list paths of this side (see above); empty when a
// path cannot be formed (over 254 bytes, no login name).
std::string QVPListCurrentPath();
std::string QVPListPreviousPath();
// The file a remove type names: the current path for kRemoveCurrent, the
// previous path for kRemovePrevious; empty for any other type.
std::string QVPListRemovePath(int removeType);

// The longest list file path, in bytes.
inline constexpr std::size_t kMaxListPathLength = 254;
// The files of one user and model.
enum ProfileListFile : int { kListCurrent = 0, kListPrevious = 1, kListSpool = 2 };
// "DIR/USER-MODEL-profile.plist" (".prev.plist", ".spool.plist") below
// TARNVALE_ROOT; empty when the path would exceed kMaxListPathLength or a name is
// empty, ".", "..", or holds "/" or a control character.
std::string QVPListFormPath(const std::string& user, const std::string& model, ProfileListFile which);
// The model whose lists the plug-in uses.
inline constexpr const char* kPlugInModelName = "rx8240";
// The plug-in's names: the real user's login name and kPlugInModelName.
std::string QVPListLoginPath(ProfileListFile which);

// ---- Reading (shared) --------------------------------------------------
// All return 0 or -1; on -1 the lists are untouched.
int QVPListReadProfile_All(ProfileList* rgb, ProfileList* sim, ProfileList* dst);
int QVPListReadProfile_Dict(ProfileList* list, int classIndex);
int QVPListReadProfile_Dict_Pap(ProfileList* list, int classIndex);
// The three classes from one read of the current file, each list as
// QVPListReadProfile_Dict (with `pap`, QVPListReadProfile_Dict_Pap) would
// read it: a class that cannot be read leaves its list untouched.
void QVPListReadProfile_EachClass(ProfileList* rgb, ProfileList* sim, ProfileList* dst, bool pap);
// Reading from a given file instead of this side's current path.
int QVPListReadProfileFile_All(const std::string& path, ProfileList* rgb, ProfileList* sim, ProfileList* dst);
int QVPListReadProfileFile_Dict(const std::string& path, ProfileList* list, int classIndex);
int QVPListReadProfileFile_Dict_Pap(const std::string& path, ProfileList* list, int classIndex);

void ReadDictionaryIntEntry(const plist::Dictionary& dict, const char* key, int32_t* out);
void ReadDictionaryStringEntry(const plist::Dictionary& dict, const char* key, char out[kProfileNameFieldSize]);
void QVPlistCheckWithInMenu_Dict(ProfileList* list);

// ---- Building the file (shared) ----------------------------------------
// Builds the class dictionary of a list and its six field dictionaries;
// returns {class name: class dictionary}.
plist::DictionaryRef CreatePropsDictionary(int classIndex, const ProfileList* list,
                                           plist::DictionaryRef* classDict,
                                           plist::DictionaryRef* indexOnDevice,
                                           plist::DictionaryRef* inMenu,
                                           plist::DictionaryRef* profileClass,
                                           plist::DictionaryRef* location,
                                           plist::DictionaryRef* fileName,
                                           plist::DictionaryRef* profileName);
// The complete XML text of a list file holding the three lists.
std::string QVPListBuildFileText(const ProfileList* rgb, const ProfileList* sim, const ProfileList* dst);

// ---- Writing (side-specific) -------------------------------------------
int QVPListIsAdminProfile();  // 1 = the current file can be written, 0 = not
int QVPListWriteProfile_All(const ProfileList* rgb, const ProfileList* sim, const ProfileList* dst);
int QVPListWriteProfile_All_Pap(const ProfileList* rgb, const ProfileList* sim, const ProfileList* dst,
                                const ProfileList* rgbDeleted, const ProfileList* simDeleted,
                                const ProfileList* dstDeleted);
int QVPListSwapProfile(int swapType);
int QVPListExistProfile();
int QVPListRemove(int removeType);

// ---- Writing and merging (shared) --------------------------------------
int QVPListWriteProfile_Dict(const ProfileList* list, int classIndex,
                             ProfileList* rgbOut, ProfileList* simOut, ProfileList* dstOut);
int QVPListMappingProfile_All_Pap(const ProfileList* rgb, const ProfileList* sim, const ProfileList* dst,
                                  ProfileList* rgbOut, ProfileList* simOut, ProfileList* dstOut,
                                  const ProfileList* rgbDeleted, const ProfileList* simDeleted,
                                  const ProfileList* dstDeleted);
void QVPListMapping_Pap(const ProfileList* edited, const ProfileList* file, ProfileList* out,
                        const ProfileList* deleted);
int QVPListMappingGetMainDict_FromPlist(plist::DictionaryRef* rgb, plist::DictionaryRef* sim,
                                        plist::DictionaryRef* dst);
int QVPListMappingGetSubDict(const plist::Dictionary& classDict,
                             plist::DictionaryRef* indexOnDevice, plist::DictionaryRef* inMenu,
                             plist::DictionaryRef* profileClass, plist::DictionaryRef* location,
                             plist::DictionaryRef* fileName, plist::DictionaryRef* profileName,
                             int32_t* num);

// ---- List passes (shared) ----------------------------------------------
void QVPListCleanProfile_Dict(ProfileList* list);
void QVPListPaddingProfile_Dict(ProfileList* list);
void QVPListSalvage_Dict(ProfileList* list);

// Copies text into a 32-byte field: at most 31 bytes, never cutting a UTF-8
// character, then NUL.
void QVPListCopyName(char out[kProfileNameFieldSize], const char* text, size_t length);

// Debug hook of the discovery code; does nothing.
void MyDebugMessage(const char* message);
