// The print-dialog side of the extension protocol: loads a plug-in bundle,
// obtains its printer-module panel and keeps the print objects it hands the
// panel. pdehost's scripted actions and its dialog both drive one PanelHost.
#pragma once

#include "platform/HostProtocol.h"
#include "platform/PrintSession.h"
#include "platform/PrintSettings.h"

#include <QPluginLoader>
#include <QString>
#include <cups/ppd.h>
#include <memory>

namespace pdehost {

struct PpdCloser {
    void operator()(ppd_file_t* p) const { ppdClose(p); }
};
using PpdHandle = std::unique_ptr<ppd_file_t, PpdCloser>;

class PanelHost : public rx::PDEHostCallback {
public:
    PanelHost() = default;
    ~PanelHost() override;

    // Opens the printer's PPD, its texts in the user's language (libcups's
    // choice from LC_ALL, LC_MESSAGES, LANG); false with a message when it
    // cannot be read.
    bool openPpd(const QString& path, QString* error);
    void setPrinter(rx::Printer printer) { session_.setCurrentPrinter(std::move(printer)); }
    // Loads the bundle's plug-in and asks it for the printer-module panel.
    bool loadBundle(const QString& bundleDirectory, QString* error);

    rx::PDEPanel* panel() const { return panel_.get(); }
    // True when the PPD offers at least one option the panel handles (the
    // PPD is the rx8240's), so that the panel has something to show.
    bool hasPanelOptions();
    // The print hook, as a dialog's Print runs it before a job: the panel
    // saves its values and prepares the job (the Quick Color preset imposes
    // its advanced settings). False when the panel stops the job.
    bool prepareJob();
    rx::PrintSettings& settings() { return settings_; }
    const rx::PrintSession& session() const { return session_; }

    rx::PrintSettings* printSettings() override { return &settings_; }
    rx::PrintSession* printSession() override { return &session_; }
    ppd_file_t* ppdFile() override { return ppd_.get(); }
    rx::PDEWaitDisplay* waitDisplay() override { return waitDisplay_; }
    // Where the panel's waits are shown; the display stays the caller's.
    void setWaitDisplay(rx::PDEWaitDisplay* display) { waitDisplay_ = display; }

private:
    rx::PrintSettings settings_;
    rx::PrintSession session_;
    PpdHandle ppd_;
    QPluginLoader loader_;
    std::unique_ptr<rx::PDEPanel> panel_;
    rx::PDEWaitDisplay* waitDisplay_ = nullptr;
};

// The bundle that pdehost uses when none is given: the one beside the
// executable in the build tree, else the installed one.
QString defaultBundleDirectory();

}  // namespace pdehost
