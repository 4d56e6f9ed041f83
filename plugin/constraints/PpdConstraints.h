// The colour rules' PPD lines over a control table of the panel, which maps
// the rules' control names to PPD options (the lines themselves are made by
// colormodel/PpdConstraintLines.h).
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
