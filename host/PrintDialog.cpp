#include "host/PrintDialog.h"

#include "host/CupsPrinter.h"
#include "host/ScriptedActions.h"
#include "host/SettingsStore.h"
#include "host/UserDefaults.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTemporaryFile>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace pdehost {

namespace {

// One page printed when the dialog was given no document.
constexpr const char kTestPage[] =
    "%!PS-Adobe-3.0\n"
    "%%Pages: 1\n"
    "%%EndComments\n"
    "%%Page: 1 1\n"
    "/Helvetica findfont 24 scalefont setfont\n"
    "72 720 moveto (rx8240 colour test page) show\n"
    "showpage\n"
    "%%EOF\n";

// The dialog's size at least, however small its contents.
constexpr QSize kLeastSize(900, 560);

}  // namespace

PrintDialog::PrintDialog(Setup setup, QWidget* parent) : QDialog(parent), setup_(std::move(setup))
{
    setWindowTitle(tr("Print"));

    for (const QString& queue : setup_.queues)
        entries_.push_back({queue, queue});
    if (setup_.handPrinter)
        entries_.push_back({tr("%1 (%2)")
                                .arg(QString::fromStdString(setup_.handPrinter->printer.identifier),
                                     QFileInfo(setup_.handPrinter->ppd).fileName()),
                            QString()});

    chooser_ = new QComboBox(this);
    chooser_->setObjectName(QStringLiteral("printerChooser"));
    for (const Entry& e : entries_)
        chooser_->addItem(e.label, e.queue);
    auto* chooserLabel = new QLabel(tr("&Printer:"), this);
    chooserLabel->setBuddy(chooser_);
    auto* document = new QLabel(setup_.document.isEmpty() ? tr("test page") : QFileInfo(setup_.document).fileName(),
                                this);
    auto* documentLabel = new QLabel(tr("Document:"), this);
    documentLabel->setBuddy(document);
    auto* top = new QFormLayout;
    top->addRow(chooserLabel, chooser_);
    top->addRow(documentLabel, document);

    panelArea_ = new QScrollArea(this);
    panelArea_->setObjectName(QStringLiteral("panelArea"));
    panelArea_->setWidgetResizable(true);
    panelArea_->setFocusPolicy(Qt::NoFocus);
    panelArea_->setAccessibleName(tr("Color Options"));

    summary_ = new QTreeWidget(this);
    summary_->setObjectName(QStringLiteral("summaryPane"));
    summary_->setAccessibleName(tr("Summary"));
    summary_->setColumnCount(2);
    summary_->setHeaderLabels({tr("Option"), tr("Setting")});
    summary_->setRootIsDecorated(false);
    summary_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    auto* summaryLabel = new QLabel(tr("S&ummary"), this);
    summaryLabel->setBuddy(summary_);
    auto* summaryBox = new QWidget(this);
    auto* summaryLayout = new QVBoxLayout(summaryBox);
    summaryLayout->setContentsMargins(0, 0, 0, 0);
    summaryLayout->addWidget(summaryLabel);
    summaryLayout->addWidget(summary_);

    auto* split = new QSplitter(this);
    split->addWidget(panelArea_);
    split->addWidget(summaryBox);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("message"));
    message_->setWordWrap(true);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(this);
    printButton_ = buttons->addButton(tr("&Print"), QDialogButtonBox::AcceptRole);
    printButton_->setObjectName(QStringLiteral("printButton"));
    printButton_->setDefault(true);
    addSettingsButtons(buttons);
    cancelButton_ = buttons->addButton(QDialogButtonBox::Cancel);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &PrintDialog::printAndClose);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(split, 1);
    layout->addWidget(message_);
    layout->addWidget(makeStatusLine());
    layout->addWidget(buttons);

    connect(chooser_, &QComboBox::currentIndexChanged, this, [this](int index) { choosePrinter(index); });
    int first = 0;
    for (size_t i = 0; i < entries_.size(); ++i)
        if (!setup_.initialQueue.isEmpty() && entries_[i].queue == setup_.initialQueue)
            first = int(i);
    if (entries_.empty()) {
        showMessage(noPrintersMessage());
        printButton_->setEnabled(false);
    } else if (chooser_->currentIndex() == first) {
        choosePrinter(first);
    } else {
        chooser_->setCurrentIndex(first);
    }
    resize(sizeHint().expandedTo(kLeastSize));
}

PrintDialog::~PrintDialog()
{
    // The panel owns its view: give it back before the panel goes.
    QWidget* shown = panelArea_->takeWidget();
    if (!host_)
        delete shown;  // a placeholder of ours
    host_.reset();
}

QString PrintDialog::currentQueue() const
{
    const int index = chooser_->currentIndex();
    return index < 0 || size_t(index) >= entries_.size() ? QString() : entries_[size_t(index)].queue;
}

QString PrintDialog::message() const
{
    return message_->text();
}

void PrintDialog::showMessage(const QString& text)
{
    message_->setText(text);
}

bool PrintDialog::loadPrinter(const Entry& entry, QString* error)
{
    auto host = std::make_unique<PanelHost>();
    QString settingsFile;
    if (!entry.queue.isEmpty()) {
        if (!usePrinterFromQueue(*host, entry.queue, error))
            return false;
    } else {
        const HandPrinter& hand = *setup_.handPrinter;
        if (!host->openPpd(hand.ppd, error))
            return false;
        host->setPrinter(hand.printer);
        settingsFile = hand.settingsFile;
    }
    if (!settingsFile.isEmpty() && !loadSettings(settingsFile, host->settings(), error))
        return false;
    host->setWaitDisplay(this);
    if (!host->loadBundle(setup_.bundle, error))
        return false;
    if (!host->hasPanelOptions()) {
        *error = tr("This printer has no Color Options");
        return false;
    }
    // A queue opens with the user's defaults of it.
    if (!entry.queue.isEmpty() && !loadUserDefaults(*host, Destination{entry.queue, QString()}, error))
        return false;
    host_ = std::move(host);
    settingsFile_ = settingsFile;
    return true;
}

bool PrintDialog::choosePrinter(int index)
{
    QWidget* previous = panelArea_->takeWidget();
    if (previous && !host_)
        delete previous;  // a placeholder of ours
    host_.reset();
    summary_->clear();
    jobId_ = 0;

    QString error;
    if (index < 0 || size_t(index) >= entries_.size())
        error = tr("no printer chosen");
    else if (loadPrinter(entries_[size_t(index)], &error)) {
        rx::PDEPanel* panel = host_->panel();
        QWidget* view = panel->panelView();
        if (view) {
            panel->restoreValuesAndReturnError(nullptr);
            showPanel(view);
            panel->willShow();
            refreshSummary();
            showMessage(QString());
            printButton_->setEnabled(true);
            updateSettingsButtons();
            return true;
        }
        error = tr("the Color Options panel has no view (its UI description did not load)");
        host_.reset();
    }
    auto* placeholder = new QLabel(error);
    placeholder->setWordWrap(true);
    placeholder->setAlignment(Qt::AlignCenter);
    panelArea_->setWidget(placeholder);
    showMessage(error);
    printButton_->setEnabled(false);
    updateSettingsButtons();
    return false;
}

void PrintDialog::showPanel(QWidget* view)
{
    panelArea_->setWidget(view);
    // A view reparented into the window joins the end of its focus chain;
    // put the panel's controls between the chooser and the summary.
    QWidget* last = view;
    for (QWidget* w = view->nextInFocusChain(); w != view && view->isAncestorOf(w); w = w->nextInFocusChain())
        last = w;
    QWidget::setTabOrder(last, summary_);
    QWidget::setTabOrder(summary_, printButton_);
    QWidget::setTabOrder(printButton_, cancelButton_);

    // Control actions run the panel's own handlers first; the summary follows.
    for (QWidget* control : panelControls(view)) {
        if (auto* menu = qobject_cast<QComboBox*>(control))
            connect(menu, &QComboBox::activated, this, &PrintDialog::refreshSummary, Qt::QueuedConnection);
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            connect(button, &QAbstractButton::clicked, this, &PrintDialog::refreshSummary, Qt::QueuedConnection);
    }
}

QWidget* PrintDialog::makeStatusLine()
{
    statusLine_ = new QWidget(this);
    statusLine_->setObjectName(QStringLiteral("waitStatusLine"));
    waitStatus_ = new QLabel(statusLine_);
    waitStatus_->setObjectName(QStringLiteral("waitStatus"));
    stopWaiting_ = new QPushButton(tr("&Stop waiting"), statusLine_);
    stopWaiting_->setObjectName(QStringLiteral("stopWaitingButton"));
    connect(stopWaiting_, &QPushButton::clicked, this, [this] {
        if (stop_)
            stop_();
    });
    auto* row = new QHBoxLayout(statusLine_);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(waitStatus_, 1);
    row->addWidget(stopWaiting_);
    statusLine_->hide();
    return statusLine_;
}

void PrintDialog::showWaiting(const QString& text)
{
    waitStatus_->setText(text);
    stopWaiting_->hide();
    statusLine_->show();
    if (!isVisible()) {  // a wait while the dialog is being built
        resize(sizeHint().expandedTo(kLeastSize));
        show();
    }
}

QWidget* PrintDialog::offerStop(std::function<void()> stop)
{
    stop_ = std::move(stop);
    stopWaiting_->show();
    if (!setup_.waitingScreenshot.isEmpty())
        QTimer::singleShot(200, this, [this, file = std::exchange(setup_.waitingScreenshot, QString())] {
            if (!grab().save(file, "PNG"))
                showMessage(tr("cannot write screenshot %1").arg(file));
        });
    return stopWaiting_;
}

void PrintDialog::hideWaiting()
{
    stop_ = nullptr;
    statusLine_->hide();
}

void PrintDialog::refreshSummary()
{
    summary_->clear();
    if (!host_)
        return;
    const QVariantMap summary = host_->panel()->summaryInfo();
    for (const QString& name : summary.value(QString::fromLatin1(rx::kSummaryDisplayOrder)).toStringList())
        new QTreeWidgetItem(summary_, {name, summary.value(name).toString()});
}

bool PrintDialog::print()
{
    if (!host_) {
        showMessage(tr("nothing to print: no printer is loaded"));
        return false;
    }
    if (!host_->prepareJob()) {
        showMessage(tr("the Color Options panel stopped the job"));
        return false;
    }
    QString error;
    const QString queue = currentQueue();
    if (!queue.isEmpty()) {
        QTemporaryFile testPage(QDir::tempPath() + QStringLiteral("/pdehost-XXXXXX.ps"));
        QString document = setup_.document;
        if (document.isEmpty()) {
            if (!testPage.open() || testPage.write(kTestPage, sizeof kTestPage - 1) != qint64(sizeof kTestPage - 1) ||
                !testPage.flush()) {
                showMessage(tr("cannot write the test page: %1").arg(testPage.errorString()));
                return false;
            }
            document = testPage.fileName();
        }
        const QString title = setup_.document.isEmpty() ? tr("test page") : QFileInfo(setup_.document).fileName();
        const int job = submitJob(queue, document, title, host_->settings().stringEntries(), &error);
        if (job <= 0) {
            showMessage(error);
            return false;
        }
        jobId_ = job;
        showMessage(tr("job %1-%2 sent").arg(queue).arg(job));
    }
    if (!settingsFile_.isEmpty() && !storeSettings(settingsFile_, host_->settings(), &error)) {
        showMessage(error);
        return !queue.isEmpty();  // a job already sent stays sent
    }
    return true;
}

void PrintDialog::printAndClose()
{
    if (print())
        accept();
}

QString PrintDialog::noPrintersMessage() const
{
    if (!cupsServerAnswers())
        return tr("No printers: the CUPS server %1 does not answer, and no PPD file was given.").arg(cupsServerName());
    return tr("No printers: the CUPS server has no queues and no PPD file was given.");
}

// ---- The settings application's buttons -----------------------------------

void PrintDialog::addSettingsButtons(QDialogButtonBox* buttons)
{
    defaultsButton_ = buttons->addButton(tr("Set as my &defaults"), QDialogButtonBox::ActionRole);
    defaultsButton_->setObjectName(QStringLiteral("defaultsButton"));
    presetButton_ = buttons->addButton(tr("Save as pre&set\u2026"), QDialogButtonBox::ActionRole);
    presetButton_->setObjectName(QStringLiteral("presetButton"));
    connect(defaultsButton_, &QPushButton::clicked, this, [this] { setAsMyDefaults(); });
    connect(presetButton_, &QPushButton::clicked, this, &PrintDialog::askAndSavePreset);
    updateSettingsButtons();
}

void PrintDialog::updateSettingsButtons()
{
    const bool queue = host_ && !currentQueue().isEmpty();
    defaultsButton_->setEnabled(queue);
    presetButton_->setEnabled(queue);
}

bool PrintDialog::saveAsDefaults(const Destination& destination)
{
    QString error;
    if (!host_->prepareJob())
        error = tr("the Color Options panel stopped the job");
    else if (saveUserDefaults(*host_, destination, &error))
        showMessage(tr("Saved as your defaults of %1: every application prints with them.").arg(destination.name()));
    if (!error.isEmpty())
        showMessage(error);
    return error.isEmpty();
}

bool PrintDialog::setAsMyDefaults()
{
    return host_ && saveAsDefaults(Destination{currentQueue(), QString()});
}

bool PrintDialog::saveAsPreset(const QString& name)
{
    if (!plausibleQueueName(name)) {
        showMessage(tr("\"%1\" cannot name a preset: no spaces, \"/\", \"#\" or \"\\\".").arg(name));
        return false;
    }
    return host_ && saveAsDefaults(Destination{currentQueue(), name});
}

void PrintDialog::askAndSavePreset()
{
    bool ok = false;
    const QString name = QInputDialog::getText(this, tr("Save as Preset"),
                                               tr("Preset name (applications list it as %1/NAME):").arg(currentQueue()),
                                               QLineEdit::Normal, QString(), &ok);
    if (ok)
        saveAsPreset(name.trimmed());
}

}  // namespace pdehost
