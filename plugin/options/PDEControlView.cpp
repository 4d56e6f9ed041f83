#include "plugin/options/PDEControlView.h"

#include <new>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

PDEControlView::PDEControlView(QWidget* parent) : QWidget(parent) {}

PDEControlView::~PDEControlView()
{
    deallocPDEControlTable();
}

void PDEControlView::setPMPrint(rx::PrintSettings* printSettings, rx::PrintSession* printSession)
{
    setting = printSettings;
    session = printSession;
}

void PDEControlView::setViewBounds(const QRect& rect)
{
    resize(rect.size());
}

bool PDEControlView::buildTable(const PDEControlItem* rows, int16_t count)
{
    deallocPDEControlTable();
    ctrlCount = count;
    ctrlTable.reset(new (std::nothrow) PDEControlItem[size_t(count)]);
    if (!ctrlTable)
        return false;
    std::copy(rows, rows + count, ctrlTable.get());
    for (PDEControlItem& row : controlRows(ctrlTable.get())) {
        row.uiList = nullptr;
        if (isBound(row))
            PDECommon::commonGetPPDArrayForUIOption(ppd, row.ppdKey, &row.uiList);
    }
    return true;
}

void PDEControlView::deallocPDEControlTable()
{
    if (!ctrlTable)
        return;
    for (PDEControlItem& row : controlRows(ctrlTable.get())) {
        if (isBound(row)) {
            delete row.uiList;
            row.uiList = nullptr;
        }
    }
    ctrlTable.reset();
}

OSStatus PDEControlView::addPPDArray(QStringList* array) const
{
    return PDECommon::commonAddPPDArray(array, ctrlTable.get());
}

void PDEControlView::createPDEItemForPPDKey()
{
    if (ctrlTable)
        PDECommon::commonBuildPDEItem(ctrlTable.get(), ppd);
}

void PDEControlView::defaultFromPPDInfo()
{
    if (ctrlTable)
        PDECommon::commonDefaultFromPPDInfo(ctrlTable.get());
}

void PDEControlView::getControlValueFromTicket()
{
    if (ctrlTable)
        PDECommon::commonSyncPaneFromTicket(setting, session, ctrlTable.get());
}

void PDEControlView::setControlValueToTicket()
{
    if (ctrlTable)
        PDECommon::commonSyncTicketFromPane(setting, session, ctrlTable.get());
}

OSStatus PDEControlView::getSummaryText(QVariantMap* dict, QStringList* array) const
{
    return ctrlTable ? PDECommon::commonGetSummaryText(ctrlTable.get(), dict, array) : kNoErr;
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
