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

// profileClass of a pop-up menu that also lists colour profiles.
enum ProfileMenuClass : int16_t {
    kNoProfileItems = 0,
    kRGBSourceProfileItems = 1,
    kDestinationProfileItems = 2,
    kSimulationProfileItems = 3,
};

// True for a row whose menu also lists profiles (profileClass 1 to 3).
inline bool isProfileRow(const PDEControlItem& row)
{
    return row.profileClass >= kRGBSourceProfileItems && row.profileClass <= kSimulationProfileItems;
}

// ---- The two ways a table is walked ---------------------------------------
// A table's rows as a range for a range-for loop, from `first` up to (not
// including) the first row for which IsEnd holds; empty for a null table.
template <typename Row, bool (*IsEnd)(const PDEControlItem&)>
struct TableRows {
    struct End {};
    struct Iterator {
        Row* row;
        Row& operator*() const { return *row; }
        Iterator& operator++()
        {
            ++row;
            return *this;
        }
        bool operator!=(End) const { return row && !IsEnd(*row); }
    };
    Row* first;
    Iterator begin() const { return {first}; }
    End end() const { return {}; }
};

inline bool hasNoControl(const PDEControlItem& row) { return !row.control; }
inline bool isEndOfTable(const PDEControlItem& row) { return row.kind == EndOfTable; }

// The rows up to the first one without a control: the walk of every PPD,
// print-settings, title and summary operation. An outlet never connected
// ends the walk at its row.
template <typename Row>
TableRows<Row, hasNoControl> controlRows(Row* table)
{
    return {table};
}

// The rows up to the terminator (kind EndOfTable), rows without a control
// included: the walk of the compound builder and the constraint engine.
template <typename Row>
TableRows<Row, isEndOfTable> rowsToEnd(Row* table)
{
    return {table};
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846

namespace pde = pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846;
