#include "colormodel/QuickColorPresets.h"

#include <cassert>

namespace colormodel {

namespace {

// Positions of the 21 advanced options (table order) under presets 0, 1, 2.
constexpr int8_t kPresetPositions[kAdvancedOptionCount][kPresetCount] = {
    {1, 1, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 0}, {1, 1, 2}, {0, 0, 1},  // Image
    {1, 1, 1}, {1, 0, 1}, {1, 0, 1}, {0, 0, 0}, {2, 1, 2}, {1, 0, 1},  // Text
    {1, 1, 1}, {1, 0, 1}, {1, 0, 1}, {0, 0, 0}, {1, 1, 2}, {1, 0, 1},  // Graphics
    {0, 0, 0}, {0, 0, 0}, {0, 0, 0},                                   // Simulation
};

// Hand-indexed rows of the advanced table, checked against the keywords.
constexpr std::size_t kImageEdge = 5;
constexpr std::size_t kGraphicsEdge = 17;

constexpr std::size_t kPreset0Overrides[] = {kGraphicsEdge};
constexpr std::size_t kPreset2Overrides[] = {kImageEdge, kGraphicsEdge};

}  // namespace

int presetPosition(int preset, std::size_t option)
{
    assert(isFixedPreset(preset) && option < kAdvancedOptionCount);
    return kPresetPositions[option][preset];
}

std::span<const std::size_t> econoModeOverrides(int preset)
{
    assert(isFixedPreset(preset));
    assert(std::string_view(advancedOption(kImageEdge).keyword) == "QVImageEdgeEnhance");
    assert(std::string_view(advancedOption(kGraphicsEdge).keyword) == "QVGraphicsEdgeEnhance");
    switch (preset) {
    case 0:
        return kPreset0Overrides;
    case 2:
        return kPreset2Overrides;
    default:
        return {};
    }
}

}  // namespace colormodel
