#include "plugin/options/AdvancedColorOptions.h"

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

// The 21 menus: outlet name, PPD keyword, title and summary keys, constraint
// name, profile class. Labels carry the menu's title key.
struct MenuRow {
    const char* outlet;
    const char* ppdKey;
    const char* titleKey;
    const char* summaryKey;
    const char* controlName;
    int16_t profileClass;
};

constexpr MenuRow kMenus[AdvancedColorOptions::kMenuCount] = {
    {"menu_iRGBSource", "QVImageRGBSource", "RGB Source:", "Image RGB Source", "ImageRGBSourcePopup",
     kRGBSourceProfileItems},
    {"menu_iRGBIntent", "QVImageRenderIntent", "RGB Intent:", "Image RGB Intent", "ImageRenderIntentPopup",
     kNoProfileItems},
    {"menu_iRGBGrayTreatment", "QVImageGrayTreatment", "RGB Gray Treatment:", "Image RGB Gray Treatment",
     "ImageGrayTreatmentPopup", kNoProfileItems},
    {"menu_iDestinationProfile", "QVImageDestinationProfile", "Destination Profile:", "Image Destination Profile",
     "ImageDestinationProfilePopup", kDestinationProfileItems},
    {"menu_iHalftone", "QVImageHalftone", "Halftone:", "Image Halftone", "", kNoProfileItems},
    {"menu_iEdgeEnhancement", "QVImageEdgeEnhance", "EdgeEnhance:", "Image EdgeEnhance", "ImageEdgeEnhancePopup",
     kNoProfileItems},
    {"menu_tRGBSource", "QVTextRGBSource", "RGB Source:", "Text RGB Source", "TextRGBSourcePopup",
     kRGBSourceProfileItems},
    {"menu_tRGBIntent", "QVTextRenderIntent", "RGB Intent:", "Text RGB Intent", "TextRenderIntentPopup",
     kNoProfileItems},
    {"menu_tRGBGrayTreatment", "QVTextGrayTreatment", "RGB Gray Treatment:", "Text RGB Gray Treatment",
     "TextGrayTreatmentPopup", kNoProfileItems},
    {"menu_tDestinationProfile", "QVTextDestinationProfile", "Destination Profile:", "Text Destination Profile",
     "TextDestinationProfilePopup", kDestinationProfileItems},
    {"menu_tHalftone", "QVTextHalftone", "Halftone:", "Text Halftone", "", kNoProfileItems},
    {"menu_tEdgeEnhancement", "QVTextEdgeEnhance", "EdgeEnhance:", "Text EdgeEnhance", "TextEdgeEnhancePopup",
     kNoProfileItems},
    {"menu_gRGBSource", "QVGraphicsRGBSource", "RGB Source:", "Graphics RGB Source", "GraphicsRGBSourcePopup",
     kRGBSourceProfileItems},
    {"menu_gRGBIntent", "QVGraphicsRenderIntent", "RGB Intent:", "Graphics RGB Intent", "GraphicsRenderIntentPopup",
     kNoProfileItems},
    {"menu_gRGBGrayTreatment", "QVGraphicsGrayTreatment", "RGB Gray Treatment:", "Graphics RGB Gray Treatment",
     "GraphicsGrayTreatmentPopup", kNoProfileItems},
    {"menu_gDestinationProfile", "QVGraphicsDestinationProfile", "Destination Profile:",
     "Graphics Destination Profile", "GraphicsDestinationProfilePopup", kDestinationProfileItems},
    {"menu_gHalftone", "QVGraphicsHalftone", "Halftone:", "Graphics Halftone", "", kNoProfileItems},
    {"menu_gEdgeEnhancement", "QVGraphicsEdgeEnhance", "EdgeEnhance:", "Graphics EdgeEnhance",
     "GraphicsEdgeEnhancePopup", kNoProfileItems},
    {"menu_sSimulationProfile", "QVSimSource", "Simulation Profile:", "Simulation Profile", "SimulationSourcePopup",
     kSimulationProfileItems},
    {"menu_sMatchPaperColor", "QVSimRenderIntent", "Match Paper Color:", "Match Paper Color",
     "SimulationRenderIntentPopup", kNoProfileItems},
    {"menu_sCMYKGrayTreatment", "QVSimGrayTreatment", "CMYK Gray Treatment:", "CMYK Gray Treatment",
     "SimulationGrayTreatmentPopup", kNoProfileItems},
};

// Quick Color presets: the position of each menu (table order) under presets
// 0, 1 and 2.
constexpr int8_t kPresetPositions[AdvancedColorOptions::kMenuCount][3] = {
    {1, 1, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 0}, {1, 1, 2}, {0, 0, 1},  // Image
    {1, 1, 1}, {1, 0, 1}, {1, 0, 1}, {0, 0, 0}, {2, 1, 2}, {1, 0, 1},  // Text
    {1, 1, 1}, {1, 0, 1}, {1, 0, 1}, {0, 0, 0}, {1, 1, 2}, {1, 0, 1},  // Graphics
    {0, 0, 0}, {0, 0, 0}, {0, 0, 0},                                   // Simulation
};

// EconoMode overrides: menus (table order) set to position 0, in order.
constexpr int kImageEdge = 5;
constexpr int kGraphicsEdge = 17;
struct EcoOverride {
    int menus[2];
    int count;
};
constexpr EcoOverride kEcoOverrides[3] = {
    {{kGraphicsEdge, 0}, 1},
    {{0, 0}, 0},
    {{kImageEdge, kGraphicsEdge}, 2},
};

bool isPreset(int16_t q) { return q >= 0 && q <= 2; }

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
        rows[n++] = {menu(i), PopUpMenu, m.ppdKey, m.titleKey, m.summaryKey, m.controlName, m.profileClass, nullptr};
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
    if (!isPreset(quickColor))
        return;
    for (int i = 0; i < kMenuCount; ++i)
        selectPosition(menu(i), ppdChoiceCount(i), kPresetPositions[i][quickColor]);
    if (eco) {
        const EcoOverride& o = kEcoOverrides[quickColor];
        for (int k = 0; k < o.count; ++k)
            selectPosition(menu(o.menus[k]), ppdChoiceCount(o.menus[k]), 0);
    }
}

void AdvancedColorOptions::getSummaryItemAccodingQuickColor(int16_t quickColor, int16_t eco,
                                                            QVariantMap* summaryDict, QStringList* addArray) const
{
    if (!isPreset(quickColor))
        return;
    for (int i = 0; i < kMenuCount; ++i)
        addPresetSummary(menu(i), ppdChoiceCount(i), kMenus[i].summaryKey, kPresetPositions[i][quickColor],
                         summaryDict, addArray);
    if (eco) {
        const EcoOverride& o = kEcoOverrides[quickColor];
        for (int k = 0; k < o.count; ++k)
            addPresetSummary(menu(o.menus[k]), ppdChoiceCount(o.menus[k]), kMenus[o.menus[k]].summaryKey, 0,
                             summaryDict, addArray);
    }
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
