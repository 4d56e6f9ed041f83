// What a job must carry: the colour options the panel would send for the
// options a job arrives with, whichever program prepared it.
//
// The model works on the choices the queue's PPD offers (OfferedOptions):
// a value is a choice position as the PPD lists it, exactly as the panel's
// menus hold it, so it serves any PPD with these options.
//   1. Each colour option starts at the PPD's default and takes the job's
//      value when it names one of the PPD's choices (a Boolean option is on
//      for "True", "TRUE" or "true" and off for any other text). A menu that
//      lists printer-stored profiles shows the profile the job names
//      (KEYWORD "Custom" = "True"), which travels as the option's first
//      choice; the model takes the profile to be in the user's list.
//   2. Under a fixed Quick Color preset the 21 advanced options take the
//      preset's positions, then EconoMode's overrides (a position the PPD
//      does not offer leaves the option as it is).
//   3. Every rule whose conditions hold forces its value, in table order.
//   Steps 2 and 3 repeat until nothing changes, so the preset is applied with
//   the EconoMode the rules leave.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace colormodel {

// One option of a PPD: its choice keywords in PPD order and its default.
struct OfferedOption {
    std::string defaultChoice;
    std::vector<std::string> choices;
};
// Keyword -> option, for the options a PPD offers.
using OfferedOptions = std::map<std::string, OfferedOption, std::less<>>;
// Option keyword -> choice keyword.
using OptionValues = std::map<std::string, std::string, std::less<>>;

// The options of the generated PPD: the model's choices and defaults.
OfferedOptions modelOptions();

// The colour options the job must carry, as the panel sends them: for every
// colour option of `ppd` that shows one of its choices, that choice. An
// option that shows none (a PickOne option whose default the PPD does not
// offer, a Boolean option without the "True" or "False" choice it is at, an
// option the PPD lacks) keeps the job's own value when the job has one, as
// the panel passes it on, and has no value otherwise. Options of `job` that
// are not colour options are not read.
OptionValues jobColorOptions(const OfferedOptions& ppd, const OptionValues& job);

}  // namespace colormodel
