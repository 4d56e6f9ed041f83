#include "plugin/options/ColorOptions.h"

#include "colormodel/ColorOptionTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

ColorOptions::ColorOptions(QWidget* parent) : PDEControlView(parent) {}

void ColorOptions::connectOutlets()
{
    menu_QuickColor = outlet<QComboBox>(this, "menu_QuickColor");
    menu_Brightness = outlet<QComboBox>(this, "menu_Brightness");
    check_ColorAsGrayscale = outlet<QCheckBox>(this, "check_ColorAsGrayscale");
    check_ColorSeparation = outlet<QCheckBox>(this, "check_ColorSeparation");
    check_EconomyPrint = outlet<QCheckBox>(this, "check_EconomyPrint");
    menu_EdgeStrength = outlet<QComboBox>(this, "menu_EdgeStrength");
    check_GlossyMode = outlet<QCheckBox>(this, "check_GlossyMode");
    text_QuickColor = outlet<QLabel>(this, "text_QuickColor");
    text_Brightness = outlet<QLabel>(this, "text_Brightness");
    text_Strength = outlet<QLabel>(this, "text_Strength");
    button_AdvanceColorOptions = outlet<QPushButton>(this, "button_AdvanceColorOptions");
}

namespace {

// The PPD keyword and constraint name of a basic option come from the colour
// model.
const char* keyword(colormodel::BasicOption o) { return colormodel::kColorOptions[o].keyword; }
const char* controlName(colormodel::BasicOption o) { return colormodel::kColorOptions[o].controlName; }

}  // namespace

void ColorOptions::createPDEControlTable()
{
    using namespace colormodel;
    const PDEControlItem rows[kRowCount] = {
        {menu_QuickColor, PopUpMenu, keyword(kQuickColor), nullptr, "Quick Color", controlName(kQuickColor), 0,
         nullptr},
        {menu_Brightness, PopUpMenu, keyword(kBrightness), nullptr, "Brightness", controlName(kBrightness), 0,
         nullptr},
        {check_ColorAsGrayscale, CheckBox, keyword(kColorAsGray), "Color as Grayscale", "Color as Grayscale",
         controlName(kColorAsGray), 0, nullptr},
        {check_ColorSeparation, CheckBox, keyword(kColorSeparation), "Color Separation", "Color Separation",
         controlName(kColorSeparation), 0, nullptr},
        {check_EconomyPrint, CheckBox, keyword(kEconoMode), "EconoMode", "EconoMode", controlName(kEconoMode), 0,
         nullptr},
        {menu_EdgeStrength, PopUpMenu, keyword(kEdgeType), nullptr, "EdgeType", controlName(kEdgeType), 0, nullptr},
        {check_GlossyMode, CheckBox, keyword(kGlossyMode), "GlossyMode", "GlossyMode", controlName(kGlossyMode), 0,
         nullptr},
        {text_QuickColor, StaticText, "", "Quick Color:", nullptr, "", 0, nullptr},
        {text_Brightness, StaticText, "", "Brightness:", nullptr, "", 0, nullptr},
        {text_Strength, StaticText, "", "EdgeType:", nullptr, "", 0, nullptr},
        {button_AdvanceColorOptions, PushButton, "", "Advanced Color Options", nullptr, "GoToAdvancedOptionsButton",
         0, nullptr},
        kEndOfTableRow,
    };
    buildTable(rows, kRowCount);
}

int16_t ColorOptions::getQuickColorValue() const
{
    return menu_QuickColor ? int16_t(menu_QuickColor->currentIndex()) : int16_t(-1);
}

int16_t ColorOptions::getEconoModeValue() const
{
    return check_EconomyPrint && check_EconomyPrint->isChecked() ? 1 : 0;
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
