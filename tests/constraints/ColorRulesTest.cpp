// The Color Options rules applied to the real views built from the fixture PPD.
#include "ConstrainedPanel.h"

#include <set>
#include <vector>

using namespace testsupport;
using pde::AdvancedColorOptions;

namespace {

using MenuOutlet = QComboBox* AdvancedColorOptions::*;

// The 15 menus that Color as Grayscale grays out, by the name the rules use.
const std::vector<std::pair<std::string, MenuOutlet>> kGrayMenus = {
    {"ImageRGBSourcePopup", &AdvancedColorOptions::menu_iRGBSource},
    {"ImageRenderIntentPopup", &AdvancedColorOptions::menu_iRGBIntent},
    {"ImageGrayTreatmentPopup", &AdvancedColorOptions::menu_iRGBGrayTreatment},
    {"ImageDestinationProfilePopup", &AdvancedColorOptions::menu_iDestinationProfile},
    {"TextRGBSourcePopup", &AdvancedColorOptions::menu_tRGBSource},
    {"TextRenderIntentPopup", &AdvancedColorOptions::menu_tRGBIntent},
    {"TextGrayTreatmentPopup", &AdvancedColorOptions::menu_tRGBGrayTreatment},
    {"TextDestinationProfilePopup", &AdvancedColorOptions::menu_tDestinationProfile},
    {"GraphicsRGBSourcePopup", &AdvancedColorOptions::menu_gRGBSource},
    {"GraphicsRenderIntentPopup", &AdvancedColorOptions::menu_gRGBIntent},
    {"GraphicsGrayTreatmentPopup", &AdvancedColorOptions::menu_gRGBGrayTreatment},
    {"GraphicsDestinationProfilePopup", &AdvancedColorOptions::menu_gDestinationProfile},
    {"SimulationSourcePopup", &AdvancedColorOptions::menu_sSimulationProfile},
    {"SimulationRenderIntentPopup", &AdvancedColorOptions::menu_sMatchPaperColor},
    {"SimulationGrayTreatmentPopup", &AdvancedColorOptions::menu_sCMYKGrayTreatment},
};

std::set<std::string> disabledGrayMenus(const AdvancedColorOptions* adv)
{
    std::set<std::string> out;
    for (const auto& [name, menu] : kGrayMenus)
        if (!(adv->*menu)->isEnabled())
            out.insert(name);
    return out;
}

std::vector<int> menuSelections(const AdvancedColorOptions* adv)
{
    std::vector<int> out;
    for (int i = 0; i < AdvancedColorOptions::kMenuCount; ++i)
        out.push_back(adv->menu(i)->currentIndex());
    return out;
}

std::vector<bool> menuEnabled(const AdvancedColorOptions* adv)
{
    std::vector<bool> out;
    for (int i = 0; i < AdvancedColorOptions::kMenuCount; ++i)
        out.push_back(adv->menu(i)->isEnabled());
    return out;
}

// Every name the rules use must be a control of the compound table; a typo
// would silently switch its rule off. Pop-up positions must match the
// labels the rules give them in the fixture PPD's choice order.
TEST(ColorRules, EveryNameAndPositionFitsTheViews)
{
    ConstrainedPanel p;
    ASSERT_TRUE(p.compound);
    ASSERT_EQ(pde::cstColorOptionCount, 24);
    for (int32_t r = 0; r < pde::cstColorOptionCount; ++r) {
        const pde::ConstraintRule& rule = pde::cstColorOption[r];
        const pde::PDEControlItem* target = pde::cstFindControl(rule.target.name, p.compound.get());
        ASSERT_NE(target, nullptr) << "rule " << r << " target " << rule.target.name;
        EXPECT_NE(target->control, nullptr) << rule.target.name;
        for (int k = 0; k < rule.conditionCount; ++k) {
            const pde::ConstraintTerm& c = rule.conditions[k];
            const pde::PDEControlItem* row = pde::cstFindControl(c.name, p.compound.get());
            ASSERT_NE(row, nullptr) << "rule " << r << " condition " << c.name;
            const std::string label = c.valueName;
            if (row->kind == pde::PopUpMenu) {
                auto* menu = static_cast<QComboBox*>(row->control);
                ASSERT_LT(c.value - 1, menu->count()) << c.name;
                EXPECT_EQ(menu->itemText(c.value - 1), QString::fromStdString(label)) << "rule " << r << " " << c.name;
            } else {
                EXPECT_EQ(row->kind, pde::CheckBox) << c.name;
                EXPECT_EQ(label, c.value ? "Checked" : "UnChecked") << c.name;
            }
        }
    }
    // Brightness and the halftones carry no name, so no rule reaches them.
    for (QWidget* untouched : std::initializer_list<QWidget*>{p.basic()->menu_Brightness, p.advanced()->menu_iHalftone,
                                                             p.advanced()->menu_tHalftone,
                                                             p.advanced()->menu_gHalftone}) {
        for (const pde::PDEControlItem* row = p.compound.get(); row->kind != pde::EndOfTable; ++row) {
            if (row->control == untouched) {
                EXPECT_STREQ(row->controlName, "");
            }
        }
    }
}

TEST(ColorRules, GrayscaleWinsOverSeparation)
{
    ConstrainedPanel p;
    p.basic()->check_ColorAsGrayscale->setChecked(true);
    p.basic()->check_ColorSeparation->setChecked(true);
    p.apply();
    EXPECT_FALSE(p.basic()->check_ColorSeparation->isChecked());
    EXPECT_FALSE(p.basic()->check_ColorSeparation->isEnabled());
    EXPECT_TRUE(p.basic()->check_ColorAsGrayscale->isChecked());
    EXPECT_TRUE(p.basic()->check_ColorAsGrayscale->isEnabled());

    // Separation alone turns grayscale off and locks it.
    ConstrainedPanel q;
    q.basic()->check_ColorSeparation->setChecked(true);
    q.apply();
    EXPECT_TRUE(q.basic()->check_ColorSeparation->isChecked());
    EXPECT_TRUE(q.basic()->check_ColorSeparation->isEnabled());
    EXPECT_FALSE(q.basic()->check_ColorAsGrayscale->isChecked());
    EXPECT_FALSE(q.basic()->check_ColorAsGrayscale->isEnabled());
}

TEST(ColorRules, GlossyExcludesEconoModeAndGrayscale)
{
    ConstrainedPanel p;
    pde::ColorOptions* b = p.basic();
    b->check_GlossyMode->setChecked(true);
    b->check_EconomyPrint->setChecked(true);
    p.apply();
    EXPECT_FALSE(b->check_EconomyPrint->isChecked());
    EXPECT_FALSE(b->check_EconomyPrint->isEnabled());
    EXPECT_FALSE(b->check_ColorAsGrayscale->isChecked());
    EXPECT_FALSE(b->check_ColorAsGrayscale->isEnabled());
    EXPECT_TRUE(b->check_GlossyMode->isChecked());
    EXPECT_TRUE(b->check_GlossyMode->isEnabled());
    EXPECT_TRUE(b->check_ColorSeparation->isEnabled());
}

// Controls are read live: grayscale, turned off by a later rule, no longer
// turns glossy off; Color Separation, grayed while grayscale was still on,
// stays grayed until the next pass.
TEST(ColorRules, GlossyAndGrayscaleNeedTwoPassesToSettle)
{
    ConstrainedPanel p;
    pde::ColorOptions* b = p.basic();
    b->check_GlossyMode->setChecked(true);
    b->check_ColorAsGrayscale->setChecked(true);
    p.apply();
    EXPECT_FALSE(b->check_ColorAsGrayscale->isChecked());
    EXPECT_FALSE(b->check_ColorAsGrayscale->isEnabled());
    EXPECT_TRUE(b->check_GlossyMode->isChecked());
    EXPECT_TRUE(b->check_GlossyMode->isEnabled());
    EXPECT_FALSE(b->check_ColorSeparation->isChecked());
    EXPECT_FALSE(b->check_ColorSeparation->isEnabled()) << "one pass leaves the stale gray-out";
    // The menu rules run before grayscale is turned off, so they stay grayed
    // until the next pass as well.
    EXPECT_EQ(disabledGrayMenus(p.advanced()).size(), 15u);

    p.apply();
    EXPECT_TRUE(b->check_ColorSeparation->isEnabled());
    EXPECT_FALSE(b->check_ColorSeparation->isChecked());
    EXPECT_TRUE(b->check_GlossyMode->isChecked());
    EXPECT_FALSE(b->check_ColorAsGrayscale->isEnabled());
    // Simulation source is "None" by default: only its two dependants stay grayed.
    EXPECT_EQ(disabledGrayMenus(p.advanced()),
              (std::set<std::string>{"SimulationRenderIntentPopup", "SimulationGrayTreatmentPopup"}));
}

TEST(ColorRules, GrayscaleGraysOutTheFifteenMenusWithoutChangingThem)
{
    ConstrainedPanel p;
    p.advanced()->menu_iRGBSource->setCurrentIndex(2);
    p.advanced()->menu_tDestinationProfile->setCurrentIndex(1);
    const std::vector<int> before = menuSelections(p.advanced());
    p.basic()->check_ColorAsGrayscale->setChecked(true);
    p.apply();
    EXPECT_EQ(disabledGrayMenus(p.advanced()).size(), 15u);
    EXPECT_EQ(menuSelections(p.advanced()), before);
    EXPECT_FALSE(p.basic()->check_ColorSeparation->isChecked());
    EXPECT_FALSE(p.basic()->check_ColorSeparation->isEnabled());
    EXPECT_FALSE(p.basic()->check_GlossyMode->isChecked());
    EXPECT_FALSE(p.basic()->check_GlossyMode->isEnabled());
    EXPECT_TRUE(p.basic()->check_ColorAsGrayscale->isChecked());
    EXPECT_TRUE(p.basic()->check_ColorAsGrayscale->isEnabled());
}

// After grayscale is turned off again, each menu is freed unless its own
// other condition still holds.
TEST(ColorRules, MenusReEnableWithTheirOtherConditions)
{
    struct Case {
        MenuOutlet menu;  // null: only the baseline
        int index;
        std::set<std::string> stillGrayed;
    };
    const std::vector<Case> cases = {
        {nullptr, 0, {}},
        {&AdvancedColorOptions::menu_iRGBSource, 0, {"ImageRenderIntentPopup"}},
        {&AdvancedColorOptions::menu_iRGBSource, 3, {}},
        {&AdvancedColorOptions::menu_iDestinationProfile, 1, {"ImageGrayTreatmentPopup"}},
        {&AdvancedColorOptions::menu_iDestinationProfile, -1, {"ImageGrayTreatmentPopup"}},
        {&AdvancedColorOptions::menu_tRGBSource, 0, {"TextRenderIntentPopup"}},
        {&AdvancedColorOptions::menu_tDestinationProfile, 2, {"TextGrayTreatmentPopup"}},
        {&AdvancedColorOptions::menu_gRGBSource, 0, {"GraphicsRenderIntentPopup"}},
        {&AdvancedColorOptions::menu_gDestinationProfile, 1, {"GraphicsGrayTreatmentPopup"}},
        {&AdvancedColorOptions::menu_sSimulationProfile, 0,
         {"SimulationRenderIntentPopup", "SimulationGrayTreatmentPopup"}},
        {&AdvancedColorOptions::menu_sSimulationProfile, -1, {}},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        ConstrainedPanel p;
        p.advanced()->menu_sSimulationProfile->setCurrentIndex(1);  // baseline: nothing else holds
        p.basic()->check_ColorAsGrayscale->setChecked(true);
        p.apply();
        ASSERT_EQ(disabledGrayMenus(p.advanced()).size(), 15u) << i;
        p.basic()->check_ColorAsGrayscale->setChecked(false);
        if (c.menu)
            (p.advanced()->*c.menu)->setCurrentIndex(c.index);
        p.apply();
        EXPECT_EQ(disabledGrayMenus(p.advanced()), c.stillGrayed) << "case " << i;
        EXPECT_TRUE(p.basic()->check_ColorSeparation->isEnabled()) << i;
        EXPECT_TRUE(p.basic()->check_GlossyMode->isEnabled()) << i;
    }
}

TEST(ColorRules, EdgeEnhancementUnderEconoModeAndEdgeType)
{
    struct Case {
        bool econo;
        int edgeType;  // 0 "Off", 1 "Thin", 2 "Thick", -1 no selection
        bool imageGrayed, textGrayed, graphicsGrayed;
    };
    const Case cases[] = {
        {true, 1, true, false, true},   {true, 2, true, false, true},  {true, 0, true, true, true},
        {false, 0, true, true, true},   {false, 1, false, false, false}, {false, -1, false, false, false},
        {true, -1, true, false, true},
    };
    for (const Case& c : cases) {
        ConstrainedPanel p;
        p.basic()->check_EconomyPrint->setChecked(c.econo);
        p.basic()->menu_EdgeStrength->setCurrentIndex(c.edgeType);
        p.apply();
        const auto* adv = p.advanced();
        EXPECT_EQ(!adv->menu_iEdgeEnhancement->isEnabled(), c.imageGrayed) << c.econo << " " << c.edgeType;
        EXPECT_EQ(!adv->menu_tEdgeEnhancement->isEnabled(), c.textGrayed) << c.econo << " " << c.edgeType;
        EXPECT_EQ(!adv->menu_gEdgeEnhancement->isEnabled(), c.graphicsGrayed) << c.econo << " " << c.edgeType;
        EXPECT_EQ(p.basic()->check_EconomyPrint->isChecked(), c.econo) << "EconoMode is only a condition here";
    }
}

TEST(ColorRules, AdvancedButtonOnlyUnderCustom)
{
    for (bool basicOnly : {false, true}) {
        ConstrainedPanel p;
        QComboBox* quick = p.basic()->menu_QuickColor;
        ASSERT_EQ(quick->count(), 4);
        for (int index : {3, 0, 3, 1, 2, -1, 3}) {
            quick->setCurrentIndex(index);
            basicOnly ? p.applyBasicOnly() : p.apply();
            EXPECT_EQ(p.basic()->button_AdvanceColorOptions->isEnabled(), index == 3)
                << "Quick Color " << index << (basicOnly ? " basic table" : " compound table");
        }
    }
}

// The basic view's table alone reaches only the rules whose target and
// conditions are basic controls; the advanced menus keep their values and
// enabled states either way round.
TEST(ColorRules, BasicTableAloneLeavesTheAdvancedMenusAlone)
{
    for (bool startEnabled : {true, false}) {
        ConstrainedPanel p;
        pde::ColorOptions* b = p.basic();
        AdvancedColorOptions* adv = p.advanced();
        for (int i = 0; i < AdvancedColorOptions::kMenuCount; ++i)
            adv->menu(i)->setEnabled(startEnabled);
        if (startEnabled) {
            // Would gray out all 18 addressable menus on the compound table.
            b->check_ColorAsGrayscale->setChecked(true);
            b->check_ColorSeparation->setChecked(true);
            b->check_EconomyPrint->setChecked(true);
            b->menu_EdgeStrength->setCurrentIndex(0);
        } else {
            // Would free all 18 on the compound table.
            b->check_GlossyMode->setChecked(true);
            b->check_EconomyPrint->setChecked(true);
            b->menu_EdgeStrength->setCurrentIndex(1);
            adv->menu_sSimulationProfile->setCurrentIndex(1);
        }
        b->menu_QuickColor->setCurrentIndex(3);
        const std::vector<int> selections = menuSelections(adv);
        const std::vector<bool> enabled = menuEnabled(adv);

        p.applyBasicOnly();
        EXPECT_EQ(menuSelections(adv), selections) << startEnabled;
        EXPECT_EQ(menuEnabled(adv), enabled) << startEnabled;
        // The basic rules did run.
        EXPECT_TRUE(b->button_AdvanceColorOptions->isEnabled());
        if (startEnabled) {
            EXPECT_FALSE(b->check_ColorSeparation->isChecked());
            EXPECT_FALSE(b->check_ColorSeparation->isEnabled());
            EXPECT_FALSE(b->check_GlossyMode->isEnabled());
        } else {
            EXPECT_FALSE(b->check_EconomyPrint->isChecked());
            EXPECT_FALSE(b->check_ColorAsGrayscale->isEnabled());
        }

        // The same state on the compound table does reach them (and the halftones still not).
        p.apply();
        int changed = 0;
        for (int i = 0; i < AdvancedColorOptions::kMenuCount; ++i)
            changed += adv->menu(i)->isEnabled() != startEnabled;
        EXPECT_EQ(changed, 18) << startEnabled;
    }
}

// The per-rule entry points act on one rule of cstColorOption by index.
TEST(ColorRules, RuleByIndex)
{
    ConstrainedPanel p;
    const pde::PDEControlItem* t = p.compound.get();
    QCheckBox* econo = p.basic()->check_EconomyPrint;
    p.basic()->check_GlossyMode->setChecked(true);
    econo->setChecked(true);
    const int32_t econoRule = 18;
    EXPECT_TRUE(pde::bMatchCondition(econoRule, t));
    pde::vActOption(econoRule, t);
    EXPECT_FALSE(econo->isEnabled());
    EXPECT_TRUE(econo->isChecked()) << "acting does not force the value";
    pde::vValueChange(econoRule, t);
    EXPECT_FALSE(econo->isChecked());
    pde::vActReverseOption(econoRule, t);
    EXPECT_TRUE(econo->isEnabled());

    // Each forcing rule, called by index, turns its check box off; rule 21
    // never forces in a full pass (rules 19 and 20 clear its conditions first).
    struct Forcing {
        int32_t rule;
        QCheckBox* pde::ColorOptions::*on1;
        QCheckBox* pde::ColorOptions::*on2;
        QCheckBox* pde::ColorOptions::*target;
    };
    using CO = pde::ColorOptions;
    for (const Forcing& f : {Forcing{1, &CO::check_ColorAsGrayscale, &CO::check_ColorAsGrayscale, &CO::check_ColorSeparation},
                             Forcing{2, &CO::check_ColorSeparation, &CO::check_ColorSeparation, &CO::check_ColorAsGrayscale},
                             Forcing{19, &CO::check_ColorSeparation, &CO::check_ColorSeparation, &CO::check_ColorAsGrayscale},
                             Forcing{20, &CO::check_ColorAsGrayscale, &CO::check_GlossyMode, &CO::check_GlossyMode},
                             Forcing{20, &CO::check_EconomyPrint, &CO::check_GlossyMode, &CO::check_GlossyMode}}) {
        ConstrainedPanel q;
        pde::ColorOptions* b = q.basic();
        (b->*f.on1)->setChecked(true);
        (b->*f.on2)->setChecked(true);
        (b->*f.target)->setChecked(true);
        ASSERT_TRUE(pde::bMatchCondition(f.rule, q.compound.get())) << f.rule;
        pde::vValueChange(f.rule, q.compound.get());
        EXPECT_FALSE((b->*f.target)->isChecked()) << "rule index " << f.rule;
    }

    // Rules without a forced value leave their target's value alone.
    p.basic()->check_ColorAsGrayscale->setChecked(true);
    p.advanced()->menu_iRGBSource->setCurrentIndex(2);
    pde::vValueChange(3, t);
    EXPECT_EQ(p.advanced()->menu_iRGBSource->currentIndex(), 2);

    // Indices outside the table match nothing and touch nothing.
    for (int32_t bad : {-1, pde::cstColorOptionCount, 1000}) {
        EXPECT_FALSE(pde::bMatchCondition(bad, t)) << bad;
        pde::vActOption(bad, t);
        pde::vValueChange(bad, t);
    }
    EXPECT_TRUE(econo->isEnabled());
    EXPECT_TRUE(p.basic()->check_GlossyMode->isChecked());

    // Without a table nothing is found.
    EXPECT_FALSE(pde::bMatchCondition(econoRule, nullptr));
    pde::vColorPresetConstraints(nullptr);
}

}  // namespace
