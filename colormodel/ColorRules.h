// The colour preset constraint rules: the record types of the rule format,
// their codes, and the rule table cstColorOption that keeps the colour
// options consistent. The table is constant data read by three users: the
// panel's engine (plugin/constraints/ConstraintEngine.h), the job model
// (JobColorOptions.h) and the PPD's constraint lines (PpdConstraintLines.h).
// Rules address options by control name (ColorOptionTable.h).
#pragma once

#include <cstdint>
#include <functional>

namespace colormodel {

// Codes of the rule format. They share one numbering with the panel's control
// kinds (1032..1040), so a code never means a control kind and vice versa.
enum ConstraintCode : int32_t {
    kCstAnd = 1003,             // expression: accumulator AND operand
    kCstOr = 1004,              // expression: accumulator OR operand
    kCstEqual = 1005,           // condition: v = x
    kCstNotEqual = 1006,        // condition: v != x
    kCstForceValue = 1007,      // change: force the term's value on the control
    kCstLess = 1009,            // condition: v < x
    kCstGreater = 1010,         // condition: v > x
    kCstLessEqual = 1011,       // condition: v <= x ("=<")
    kCstLessEqualAlt = 1012,    // condition: v <= x ("<=")
    kCstGreaterEqual = 1013,    // condition: v >= x (">=")
    kCstGreaterEqualAlt = 1014, // condition: v >= x ("=>")
    kCstEnd = 1017,             // ends a term list and an expression; change: no value change
    kCstEndOfRules = 1019,      // operation of the row that ends a rule table
    kCstValueChange = 1022,     // operation of every rule
    kCstGrayOut = 1027,         // action: gray out (disable) the target
};

// Expression tokens below this value name a condition's result slot.
inline constexpr int32_t kCstFirstCode = 1000;
// Result slots of one rule, so also the most conditions a rule may have.
inline constexpr int kCstMaxConditions = 20;
// The most expression tokens read from one expression.
inline constexpr int kCstMaxExpressionTokens = 40;
// Size of a term's name fields, NUL included.
inline constexpr int kCstNameSize = 32;

// A control, a value and an operator.
struct ConstraintTerm {
    char name[kCstNameSize];       // controlName of the control; "" in an end term
    char valueName[kCstNameSize];  // label of the value in rule notation; not read by the engine
    int32_t value;                 // constraint value (pop-up position from 1, check box state); -1 for none
    int32_t op;                    // condition: comparison code; change: kCstForceValue or kCstEnd
};

struct ConstraintAction {
    int32_t action;     // kCstGrayOut; other codes do nothing
    int32_t parameter;  // not read
};

struct ConstraintRule {
    int32_t operation;                  // kCstValueChange; kCstEndOfRules ends the table
    int8_t conditionCount;              // conditions used, at most kCstMaxConditions
    const ConstraintTerm* conditions;   // conditionCount terms, then an end term
    int expressionLength;               // tokens before the end token; not read by the engine
    const int32_t* expression;          // slot numbers and kCstAnd/kCstOr, ending in kCstEnd
    ConstraintTerm target;              // the control acted on (by name)
    ConstraintTerm change;              // the value forced on the target (value and op)
    int8_t actionCount;                 // actions used
    const ConstraintAction* actions;    // what to do with the target
};

// The Color Options rule table, ending in a row whose operation is
// kCstEndOfRules. Rules are numbered from 0 in table order.
extern const ConstraintRule cstColorOption[];
// Number of rules in cstColorOption before its end row.
extern const int32_t cstColorOptionCount;

// Reads the value of the control a rule names, in the rules' terms (a
// pop-up's position counted from 1, 0 for none; a check box's state); false
// when there is no such control, which makes the condition false.
using RuleValueReader = std::function<bool(const char* controlName, int32_t* value)>;

// True when the conditions of `rule` hold: each condition is compared (an
// unknown comparison is false) into result slots (at most
// kCstMaxConditions), and the expression folds them left to right (at most
// kCstMaxExpressionTokens tokens, up to kCstEnd; a slot token outside 0..19
// loads false; unknown codes are skipped).
bool matchRule(const ConstraintRule& rule, const RuleValueReader& read);

}  // namespace colormodel
