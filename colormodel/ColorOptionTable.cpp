#include "colormodel/ColorOptionTable.h"

namespace colormodel {

namespace {

constexpr ColorChoice kQuickColorChoices[] = {
    {"Standard", "Standard"}, {"Vivid", "Vivid"}, {"Photo", "Photo"}, {"UserDefined", "Custom"}};
constexpr ColorChoice kBrightnessChoices[] = {
    {"Lightest", "Lightest"}, {"Lighter", "Lighter"}, {"Normal", "Normal"},
    {"Darker", "Darker"},     {"Darkest", "Darkest"}};
constexpr ColorChoice kBooleanChoices[] = {{"True", "On"}, {"False", "Off"}};
constexpr ColorChoice kEdgeTypeChoices[] = {{"Off", "Off"}, {"Thin", "Thin"}, {"Thick", "Thick"}};
constexpr ColorChoice kRGBSourceChoices[] = {
    {"None", "None"}, {"sRGB", "sRGB"}, {"AdobeRGB", "Adobe RGB (1998)"}, {"AppleRGB", "Monitor RGB"}};
constexpr ColorChoice kIntentChoices[] = {
    {"Perceptual", "Perceptual"}, {"Saturation", "Saturation"}, {"Colorimetric", "Relative Colorimetric"}};
constexpr ColorChoice kGrayTreatmentChoices[] = {{"Black", "Black Only"}, {"Composite", "Composite CMYK"}};
constexpr ColorChoice kDestinationChoices[] = {{"Auto", "Auto"}, {"Vivid", "Vivid"}, {"Photo", "Photo"}};
constexpr ColorChoice kHalftoneChoices[] = {{"Detail", "Detail"}, {"Smooth", "Smooth"}, {"Stochastic", "Stochastic"}};
constexpr ColorChoice kOffOnChoices[] = {{"Off", "Off"}, {"On", "On"}};
constexpr ColorChoice kSimulationChoices[] = {
    {"None", "None"}, {"SWOP", "SWOP"}, {"Euroscale", "Euroscale"}, {"JapanColor", "Japan Color"}};

constexpr OptionKind P = OptionKind::PickOne;

constexpr OptionKind B = OptionKind::Boolean;

}  // namespace

// Defaults of the basic options are the panel's start (Standard, Normal,
// every box off, edges Off); the advanced options' defaults are preset 0's.
const std::array<ColorOption, kColorOptionCount> kColorOptions = {{
    {"QVQuickColor", P, "Quick Color", "QuickColorPopup", kQuickColorChoices, 0},
    {"QVBrightness", P, "Brightness", "", kBrightnessChoices, 2},
    {"QVColorAsGray", B, "Color as Grayscale", "ColorAsGrayCheckBox", kBooleanChoices, 1},
    {"QVColorSeparation", B, "Color Separation", "ColorSeparationCheckBox", kBooleanChoices, 1},
    {"QVEconoMode", B, "Economy Mode", "EconoModeCheckBox", kBooleanChoices, 1},
    {"QVEdgeType", P, "Edge Type", "EdgeTypePopup", kEdgeTypeChoices, 0},
    {"QVGlossyMode", B, "Glossy Mode", "GlossyModeCheckBox", kBooleanChoices, 1},
    // Image
    {"QVImageRGBSource", P, "Image RGB Source", "ImageRGBSourcePopup", kRGBSourceChoices, -1, ProfileItems::RGBSource},
    {"QVImageRenderIntent", P, "Image RGB Intent", "ImageRenderIntentPopup", kIntentChoices, -1},
    {"QVImageGrayTreatment", P, "Image RGB Gray Treatment", "ImageGrayTreatmentPopup", kGrayTreatmentChoices, -1},
    {"QVImageDestinationProfile", P, "Image Destination Profile", "ImageDestinationProfilePopup",
     kDestinationChoices, -1, ProfileItems::Destination},
    {"QVImageHalftone", P, "Image Halftone", "", kHalftoneChoices, -1},
    {"QVImageEdgeEnhance", P, "Image Edge Enhancement", "ImageEdgeEnhancePopup", kOffOnChoices, -1},
    // Text
    {"QVTextRGBSource", P, "Text RGB Source", "TextRGBSourcePopup", kRGBSourceChoices, -1, ProfileItems::RGBSource},
    {"QVTextRenderIntent", P, "Text RGB Intent", "TextRenderIntentPopup", kIntentChoices, -1},
    {"QVTextGrayTreatment", P, "Text RGB Gray Treatment", "TextGrayTreatmentPopup", kGrayTreatmentChoices, -1},
    {"QVTextDestinationProfile", P, "Text Destination Profile", "TextDestinationProfilePopup", kDestinationChoices,
     -1, ProfileItems::Destination},
    {"QVTextHalftone", P, "Text Halftone", "", kHalftoneChoices, -1},
    {"QVTextEdgeEnhance", P, "Text Edge Enhancement", "TextEdgeEnhancePopup", kOffOnChoices, -1},
    // Graphics
    {"QVGraphicsRGBSource", P, "Graphics RGB Source", "GraphicsRGBSourcePopup", kRGBSourceChoices, -1,
     ProfileItems::RGBSource},
    {"QVGraphicsRenderIntent", P, "Graphics RGB Intent", "GraphicsRenderIntentPopup", kIntentChoices, -1},
    {"QVGraphicsGrayTreatment", P, "Graphics RGB Gray Treatment", "GraphicsGrayTreatmentPopup",
     kGrayTreatmentChoices, -1},
    {"QVGraphicsDestinationProfile", P, "Graphics Destination Profile", "GraphicsDestinationProfilePopup",
     kDestinationChoices, -1, ProfileItems::Destination},
    {"QVGraphicsHalftone", P, "Graphics Halftone", "", kHalftoneChoices, -1},
    {"QVGraphicsEdgeEnhance", P, "Graphics Edge Enhancement", "GraphicsEdgeEnhancePopup", kOffOnChoices, -1},
    // Simulation
    {"QVSimSource", P, "Simulation Profile", "SimulationSourcePopup", kSimulationChoices, -1, ProfileItems::Simulation},
    {"QVSimRenderIntent", P, "Match Paper Color", "SimulationRenderIntentPopup", kOffOnChoices, -1},
    {"QVSimGrayTreatment", P, "CMYK Gray Treatment", "SimulationGrayTreatmentPopup", kGrayTreatmentChoices, -1},
}};

const ColorOption* findColorOption(std::string_view keyword)
{
    for (const ColorOption& option : kColorOptions)
        if (keyword == option.keyword)
            return &option;
    return nullptr;
}

int findControlName(std::string_view controlName)
{
    if (controlName.empty())
        return -1;
    for (std::size_t i = 0; i < kColorOptions.size(); ++i)
        if (controlName == kColorOptions[i].controlName)
            return int(i);
    return -1;
}

}  // namespace colormodel
