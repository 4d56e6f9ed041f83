// pdehost's interactive print dialog: a printer chooser (the CUPS queues and
// a printer given by hand with a PPD file), the Color Options panel hosted
// through the extension protocol, a summary pane built from the panel's
// summary, and Print / Cancel. Print saves the panel's values, lets the panel
// prepare the job (shouldPrint) and submits the document to the chosen queue.
// For a queue it is also a settings application: "Set as my defaults" and
// "Save as preset..." keep the panel's choices for every application.
// Every control can be reached with the keyboard; the panel's controls keep
// the names their labels give them.
#pragma once

#include "host/PanelHost.h"
#include "host/UserDefaults.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QTreeWidget;

namespace pdehost {

class PrintDialog : public QDialog, public rx::PDEWaitDisplay {
    Q_OBJECT
public:
    // A printer given by hand: its PPD file, identifier and device URI, and
    // the file its settings are kept in (none when empty).
    struct HandPrinter {
        QString ppd;
        rx::Printer printer;
        QString settingsFile;
    };
    struct Setup {
        QString bundle;
        QStringList queues;
        std::optional<HandPrinter> handPrinter;  // listed after the queues
        QString initialQueue;                    // chosen first when listed
        QString document;                        // what Print prints; a test page when empty
        QString waitingScreenshot;  // rendered when the dialog first offers to stop waiting
    };

    explicit PrintDialog(Setup setup, QWidget* parent = nullptr);
    ~PrintDialog() override;

    // Hosts the panel for the chooser's entry at `index`: the previous panel
    // is dropped unsaved. False when the printer or its panel cannot be
    // loaded; the message is shown in the dialog and Print is disabled.
    bool choosePrinter(int index);

    // Print's work: the print hook (save, shouldPrint), then for a queue the
    // job, for the printer given by hand its settings file. A queue's user
    // defaults stay as they were. False with the message shown when nothing
    // was printed.
    bool print();

    // The host of the current panel; null when none is loaded.
    PanelHost* host() const { return host_.get(); }
    // The queue of the current printer; empty for the printer given by hand.
    QString currentQueue() const;
    // The job id of the last successful Print on a queue; 0 when none.
    int jobId() const { return jobId_; }
    QString message() const;

    QComboBox* printerChooser() const { return chooser_; }
    QTreeWidget* summaryPane() const { return summary_; }
    QPushButton* printButton() const { return printButton_; }

    // The status line of the panel's waits: the text, and "Stop waiting"
    // once offered.
    void showWaiting(const QString& text) override;
    QWidget* offerStop(std::function<void()> stop) override;
    void hideWaiting() override;
    QLabel* waitStatus() const { return waitStatus_; }
    QPushButton* stopWaitingButton() const { return stopWaiting_; }
    // "Set as my defaults": the print hook, then the colour options become
    // the user's defaults of the current queue, which every application
    // prints with. False with the message shown.
    bool setAsMyDefaults();
    // "Save as preset...": the same, saved as the user's instance
    // QUEUE/NAME, a printer of its own in every application.
    bool saveAsPreset(const QString& name);

public slots:
    // Rebuilds the summary pane from the panel's summary.
    void refreshSummary();

private:
    struct Entry {
        QString label;
        QString queue;  // empty for the printer given by hand
    };

    bool loadPrinter(const Entry& entry, QString* error);
    void showPanel(QWidget* view);
    void showMessage(const QString& text);
    void printAndClose();
    QWidget* makeStatusLine();
    QString noPrintersMessage() const;
    void addSettingsButtons(QDialogButtonBox* buttons);
    // The settings buttons work on a queue whose panel is loaded.
    void updateSettingsButtons();
    bool saveAsDefaults(const Destination& destination);
    void askAndSavePreset();

    Setup setup_;
    std::vector<Entry> entries_;
    std::unique_ptr<PanelHost> host_;
    QString settingsFile_;  // where the current printer's settings are kept
    int jobId_ = 0;

    QComboBox* chooser_ = nullptr;
    QScrollArea* panelArea_ = nullptr;
    QTreeWidget* summary_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QWidget* statusLine_ = nullptr;
    QLabel* waitStatus_ = nullptr;
    QPushButton* stopWaiting_ = nullptr;
    std::function<void()> stop_;
    QPushButton* defaultsButton_ = nullptr;
    QPushButton* presetButton_ = nullptr;
};

}  // namespace pdehost
