// The colour rules as a PPD carries them for dialogs that show the PPD's
// options themselves instead of the panel: *cupsUIConstraints and
// *cupsUIResolver entries generated from the same rule table the engine
// applies, so that the PPD never holds a hand-written copy.
//
// A rule that forces a check box off while another check box is on says that
// the two options' True choices exclude each other, and which one gives way:
// each of its conditions becomes one constraint (both True) with a resolver
// that sets the target False. A pair already constrained by an earlier rule
// is left out: the engine applies the earlier rule first, so its forced value
// decides. Rules that only gray out a control keep the control's value, which
// a constraint cannot say (CUPS would flag the pair and change a value), so
// they are not carried.
#pragma once

#include "plugin/constraints/ConstraintRules.h"

#include <string>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

// The PPD lines for `rules` (ending in kCstEndOfRules) over `table`, which
// maps the rules' control names to PPD options: per expressed pair a
// "*cupsUIConstraints NAME" line and, once per NAME, its "*cupsUIResolver
// NAME" line, in rule order, each ending in "\n". Empty when no rule can be
// expressed.
std::string cupsConstraintLines(const ConstraintRule* rules, const PDEControlItem* table);

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
