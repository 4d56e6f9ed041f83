#include "plugin/constraints/PpdConstraints.h"

#include "plugin/constraints/ConstraintEngine.h"

#include <set>
#include <utility>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

namespace {

// The PPD option of a check box the table holds under `name`; null otherwise.
const char* checkBoxOption(const char* name, const PDEControlItem* table)
{
    const PDEControlItem* row = cstFindControl(name, table);
    return row && row->kind == CheckBox && isBound(*row) ? row->ppdKey : nullptr;
}

// True when the expression holds exactly when any one condition holds: it
// names condition slots and combines them with OR only.
bool anyConditionHolds(const ConstraintRule& rule)
{
    for (int i = 0; i < kCstMaxExpressionTokens && rule.expression[i] != kCstEnd; ++i)
        if (rule.expression[i] >= kCstFirstCode && rule.expression[i] != kCstOr)
            return false;
    return true;
}

// The option a rule forces off, when it is a check box forced to 0 under
// conditions combined with OR; null for any other rule.
const char* forcedOffOption(const ConstraintRule& rule, const PDEControlItem* table)
{
    if (rule.change.op != kCstForceValue || rule.change.value != 0 || !anyConditionHolds(rule))
        return nullptr;
    return checkBoxOption(rule.target.name, table);
}

// The option a condition needs on: a check box compared equal to 1.
const char* conditionOption(const ConstraintTerm& condition, const PDEControlItem* table)
{
    if (condition.op != kCstEqual || condition.value != 1)
        return nullptr;
    return checkBoxOption(condition.name, table);
}

}  // namespace

std::string cupsConstraintLines(const ConstraintRule* rules, const PDEControlItem* table)
{
    std::string out;
    std::set<std::pair<std::string, std::string>> constrained;
    std::set<std::string> resolvers;
    for (const ConstraintRule* rule = rules; rule->operation != kCstEndOfRules; ++rule) {
        const char* target = forcedOffOption(*rule, table);
        for (int k = 0; target && k < rule->conditionCount; ++k) {
            const char* on = conditionOption(rule->conditions[k], table);
            if (!on || !constrained.insert(std::minmax<std::string>(on, target)).second)
                continue;
            const std::string resolver = std::string(target) + "Off";
            out += "*cupsUIConstraints " + resolver + ": \"*" + on + " True *" + target + " True\"\n";
            if (resolvers.insert(resolver).second)
                out += "*cupsUIResolver " + resolver + ": \"*" + target + " False\"\n";
        }
    }
    return out;
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
