#include "plugin/options/AdvancedColorOptions.h"

#include "colormodel/QuickColorPresets.h"
#include "platform/FixedPaths.h"
#include "profilelist/ProfileList.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

namespace {

// The 21 menus: outlet name, title and summary keys. Their PPD keyword,
// constraint name and profile items are the colour model's advanced options,
// in the same order. Labels carry the menu's title key.
struct MenuRow {
    const char* outlet;
    const char* titleKey;
    const char* summaryKey;
};

constexpr MenuRow kMenus[AdvancedColorOptions::kMenuCount] = {
    {"menu_iRGBSource", "RGB Source:", "Image RGB Source"},
    {"menu_iRGBIntent", "RGB Intent:", "Image RGB Intent"},
    {"menu_iRGBGrayTreatment", "RGB Gray Treatment:", "Image RGB Gray Treatment"},
    {"menu_iDestinationProfile", "Destination Profile:", "Image Destination Profile"},
    {"menu_iHalftone", "Halftone:", "Image Halftone"},
    {"menu_iEdgeEnhancement", "EdgeEnhance:", "Image EdgeEnhance"},
    {"menu_tRGBSource", "RGB Source:", "Text RGB Source"},
    {"menu_tRGBIntent", "RGB Intent:", "Text RGB Intent"},
    {"menu_tRGBGrayTreatment", "RGB Gray Treatment:", "Text RGB Gray Treatment"},
    {"menu_tDestinationProfile", "Destination Profile:", "Text Destination Profile"},
    {"menu_tHalftone", "Halftone:", "Text Halftone"},
    {"menu_tEdgeEnhancement", "EdgeEnhance:", "Text EdgeEnhance"},
    {"menu_gRGBSource", "RGB Source:", "Graphics RGB Source"},
    {"menu_gRGBIntent", "RGB Intent:", "Graphics RGB Intent"},
    {"menu_gRGBGrayTreatment", "RGB Gray Treatment:", "Graphics RGB Gray Treatment"},
    {"menu_gDestinationProfile", "Destination Profile:", "Graphics Destination Profile"},
    {"menu_gHalftone", "Halftone:", "Graphics Halftone"},
    {"menu_gEdgeEnhancement", "EdgeEnhance:", "Graphics EdgeEnhance"},
    {"menu_sSimulationProfile", "Simulation Profile:", "Simulation Profile"},
    {"menu_sMatchPaperColor", "Match Paper Color:", "Match Paper Color"},
    {"menu_sCMYKGrayTreatment", "CMYK Gray Treatment:", "CMYK Gray Treatment"},
};
static_assert(AdvancedColorOptions::kMenuCount == colormodel::kAdvancedOptionCount);
static_assert(int16_t(colormodel::ProfileItems::RGBSource) == kRGBSourceProfileItems &&
              int16_t(colormodel::ProfileItems::Destination) == kDestinationProfileItems &&
              int16_t(colormodel::ProfileItems::Simulation) == kSimulationProfileItems);

// Selects a position when it is one of the menu's PPD choices; a shorter
// menu is left as it is.
void selectPosition(QComboBox* menu, int choices, int position)
{
    if (menu && position < choices)
        menu->setCurrentIndex(position);
}

void addPresetSummary(QComboBox* menu, int choices, const char* summaryKey, int position, QVariantMap* dict,
                      QStringList* array)
{
    if (menu && position < choices)
        PDECommon::commonGetSummaryTextQuickColor(summaryKey, menu->itemText(position), dict, array);
}

}  // namespace

AdvancedColorOptions::AdvancedColorOptions(QWidget* parent) : PDEControlView(parent) {}

// The menu outlets in table order.
QComboBox* AdvancedColorOptions::* const kMenuOutlets[AdvancedColorOptions::kMenuCount] = {
    &AdvancedColorOptions::menu_iRGBSource, &AdvancedColorOptions::menu_iRGBIntent,
    &AdvancedColorOptions::menu_iRGBGrayTreatment, &AdvancedColorOptions::menu_iDestinationProfile,
    &AdvancedColorOptions::menu_iHalftone, &AdvancedColorOptions::menu_iEdgeEnhancement,
    &AdvancedColorOptions::menu_tRGBSource, &AdvancedColorOptions::menu_tRGBIntent,
    &AdvancedColorOptions::menu_tRGBGrayTreatment, &AdvancedColorOptions::menu_tDestinationProfile,
    &AdvancedColorOptions::menu_tHalftone, &AdvancedColorOptions::menu_tEdgeEnhancement,
    &AdvancedColorOptions::menu_gRGBSource, &AdvancedColorOptions::menu_gRGBIntent,
    &AdvancedColorOptions::menu_gRGBGrayTreatment, &AdvancedColorOptions::menu_gDestinationProfile,
    &AdvancedColorOptions::menu_gHalftone, &AdvancedColorOptions::menu_gEdgeEnhancement,
    &AdvancedColorOptions::menu_sSimulationProfile, &AdvancedColorOptions::menu_sMatchPaperColor,
    &AdvancedColorOptions::menu_sCMYKGrayTreatment,
};

QComboBox* AdvancedColorOptions::menu(int i) const
{
    return this->*kMenuOutlets[i];
}

int AdvancedColorOptions::ppdChoiceCount(int i) const
{
    // The menus are the table's first rows, in the same order.
    const PDEControlItem* row = ctrlTable ? &ctrlTable[i] : nullptr;
    return row && row->uiList ? int(row->uiList->size()) : 0;
}

void AdvancedColorOptions::connectOutlets()
{
    for (int i = 0; i < kMenuCount; ++i) {
        this->*kMenuOutlets[i] = outlet<QComboBox>(this, kMenus[i].outlet);
        const QByteArray label = QByteArray("text_") + (kMenus[i].outlet + 5);
        labels_[i] = outlet<QLabel>(this, label.constData());
    }
    tab_SwitchVew = outlet<QTabWidget>(this, "tab_SwitchVew");
    button_ManageProfile = outlet<QPushButton>(this, "button_ManageProfile");
    button_DownloadManager = outlet<QPushButton>(this, "button_DownloadManager");
    button_HideAdvancedOptions = outlet<QPushButton>(this, "button_HideAdvancedOptions");
}

void AdvancedColorOptions::createPDEControlTable()
{
    PDEControlItem rows[kRowCount];
    int n = 0;
    for (int i = 0; i < kMenuCount; ++i) {
        const MenuRow& m = kMenus[i];
        const colormodel::ColorOption& option = colormodel::advancedOption(std::size_t(i));
        rows[n++] = {menu(i),           PopUpMenu, option.keyword, m.titleKey, m.summaryKey, option.controlName,
                     int16_t(option.profiles), nullptr};
    }
    rows[n++] = {tab_SwitchVew, TabView, "", "Image", nullptr, "", 0, nullptr};
    for (int i = 0; i < kMenuCount; ++i)
        rows[n++] = {labels_[i], StaticText, "", kMenus[i].titleKey, nullptr, "", 0, nullptr};
    rows[n++] = {button_ManageProfile, PushButton, "", "Management Profile", nullptr, "", 0, nullptr};
    rows[n++] = {button_DownloadManager, PushButton, "", "Resource Loader", nullptr, "", 0, nullptr};
    rows[n++] = {button_HideAdvancedOptions, PushButton, "", "Hide Advanced Options", nullptr, "", 0, nullptr};
    rows[n++] = kEndOfTableRow;
    Q_ASSERT(n == kRowCount);

    if (!buildTable(rows, kRowCount))
        return;
    if (tab_SwitchVew)
        tab_SwitchVew->setCurrentIndex(0);
    if (button_ManageProfile)
        button_ManageProfile->setEnabled(QVPListIsAdminProfile() != 0);
}

void AdvancedColorOptions::createPDEItemForPPDKey()
{
    PDEControlView::createPDEItemForPPDKey();
    if (ctrlTable)
        PDECommon::commonAddMenuFromProfilePlist(ctrlTable.get());
}

void AdvancedColorOptions::changeItemAccodingQuickColor(int16_t quickColor, int16_t eco)
{
    if (!colormodel::isFixedPreset(quickColor))
        return;
    for (int i = 0; i < kMenuCount; ++i)
        selectPosition(menu(i), ppdChoiceCount(i), colormodel::presetPosition(quickColor, std::size_t(i)));
    if (eco)
        for (const std::size_t i : colormodel::econoModeOverrides(quickColor))
            selectPosition(menu(int(i)), ppdChoiceCount(int(i)), 0);
}

void AdvancedColorOptions::getSummaryItemAccodingQuickColor(int16_t quickColor, int16_t eco,
                                                            QVariantMap* summaryDict, QStringList* addArray) const
{
    if (!colormodel::isFixedPreset(quickColor))
        return;
    for (int i = 0; i < kMenuCount; ++i)
        addPresetSummary(menu(i), ppdChoiceCount(i), kMenus[i].summaryKey,
                         colormodel::presetPosition(quickColor, std::size_t(i)), summaryDict, addArray);
    if (eco)
        for (const std::size_t i : colormodel::econoModeOverrides(quickColor))
            addPresetSummary(menu(int(i)), ppdChoiceCount(int(i)), kMenus[i].summaryKey, 0, summaryDict, addArray);
}

void AdvancedColorOptions::downloadManagerButton()
{
    // Started detached when installed; nothing happens when it is absent.
    const QString program = QString::fromStdString(rx::fixedPath(rx::kResourceLoaderPath));
    const QFileInfo info(program);
    if (info.isFile() && info.isExecutable())
        QProcess::startDetached(program, {});
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
