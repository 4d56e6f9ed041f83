// Key constants, class names, path formation and the 32-byte name fields.
#include "platform/FixedPaths.h"
#include "profilelist/ProfileList.h"

#include <cstring>

const char* const cIndexOnDeviceKey = "IndexOnDevice";
const char* const cInMenuKey = "InMenu";
const char* const cProfileClassKey = "ProfileClass";
const char* const cFileNameKey = "FileName";
const char* const cProfileNameKey = "ProfileName";
const char* const cLocationKey = "Location";
const char* const cPlistVersionKey = "PlistVersion";
const char* const cNumKey = "iNum";

const char* QVPListClassKey(int classIndex)
{
    switch (classIndex) {
    case kClassRGB:
        return "RGB";
    case kClassSIM:
        return "SIM";
    case kClassDST:
        return "DST";
    default:
        return nullptr;
    }
}

std::string QVPListProfileDirectory()
{
    return rx::fixedPath(rx::kProfileDirectory);
}

namespace {

bool acceptableName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (unsigned char c : name)
        if (c == '/' || c < 0x20 || c == 0x7f)
            return false;
    return true;
}

}  // namespace

std::string QVPListFormPath(const std::string& user, const std::string& model, ProfileListFile which)
{
    if (!acceptableName(user) || !acceptableName(model))
        return {};
    const char* suffix = which == kListPrevious ? "-profile.prev.plist"
                         : which == kListSpool  ? "-profile.spool.plist"
                                                : "-profile.plist";
    std::string path = QVPListProfileDirectory();
    path += '/';
    path += user;
    path += '-';
    path += model;
    path += suffix;
    if (path.size() > kMaxListPathLength)
        return {};
    return path;
}

std::string QVPListLoginPath(ProfileListFile which)
{
    return QVPListFormPath(rx::realUserLoginName(), kPlugInModelName, which);
}

void QVPListCopyName(char out[kProfileNameFieldSize], const char* text, size_t length)
{
    std::memset(out, 0, kProfileNameFieldSize);
    if (!text)
        return;
    size_t n = length;
    if (n > size_t(kProfileNameFieldSize - 1)) {
        n = kProfileNameFieldSize - 1;
        // The first byte left out must start a character, so the kept
        // bytes end on a character boundary.
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
    }
    std::memcpy(out, text, n);
}

void MyDebugMessage(const char* message)
{
    (void)message;
}
