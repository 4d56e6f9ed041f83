// The Quick Color presets: under a fixed preset (Quick Color positions 0, 1
// and 2) the 21 advanced options take the preset's positions, and EconoMode
// then sets some edge enhancements to position 0. Position n is the
// (n+1)-th choice of the option as the PPD lists it.
#pragma once

#include "colormodel/ColorOptionTable.h"

#include <cstdint>
#include <span>

namespace colormodel {

inline constexpr int kPresetCount = 3;
// Quick Color's position of the preset the user defines in the advanced view.
inline constexpr int kCustomQuickColor = 3;

// True for the positions 0, 1 and 2; Custom, -1 and anything else select no
// preset.
constexpr bool isFixedPreset(int quickColor) { return quickColor >= 0 && quickColor < kPresetCount; }

// The position of advanced option `option` (0..20) under preset `preset`
// (0..2).
int presetPosition(int preset, std::size_t option);

// The advanced options (0..20) that EconoMode sets to position 0 under
// `preset` (0..2), in the order they are applied; empty for preset 1.
std::span<const std::size_t> econoModeOverrides(int preset);

}  // namespace colormodel
