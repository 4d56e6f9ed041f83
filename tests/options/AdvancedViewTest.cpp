// The advanced view's table and the Quick Color presets.
#include "PanelFixture.h"

#include "platform/FixedPaths.h"
#include "profilelist/ProfileList.h"
#include "profilelist/ServicePaths.h"

#include <QDir>

using namespace testsupport;
using pde::PDECommon;

namespace {

const QStringList kAdvancedKeys = {
    "QVImageRGBSource", "QVImageRenderIntent", "QVImageGrayTreatment", "QVImageDestinationProfile",
    "QVImageHalftone", "QVImageEdgeEnhance", "QVTextRGBSource", "QVTextRenderIntent", "QVTextGrayTreatment",
    "QVTextDestinationProfile", "QVTextHalftone", "QVTextEdgeEnhance", "QVGraphicsRGBSource",
    "QVGraphicsRenderIntent", "QVGraphicsGrayTreatment", "QVGraphicsDestinationProfile", "QVGraphicsHalftone",
    "QVGraphicsEdgeEnhance", "QVSimSource", "QVSimRenderIntent", "QVSimGrayTreatment"};

TEST(AdvancedView, TableTabsAndKeywords)
{
    Panel panel;
    panel.advanced->tab_SwitchVew->setCurrentIndex(2);
    panel.build();
    pde::AdvancedColorOptions* adv = panel.advanced;
    ASSERT_EQ(adv->getControlCount(), 47);
    const pde::PDEControlItem* t = adv->getControlData();
    EXPECT_EQ(t[46].kind, pde::EndOfTable);
    EXPECT_EQ(t[21].kind, pde::TabView);
    EXPECT_EQ(t[22].control, adv->labels_[0]);
    EXPECT_EQ(t[43].control, adv->button_ManageProfile);
    EXPECT_EQ(adv->tab_SwitchVew->currentIndex(), 0);
    // The halftone rows are the only menus the constraint rules cannot address.
    for (int i = 0; i < 21; ++i)
        EXPECT_EQ(std::string(t[i].controlName).empty(), i == 4 || i == 10 || i == 16) << i;

    QStringList keys;
    adv->addPPDArray(&keys);
    EXPECT_EQ(keys, kAdvancedKeys);

    EXPECT_EQ(adv->tab_SwitchVew->tabText(3), QStringLiteral("Simulation"));
    EXPECT_EQ(adv->labels_[20]->text(), QStringLiteral("CMYK Gray Treatment:"));
    EXPECT_TRUE(adv->button_DownloadManager->isEnabled());
    EXPECT_TRUE(adv->button_HideAdvancedOptions->isEnabled());
}

TEST(AdvancedView, ManageButtonFollowsTheWritabilityProbeAtBuildTime)
{
    QDir().mkpath(QString::fromStdString(rx::fixedPath(rx::kProfileDirectory)));
    for (bool writable : {false, true}) {
        QV_PLIST_PROFILE_PATH = writable ? QVPListLoginPath(kListCurrent) : std::string("/nonexistent/dir/list.plist");
        Panel panel;
        panel.build();
        EXPECT_EQ(panel.advanced->button_ManageProfile->isEnabled(), writable);
        EXPECT_TRUE(panel.advanced->button_DownloadManager->isEnabled());
        EXPECT_TRUE(panel.advanced->button_HideAdvancedOptions->isEnabled());
    }
    QV_PLIST_PROFILE_PATH.clear();
}

TEST(AdvancedView, UnconnectedOutletEndsEveryWalk)
{
    Panel panel;
    panel.advanced->menu_tRGBSource = nullptr;  // row 7
    panel.build();
    QStringList keys;
    panel.advanced->addPPDArray(&keys);
    EXPECT_EQ(keys, kAdvancedKeys.mid(0, 6));
    EXPECT_EQ(panel.advanced->menu_gHalftone->count(), 0);
}

std::vector<int> selections(const pde::AdvancedColorOptions* adv)
{
    std::vector<int> out;
    for (int i = 0; i < pde::AdvancedColorOptions::kMenuCount; ++i)
        out.push_back(adv->menu(i)->currentIndex());
    return out;
}

TEST(QuickColorPresets, SelectionsUnderEachPresetAndEconoMode)
{
    Panel panel;
    panel.build();
    panel.restore();
    pde::AdvancedColorOptions* adv = panel.advanced;
    const std::vector<int> preset0 = {1, 0, 0, 0, 1, 0, 1, 1, 1, 0, 2, 1, 1, 1, 1, 0, 1, 1, 0, 0, 0};
    const std::vector<int> preset1 = {1, 0, 0, 0, 1, 0, 1, 0, 0, 0, 1, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0};
    const std::vector<int> preset2 = {1, 1, 1, 0, 2, 1, 1, 1, 1, 0, 2, 1, 1, 1, 1, 0, 2, 1, 0, 0, 0};

    adv->changeItemAccodingQuickColor(0, 0);
    EXPECT_EQ(selections(adv), preset0);
    adv->changeItemAccodingQuickColor(0, 1);
    std::vector<int> eco0 = preset0;
    eco0[17] = 0;  // Graphics edge enhancement off; Text stays on
    EXPECT_EQ(selections(adv), eco0);

    adv->changeItemAccodingQuickColor(1, 0);
    EXPECT_EQ(selections(adv), preset1);
    adv->changeItemAccodingQuickColor(1, 1);
    EXPECT_EQ(selections(adv), preset1);

    adv->changeItemAccodingQuickColor(2, 1);
    std::vector<int> eco2 = preset2;
    eco2[5] = 0;
    eco2[17] = 0;
    EXPECT_EQ(selections(adv), eco2);

    for (int16_t none : {3, -1, 4}) {
        adv->changeItemAccodingQuickColor(none, 1);
        EXPECT_EQ(selections(adv), eco2) << none;
        QVariantMap dict;
        QStringList order;
        adv->getSummaryItemAccodingQuickColor(none, 1, &dict, &order);
        EXPECT_TRUE(order.isEmpty()) << none;
    }
}

TEST(QuickColorPresets, SummaryFollowsThePresetNotTheMenus)
{
    Panel panel;
    panel.build();
    panel.restore();
    pde::AdvancedColorOptions* adv = panel.advanced;
    adv->menu_iHalftone->setCurrentIndex(0);

    QVariantMap off, on;
    QStringList offOrder, onOrder;
    adv->getSummaryItemAccodingQuickColor(1, 0, &off, &offOrder);
    adv->getSummaryItemAccodingQuickColor(1, 1, &on, &onOrder);
    EXPECT_EQ(off, on);
    EXPECT_EQ(offOrder, onOrder);
    EXPECT_EQ(off.value("Image Halftone").toString(), QStringLiteral("Smooth"));
    EXPECT_EQ(off.value("Text RGB Intent").toString(), QStringLiteral("Perceptual"));

    QVariantMap dict;
    QStringList order;
    adv->getSummaryItemAccodingQuickColor(2, 1, &dict, &order);
    EXPECT_EQ(order.size(), 23);
    EXPECT_EQ(dict.size(), 21);
    EXPECT_EQ(order.mid(21), (QStringList{"Image EdgeEnhance", "Graphics EdgeEnhance"}));
    EXPECT_EQ(dict.value("Image EdgeEnhance").toString(), QStringLiteral("Off"));
    EXPECT_EQ(dict.value("Text EdgeEnhance").toString(), QStringLiteral("On"));
    EXPECT_EQ(dict.value("Image Halftone").toString(), QStringLiteral("Stochastic"));
    EXPECT_EQ(adv->menu_iHalftone->currentIndex(), 0) << "summarising must not change the menus";
}

TEST(QuickColorPresets, ShortMenusAreLeftAloneAndAddNoEntry)
{
    Panel panel("rx8240-partial.ppd");  // halftones with two choices
    panel.build();
    panel.restore();
    pde::AdvancedColorOptions* adv = panel.advanced;
    adv->changeItemAccodingQuickColor(2, 0);
    EXPECT_EQ(adv->menu_iHalftone->currentIndex(), 0);
    EXPECT_EQ(adv->menu_iRGBIntent->currentIndex(), 1);
    QVariantMap dict;
    QStringList order;
    adv->getSummaryItemAccodingQuickColor(2, 0, &dict, &order);
    EXPECT_FALSE(order.contains("Image Halftone"));
    EXPECT_TRUE(order.contains("Image RGB Intent"));
    // The Text destination option is missing: its menu keeps the items of the
    // UI description, which has none.
    EXPECT_FALSE(order.contains("Text Destination Profile"));
}

}  // namespace
