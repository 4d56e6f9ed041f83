// The panel's life through the extension protocol: the factory, loading on
// first need, view switching, restore, save, summary and printing.
#include "../options/PanelFixture.h"

#include "plugin/frame/PDEPlugIn.h"
#include "plugin/frame/PDEPlugInInterface.h"
#include "plugin/frame/PDELogging.h"
#include "plugin/frame/PainChangeController.h"

#include <QLayout>

using namespace testsupport;

namespace {

class Frame : public ::testing::Test {
protected:
    void SetUp() override
    {
        factory.initWithBundle(QString::fromStdString(env("RX_BUNDLE_DIR")));
        useBuildBundle();
        auto panels = factory.PDEPanelsForType(QString::fromLatin1(rx::kPrinterModulePanelType), &callback);
        ASSERT_TRUE(panels && panels->size() == 1);
        panel.reset(static_cast<pde::PDEPlugInInterface*>(panels->front().release()));
    }

    pde::PDEPlugIn factory;
    HostCallback callback;
    std::unique_ptr<pde::PDEPlugInInterface> panel;
};

TEST(Factory, ServesOnlyThePrinterModuleTypeAndKeepsTheFirstBundle)
{
    pde::PDEPlugIn factory;
    HostCallback callback;
    EXPECT_FALSE(factory.PDEPanelsForType(QStringLiteral("BDB091F4-E57F-11D3-B5CC-0050E4603278"), &callback));
    EXPECT_FALSE(factory.PDEPanelsForType(QString(), &callback));
    EXPECT_TRUE(factory.initWithBundle(QString::fromStdString(env("RX_BUNDLE_DIR"))));
    rx::Bundle* first = pde::pluginBundle();
    EXPECT_TRUE(factory.initWithBundle(QStringLiteral("/nonexistent")));
    EXPECT_EQ(pde::pluginBundle(), first);
    EXPECT_EQ(first->directory(), QString::fromStdString(env("RX_BUNDLE_DIR")));
}

TEST_F(Frame, SummaryFirstLoadsThePanelAndListsTheBasicItemsFirst)
{
    EXPECT_FALSE(panel->isLoaded());
    const QVariantMap summary = panel->summaryInfo();
    EXPECT_TRUE(panel->isLoaded());
    const QStringList order = summary.value(QString::fromLatin1(rx::kSummaryDisplayOrder)).toStringList();
    ASSERT_EQ(order.size(), 7 + 21);
    EXPECT_EQ(order.mid(0, 7), (QStringList{"Quick Color", "Brightness", "Color as Grayscale", "Color Separation",
                                            "EconoMode", "EdgeType", "GlossyMode"}));
    EXPECT_EQ(order[7], QStringLiteral("Image RGB Source"));
    EXPECT_EQ(panel->panelName(), QStringLiteral("Color Options"));
    EXPECT_EQ(panel->panelKind(), QStringLiteral("tarnvale.pde.rx8240.qvco"));
    EXPECT_TRUE(panel->shouldHide());
}

TEST_F(Frame, LoadsOnceAndJoinsBothTables)
{
    QWidget* view = panel->panelView();
    ASSERT_TRUE(view);
    pde::PDEControlItem* table = panel->compoundTable();
    panel->colorView()->menu_Brightness->setCurrentIndex(4);
    EXPECT_EQ(panel->panelView(), view);
    EXPECT_EQ(panel->compoundTable(), table) << "a second view request rebuilt the tables";
    EXPECT_EQ(panel->colorView()->menu_Brightness->currentIndex(), 4);
    int rows = 0;
    while (table[rows].kind != pde::EndOfTable)
        ++rows;
    EXPECT_EQ(rows, 11 + 46);
    EXPECT_EQ(panel->viewSwitch()->getControlCountEachView(), 12 + 47);

    pde::ControlTable tables[5] = {table, table, table, table, table};
    EXPECT_EQ(panel->viewSwitch()->getControlDataEachView(tables, 5), 2);
    EXPECT_EQ(tables[0], panel->colorView()->getControlData());
    EXPECT_EQ(tables[1], panel->advancedView()->getControlData());
    EXPECT_EQ(tables[2], nullptr);
    EXPECT_EQ(tables[4], nullptr);
    EXPECT_EQ(_DEBUGControlTable(panel->colorView()->getControlData()), 12);
}

TEST_F(Frame, KeysListTheAdvancedViewFirst)
{
    const QStringList keys = panel->supportedPPDOptionKeys();
    ASSERT_EQ(keys.size(), 28);
    EXPECT_EQ(keys.first(), QStringLiteral("QVImageRGBSource"));
    EXPECT_EQ(keys[20], QStringLiteral("QVSimGrayTreatment"));
    EXPECT_EQ(keys[21], QStringLiteral("QVQuickColor"));
    EXPECT_EQ(keys.last(), QStringLiteral("QVGlossyMode"));
}

TEST_F(Frame, SwitchingShowsOneViewAtTheContainersSize)
{
    panel->restoreValuesAndReturnError(nullptr);
    QWidget* view = panel->panelView();
    view->resize(600, 450);
    view->show();
    pde::PainChangeController* sw = panel->viewSwitch();
    panel->colorView()->menu_QuickColor->setCurrentIndex(3);  // Custom: the button is usable
    panel->constraints();
    panel->colorView()->button_AdvanceColorOptions->click();
    panel->colorView()->button_AdvanceColorOptions->click();
    EXPECT_TRUE(panel->advancedView()->isVisible());
    EXPECT_FALSE(panel->colorView()->isVisible());
    EXPECT_EQ(panel->advancedView()->size(), sw->onMainCustomView->size());
    EXPECT_EQ(sw->onMainCustomView->layout()->count(), 1);

    panel->willShow();
    EXPECT_TRUE(panel->colorView()->isVisible());
    EXPECT_FALSE(panel->advancedView()->isVisible());
}

TEST_F(Frame, SummaryFollowsQuickColor)
{
    panel->restoreValuesAndReturnError(nullptr);
    panel->advancedView()->menu_iHalftone->setCurrentIndex(0);
    panel->colorView()->menu_QuickColor->setCurrentIndex(3);
    QVariantMap custom = panel->summaryInfo();
    EXPECT_EQ(custom.value("Image Halftone").toString(), QStringLiteral("Detail"));

    panel->colorView()->menu_QuickColor->setCurrentIndex(0);
    QVariantMap preset = panel->summaryInfo();
    EXPECT_EQ(preset.value("Image Halftone").toString(), QStringLiteral("Smooth"));
    EXPECT_EQ(preset.value("Text Halftone").toString(), QStringLiteral("Stochastic"));
}

TEST_F(Frame, ShouldPrintWritesThePresetsAdvancedValues)
{
    panel->restoreValuesAndReturnError(nullptr);
    panel->colorView()->menu_QuickColor->setCurrentIndex(2);
    panel->colorView()->check_EconomyPrint->setChecked(true);
    panel->saveValuesAndReturnError(nullptr);
    EXPECT_EQ(*callback.settings.value("QVImageHalftone").string(), "Smooth") << "save alone keeps the menus";
    EXPECT_TRUE(panel->shouldPrint());
    EXPECT_EQ(*callback.settings.value("QVImageHalftone").string(), "Stochastic");
    EXPECT_EQ(*callback.settings.value("QVTextRenderIntent").string(), "Saturation");
    EXPECT_EQ(*callback.settings.value("QVImageEdgeEnhance").string(), "Off");
    EXPECT_EQ(*callback.settings.value("QVTextEdgeEnhance").string(), "On");
    EXPECT_EQ(*callback.settings.value("QVQuickColor").string(), "Photo");
}

TEST_F(Frame, RestoreAfterSaveBringsBackTheValues)
{
    panel->restoreValuesAndReturnError(nullptr);
    panel->colorView()->menu_QuickColor->setCurrentIndex(3);
    panel->advancedView()->menu_tHalftone->setCurrentIndex(2);
    QString error = QStringLiteral("untouched");
    EXPECT_TRUE(panel->saveValuesAndReturnError(&error));
    EXPECT_EQ(error, QStringLiteral("untouched"));

    HostCallback second;
    second.settings = callback.settings;
    auto panels = factory.PDEPanelsForType(QString::fromLatin1(rx::kPrinterModulePanelType), &second);
    auto* other = static_cast<pde::PDEPlugInInterface*>(panels->front().get());
    EXPECT_TRUE(other->restoreValuesAndReturnError(&error));
    EXPECT_EQ(other->colorView()->menu_QuickColor->currentIndex(), 3);
    EXPECT_EQ(other->advancedView()->menu_tHalftone->currentIndex(), 2);
    other->terminate();
}

}  // namespace
