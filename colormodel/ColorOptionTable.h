// The colour options of the rx8240 as the panel's rows bind them: keyword,
// kind, choices in the order the panel's menus list them, the people's texts
// of the option and of each choice (also the keys of the translation
// catalogues), and the control name by which the rule table addresses the
// option. The first kBasicOptionCount options are the basic view's, the
// kAdvancedOptionCount after them the advanced view's 21 menus in the order
// of the Quick Color preset table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace colormodel {

enum class OptionKind {
    PickOne,  // a pop-up menu; its value is a choice position
    Boolean,  // a check box; its choices are "True" and "False"
};

// The printer-stored colour profiles a menu lists after the PPD's choices.
// A chosen profile travels as the option's first choice and the job
// attributes KEYWORD "Custom" = "True" and KEYWORD "CustomFilename".
enum class ProfileItems : int16_t { None = 0, RGBSource = 1, Destination = 2, Simulation = 3 };

struct ColorChoice {
    const char* keyword;  // the PPD choice keyword
    const char* text;     // English text for people; a catalogue key
};

struct ColorOption {
    const char* keyword;      // PPD option keyword, without the asterisk
    OptionKind kind;
    const char* text;         // English option text for people; a catalogue key
    const char* controlName;  // the rule table's name for it; "" = no rule addresses it
    std::span<const ColorChoice> choices;  // in menu order
    int defaultChoice;        // position of the generated PPD's default; -1 = preset 0 decides
    ProfileItems profiles = ProfileItems::None;
};

inline constexpr std::size_t kBasicOptionCount = 7;
inline constexpr std::size_t kAdvancedOptionCount = 21;
inline constexpr std::size_t kColorOptionCount = kBasicOptionCount + kAdvancedOptionCount;

// Every colour option: the basic ones, then the advanced ones.
extern const std::array<ColorOption, kColorOptionCount> kColorOptions;

// Positions in kColorOptions of the basic options the model reads.
enum BasicOption : std::size_t {
    kQuickColor = 0,
    kBrightness = 1,
    kColorAsGray = 2,
    kColorSeparation = 3,
    kEconoMode = 4,
    kEdgeType = 5,
    kGlossyMode = 6,
};

// Advanced option i (0..20, preset table order).
inline const ColorOption& advancedOption(std::size_t i) { return kColorOptions[kBasicOptionCount + i]; }

// The option with this keyword, or null.
const ColorOption* findColorOption(std::string_view keyword);
// Position in kColorOptions of the option the rules call `controlName`; -1
// when no option carries the name (a button, an unknown name, "").
int findControlName(std::string_view controlName);

// The group the options form in the PPD: its keyword (the one print dialogs
// show as their colour page) and its English text.
inline constexpr const char* kColorGroupKeyword = "ColorPage";
inline constexpr const char* kColorGroupText = "Color Options";

}  // namespace colormodel
