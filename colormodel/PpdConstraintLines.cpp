#include "colormodel/PpdConstraintLines.h"

#include "colormodel/ColorOptionTable.h"

#include <set>
#include <utility>

namespace colormodel {

namespace {

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
const char* forcedOffOption(const ConstraintRule& rule, const CheckBoxOptionLookup& checkBoxOption)
{
    if (rule.change.op != kCstForceValue || rule.change.value != 0 || !anyConditionHolds(rule))
        return nullptr;
    return checkBoxOption(rule.target.name);
}

// The option a condition needs on: a check box compared equal to 1.
const char* conditionOption(const ConstraintTerm& condition, const CheckBoxOptionLookup& checkBoxOption)
{
    if (condition.op != kCstEqual || condition.value != 1)
        return nullptr;
    return checkBoxOption(condition.name);
}

}  // namespace

std::string cupsConstraintLines(const ConstraintRule* rules, const CheckBoxOptionLookup& checkBoxOption)
{
    std::string out;
    std::set<std::pair<std::string, std::string>> constrained;
    std::set<std::string> resolvers;
    for (const ConstraintRule* rule = rules; rule->operation != kCstEndOfRules; ++rule) {
        const char* target = forcedOffOption(*rule, checkBoxOption);
        for (int k = 0; target && k < rule->conditionCount; ++k) {
            const char* on = conditionOption(rule->conditions[k], checkBoxOption);
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

std::string cupsConstraintLines()
{
    return cupsConstraintLines(cstColorOption, [](const char* name) -> const char* {
        const int option = findControlName(name);
        return option >= 0 && kColorOptions[std::size_t(option)].kind == OptionKind::Boolean
                   ? kColorOptions[std::size_t(option)].keyword
                   : nullptr;
    });
}

}  // namespace colormodel
