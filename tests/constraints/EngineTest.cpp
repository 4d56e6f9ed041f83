// The rule engine on rule tables made for the test, over the real controls:
// comparisons, the left-to-right folding of expressions and its limits,
// forced values, actions and the end of a rule table.
#include "ConstrainedPanel.h"

#include <cstring>
#include <vector>

using namespace testsupport;
using pde::ConstraintAction;
using pde::ConstraintRule;
using pde::ConstraintTerm;

namespace {

ConstraintTerm term(const char* name, int32_t value, int32_t op)
{
    ConstraintTerm t{};
    std::strncpy(t.name, name, sizeof t.name - 1);
    t.value = value;
    t.op = op;
    return t;
}

const ConstraintAction kGrayOut[] = {{pde::kCstGrayOut, 0}};

// A rule over test-owned arrays; the conditions get their end term and the
// expression its end token.
struct TestRule {
    TestRule(std::vector<ConstraintTerm> conds, std::vector<int32_t> expr, ConstraintTerm tgt,
             const ConstraintAction* acts = kGrayOut, int8_t actCount = 1)
        : conditions(std::move(conds)), expression(std::move(expr)), target(tgt), actions(acts), actionCount(actCount)
    {
        count = int8_t(conditions.size());
        conditions.push_back(term("", -1, pde::kCstEnd));
        expression.push_back(pde::kCstEnd);
    }
    ConstraintRule rule() const
    {
        return {pde::kCstValueChange, count, conditions.data(), int(expression.size()) - 1, expression.data(),
                target, target, actionCount, actions};
    }
    std::vector<ConstraintTerm> conditions;
    std::vector<int32_t> expression;
    ConstraintTerm target;
    const ConstraintAction* actions;
    int8_t actionCount;
    int8_t count = 0;
};

ConstraintRule endRow()
{
    ConstraintRule end{};
    end.operation = pde::kCstEndOfRules;
    return end;
}

const ConstraintTerm kButton = term("GoToAdvancedOptionsButton", -1, pde::kCstEnd);

TEST(ConstraintEngine, Comparisons)
{
    struct Case {
        int32_t op, x;
        bool edgeThin;  // EdgeType at "Thin": constraint value 2
        bool glossy;    // the same comparison on a check box that is on: value 1
    };
    const Case cases[] = {
        {pde::kCstEqual, 2, true, false},          {pde::kCstEqual, 1, false, true},
        {pde::kCstNotEqual, 2, false, true},       {pde::kCstNotEqual, 1, true, false},
        {pde::kCstLess, 3, true, true},            {pde::kCstLess, 2, false, true},
        {pde::kCstGreater, 1, true, false},        {pde::kCstGreater, 0, true, true},
        {pde::kCstLessEqual, 2, true, true},       {pde::kCstLessEqual, 1, false, true},
        {pde::kCstLessEqualAlt, 2, true, true},    {pde::kCstLessEqualAlt, 0, false, false},
        {pde::kCstGreaterEqual, 2, true, false},   {pde::kCstGreaterEqual, 3, false, false},
        {pde::kCstGreaterEqualAlt, 2, true, false}, {pde::kCstGreaterEqualAlt, 1, true, true},
        {1008, 2, false, false},                   {pde::kCstForceValue, 2, false, false},
        {pde::kCstEnd, 1, false, false},           {0, 2, false, false},
    };
    ConstrainedPanel p;
    p.basic()->menu_EdgeStrength->setCurrentIndex(1);
    p.basic()->check_GlossyMode->setChecked(true);
    for (const Case& c : cases) {
        const TestRule edge({term("EdgeTypePopup", c.x, c.op)}, {}, kButton);
        const TestRule glossy({term("GlossyModeCheckBox", c.x, c.op)}, {}, kButton);
        EXPECT_EQ(pde::cstMatchRule(edge.rule(), p.compound.get()), c.edgeThin) << c.op << " " << c.x;
        EXPECT_EQ(pde::cstMatchRule(glossy.rule(), p.compound.get()), c.glossy) << c.op << " " << c.x;
    }
    // A menu with nothing selected has the constraint value 0; comparisons are signed.
    p.basic()->menu_EdgeStrength->setCurrentIndex(-1);
    EXPECT_TRUE(pde::cstMatchRule(TestRule({term("EdgeTypePopup", 0, pde::kCstEqual)}, {}, kButton).rule(),
                                  p.compound.get()));
    EXPECT_TRUE(pde::cstMatchRule(TestRule({term("EdgeTypePopup", -1, pde::kCstGreater)}, {}, kButton).rule(),
                                  p.compound.get()));
}

// A condition whose control cannot be read is false whatever its comparison,
// also for "not equal".
TEST(ConstraintEngine, UnknownOrUnreadableControlsAreFalse)
{
    ConstrainedPanel p;
    const pde::PDEControlItem* t = p.compound.get();
    for (const char* name : {"NoSuchPopup", "EdgeType", "EdgeTypePopupX", "edgetypepopup", ""}) {
        EXPECT_EQ(pde::cstFindControl(name, t), nullptr) << name;
        EXPECT_FALSE(pde::cstMatchRule(TestRule({term(name, 99, pde::kCstNotEqual)}, {}, kButton).rule(), t))
            << name;
    }
    const pde::PDEControlItem* edge = pde::cstFindControl("EdgeTypePopup", t);
    ASSERT_NE(edge, nullptr);
    EXPECT_EQ(edge->control, p.basic()->menu_EdgeStrength);

    // A row whose outlet was never connected: a pop-up would read as its
    // first item, so it must not be read at all, nor acted on.
    const TestRule differs({term("EdgeTypePopup", 99, pde::kCstNotEqual)}, {}, kButton);
    EXPECT_TRUE(pde::cstMatchRule(differs.rule(), t));
    const_cast<pde::PDEControlItem*>(edge)->control = nullptr;
    EXPECT_FALSE(pde::cstMatchRule(differs.rule(), t));
    const TestRule onEdge({term("GlossyModeCheckBox", 0, pde::kCstEqual)}, {},
                          term("EdgeTypePopup", 3, pde::kCstForceValue));
    pde::cstApplyRules(std::vector<ConstraintRule>{onEdge.rule(), endRow()}.data(), t);
    EXPECT_TRUE(p.basic()->menu_EdgeStrength->isEnabled());
    EXPECT_EQ(p.basic()->menu_EdgeStrength->currentIndex(), 0);
}

TEST(ConstraintEngine, ExpressionsFoldLeftToRight)
{
    constexpr int32_t AND = pde::kCstAnd, OR = pde::kCstOr;
    struct Case {
        bool glossy, econo, separation;  // conditions 0, 1, 2
        std::vector<int32_t> expression;
        bool expected;
    };
    const std::vector<Case> cases = {
        {true, false, false, {}, true},
        {false, true, true, {}, false},
        {false, true, false, {0, 1, OR}, true},
        {false, false, false, {0, 1, OR}, false},
        {true, false, true, {0, 1, AND}, false},
        {true, true, false, {0, 1, AND}, true},
        // (0 OR 1) AND 2, not 0 OR (1 AND 2)
        {true, false, false, {0, 1, OR, 2, AND}, false},
        {false, true, true, {0, 1, OR, 2, AND}, true},
        // the accumulator starts from condition 0, not from the first token
        {false, true, false, {1}, false},
        {false, true, false, {1, 0, OR}, false},
        {true, false, false, {AND}, false},
        // slots no condition filled, and tokens outside the slots, load false
        {true, true, true, {5, OR, 5, AND}, false},
        {true, true, true, {20, AND}, false},
        {true, true, true, {21, AND}, false},
        {true, true, true, {25, AND}, false},
        {true, true, true, {-3, AND}, false},
        {true, true, true, {999, AND}, false},
        // other codes are skipped
        {false, true, false, {1, pde::kCstEqual, pde::kCstEndOfRules, OR}, true},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        ConstrainedPanel p;
        p.basic()->check_GlossyMode->setChecked(c.glossy);
        p.basic()->check_EconomyPrint->setChecked(c.econo);
        p.basic()->check_ColorSeparation->setChecked(c.separation);
        const TestRule r({term("GlossyModeCheckBox", 1, pde::kCstEqual), term("EconoModeCheckBox", 1, pde::kCstEqual),
                          term("ColorSeparationCheckBox", 1, pde::kCstEqual)},
                         c.expression, kButton);
        EXPECT_EQ(pde::cstMatchRule(r.rule(), p.compound.get()), c.expected) << "case " << i;
    }

    ConstrainedPanel p;
    p.basic()->check_GlossyMode->setChecked(true);
    const TestRule none({}, {0}, kButton);
    EXPECT_FALSE(pde::cstMatchRule(none.rule(), p.compound.get())) << "no conditions: false";
}

TEST(ConstraintEngine, AtMostFortyTokensAreRead)
{
    ConstrainedPanel p;
    p.basic()->check_EconomyPrint->setChecked(true);  // condition 1 true, condition 0 false
    const std::vector<ConstraintTerm> conditions = {term("GlossyModeCheckBox", 1, pde::kCstEqual),
                                                    term("EconoModeCheckBox", 1, pde::kCstEqual)};
    for (int orAt : {39, 40}) {
        std::vector<int32_t> expression(size_t(orAt - 1), pde::kCstEqual);  // skipped filler
        expression.push_back(1);
        expression.push_back(pde::kCstOr);  // token number orAt (from 0)
        const TestRule r(conditions, expression, kButton);
        EXPECT_EQ(pde::cstMatchRule(r.rule(), p.compound.get()), orAt < pde::kCstMaxExpressionTokens)
            << "OR at token " << orAt;
    }
}

TEST(ConstraintEngine, ForcedValues)
{
    struct Case {
        const char* name;
        int32_t op, value, start, expected;
    };
    const Case cases[] = {
        {"EdgeTypePopup", pde::kCstForceValue, 3, 0, 2},
        {"EdgeTypePopup", pde::kCstForceValue, 1, 2, 0},
        {"EdgeTypePopup", pde::kCstForceValue, 0, 2, 0},
        {"EdgeTypePopup", pde::kCstForceValue, -5, 1, 0},
        {"EdgeTypePopup", pde::kCstForceValue, 4, 1, 1},  // beyond the menu: ignored
        {"EdgeTypePopup", pde::kCstEnd, 3, 0, 0},
        {"EdgeTypePopup", pde::kCstEqual, 3, 0, 0},
        {"GlossyModeCheckBox", pde::kCstForceValue, 1, 0, 1},
        {"GlossyModeCheckBox", pde::kCstForceValue, 0, 1, 0},
        {"GlossyModeCheckBox", pde::kCstEnd, 0, 1, 1},
    };
    for (const Case& c : cases) {
        ConstrainedPanel p;
        const pde::PDEControlItem* row = pde::cstFindControl(c.name, p.compound.get());
        ASSERT_NE(row, nullptr);
        pde::PDECommon::commonSetControlValueWithSInt32(row, c.start);
        const TestRule r({}, {}, term(c.name, c.value, c.op));
        pde::cstValueChange(r.rule(), p.compound.get());
        EXPECT_EQ(pde::PDECommon::commonGetControlValueWithSInt32(row), c.expected)
            << c.name << " op " << c.op << " value " << c.value;
    }
}

TEST(ConstraintEngine, OnlyGrayOutActionsAct)
{
    const ConstraintAction otherOnly[] = {{1026, 0}, {pde::kCstValueChange, 0}};
    const ConstraintAction mixed[] = {{1026, 0}, {pde::kCstGrayOut, 7}};
    struct Case {
        const ConstraintAction* actions;
        int8_t count;
        bool acts;
    };
    for (const Case& c : {Case{otherOnly, 2, false}, Case{mixed, 2, true}, Case{kGrayOut, 0, false},
                          Case{kGrayOut, 1, true}}) {
        ConstrainedPanel p;
        QWidget* button = p.basic()->button_AdvanceColorOptions;
        const TestRule r({}, {}, kButton, c.actions, c.count);
        pde::cstAct(r.rule(), p.compound.get(), false);
        EXPECT_EQ(button->isEnabled(), !c.acts);
        button->setEnabled(false);
        pde::cstAct(r.rule(), p.compound.get(), true);
        EXPECT_EQ(button->isEnabled(), c.acts);
    }
}

// Rules run in order up to the end row; a control several rules target
// ends with the state the last of them gives it; later rules see values
// that earlier ones forced.
TEST(ConstraintEngine, RuleTableOrder)
{
    ConstrainedPanel p;
    pde::ColorOptions* b = p.basic();
    b->check_GlossyMode->setChecked(true);
    b->check_EconomyPrint->setChecked(true);
    const ConstraintTerm glossyOn = term("GlossyModeCheckBox", 1, pde::kCstEqual);
    const ConstraintTerm econoOn = term("EconoModeCheckBox", 1, pde::kCstEqual);
    const TestRule grayButton({glossyOn}, {}, kButton);
    const TestRule freeButton({econoOn}, {}, kButton);  // false once EconoMode is forced off
    const TestRule econoOff({glossyOn}, {}, term("EconoModeCheckBox", 0, pde::kCstForceValue));
    const TestRule graySeparation({econoOn}, {}, term("ColorSeparationCheckBox", -1, pde::kCstEnd));
    const ConstraintRule end = endRow();

    const ConstraintRule stops[] = {grayButton.rule(), end, freeButton.rule(), end};
    b->check_EconomyPrint->setChecked(false);
    pde::cstApplyRules(stops, p.compound.get());
    EXPECT_FALSE(b->button_AdvanceColorOptions->isEnabled()) << "a rule after the end row ran";

    const ConstraintRule lastWins[] = {grayButton.rule(), freeButton.rule(), end};
    pde::cstApplyRules(lastWins, p.compound.get());
    EXPECT_TRUE(b->button_AdvanceColorOptions->isEnabled());

    b->check_EconomyPrint->setChecked(true);
    const ConstraintRule live[] = {econoOff.rule(), graySeparation.rule(), end};
    pde::cstApplyRules(live, p.compound.get());
    EXPECT_FALSE(b->check_EconomyPrint->isChecked());
    EXPECT_FALSE(b->check_EconomyPrint->isEnabled());
    EXPECT_TRUE(b->check_ColorSeparation->isEnabled()) << "the second rule read a stale value";

    pde::cstApplyRules(nullptr, p.compound.get());
    const ConstraintRule empty[] = {end};
    pde::cstApplyRules(empty, p.compound.get());
    EXPECT_FALSE(b->check_EconomyPrint->isEnabled());
}

}  // namespace
