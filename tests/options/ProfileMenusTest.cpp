// Profile items in the advanced menus, and a chosen profile's round trip
// through the print settings, against list files written by the store.
#include "PanelFixture.h"

#include "platform/FixedPaths.h"
#include "plugin/options/ProfileMenus.h"
#include "profilelist/ProfileList.h"
#include "profilelist/ServicePaths.h"

#include <QDir>
#include <cstring>

using namespace testsupport;
using pde::PDECommon;

namespace {

ProfileListItem entry(const char* file, const char* name, int32_t state, int32_t location, int32_t index = 1)
{
    ProfileListItem item{};
    item.iIndexOnDevice = index;
    item.iInMenu = state;
    item.iProfileClass = 2;
    std::strncpy(item.FileName, file, sizeof item.FileName - 1);
    std::strncpy(item.ProfileName, name, sizeof item.ProfileName - 1);
    item.iLocation = location;
    return item;
}

class ProfileMenus : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir().mkpath(QString::fromStdString(rx::fixedPath(rx::kProfileDirectory)));
        QV_PLIST_PROFILE_PATH = QVPListLoginPath(kListCurrent);
        ASSERT_FALSE(QV_PLIST_PROFILE_PATH.empty());
        std::remove(QV_PLIST_PROFILE_PATH.c_str());
        lists = std::make_unique<ProfileList[]>(3);
    }
    void TearDown() override { std::remove(QV_PLIST_PROFILE_PATH.c_str()); }

    void setList(int classIndex, std::initializer_list<ProfileListItem> items)
    {
        ProfileList& l = lists[classIndex];
        l = ProfileList{};
        for (const ProfileListItem& i : items)
            l.litem[l.iNum++] = i;
    }
    void write() { ASSERT_EQ(QVPListWriteProfile_All(&lists[kClassRGB], &lists[kClassSIM], &lists[kClassDST]), 0); }

    std::unique_ptr<ProfileList[]> lists;
};

TEST_F(ProfileMenus, ShownEntriesFollowThePpdChoices)
{
    setList(kClassRGB, {entry("A.ICC", "One", 4, kLocationDisk), entry("B.ICC", "Two", 1, kLocationDisk),
                        entry("C.ICC", "Three", 3, kLocationCard), entry("D.ICC", "Four", 6, 7)});
    setList(kClassSIM, {entry("S.ICC", "Sim", 6, kLocationDisk)});
    write();
    Panel panel;
    panel.build();
    QComboBox* rgb = panel.advanced->menu_iRGBSource;
    ASSERT_EQ(rgb->count(), 4 + 3);
    EXPECT_EQ(rgb->itemText(4), QStringLiteral("A.ICC(One)Disk"));
    EXPECT_EQ(rgb->itemText(5), QStringLiteral("C.ICC(Three)Card"));
    EXPECT_EQ(rgb->itemText(6), QStringLiteral("D.ICC(Four)"));
    EXPECT_EQ(panel.advanced->menu_gRGBSource->count(), 7);
    EXPECT_EQ(panel.advanced->menu_sSimulationProfile->count(), 4 + 1);
    EXPECT_EQ(panel.advanced->menu_iDestinationProfile->count(), 3) << "the DST list is empty";
    EXPECT_EQ(panel.advanced->menu_iRGBIntent->count(), 3) << "not a profile menu";

    // Choosing the second profile item stores the third slot's device path.
    panel.restore();
    rgb->setCurrentIndex(5);
    panel.save();
    auto model = PDECommon::commonGetModelDictionary(&panel.settings, &panel.session);
    EXPECT_EQ(*model->get("QVImageRGBSource").string(), "None");
    EXPECT_EQ(*model->get("QVImageRGBSourceCustom").string(), "True");
    EXPECT_EQ(pde::decodeNibbleText(*model->get("QVImageRGBSourceCustomFilename").string()),
              "/ataCf1a/data/USfiles/Profiles/C.ICC");
    EXPECT_EQ(*panel.settings.value("QVImageRGBSourceCustom").string(), "True");
}

TEST_F(ProfileMenus, ChosenProfileIsFoundAgainByItsPath)
{
    setList(kClassDST, {entry("V.ICC", "Vivid", 4, kLocationDisk), entry("X.ICC", "Hidden", 2, kLocationDisk),
                        entry("W.ICC", "Warm", 3, kLocationDisk)});
    write();
    rx::PrintSettings settings;
    {
        Panel panel;
        panel.build();
        panel.restore();
        const int n = 3;
        panel.advanced->menu_iDestinationProfile->setCurrentIndex(n + 1);  // W.ICC
        panel.save();
        settings = panel.settings;
        auto model = PDECommon::commonGetModelDictionary(&settings, &panel.session);
        EXPECT_EQ(*model->get("QVImageDestinationProfile").string(), "Auto");
        const std::string nibble = *model->get("QVImageDestinationProfileCustomFilename").string();
        EXPECT_EQ(nibble.size(), 2 * std::strlen("/ata1a/data/USfiles/Profiles/W.ICC"));
    }
    auto restoreSelection = [&] {
        Panel panel;
        panel.build();
        panel.settings = settings;
        panel.restore();
        return panel.advanced->menu_iDestinationProfile->currentIndex();
    };
    EXPECT_EQ(restoreSelection(), 3 + 1);

    // Hiding an earlier profile moves the selection up, onto the same profile.
    lists[kClassDST].litem[0].iInMenu = kStateDeviceHiddenConfirmed;
    write();
    EXPECT_EQ(restoreSelection(), 3 + 0);

    // A profile no longer shown falls back to the PPD default ("Auto").
    lists[kClassDST].litem[2].iInMenu = kStateDeviceHidden;
    write();
    EXPECT_EQ(restoreSelection(), 0);
}

// A preset position past the PPD's choices leaves the menu alone: the
// user's profile items after the choices never stand in for it, so neither
// the menu nor the job nor the summary carries a profile.
TEST_F(ProfileMenus, PresetPastAShortPpdsChoicesSelectsNoProfile)
{
    setList(kClassRGB, {entry("A.ICC", "One", 4, kLocationDisk)});
    write();
    Panel panel("rx8240-short.ppd");  // Image RGB Source offers "None" only
    panel.build();
    panel.restore();
    pde::AdvancedColorOptions* adv = panel.advanced;
    ASSERT_EQ(adv->menu_iRGBSource->count(), 1 + 1);
    adv->changeItemAccodingQuickColor(0, 0);
    EXPECT_EQ(adv->menu_iRGBSource->currentIndex(), 0);
    EXPECT_EQ(adv->menu_tRGBSource->currentIndex(), 1) << "a full menu still takes the preset";
    adv->setControlValueToTicket();
    auto model = PDECommon::commonGetModelDictionary(&panel.settings, &panel.session);
    EXPECT_EQ(*model->get("QVImageRGBSource").string(), "None");
    EXPECT_EQ(*model->get("QVImageRGBSourceCustom").string(), "False");
    QVariantMap dict;
    QStringList order;
    adv->getSummaryItemAccodingQuickColor(0, 0, &dict, &order);
    EXPECT_FALSE(order.contains("Image RGB Source")) << order.join(", ").toStdString();
    EXPECT_TRUE(order.contains("Text RGB Source"));
}

TEST_F(ProfileMenus, WithoutListFileOnlyPpdChoices)
{
    Panel panel;
    panel.build();
    EXPECT_EQ(panel.advanced->menu_iRGBSource->count(), 4);
    EXPECT_EQ(panel.advanced->menu_sSimulationProfile->count(), 4);
    // A stored flag with no list file restores the PPD default.
    auto model = PDECommon::commonGetModelDictionary(&panel.settings, &panel.session);
    model->set("QVSimSourceCustom", "True");
    model->set("QVSimSourceCustomFilename", pde::encodeNibbleText("/ata1a/data/USfiles/Profiles/S.ICC"));
    panel.advanced->menu_sSimulationProfile->setCurrentIndex(2);
    panel.restore();
    EXPECT_EQ(panel.advanced->menu_sSimulationProfile->currentIndex(), 0);
}

TEST(NibbleText, EncodesBytesAsTwoCharactersAndBack)
{
    ProfileListItem disk = entry("A.ICC", "", 4, kLocationDisk);
    ProfileListItem card = entry("A.ICC", "", 4, kLocationCard);
    ProfileListItem other = entry("A.ICC", "", 4, 9);
    const std::string path = pde::profileDevicePath(disk);
    EXPECT_EQ(path, "/ata1a/data/USfiles/Profiles/A.ICC");
    ASSERT_EQ(path.size(), 34u);
    EXPECT_EQ(pde::profileDevicePath(card), "/ataCf1a/data/USfiles/Profiles/A.ICC");
    EXPECT_EQ(pde::profileDevicePath(other), "A.ICC");

    const std::string nibble = pde::encodeNibbleText(path);
    ASSERT_EQ(nibble.size(), 68u);
    EXPECT_EQ(nibble.substr(0, 2), "2?");
    for (char c : nibble)
        EXPECT_TRUE(c >= 0x30 && c <= 0x3F);
    EXPECT_EQ(pde::decodeNibbleText(nibble), path);
    const std::string utf8 = "/ata1a/Ä☼.ICC";
    EXPECT_EQ(pde::decodeNibbleText(pde::encodeNibbleText(utf8)), utf8);
    // An odd last character pairs with NUL: ('4' << 4) - 0x30 = 0x10.
    EXPECT_EQ(pde::decodeNibbleText("414"), std::string("A\x10"));
}

TEST(ProfileFlags, OnlyProfileRowsCarryThem)
{
    auto dict = plist::Dictionary::create();
    pde::PDEControlItem plain = {nullptr, pde::PopUpMenu, "QVImageHalftone", nullptr, nullptr, "", 0, nullptr};
    pde::PDEControlItem source = {nullptr, pde::PopUpMenu, "QVImageRGBSource", nullptr, nullptr, "", 1, nullptr};
    EXPECT_EQ(PDECommon::commonSetTicketAddedProfileFlag(&plain, dict, "True"), 0);
    EXPECT_TRUE(dict->empty());
    EXPECT_EQ(PDECommon::commonGetTicketAddedProfileFlag(&plain, dict), nullptr);
    EXPECT_EQ(PDECommon::commonSetTicketAddedProfile(&plain, dict, 1), -1);
    EXPECT_EQ(PDECommon::commonGetTicketAddedProfile(&plain, dict), -1);
    EXPECT_EQ(PDECommon::commonGetTicketAddedProfile(&source, nullptr), -1);
    PDECommon::commonSetTicketAddedProfileFlag(&source, dict, "True");
    ASSERT_NE(PDECommon::commonGetTicketAddedProfileFlag(&source, dict), nullptr);
    EXPECT_EQ(*PDECommon::commonGetTicketAddedProfileFlag(&source, dict)->string(), "True");
}

}  // namespace
