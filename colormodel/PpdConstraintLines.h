// The colour rules as a PPD carries them for dialogs that show the PPD's
// options themselves instead of the panel: *cupsUIConstraints and
// *cupsUIResolver entries generated from the rule table, so that no PPD
// holds a hand-written copy.
//
// A rule that forces a check box off while another check box is on says that
// the two options' True choices exclude each other, and which one gives way:
// each of its conditions becomes one constraint (both True) with a resolver
// that sets the target False. A pair already constrained by an earlier rule
// is left out: the rules apply in order, so the earlier rule's forced value
// decides. Rules that only gray out a control keep the control's value, which
// a constraint cannot say (CUPS would flag the pair and change a value), so
// they are not carried.
#pragma once

#include "colormodel/ColorRules.h"

#include <functional>
#include <string>

namespace colormodel {

// The PPD option keyword of the check box the rules call `controlName`, or
// null when the name is not a check box bound to an option.
using CheckBoxOptionLookup = std::function<const char*(const char* controlName)>;

// The PPD lines for `rules` (ending in kCstEndOfRules): per expressed pair a
// "*cupsUIConstraints NAME" line and, once per NAME, its "*cupsUIResolver
// NAME" line, in rule order, each ending in "\n". Empty when no rule can be
// expressed.
std::string cupsConstraintLines(const ConstraintRule* rules, const CheckBoxOptionLookup& checkBoxOption);

// The same over the model's own options (ColorOptionTable.h).
std::string cupsConstraintLines();

}  // namespace colormodel
