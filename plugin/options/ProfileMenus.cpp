// The profile items of the RGB source, destination and simulation menus, and
// the recording of a chosen profile in the model dictionary:
//   K                  the option's first PPD choice while a profile is chosen
//   K + "Custom"       "True" while a profile is chosen, else "False"
//   K + "CustomFilename" the profile's device path as nibble text
#include "plugin/options/PDECommon.h"
#include "plugin/options/ProfileMenus.h"

#include "profilelist/ProfileList.h"

#include <QComboBox>
#include <memory>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

namespace {

const char* const kDiskPrefix = "/ata1a/data/USfiles/Profiles/";
const char* const kCardPrefix = "/ataCf1a/data/USfiles/Profiles/";
constexpr int kMaxPathBytes = 1023;

std::unique_ptr<ProfileList> readClassList(int16_t profileClass)
{
    auto list = std::make_unique<ProfileList>();
    *list = ProfileList{};
    if (QVPListReadProfile_Dict(list.get(), profileClassIndex(profileClass)) != 0)
        *list = ProfileList{};
    return list;
}

std::string fieldText(const char (&field)[kProfileNameFieldSize])
{
    return std::string(field, strnlen(field, sizeof field));
}

}  // namespace

int profileClassIndex(int16_t profileClass)
{
    switch (profileClass) {
    case kRGBSourceProfileItems: return kClassRGB;
    case kDestinationProfileItems: return kClassDST;
    case kSimulationProfileItems: return kClassSIM;
    default: return -1;
    }
}

QString profileItemTitle(const ProfileListItem& item)
{
    QString location;
    if (item.iLocation == kLocationDisk || item.iLocation == kLocationCard) {
        location = localizedString(item.iLocation == kLocationDisk ? "Disk" : "Card");
        if (location.isNull())
            return QString();
    }
    // "%s(%s)%s", at most 255 bytes, read as UTF-8.
    std::string title = fieldText(item.FileName) + "(" + fieldText(item.ProfileName) + ")" + location.toStdString();
    if (title.size() > 255)
        title.resize(255);
    // Not valid UTF-8 (also when the cut split a character): no title.
    return textOfUtf8(title).value_or(QString());
}

std::string profileDevicePath(const ProfileListItem& item)
{
    const std::string name = fieldText(item.FileName);
    if (item.iLocation == kLocationDisk)
        return kDiskPrefix + name;
    if (item.iLocation == kLocationCard)
        return kCardPrefix + name;
    return name;
}

std::string encodeNibbleText(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        out.push_back(char(0x30 + (b >> 4)));
        out.push_back(char(0x30 + (b & 0x0F)));
    }
    return out;
}

std::string decodeNibbleText(const std::string& text)
{
    std::string out;
    out.reserve(text.size() / 2 + 1);
    for (size_t i = 0; i < text.size(); i += 2) {
        const unsigned h = static_cast<unsigned char>(text[i]);
        const unsigned l = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
        out.push_back(char(((h << 4) + l - 0x30) & 0xFF));
    }
    return out;
}

OSStatus PDECommon::commonAddMenuFromProfilePlist(PDEControlItem* table)
{
    auto lists = std::make_unique<ProfileList[]>(3);
    const int status = QVPListReadProfile_All(&lists[kClassRGB], &lists[kClassSIM], &lists[kClassDST]);
    if (status != 0)
        return status;
    for (PDEControlItem& row : controlRows(table)) {
        const int classIndex = profileClassIndex(row.profileClass);
        auto* menu = qobject_cast<QComboBox*>(row.control);
        if (classIndex < 0 || !menu)
            continue;
        const ProfileList& list = lists[classIndex];
        for (int slot = 0; slot < QVPListUsedCount(&list); ++slot) {
            if (!isShownState(list.litem[slot].iInMenu))
                continue;
            const QString title = profileItemTitle(list.litem[slot]);
            if (!title.isNull())
                menu->addItem(title);
        }
    }
    return kNoErr;
}

OSStatus PDECommon::commonSetTicketAddedProfile(const PDEControlItem* row, const plist::DictionaryRef& dict,
                                                int16_t select)
{
    if (!dict || !row || !isProfileRow(*row))
        return -1;
    auto list = readClassList(row->profileClass);
    std::string path;
    int shown = 0;
    for (int slot = 0; slot < QVPListUsedCount(list.get()); ++slot) {
        if (isShownState(list->litem[slot].iInMenu) && ++shown == select) {
            path = profileDevicePath(list->litem[slot]);
            break;
        }
    }
    if (path.size() > size_t(kMaxPathBytes))
        path.resize(kMaxPathBytes);
    if (row->uiList && !row->uiList->isEmpty()) {
        const UIListEntry& first = row->uiList->first();
        dict->set(first[kUIOptionKey].toStdString(), first[kUIChoiceKey].toStdString());
    }
    dict->set(std::string(row->ppdKey) + "CustomFilename", encodeNibbleText(path));
    commonSetTicketAddedProfileFlag(row, dict, "True");
    return kNoErr;
}

int16_t PDECommon::commonGetTicketAddedProfile(const PDEControlItem* row, const plist::DictionaryRef& dict)
{
    if (!dict || !row || !isProfileRow(*row))
        return -1;
    const plist::Value* stored = dict->find(std::string(row->ppdKey) + "CustomFilename");
    const std::string* text = stored ? stored->string() : nullptr;
    if (!text || text->size() > size_t(kMaxPathBytes))
        return 0;
    for (unsigned char c : *text)
        if (c > 0x7F)
            return 0;
    const std::string path = decodeNibbleText(*text);
    if (!textOfUtf8(path))
        return 0;
    auto list = readClassList(row->profileClass);
    int shown = 0;
    for (int slot = 0; slot < QVPListUsedCount(list.get()); ++slot) {
        const ProfileListItem& item = list->litem[slot];
        if (!isShownState(item.iInMenu))
            continue;
        ++shown;
        if ((item.iLocation == kLocationDisk || item.iLocation == kLocationCard) && profileDevicePath(item) == path)
            return int16_t(shown);
    }
    return 0;
}

OSStatus PDECommon::commonSetTicketAddedProfileFlag(const PDEControlItem* row, const plist::DictionaryRef& dict,
                                                    const char* flag)
{
    if (dict && row && flag && isProfileRow(*row))
        dict->set(std::string(row->ppdKey) + "Custom", std::string(flag));
    return kNoErr;
}

const plist::Value* PDECommon::commonGetTicketAddedProfileFlag(const PDEControlItem* row,
                                                               const plist::DictionaryRef& dict)
{
    if (!dict || !row || !isProfileRow(*row))
        return nullptr;
    return dict->find(std::string(row->ppdKey) + "Custom");
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
