#include "plugin/constraints/ConstraintEngine.h"

#include "plugin/options/PDECommon.h"

#include <QWidget>
#include <cstring>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

namespace {

// The found row of a term's control, or null when it is missing or has no
// control to read or act on.
const PDEControlItem* control(const ConstraintTerm& term, const PDEControlItem* table)
{
    const PDEControlItem* row = cstFindControl(term.name, table);
    return row && row->control ? row : nullptr;
}

const ConstraintRule* colorRule(int32_t index)
{
    return index >= 0 && index < cstColorOptionCount ? &cstColorOption[index] : nullptr;
}

}  // namespace

const PDEControlItem* cstFindControl(const char* name, const PDEControlItem* table)
{
    if (!name || name[0] == '\0' || !table)
        return nullptr;
    const std::size_t length = strnlen(name, kCstNameSize - 1);
    for (const PDEControlItem& row : rowsToEnd(table)) {
        if (row.controlName && std::strlen(row.controlName) == length &&
            std::memcmp(row.controlName, name, length) == 0)
            return &row;
    }
    return nullptr;
}

bool cstMatchRule(const ConstraintRule& rule, const PDEControlItem* table)
{
    return colormodel::matchRule(rule, [table](const char* name, int32_t* value) {
        const PDEControlItem* row = cstFindControl(name, table);
        if (!row || !row->control)
            return false;
        *value = PDECommon::commonConvertToCSTValue(row, PDECommon::commonGetControlValueWithSInt32(row));
        return true;
    });
}

void cstValueChange(const ConstraintRule& rule, const PDEControlItem* table)
{
    if (rule.change.op != kCstForceValue)
        return;
    if (const PDEControlItem* row = control(rule.target, table))
        PDECommon::commonSetControlValueWithSInt32(row, PDECommon::commonConvertFromCSTValue(row, rule.change.value));
}

void cstAct(const ConstraintRule& rule, const PDEControlItem* table, bool enable)
{
    if (!rule.actions)
        return;
    for (int i = 0; i < rule.actionCount; ++i) {
        if (rule.actions[i].action != kCstGrayOut)
            continue;
        if (const PDEControlItem* row = control(rule.target, table))
            row->control->setEnabled(enable);
    }
}

void cstApplyRules(const ConstraintRule* rules, const PDEControlItem* table)
{
    if (!rules)
        return;
    for (const ConstraintRule* rule = rules; rule->operation != kCstEndOfRules; ++rule) {
        if (cstMatchRule(*rule, table)) {
            cstValueChange(*rule, table);
            cstAct(*rule, table, false);
        } else {
            cstAct(*rule, table, true);
        }
    }
}

void vColorPresetConstraints(const PDEControlItem* table)
{
    cstApplyRules(cstColorOption, table);
}

bool bMatchCondition(int32_t index, const PDEControlItem* table)
{
    const ConstraintRule* rule = colorRule(index);
    return rule && cstMatchRule(*rule, table);
}

void vValueChange(int32_t index, const PDEControlItem* table)
{
    if (const ConstraintRule* rule = colorRule(index))
        cstValueChange(*rule, table);
}

void vActOption(int32_t index, const PDEControlItem* table)
{
    if (const ConstraintRule* rule = colorRule(index))
        cstAct(*rule, table, false);
}

void vActReverseOption(int32_t index, const PDEControlItem* table)
{
    if (const ConstraintRule* rule = colorRule(index))
        cstAct(*rule, table, true);
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
