// A row of a control table: binds one control of the Color Options panel to
// a PPD option, to the localisation keys of its title and summary entry, to
// the name the constraint rules address it by, and to the option's choices.
#pragma once

#include <QList>
#include <QString>
#include <array>
#include <cstdint>

class QWidget;

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

using OSStatus = int32_t;

// Status codes of the plug-in's operations.
inline constexpr OSStatus kNoErr = 0;
inline constexpr OSStatus kParamErr = -50;               // bad or missing argument
inline constexpr OSStatus kMemFullErr = -108;            // out of memory
inline constexpr OSStatus kPPDOptionNotFoundErr = -30888;  // the PPD lacks the option
inline constexpr OSStatus kArrayCreateErr = -30870;      // an array could not be created

// Control kinds; they share one numbering with the constraint rule codes.
enum PDEControlKind : int32_t {
    EndOfTable = 1032,
    StaticText = 1034,
    PopUpMenu = 1035,
    CheckBox = 1036,
    PushButton = 1039,
    TabView = 1040,
};

// One choice of a PPD option: option keyword, the option's default choice,
// this choice's keyword, this choice's text.
using UIListEntry = std::array<QString, 4>;
enum UIListField { kUIOptionKey = 0, kUIDefaultChoice = 1, kUIChoiceKey = 2, kUIChoiceText = 3 };
// The option's choices in PPD order.
using UIList = QList<UIListEntry>;

struct PDEControlItem {
    QWidget* control;          // not owned; null ends most walks
    int32_t kind;              // PDEControlKind
    const char* ppdKey;        // "" = bound to no option
    const char* titleKey;      // null = title left as it is
    const char* summaryKey;    // null = not summarised
    const char* controlName;   // "" = not addressable by the constraint rules
    int16_t profileClass;      // 0 ordinary; 1 RGB source, 2 destination, 3 simulation profiles
    UIList* uiList;            // owned by the view's table; null without an option
};

inline constexpr PDEControlItem kEndOfTableRow = {nullptr, EndOfTable, "", nullptr, nullptr, "", 0, nullptr};

inline bool isBound(const PDEControlItem& row) { return row.ppdKey && row.ppdKey[0] != '\0'; }

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846

namespace pde = pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846;
