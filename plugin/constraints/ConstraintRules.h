// The colour rule format and the rule table cstColorOption as the panel's
// engine names them: the table itself lives in the colour model, the one
// copy the panel, the job filter and the PPD share.
#pragma once

#include "colormodel/ColorRules.h"
#include "plugin/options/PDEControlItem.h"

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

using enum colormodel::ConstraintCode;
using colormodel::ConstraintAction;
using colormodel::ConstraintRule;
using colormodel::ConstraintTerm;
using colormodel::cstColorOption;
using colormodel::cstColorOptionCount;
using colormodel::kCstMaxConditions;
using colormodel::kCstMaxExpressionTokens;
using colormodel::kCstNameSize;

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
