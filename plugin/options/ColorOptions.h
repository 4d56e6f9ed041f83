// The basic view of the Color Options panel: Quick Color, Brightness, Color
// as Grayscale, Color Separation, EconoMode, EdgeType and GlossyMode.
#pragma once

#include "plugin/options/PDEControlView.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

class ColorOptions : public PDEControlView {
    Q_OBJECT
public:
    static constexpr int16_t kRowCount = 12;

    explicit ColorOptions(QWidget* parent = nullptr);

    void connectOutlets() override;
    void createPDEControlTable() override;

    // Index of the selected Quick Color item; -1 when none.
    int16_t getQuickColorValue() const;
    // EconoMode check box: 0 off, 1 on.
    int16_t getEconoModeValue() const;

    QComboBox* menu_QuickColor = nullptr;
    QComboBox* menu_Brightness = nullptr;
    QCheckBox* check_ColorAsGrayscale = nullptr;
    QCheckBox* check_ColorSeparation = nullptr;
    QCheckBox* check_EconomyPrint = nullptr;
    QComboBox* menu_EdgeStrength = nullptr;
    QCheckBox* check_GlossyMode = nullptr;
    QLabel* text_QuickColor = nullptr;
    QLabel* text_Brightness = nullptr;
    QLabel* text_Strength = nullptr;
    QPushButton* button_AdvanceColorOptions = nullptr;
};

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
