#include "plugin/frame/PDEPlugInInterface.h"

#include "platform/Bundle.h"
#include "plugin/constraints/ConstraintEngine.h"
#include "plugin/frame/PainChangeController.h"
#include "plugin/frame/UiDescription.h"
#include "plugin/options/AdvancedColorOptions.h"
#include "plugin/options/ColorOptions.h"
#include "plugin/profilewindow/ProfileControl.h"
#include "profilelist/ProfileList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

namespace {
const char* const kPanelKind = "tarnvale.pde.rx8240.qvco";
const char* const kPanelName = "Color Options";
const char* const kUiDescription = "PDEMain";
constexpr int kTableSlots = 5;
}  // namespace

PDEPlugInInterface::PDEPlugInInterface(rx::PDEHostCallback* callback)
    : pdePluginCallbackObject(callback), painChange(new PainChangeController(this))
{
    if (callback) {
        setting = callback->printSettings();
        session = callback->printSession();
    }
}

PDEPlugInInterface::~PDEPlugInInterface()
{
    painChange->deallocPDEControlTableEachView();
    compTable.reset();
    delete pdeMainView.data();
}

QString PDEPlugInInterface::panelName()
{
    return localizedString(kPanelName);
}

QString PDEPlugInInterface::panelKind()
{
    return QString::fromLatin1(kPanelKind);
}

void PDEPlugInInterface::myLoad()
{
    if (pdeMainView || !pluginBundle())
        return;
    QWidget* root = loadUiDescription(*pluginBundle(), QString::fromLatin1(kUiDescription));
    if (!root)
        return;
    pdeMainView = root;
    onColorView = root->findChild<ColorOptions*>(QStringLiteral("onColorView"));
    onAdvancedView = root->findChild<AdvancedColorOptions*>(QStringLiteral("onAdvancedView"));
    painChange->onColorView = onColorView;
    painChange->onAdvancedView = onAdvancedView;
    painChange->onMainCustomView = root->findChild<QWidget*>(QStringLiteral("onMainCustomView"));
    if (onColorView)
        onColorView->connectOutlets();
    if (onAdvancedView)
        onAdvancedView->connectOutlets();

    ppd = pdePluginCallbackObject ? pdePluginCallbackObject->ppdFile() : nullptr;
    painChange->setPMPrintEachView(setting, session);
    painChange->setPPDFileEachView(ppd);
    painChange->creatPDEControlTableEachView();

    ControlTable tables[kTableSlots];
    const int16_t count = painChange->getControlDataEachView(tables, kTableSlots);
    compTable = PDECommon::commonControlTableCompound(tables, count);
    if (!profileControl)
        profileControl = new ProfileControl(this);
    profileControl->setPMPrint(setting, session);
    profileControl->setConstTable(compTable.get());
    profileControl->setAdvancedView(onAdvancedView);

    painChange->createPDEItemForPPDKeyEachView();
    connectActions();
    painChange->ShowAdvancedToColorView();
}

// Every control re-runs the constraint rules over both views, so that a
// change in either view shows at once in the other.
void PDEPlugInInterface::connectActions()
{
    for (PDEControlView* view : {static_cast<PDEControlView*>(onColorView), static_cast<PDEControlView*>(onAdvancedView)}) {
        if (!view)
            continue;
        for (QComboBox* menu : view->findChildren<QComboBox*>())
            connect(menu, &QComboBox::activated, this, &PDEPlugInInterface::constraints);
        for (QCheckBox* box : view->findChildren<QCheckBox*>())
            connect(box, &QCheckBox::clicked, this, &PDEPlugInInterface::constraints);
    }
    if (onColorView && onColorView->button_AdvanceColorOptions)
        connect(onColorView->button_AdvanceColorOptions, &QPushButton::clicked, painChange,
                &PainChangeController::ColorToAdvancedView);
    if (onAdvancedView) {
        if (onAdvancedView->button_HideAdvancedOptions)
            connect(onAdvancedView->button_HideAdvancedOptions, &QPushButton::clicked, painChange,
                    &PainChangeController::AdvancedToColorView);
        if (onAdvancedView->button_ManageProfile && profileControl)
            connect(onAdvancedView->button_ManageProfile, &QPushButton::clicked, profileControl.data(),
                    &ProfileControl::showProfileManagementWindow);
        if (onAdvancedView->button_DownloadManager)
            connect(onAdvancedView->button_DownloadManager, &QPushButton::clicked, onAdvancedView.data(),
                    &AdvancedColorOptions::downloadManagerButton);
    }
}

QStringList PDEPlugInInterface::supportedPPDOptionKeys()
{
    myLoad();
    QStringList keys;
    painChange->addPPDArrayEachView(&keys);
    return keys;
}

QWidget* PDEPlugInInterface::panelView()
{
    myLoad();
    if (QVPListIsAdminProfile() != 0)
        PDECommon::commonGetProfilesFromMIB(session);
    return pdeMainView;
}

void PDEPlugInInterface::willShow()
{
    painChange->ShowAdvancedToColorView();
}

bool PDEPlugInInterface::shouldHide()
{
    return true;
}

bool PDEPlugInInterface::restoreValuesAndReturnError(QString*)
{
    myLoad();
    if (bothViews())
        painChange->defaultFromPPDInfoEachView();
    if (setting && session)
        painChange->getControlValueFromTickettEachView();
    if (pdeMainView)
        vColorPresetConstraints(compTable.get());
    return true;
}

bool PDEPlugInInterface::saveValuesAndReturnError(QString*)
{
    if (bothViews() && setting && session)
        painChange->setControlValueToTicketEachView();
    return true;
}

QVariantMap PDEPlugInInterface::summaryInfo()
{
    myLoad();
    QVariantMap dict;
    QStringList order;
    if (bothViews())
        painChange->getSummaryTextEachView(&dict, &order);
    dict.insert(QString::fromLatin1(rx::kSummaryDisplayOrder), order);
    return dict;
}

void PDEPlugInInterface::PPDOptionKeyValueDidChange(const QString&, const QString&) {}

bool PDEPlugInInterface::shouldPrint()
{
    painChange->changeAdvancedItemAccodingQuickColor();
    if (onAdvancedView)
        onAdvancedView->setControlValueToTicket();
    return true;
}

void PDEPlugInInterface::terminate()
{
    pdePluginCallbackObject = nullptr;
}

void PDEPlugInInterface::selectItem()
{
    if (onColorView)
        vColorPresetConstraints(onColorView->getControlData());
}

void PDEPlugInInterface::constraints()
{
    vColorPresetConstraints(compTable.get());
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
