#include "colormodel/JobColorOptions.h"

#include "colormodel/ColorOptionTable.h"
#include "colormodel/ColorRules.h"
#include "colormodel/QuickColorPresets.h"

#include <algorithm>
#include <array>

namespace colormodel {

namespace {

// The panel's view of each colour option: a PickOne option's choice position
// (-1 = none shown; the number of choices = a printer-stored profile listed
// after them), a Boolean option's state (0 off, 1 on).
using Values = std::array<int, kColorOptionCount>;

const OfferedOption* offered(const OfferedOptions& ppd, std::size_t option)
{
    const auto it = ppd.find(kColorOptions[option].keyword);
    return it == ppd.end() ? nullptr : &it->second;
}

int positionOf(const OfferedOption* o, std::string_view choice)
{
    if (!o)
        return -1;
    const auto it = std::find(o->choices.begin(), o->choices.end(), choice);
    return it == o->choices.end() ? -1 : int(it - o->choices.begin());
}

int choiceCount(const OfferedOptions& ppd, std::size_t option)
{
    const OfferedOption* o = offered(ppd, option);
    return o ? int(o->choices.size()) : 0;
}

bool isOn(std::string_view choice) { return choice == "True" || choice == "TRUE" || choice == "true"; }

// The value a choice text gives the option; -1 for a PickOne choice the PPD
// does not offer.
int valueOf(const OfferedOptions& ppd, std::size_t option, std::string_view choice)
{
    if (kColorOptions[option].kind == OptionKind::Boolean)
        return isOn(choice) ? 1 : 0;
    return positionOf(offered(ppd, option), choice);
}

// True when the job carries a printer-stored profile for the option.
bool profileChosen(const OptionValues& job, std::size_t option)
{
    if (kColorOptions[option].profiles == ProfileItems::None)
        return false;
    const auto flag = job.find(std::string(kColorOptions[option].keyword) + "Custom");
    return flag != job.end() && flag->second == "True";
}

// Step 1: the PPD default, overridden by a job value the PPD understands or
// by a profile the job names.
Values startingValues(const OfferedOptions& ppd, const OptionValues& job)
{
    Values v{};
    for (std::size_t i = 0; i < kColorOptionCount; ++i) {
        const OfferedOption* o = offered(ppd, i);
        const bool pickOne = kColorOptions[i].kind == OptionKind::PickOne;
        v[i] = !o || o->choices.empty() ? (pickOne ? -1 : 0) : valueOf(ppd, i, o->defaultChoice);
        if (profileChosen(job, i)) {
            v[i] = choiceCount(ppd, i);
            continue;
        }
        const auto it = job.find(kColorOptions[i].keyword);
        if (it == job.end())
            continue;
        const int fromJob = valueOf(ppd, i, it->second);
        if (fromJob != -1)
            v[i] = fromJob;
    }
    return v;
}

void setPosition(const OfferedOptions& ppd, Values& v, std::size_t advanced, int position)
{
    const std::size_t option = kBasicOptionCount + advanced;
    if (position < choiceCount(ppd, option))
        v[option] = position;
}

// Step 2.
void applyPreset(const OfferedOptions& ppd, Values& v)
{
    const int preset = v[kQuickColor];
    if (!isFixedPreset(preset))
        return;
    for (std::size_t i = 0; i < kAdvancedOptionCount; ++i)
        setPosition(ppd, v, i, presetPosition(preset, i));
    if (v[kEconoMode] != 0)
        for (std::size_t i : econoModeOverrides(preset))
            setPosition(ppd, v, i, 0);
}

// A value in the rules' terms: a position counted from 1 (0 for none), a
// Boolean state as it is.
int ruleValue(std::size_t option, int value)
{
    if (kColorOptions[option].kind == OptionKind::Boolean)
        return value;
    return value < 0 ? 0 : value + 1;
}

bool ruleHolds(const ConstraintRule& rule, const Values& v)
{
    return matchRule(rule, [&v](const char* name, int32_t* value) {
        const int option = findControlName(name);
        if (option < 0)
            return false;
        *value = ruleValue(std::size_t(option), v[std::size_t(option)]);
        return true;
    });
}

void force(const OfferedOptions& ppd, const ConstraintRule& rule, Values& v)
{
    const int option = findControlName(rule.target.name);
    if (rule.change.op != kCstForceValue || option < 0)
        return;
    const std::size_t o = std::size_t(option);
    if (kColorOptions[o].kind == OptionKind::Boolean) {
        v[o] = rule.change.value;
        return;
    }
    const int position = rule.change.value < 1 ? 0 : rule.change.value - 1;
    if (position < choiceCount(ppd, o))
        v[o] = position;
}

// Step 3.
void applyRules(const OfferedOptions& ppd, Values& v)
{
    for (const ConstraintRule* rule = cstColorOption; rule->operation != kCstEndOfRules; ++rule)
        if (ruleHolds(*rule, v))
            force(ppd, *rule, v);
}

// The choice keyword a value shows; empty when it shows none.
std::string choiceOf(const OfferedOptions& ppd, std::size_t option, int value)
{
    const OfferedOption* o = offered(ppd, option);
    if (!o)
        return {};
    if (kColorOptions[option].kind == OptionKind::Boolean) {
        const char* keyword = value ? "True" : "False";
        return positionOf(o, keyword) >= 0 ? keyword : std::string();
    }
    if (value >= 0 && value < int(o->choices.size()))
        return o->choices[std::size_t(value)];
    // A profile travels as the option's first choice.
    const bool profile = value >= int(o->choices.size()) && kColorOptions[option].profiles != ProfileItems::None;
    return profile && !o->choices.empty() ? o->choices.front() : std::string();
}

}  // namespace

OfferedOptions modelOptions()
{
    OfferedOptions out;
    for (std::size_t i = 0; i < kColorOptionCount; ++i) {
        const ColorOption& option = kColorOptions[i];
        OfferedOption& o = out[option.keyword];
        for (const ColorChoice& c : option.choices)
            o.choices.emplace_back(c.keyword);
        const int d = option.defaultChoice >= 0 ? option.defaultChoice : presetPosition(0, i - kBasicOptionCount);
        o.defaultChoice = o.choices.at(std::size_t(d));
    }
    return out;
}

OptionValues jobColorOptions(const OfferedOptions& ppd, const OptionValues& job)
{
    Values v = startingValues(ppd, job);
    // Each round can only switch Boolean options off or set preset
    // positions, so this ends; the bound guards a rule table that would not.
    for (int round = 0; round < 64; ++round) {
        const Values before = v;
        applyPreset(ppd, v);
        applyRules(ppd, v);
        if (v == before)
            break;
    }
    OptionValues out;
    for (std::size_t i = 0; i < kColorOptionCount; ++i) {
        std::string choice = choiceOf(ppd, i, v[i]);
        const auto sent = job.find(kColorOptions[i].keyword);
        if (choice.empty() && sent != job.end())
            choice = sent->second;
        if (!choice.empty())
            out.emplace(kColorOptions[i].keyword, std::move(choice));
    }
    return out;
}

}  // namespace colormodel
