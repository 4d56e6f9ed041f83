// The Color Options panel controller: the object the print dialog drives
// through the whole life of the dialog. It loads the panel's UI description,
// builds both views' tables and their compound table, and forwards each host
// request to the views and to the constraint rules.
#pragma once

#include "platform/HostProtocol.h"
#include "plugin/frame/RequestWait.h"
#include "plugin/options/AdvancedColorOptions.h"
#include "plugin/options/ColorOptions.h"
#include "plugin/options/PDECommon.h"

#include <QObject>
#include <QPointer>
#include <memory>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

class PainChangeController;
class ProfileControl;

class PDEPlugInInterface : public QObject, public rx::PDEPanel {
    Q_OBJECT
public:
    // initWithCallback: keeps the callback object and takes the print
    // settings and session from it.
    explicit PDEPlugInInterface(rx::PDEHostCallback* callback);
    ~PDEPlugInInterface() override;

    QString panelName() override;
    QString panelKind() override;
    QStringList supportedPPDOptionKeys() override;
    QWidget* panelView() override;
    void willShow() override;
    bool shouldHide() override;
    bool restoreValuesAndReturnError(QString* error) override;
    bool saveValuesAndReturnError(QString* error) override;
    QVariantMap summaryInfo() override;
    void PPDOptionKeyValueDidChange(const QString& option, const QString& choice) override;
    bool shouldPrint() override;
    void terminate() override;

    // Loaded state, for tests and the host.
    bool isLoaded() const { return !pdeMainView.isNull(); }
    PDEControlItem* compoundTable() const { return compTable.get(); }
    ColorOptions* colorView() const { return onColorView; }
    AdvancedColorOptions* advancedView() const { return onAdvancedView; }
    PainChangeController* viewSwitch() const { return painChange; }

public slots:
    // Constraint pass over the basic view's table.
    void selectItem();
    // Constraint pass over the compound table.
    void constraints();

private:
    void myLoad();
    void connectActions();
    bool bothViews() const { return onColorView && onAdvancedView; }

    rx::PDEHostCallback* pdePluginCallbackObject = nullptr;
    std::unique_ptr<PDEControlItem[]> compTable;
    rx::PrintSettings* setting = nullptr;
    rx::PrintSession* session = nullptr;
    QPointer<ColorOptions> onColorView;
    QPointer<AdvancedColorOptions> onAdvancedView;
    QPointer<ProfileControl> profileControl;
    QPointer<QWidget> pdeMainView;
    PainChangeController* painChange = nullptr;
    ppd_file_t* ppd = nullptr;
    // How the panel's requests to the service wait, shown on the host's
    // display; installed for the panel's whole life.
    RequestWait requestWait{
        [this] { return pdePluginCallbackObject ? pdePluginCallbackObject->waitDisplay() : nullptr; }};
};

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
