// The print-settings bridge: model dictionaries per printer, the copy to the
// top level, restore over defaults, and the summary.
#include "PanelFixture.h"

#include <QCheckBox>

using namespace testsupport;
using pde::PDECommon;

namespace {

plist::DictionaryRef modelOf(const rx::PrintSettings& settings, const std::string& printer)
{
    auto product = settings.value("rx8240").dictionary();
    return product ? product->dictionary(printer) : nullptr;
}

TEST(TicketBridge, RestoreFromEmptySettingsCreatesAnEmptyModelDictionary)
{
    Panel panel;
    panel.build();
    panel.basic->menu_QuickColor->setCurrentIndex(2);
    panel.restore();
    auto model = modelOf(panel.settings, "rx8240");
    ASSERT_TRUE(model);
    EXPECT_TRUE(model->empty());
    EXPECT_EQ(panel.settings.root()->size(), 1u) << "nothing but the product key at the top level";
    EXPECT_EQ(panel.basic->menu_QuickColor->currentIndex(), 0);   // Standard
    EXPECT_EQ(panel.basic->menu_Brightness->currentIndex(), 2);   // Normal
    EXPECT_EQ(panel.advanced->menu_iHalftone->currentIndex(), 1);  // Smooth
}

TEST(TicketBridge, SaveWritesModelDictionaryAndTopLevel)
{
    Panel panel;
    panel.build();
    panel.restore();
    panel.basic->menu_QuickColor->setCurrentIndex(2);
    panel.basic->check_ColorSeparation->setChecked(true);
    panel.save();
    auto model = modelOf(panel.settings, "rx8240");
    ASSERT_TRUE(model);
    EXPECT_EQ(*model->get("QVQuickColor").string(), "Photo");
    EXPECT_EQ(*model->get("QVColorSeparation").string(), "True");
    EXPECT_EQ(*model->get("QVColorAsGray").string(), "False");
    EXPECT_EQ(*panel.settings.value("QVQuickColor").string(), "Photo");
    EXPECT_EQ(*panel.settings.value("QVImageHalftone").string(), "Smooth");
    // Profile rows carry their flag; other rows do not.
    EXPECT_EQ(*model->get("QVImageRGBSourceCustom").string(), "False");
    EXPECT_FALSE(model->contains("QVImageHalftoneCustom"));
    // 28 options plus 7 profile flags, all copied to the top level.
    EXPECT_EQ(model->size(), 35u);
    EXPECT_EQ(panel.settings.stringEntries().size(), 35u);
}

TEST(TicketBridge, TwoPrintersOfOneModelKeepSeparateValues)
{
    rx::PrintSettings shared;
    {
        Panel office("rx8240.ppd", "office");
        office.build();
        office.settings = shared;
        office.restore();
        office.basic->menu_EdgeStrength->setCurrentIndex(2);
        office.basic->check_GlossyMode->setChecked(true);
        office.save();
    }
    {
        Panel lab("rx8240.ppd", "lab");
        lab.build();
        lab.settings = shared;
        lab.restore();
        EXPECT_EQ(lab.basic->menu_EdgeStrength->currentIndex(), 0) << "the lab printer saw the office's choice";
        lab.basic->menu_Brightness->setCurrentIndex(4);
        lab.save();
    }
    auto product = shared.value("rx8240").dictionary();
    ASSERT_TRUE(product);
    EXPECT_EQ(product->size(), 2u);
    EXPECT_EQ(*modelOf(shared, "office")->get("QVEdgeType").string(), "Thick");
    EXPECT_EQ(*modelOf(shared, "lab")->get("QVEdgeType").string(), "Off");
    EXPECT_EQ(*modelOf(shared, "lab")->get("QVBrightness").string(), "Darkest");

    Panel office("rx8240.ppd", "office");
    office.build();
    office.settings = shared;
    office.restore();
    EXPECT_EQ(office.basic->menu_EdgeStrength->currentIndex(), 2);
    EXPECT_TRUE(office.basic->check_GlossyMode->isChecked());
    EXPECT_EQ(office.basic->menu_Brightness->currentIndex(), 2);
}

TEST(TicketBridge, StoredValuesOverrideDefaultsAndBadOnesAreIgnored)
{
    Panel panel;
    panel.build();
    auto model = PDECommon::commonGetModelDictionary(&panel.settings, &panel.session);
    ASSERT_TRUE(model);
    model->set("QVQuickColor", "NoSuchPreset");   // a choice the PPD lacks
    model->set("QVBrightness", int64_t(3));       // not a string
    model->set("QVEdgeType", "Thin");
    model->set("QVColorAsGray", "TRUE");
    model->set("QVEconoMode", "yes");
    panel.basic->menu_Brightness->setCurrentIndex(4);
    panel.restore();
    EXPECT_EQ(panel.basic->menu_QuickColor->currentIndex(), 0) << "unknown choice must leave the PPD default";
    EXPECT_EQ(panel.basic->menu_Brightness->currentIndex(), 2) << "a non-string value leaves the control alone";
    EXPECT_EQ(panel.basic->menu_EdgeStrength->currentIndex(), 1);
    EXPECT_TRUE(panel.basic->check_ColorAsGrayscale->isChecked());
    EXPECT_FALSE(panel.basic->check_EconomyPrint->isChecked());
    // Restore copies what the model dictionary holds to the top level.
    EXPECT_EQ(*panel.settings.value("QVEdgeType").string(), "Thin");
}

TEST(TicketBridge, NoPrinterOrWrongTypesDoNothing)
{
    Panel panel;
    panel.build();
    rx::PrintSession noPrinter;
    panel.basic->setPMPrint(&panel.settings, &noPrinter);
    panel.basic->menu_QuickColor->setCurrentIndex(1);
    panel.basic->getControlValueFromTicket();
    EXPECT_EQ(panel.basic->menu_QuickColor->currentIndex(), 1);
    EXPECT_EQ(PDECommon::commonSyncTicketFromPane(&panel.settings, &noPrinter, panel.basic->getControlData()), 0);

    rx::PrintSettings odd;
    odd.setValue("rx8240", "not a dictionary");
    EXPECT_EQ(PDECommon::commonGetModelDictionary(&odd, &panel.session), nullptr);
    EXPECT_EQ(PDECommon::commonSyncPaneFromTicket(&odd, &panel.session, panel.basic->getControlData()), 0);
    EXPECT_EQ(odd.root()->size(), 1u);
}

TEST(Summary, BasicViewListsItsSevenItemsInRowOrder)
{
    Panel panel;
    panel.build();
    panel.restore();
    panel.basic->check_EconomyPrint->setChecked(true);
    QVariantMap dict;
    QStringList order;
    EXPECT_EQ(panel.basic->getSummaryText(&dict, &order), pde::kNoErr);
    EXPECT_EQ(order, (QStringList{"Quick Color", "Brightness", "Color as Grayscale", "Color Separation", "EconoMode",
                                  "EdgeType", "GlossyMode"}));
    EXPECT_EQ(dict.value("Quick Color").toString(), QStringLiteral("Standard"));
    EXPECT_EQ(dict.value("EconoMode").toString(), QStringLiteral("On"));
    EXPECT_EQ(dict.value("GlossyMode").toString(), QStringLiteral("Off"));

    // A row that yields no value is left out and reported, the rest go on.
    panel.basic->menu_Brightness->setCurrentIndex(-1);
    dict.clear();
    order.clear();
    EXPECT_EQ(panel.basic->getSummaryText(&dict, &order), pde::kParamErr);
    EXPECT_EQ(order.size(), 6);

    pde::PDEControlItem unsummarised[2] = {
        {panel.basic->text_QuickColor, pde::StaticText, "", "Quick Color:", nullptr, "", 0, nullptr},
        pde::kEndOfTableRow};
    dict.clear();
    order.clear();
    EXPECT_EQ(PDECommon::commonGetSummaryText(unsummarised, &dict, &order), pde::kNoErr);
    EXPECT_TRUE(order.isEmpty());
}

TEST(Localization, BundleTranslatesAndFallsBackToTheKey)
{
    rx::Bundle bundle(QString::fromStdString(env("RX_BUNDLE_DIR")));
    ASSERT_TRUE(bundle.setLanguage(QStringLiteral("de")));
    EXPECT_EQ(bundle.localizedString("Color Options"), QStringLiteral("Farboptionen"));
    EXPECT_EQ(bundle.localizedString("Disk"), QStringLiteral("Festplatte"));
    EXPECT_EQ(bundle.localizedString("No such key"), QStringLiteral("No such key"));
    EXPECT_FALSE(bundle.setLanguage(QStringLiteral("xx")));
    EXPECT_EQ(bundle.localizedString("Color Options"), QStringLiteral("Color Options"));
}

}  // namespace
