// The advanced view of the Color Options panel: per object type (Image,
// Text, Graphics) the RGB source, intent, gray treatment, destination
// profile, halftone and edge enhancement, and the three Simulation menus, on
// four tabs; the profile management, resource loader and hide buttons.
#pragma once

#include "plugin/options/PDEControlView.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

class AdvancedColorOptions : public PDEControlView {
    Q_OBJECT
public:
    static constexpr int16_t kRowCount = 47;
    static constexpr int kMenuCount = 21;

    explicit AdvancedColorOptions(QWidget* parent = nullptr);

    void connectOutlets() override;
    // Builds the 47-row table, selects the Image tab and enables the profile
    // management button when the current user's list can be written.
    void createPDEControlTable() override;
    // Titles and fills the menus from the PPD, then appends the profile items.
    void createPDEItemForPPDKey() override;

    // Sets the 21 menus to the positions of Quick Color preset `quickColor`
    // (0, 1, 2; anything else changes nothing) with the EconoMode overrides.
    // A menu whose PPD offers fewer choices than the position is left as it
    // is (its profile items never stand in for a missing choice); the
    // summary then has no entry for it.
    void changeItemAccodingQuickColor(int16_t quickColor, int16_t eco);
    // Adds the preset's values to the summary without touching the menus.
    void getSummaryItemAccodingQuickColor(int16_t quickColor, int16_t eco, QVariantMap* summaryDict,
                                          QStringList* addArray) const;

    // The 21 menu outlets in table order.
    QComboBox* menu(int i) const;
    // The number of PPD choices of menu i; 0 before the table is built.
    int ppdChoiceCount(int i) const;

public slots:
    // Starts the resource loader application; nothing happens when it is
    // not installed.
    void downloadManagerButton();

public:
    QComboBox* menu_iRGBSource = nullptr;
    QComboBox* menu_iRGBIntent = nullptr;
    QComboBox* menu_iRGBGrayTreatment = nullptr;
    QComboBox* menu_iDestinationProfile = nullptr;
    QComboBox* menu_iHalftone = nullptr;
    QComboBox* menu_iEdgeEnhancement = nullptr;
    QComboBox* menu_tRGBSource = nullptr;
    QComboBox* menu_tRGBIntent = nullptr;
    QComboBox* menu_tRGBGrayTreatment = nullptr;
    QComboBox* menu_tDestinationProfile = nullptr;
    QComboBox* menu_tHalftone = nullptr;
    QComboBox* menu_tEdgeEnhancement = nullptr;
    QComboBox* menu_gRGBSource = nullptr;
    QComboBox* menu_gRGBIntent = nullptr;
    QComboBox* menu_gRGBGrayTreatment = nullptr;
    QComboBox* menu_gDestinationProfile = nullptr;
    QComboBox* menu_gHalftone = nullptr;
    QComboBox* menu_gEdgeEnhancement = nullptr;
    QComboBox* menu_sSimulationProfile = nullptr;
    QComboBox* menu_sMatchPaperColor = nullptr;
    QComboBox* menu_sCMYKGrayTreatment = nullptr;
    QTabWidget* tab_SwitchVew = nullptr;
    QLabel* labels_[kMenuCount] = {};
    QPushButton* button_ManageProfile = nullptr;
    QPushButton* button_DownloadManager = nullptr;
    QPushButton* button_HideAdvancedOptions = nullptr;
};

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
