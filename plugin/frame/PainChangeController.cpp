#include "plugin/frame/PainChangeController.h"

#include "colormodel/QuickColorPresets.h"
#include "plugin/options/AdvancedColorOptions.h"
#include "plugin/options/ColorOptions.h"

#include <QLayout>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

void PainChangeController::ColorToAdvancedView()
{
    if (onAdvancedView && onAdvancedView->getControlData())
        SHowColorToAdvancedView();
}

void PainChangeController::AdvancedToColorView()
{
    if (onColorView && onColorView->getControlData())
        ShowAdvancedToColorView();
}

void PainChangeController::SHowColorToAdvancedView()
{
    showInContainer(onAdvancedView, onColorView);
}

void PainChangeController::ShowAdvancedToColorView()
{
    showInContainer(onColorView, onAdvancedView);
}

void PainChangeController::showInContainer(PDEControlView* shown, PDEControlView* other)
{
    if (!shown)
        return;
    const QRect bounds = onMainCustomView ? onMainCustomView->rect() : QRect(0, 0, 0, 0);
    shown->setViewBounds(bounds);
    if (!onMainCustomView)
        return;
    QLayout* layout = onMainCustomView->layout();
    if (other && other->parentWidget() == onMainCustomView) {
        if (layout)
            layout->removeWidget(other);
        other->hide();
    }
    if (shown->parentWidget() != onMainCustomView)
        shown->setParent(onMainCustomView);
    if (layout && layout->indexOf(shown) < 0)
        layout->addWidget(shown);
    shown->show();
}

namespace {

// Sends one operation to two views, in the order given, skipping a missing one.
template <typename Operation>
void eachView(PDEControlView* first, PDEControlView* second, Operation operation)
{
    if (first)
        operation(first);
    if (second)
        operation(second);
}

}  // namespace

void PainChangeController::creatPDEControlTableEachView()
{
    eachView(onAdvancedView, onColorView, [&](PDEControlView* view) { view->createPDEControlTable(); });
}

void PainChangeController::deallocPDEControlTableEachView()
{
    eachView(onAdvancedView, onColorView, [&](PDEControlView* view) { view->deallocPDEControlTable(); });
}

void PainChangeController::addPPDArrayEachView(QStringList* array)
{
    eachView(onAdvancedView, onColorView, [&](PDEControlView* view) { view->addPPDArray(array); });
}

void PainChangeController::setPPDFileEachView(ppd_file_t* ppd)
{
    eachView(onAdvancedView, onColorView, [&](PDEControlView* view) { view->setPPDFile(ppd); });
}

void PainChangeController::setPMPrintEachView(rx::PrintSettings* settings, rx::PrintSession* session)
{
    eachView(onAdvancedView, onColorView, [&](PDEControlView* view) { view->setPMPrint(settings, session); });
}

void PainChangeController::createPDEItemForPPDKeyEachView()
{
    eachView(onAdvancedView, onColorView, [&](PDEControlView* view) { view->createPDEItemForPPDKey(); });
}

void PainChangeController::defaultFromPPDInfoEachView()
{
    eachView(onColorView, onAdvancedView, [&](PDEControlView* view) { view->defaultFromPPDInfo(); });
}

void PainChangeController::getControlValueFromTickettEachView()
{
    eachView(onAdvancedView, onColorView, [&](PDEControlView* view) { view->getControlValueFromTicket(); });
}

void PainChangeController::setControlValueToTicketEachView()
{
    eachView(onAdvancedView, onColorView, [&](PDEControlView* view) { view->setControlValueToTicket(); });
}


int16_t PainChangeController::getControlDataEachView(ControlTable* tables, int count) const
{
    for (int i = 0; i < count; ++i)
        tables[i] = nullptr;
    if (count > 0)
        tables[0] = onColorView ? onColorView->getControlData() : nullptr;
    if (count > 1)
        tables[1] = onAdvancedView ? onAdvancedView->getControlData() : nullptr;
    return 2;
}

int16_t PainChangeController::getControlCountEachView() const
{
    return int16_t((onAdvancedView ? onAdvancedView->getControlCount() : 0) +
                   (onColorView ? onColorView->getControlCount() : 0));
}

void PainChangeController::getSummaryTextEachView(QVariantMap* dict, QStringList* array) const
{
    if (!onColorView || !onAdvancedView)
        return;
    onColorView->getSummaryText(dict, array);
    if (uint16_t(onColorView->getQuickColorValue()) == colormodel::kCustomQuickColor)
        onAdvancedView->getSummaryText(dict, array);
    else
        getSummaryAdvancedItemAccodingQuickColor(dict, array);
}

void PainChangeController::changeAdvancedItemAccodingQuickColor()
{
    if (onColorView && onAdvancedView)
        onAdvancedView->changeItemAccodingQuickColor(onColorView->getQuickColorValue(),
                                                     onColorView->getEconoModeValue());
}

void PainChangeController::getSummaryAdvancedItemAccodingQuickColor(QVariantMap* dict, QStringList* array) const
{
    if (onColorView && onAdvancedView)
        onAdvancedView->getSummaryItemAccodingQuickColor(onColorView->getQuickColorValue(),
                                                         onColorView->getEconoModeValue(), dict, array);
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
