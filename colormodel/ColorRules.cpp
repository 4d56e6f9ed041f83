#include "colormodel/ColorRules.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace colormodel {

namespace {

template <std::size_t N, std::size_t M>
constexpr ConstraintTerm term(const char (&name)[N], const char (&valueName)[M], int32_t value, int32_t op)
{
    static_assert(N <= kCstNameSize && M <= kCstNameSize, "a term's names must fit their fields with the NUL");
    ConstraintTerm t{};
    for (std::size_t i = 0; i < N; ++i)
        t.name[i] = name[i];
    for (std::size_t i = 0; i < M; ++i)
        t.valueName[i] = valueName[i];
    t.value = value;
    t.op = op;
    return t;
}

// Conditions.
template <std::size_t N, std::size_t M>
constexpr ConstraintTerm equals(const char (&name)[N], int32_t value, const char (&valueName)[M])
{
    return term(name, valueName, value, kCstEqual);
}
template <std::size_t N, std::size_t M>
constexpr ConstraintTerm differs(const char (&name)[N], int32_t value, const char (&valueName)[M])
{
    return term(name, valueName, value, kCstNotEqual);
}

constexpr ConstraintTerm kEndTerm = term("", "", -1, kCstEnd);
constexpr ConstraintTerm kGray = equals("ColorAsGrayCheckBox", 1, "Checked");

// Targets; a rule's change repeats its target.
template <std::size_t N>
constexpr ConstraintTerm keep(const char (&name)[N])
{
    return term(name, "", -1, kCstEnd);
}
template <std::size_t N>
constexpr ConstraintTerm uncheck(const char (&name)[N])
{
    return term(name, "UnChecked", 0, kCstForceValue);
}

// ---- Condition lists, each followed by an end term ----------------------
constexpr ConstraintTerm conditionsColorOptions_0000[] = {differs("QuickColorPopup", 4, "Custom"), kEndTerm};
constexpr ConstraintTerm conditionsColorOptions_0001[] = {kGray, kEndTerm};
constexpr ConstraintTerm conditionsColorOptions_0002[] = {equals("ColorSeparationCheckBox", 1, "Checked"), kEndTerm};
constexpr ConstraintTerm conditionsColorOptions_0003[] = {kGray, equals("ImageRGBSourcePopup", 1, "None"), kEndTerm};
constexpr ConstraintTerm conditionsColorOptions_0004[] = {kGray, differs("ImageDestinationProfilePopup", 1, "Auto"),
                                                          kEndTerm};
constexpr ConstraintTerm conditionsColorOptions_0005[] = {kGray, equals("TextRGBSourcePopup", 1, "None"), kEndTerm};
constexpr ConstraintTerm conditionsColorOptions_0006[] = {kGray, differs("TextDestinationProfilePopup", 1, "Auto"),
                                                          kEndTerm};
constexpr ConstraintTerm conditionsColorOptions_0007[] = {kGray, equals("GraphicsRGBSourcePopup", 1, "None"),
                                                          kEndTerm};
constexpr ConstraintTerm conditionsColorOptions_0008[] = {
    kGray, differs("GraphicsDestinationProfilePopup", 1, "Auto"), kEndTerm};
constexpr ConstraintTerm conditionsColorOptions_0009[] = {kGray, equals("SimulationSourcePopup", 1, "None"),
                                                          kEndTerm};
constexpr ConstraintTerm conditionsColorOptions_0010[] = {kGray, equals("SimulationSourcePopup", 1, "None"),
                                                          kEndTerm};
constexpr ConstraintTerm conditionsColorOptions_0011[] = {equals("GlossyModeCheckBox", 1, "Checked"), kEndTerm};
constexpr ConstraintTerm conditionsColorOptions_0012[] = {equals("GlossyModeCheckBox", 1, "Checked"),
                                                          equals("ColorSeparationCheckBox", 1, "Checked"), kEndTerm};
constexpr ConstraintTerm conditionsColorOptions_0013[] = {kGray, equals("EconoModeCheckBox", 1, "Checked"), kEndTerm};
constexpr ConstraintTerm conditionsColorOptions_0014[] = {equals("EconoModeCheckBox", 1, "Checked"),
                                                          equals("EdgeTypePopup", 1, "Off"), kEndTerm};
constexpr ConstraintTerm conditionsColorOptions_0015[] = {equals("EdgeTypePopup", 1, "Off"), kEndTerm};

// ---- Expressions ----------------------------------------------------------
// Condition 0 alone.
constexpr int32_t conditions2ndColorOptions_0000[] = {kCstEnd};
// Condition 0 OR condition 1.
constexpr int32_t conditions2ndColorOptions_0001[] = {0, 1, kCstOr, kCstEnd};

// ---- Actions --------------------------------------------------------------
constexpr ConstraintAction options_0001[] = {{kCstGrayOut, 0}};

template <std::size_t N>
constexpr ConstraintRule rule(const ConstraintTerm (&conditions)[N], const int32_t* expression, int expressionLength,
                              const ConstraintTerm& target)
{
    static_assert(N >= 1 && N - 1 <= kCstMaxConditions, "a condition list holds 0..20 conditions and an end term");
    return ConstraintRule{kCstValueChange, int8_t(N - 1), conditions, expressionLength, expression, target,
                          target, 1, options_0001};
}

constexpr ConstraintRule one(const auto& conditions, const ConstraintTerm& target)
{
    return rule(conditions, conditions2ndColorOptions_0000, 0, target);
}
constexpr ConstraintRule either(const auto& conditions, const ConstraintTerm& target)
{
    return rule(conditions, conditions2ndColorOptions_0001, 3, target);
}

constexpr ConstraintRule kEndOfRulesRow = {kCstEndOfRules, 0, nullptr, 0, nullptr, {}, {}, 0, nullptr};

}  // namespace

// Rule index in the comments counts from 0.
constexpr ConstraintRule cstColorOption[] = {
    /*  0 */ one(conditionsColorOptions_0000, keep("GoToAdvancedOptionsButton")),
    /*  1 */ one(conditionsColorOptions_0001, uncheck("ColorSeparationCheckBox")),
    /*  2 */ one(conditionsColorOptions_0002, uncheck("ColorAsGrayCheckBox")),
    /*  3 */ one(conditionsColorOptions_0001, keep("ImageRGBSourcePopup")),
    /*  4 */ either(conditionsColorOptions_0003, keep("ImageRenderIntentPopup")),
    /*  5 */ either(conditionsColorOptions_0004, keep("ImageGrayTreatmentPopup")),
    /*  6 */ one(conditionsColorOptions_0001, keep("ImageDestinationProfilePopup")),
    /*  7 */ one(conditionsColorOptions_0001, keep("TextRGBSourcePopup")),
    /*  8 */ either(conditionsColorOptions_0005, keep("TextRenderIntentPopup")),
    /*  9 */ either(conditionsColorOptions_0006, keep("TextGrayTreatmentPopup")),
    /* 10 */ one(conditionsColorOptions_0001, keep("TextDestinationProfilePopup")),
    /* 11 */ one(conditionsColorOptions_0001, keep("GraphicsRGBSourcePopup")),
    /* 12 */ either(conditionsColorOptions_0007, keep("GraphicsRenderIntentPopup")),
    /* 13 */ either(conditionsColorOptions_0008, keep("GraphicsGrayTreatmentPopup")),
    /* 14 */ one(conditionsColorOptions_0001, keep("GraphicsDestinationProfilePopup")),
    /* 15 */ one(conditionsColorOptions_0001, keep("SimulationSourcePopup")),
    /* 16 */ either(conditionsColorOptions_0009, keep("SimulationRenderIntentPopup")),
    /* 17 */ either(conditionsColorOptions_0010, keep("SimulationGrayTreatmentPopup")),
    /* 18 */ one(conditionsColorOptions_0011, uncheck("EconoModeCheckBox")),
    /* 19 */ either(conditionsColorOptions_0012, uncheck("ColorAsGrayCheckBox")),
    /* 20 */ either(conditionsColorOptions_0013, uncheck("GlossyModeCheckBox")),
    /* 21 */ either(conditionsColorOptions_0014, keep("ImageEdgeEnhancePopup")),
    // One condition under the two-condition expression: slot 1 stays false,
    // so the rule holds exactly when its condition holds.
    /* 22 */ either(conditionsColorOptions_0015, keep("TextEdgeEnhancePopup")),
    /* 23 */ either(conditionsColorOptions_0014, keep("GraphicsEdgeEnhancePopup")),
    kEndOfRulesRow,
};

namespace {

constexpr int32_t countRules(const ConstraintRule* rules, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i)
        if (rules[i].operation == kCstEndOfRules)
            return int32_t(i);
    return -1;
}

constexpr bool nulTerminated(const char (&field)[kCstNameSize])
{
    for (char c : field)
        if (c == '\0')
            return true;
    return false;
}

constexpr bool sameTerm(const ConstraintTerm& a, const ConstraintTerm& b)
{
    for (int i = 0; i < kCstNameSize; ++i)
        if (a.name[i] != b.name[i] || a.valueName[i] != b.valueName[i])
            return false;
    return a.value == b.value && a.op == b.op;
}

// Checks the limits of the rule format that the engine relies on.
constexpr bool wellFormed(const ConstraintRule* rules, std::size_t size)
{
    const int32_t count = countRules(rules, size);
    if (count < 0)
        return false;
    for (int32_t r = 0; r < count; ++r) {
        const ConstraintRule& rule = rules[r];
        if (rule.operation != kCstValueChange || rule.conditionCount < 0 || rule.conditionCount > kCstMaxConditions)
            return false;
        if (rule.conditionCount > 0 && !rule.conditions)
            return false;
        for (int k = 0; k < rule.conditionCount; ++k)
            if (rule.conditions[k].name[0] == '\0' || !nulTerminated(rule.conditions[k].name))
                return false;
        if (rule.conditions && rule.conditions[rule.conditionCount].op != kCstEnd)
            return false;
        if (!rule.expression)
            return false;
        int length = -1;
        for (int i = 0; i < kCstMaxExpressionTokens; ++i) {
            const int32_t token = rule.expression[i];
            if (token == kCstEnd) {
                length = i;
                break;
            }
            if (token < kCstFirstCode && (token < 0 || token >= kCstMaxConditions))
                return false;
        }
        if (length != rule.expressionLength)
            return false;
        if (rule.target.name[0] == '\0' || !nulTerminated(rule.target.name) || !sameTerm(rule.target, rule.change))
            return false;
        if (rule.actionCount < 1 || !rule.actions)
            return false;
    }
    return true;
}

static_assert(wellFormed(cstColorOption, std::size(cstColorOption)), "cstColorOption breaks the rule format");

}  // namespace

constexpr int32_t cstColorOptionCount = countRules(cstColorOption, std::size(cstColorOption));
static_assert(cstColorOptionCount == 24);

namespace {

bool compare(int32_t v, int32_t op, int32_t x)
{
    switch (op) {
    case kCstEqual:
        return v == x;
    case kCstNotEqual:
        return v != x;
    case kCstLess:
        return v < x;
    case kCstGreater:
        return v > x;
    case kCstLessEqual:
    case kCstLessEqualAlt:
        return v <= x;
    case kCstGreaterEqual:
    case kCstGreaterEqualAlt:
        return v >= x;
    default:
        return false;
    }
}

}  // namespace

bool matchRule(const ConstraintRule& rule, const RuleValueReader& read)
{
    bool results[kCstMaxConditions] = {};
    const int count = rule.conditions ? std::min<int>(rule.conditionCount, kCstMaxConditions) : 0;
    for (int k = 0; k < count; ++k) {
        const ConstraintTerm& condition = rule.conditions[k];
        int32_t v = 0;
        if (read(condition.name, &v))
            results[k] = compare(v, condition.op, condition.value);
    }

    bool accumulator = count > 0 && results[0];
    bool operand = false;
    if (!rule.expression)
        return accumulator;
    for (int i = 0; i < kCstMaxExpressionTokens; ++i) {
        const int32_t token = rule.expression[i];
        if (token == kCstEnd)
            break;
        if (token < kCstFirstCode)
            operand = token >= 0 && token < kCstMaxConditions && results[token];
        else if (token == kCstAnd)
            accumulator = accumulator && operand;
        else if (token == kCstOr)
            accumulator = accumulator || operand;
    }
    return accumulator;
}

}  // namespace colormodel
