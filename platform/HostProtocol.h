// The print dialog's extension protocol. A plug-in is a Qt plug-in whose root
// object implements PDEPluginFactory; the host hands each panel a callback
// object that gives the job's print settings, the print session and the
// printer's parsed PPD. All calls come on the host's user-interface thread.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QtPlugin>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QWidget;
typedef struct ppd_file_s ppd_file_t;

namespace rx {

class PrintSettings;
class PrintSession;

// The printing system's printer-module panel type.
inline constexpr const char* kPrinterModulePanelType = "BDB091F4-E57F-11D3-B5CC-0050E4603277";
// The summary's key for the list of item names in display order.
inline constexpr const char* kSummaryDisplayOrder = "Summary Display Order";
// The print settings' key under which the panel keeps its choices: a
// dictionary of printer identifier -> (option keyword -> choice keyword). A
// host that opens the panel with a destination's saved options puts them there.
inline constexpr const char* kProductSettingsKey = "rx8240";

// Where a host shows that its panel is waiting for a request to the
// printer or the service (a status line). The panel holds the dialog's other
// input while it waits.
class PDEWaitDisplay {
public:
    virtual ~PDEWaitDisplay() = default;
    // The panel began waiting; `text` says for what, localised.
    virtual void showWaiting(const QString& text) = 0;
    // The wait has lasted long enough to let the user stop it: offer "Stop
    // waiting", whose choice calls `stop` (the request then ends as a failed
    // one). Answers the control that offers it, which keeps taking input;
    // null when nothing is offered.
    virtual QWidget* offerStop(std::function<void()> stop) = 0;
    // The wait is over, ended or stopped: remove the text and the offer.
    virtual void hideWaiting() = 0;
};

// What the host offers a panel. The objects stay the host's and live as long
// as the panel.
class PDEHostCallback {
public:
    virtual ~PDEHostCallback() = default;
    virtual PrintSettings* printSettings() = 0;
    virtual PrintSession* printSession() = 0;
    virtual ppd_file_t* ppdFile() = 0;
    // The host's display of the panel's waits; null when it has none (the
    // panel then shows only the wait cursor).
    virtual PDEWaitDisplay* waitDisplay() { return nullptr; }
};

// One panel of the print dialog.
class PDEPanel {
public:
    virtual ~PDEPanel() = default;
    virtual QString panelName() = 0;
    virtual QString panelKind() = 0;
    // PPD option keywords the panel handles; the host leaves them out of its
    // generic printer-features panel.
    virtual QStringList supportedPPDOptionKeys() = 0;
    // The panel's view; null when it cannot be loaded. The panel keeps
    // ownership unless the host reparents it.
    virtual QWidget* panelView() = 0;
    virtual void willShow() = 0;
    virtual bool shouldHide() = 0;
    // Both return true; `error` is left untouched by well-behaved panels.
    virtual bool restoreValuesAndReturnError(QString* error) = 0;
    virtual bool saveValuesAndReturnError(QString* error) = 0;
    // Localised item name -> value text, plus kSummaryDisplayOrder -> names.
    virtual QVariantMap summaryInfo() = 0;
    virtual void PPDOptionKeyValueDidChange(const QString& option, const QString& choice) = 0;
    virtual bool shouldPrint() = 0;
    // Releases the callback object; the panel is not used afterwards.
    virtual void terminate() = 0;
};

using PDEPanelList = std::vector<std::unique_ptr<PDEPanel>>;

// The plug-in's root object.
class PDEPluginFactory {
public:
    virtual ~PDEPluginFactory() = default;
    // Keeps the bundle directory (the first one given); true.
    virtual bool initWithBundle(const QString& bundleDirectory) = 0;
    // The panels of a panel type; nullopt for a type the plug-in does not serve.
    virtual std::optional<PDEPanelList> PDEPanelsForType(const QString& type, PDEHostCallback* host) = 0;
};

}  // namespace rx

#define RX_PDE_PLUGIN_FACTORY_IID "tarnvale.rx8240.PDEPluginFactory/1.0"
Q_DECLARE_INTERFACE(rx::PDEPluginFactory, RX_PDE_PLUGIN_FACTORY_IID)
