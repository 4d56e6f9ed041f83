// The engine that applies constraint rules to a control table: it reads the
// controls named by the rules' conditions, forces values on and grays out
// (disables) or enables their targets. It keeps no state; its effects are the
// controls' values and enabled states. Forced values are not written to the
// print settings here; they reach them with the panel's next save.
//
// A table is a control table of PDEControlItem rows ending in an EndOfTable
// row (a view's table or the compound table). Controls are found by their
// row's controlName; a name the table does not hold, or a row without a
// control, makes that rule's conditions false and its change and actions do
// nothing, so the basic view's table alone takes only the rules about basic
// controls.
#pragma once

#include "plugin/constraints/ConstraintRules.h"

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

// ---- The Color Options rules (cstColorOption) ----------------------------
// The rule index counts from 0 in table order; an index outside
// 0..cstColorOptionCount-1 matches nothing and changes nothing.

// Applies every rule in table order: a rule whose conditions hold forces its
// value and grays out its target; any other rule enables its target. Controls
// are read live, so later rules see what earlier ones forced. One pass is not
// guaranteed to reach a fixed point.
void vColorPresetConstraints(const PDEControlItem* table);
// True when the conditions of rule `index` hold.
bool bMatchCondition(int32_t index, const PDEControlItem* table);
// Forces the value of rule `index` on its target (only when its change says so).
void vValueChange(int32_t index, const PDEControlItem* table);
// Carries out the actions of rule `index`: grays out its target.
void vActOption(int32_t index, const PDEControlItem* table);
// Undoes the actions of rule `index`: enables its target.
void vActReverseOption(int32_t index, const PDEControlItem* table);

// ---- Any rule table ---------------------------------------------------------
// `rules` must end with a row whose operation is kCstEndOfRules.

void cstApplyRules(const ConstraintRule* rules, const PDEControlItem* table);
// Evaluates the conditions into result slots (at most kCstMaxConditions) and
// folds the expression left to right over them (at most
// kCstMaxExpressionTokens tokens, up to kCstEnd). An unknown comparison makes
// its condition false; a slot token outside 0..19 loads false; unknown codes
// are skipped.
bool cstMatchRule(const ConstraintRule& rule, const PDEControlItem* table);
void cstValueChange(const ConstraintRule& rule, const PDEControlItem* table);
// Disables (enable false) or enables the target for each kCstGrayOut action.
void cstAct(const ConstraintRule& rule, const PDEControlItem* table, bool enable);

// The first row before the EndOfTable row whose controlName equals `name`
// (at most kCstNameSize - 1 characters are compared), or null. An empty name
// finds nothing: rows named "" are not addressable.
const PDEControlItem* cstFindControl(const char* name, const PDEControlItem* table);

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
