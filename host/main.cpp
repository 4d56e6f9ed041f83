// pdehost: a print-dialog host for the Color Options plug-in. It loads the
// plug-in bundle through the extension protocol and drives its panel with a
// list of actions run in order, or opens an interactive print dialog ("gui").
// The printer is given by hand (--ppd) or is a CUPS destination (--queue
// QUEUE or QUEUE/INSTANCE), whose session opens with the user's defaults of
// the destination.
#include "host/ActionTable.h"
#include "host/CupsPrinter.h"
#include "host/PanelHost.h"
#include "host/PrintDialog.h"
#include "host/SettingsStore.h"
#include "host/UserDefaults.h"
#include "platform/InstallDirs.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>

namespace {

void usage(QTextStream& stream)
{
    stream << "usage: pdehost (--ppd FILE [--printer-id ID] [--device-uri URI] | --queue QUEUE[/INSTANCE])\n"
        << "               [--settings FILE] [--bundle DIR] ACTION...\n"
        << "       pdehost --help | --version\n"
        << "       pdehost [--ppd FILE ...] [--queue NAME] [--document FILE] [--screenshot FILE.png]\n"
        << "               [--waiting-screenshot FILE.png] gui\n"
        << "actions, run in order:\n"
        << pdehost::actionHelp();
}

struct Options {
    QString ppd, printerId = QStringLiteral("rx8240"), deviceUri, settings, bundle;
    QString queue, document, screenshot;  // screenshot: render the dialog to this file and close it
    QString waitingScreenshot;            // render the dialog when it first offers to stop waiting
    QStringList actions;
    bool gui() const { return actions == QStringList{QStringLiteral("gui")}; }
};

bool parse(const QStringList& args, Options* o, QString* error)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString* into) {
            if (i + 1 >= args.size()) {
                *error = QStringLiteral("%1 needs a value").arg(a);
                return false;
            }
            *into = args[++i];
            return true;
        };
        if (a == QLatin1String("--ppd")) {
            if (!value(&o->ppd))
                return false;
        } else if (a == QLatin1String("--printer-id")) {
            if (!value(&o->printerId))
                return false;
        } else if (a == QLatin1String("--device-uri")) {
            if (!value(&o->deviceUri))
                return false;
        } else if (a == QLatin1String("--settings")) {
            if (!value(&o->settings))
                return false;
        } else if (a == QLatin1String("--bundle")) {
            if (!value(&o->bundle))
                return false;
        } else if (a == QLatin1String("--queue")) {
            if (!value(&o->queue) || !pdehost::checkDestinationName(o->queue, error))
                return false;
        } else if (a == QLatin1String("--document")) {
            if (!value(&o->document))
                return false;
        } else if (a == QLatin1String("--screenshot")) {
            if (!value(&o->screenshot))
                return false;
        } else if (a == QLatin1String("--waiting-screenshot")) {
            if (!value(&o->waitingScreenshot))
                return false;
        } else if (a.startsWith(QLatin1String("--"))) {
            *error = QStringLiteral("unknown option %1").arg(a);
            return false;
        } else {
            o->actions.append(a);
        }
    }
    if (o->actions.contains(QStringLiteral("gui")) && !o->gui()) {
        *error = QStringLiteral("gui is a mode of its own, not an action among others");
        return false;
    }
    if (o->gui())
        return true;
    if (!o->screenshot.isEmpty() || !o->waitingScreenshot.isEmpty() || !o->document.isEmpty()) {
        *error = QStringLiteral("--screenshot, --waiting-screenshot and --document belong to gui");
        return false;
    }
    if (o->ppd.isEmpty() == o->queue.isEmpty()) {
        *error = QStringLiteral("no printer: give --ppd FILE or --queue NAME (one of them)");
        return false;
    }
    return true;
}

// The interactive dialog; with --screenshot it is rendered to the file and
// closed without a user.
int runDialog(const Options& options, const QString& bundle, QTextStream& out, QTextStream& err)
{
    pdehost::PrintDialog::Setup setup;
    setup.bundle = bundle;
    setup.queues = pdehost::cupsQueueNames();
    setup.initialQueue = options.queue;
    setup.document = options.document;
    setup.waitingScreenshot = options.waitingScreenshot;
    if (!options.ppd.isEmpty())
        setup.handPrinter = pdehost::PrintDialog::HandPrinter{
            options.ppd, rx::Printer{options.printerId.toStdString(), options.deviceUri.toStdString()},
            options.settings};
    if (!options.queue.isEmpty() && !setup.queues.contains(options.queue)) {
        err << "pdehost: the CUPS server has no queue \"" << options.queue << "\"\n";
        return 1;
    }
    if (options.screenshot.isEmpty() && QGuiApplication::platformName() == QLatin1String("offscreen")) {
        err << "pdehost: gui needs a display; without one, render it with --screenshot FILE\n";
        return 2;
    }
    pdehost::PrintDialog dialog(setup);
    if (!options.screenshot.isEmpty()) {
        dialog.show();
        QCoreApplication::processEvents();
        if (!dialog.grab().save(options.screenshot, "PNG")) {
            err << "pdehost: cannot write screenshot " << options.screenshot << '\n';
            return 1;
        }
        if (!dialog.message().isEmpty())
            out << dialog.message() << '\n';
        return 0;
    }
    if (dialog.exec() != QDialog::Accepted) {
        out << "cancelled\n";
        return 0;
    }
    if (dialog.currentQueue().isEmpty()) {
        for (const auto& [key, value] : dialog.host()->settings().stringEntries())
            out << QString::fromStdString(key) << '=' << QString::fromStdString(value) << '\n';
    } else {
        out << "job\t" << dialog.currentQueue() << '-' << dialog.jobId() << '\n';
    }
    return 0;
}

// Qt's notes about the platform rather than about anything the user asked:
// a missing XDG_RUNTIME_DIR (root's shell) and the offscreen platform's
// window hints. A command-line tool prints only its own words; every other
// message goes on to Qt's handler.
QtMessageHandler qtHandler = nullptr;

void dropPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg &&
        (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")) ||
         message.startsWith(QLatin1String("QStandardPaths: runtime directory")) ||
         message.startsWith(QLatin1String("This plugin does not support propagateSizeHints()"))))
        return;
    qtHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv)
{
    qtHandler = qInstallMessageHandler(dropPlatformNotes);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY") &&
        !qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    const QStringList arguments = app.arguments();
    if (arguments.contains(QStringLiteral("--help"))) {
        usage(out);
        return 0;
    }
    if (arguments.contains(QStringLiteral("--version"))) {
        out << "pdehost " RX_VERSION "\n";
        return 0;
    }
    Options options;
    QString error;
    if (!parse(arguments, &options, &error)) {
        err << "pdehost: " << error << '\n';
        usage(err);
        return 2;
    }

    const QString bundle = options.bundle.isEmpty() ? pdehost::defaultBundleDirectory() : options.bundle;
    if (options.gui())
        return runDialog(options, bundle, out, err);

    pdehost::PanelHost host;
    const pdehost::Destination destination = pdehost::parseDestination(options.queue);
    bool printer = false;
    if (options.queue.isEmpty()) {
        host.setPrinter(rx::Printer{options.printerId.toStdString(), options.deviceUri.toStdString()});
        printer = host.openPpd(options.ppd, &error);
    } else {
        printer = pdehost::usePrinterFromQueue(host, destination.queue, &error);
    }
    // A queue session opens with the user's defaults of its destination; a
    // settings file given replaces them.
    const QString& settingsFile = options.settings;
    if (!printer || (!settingsFile.isEmpty() && !pdehost::settingsFolderExists(settingsFile, &error)) ||
        (!settingsFile.isEmpty() && !pdehost::loadSettings(settingsFile, host.settings(), &error)) ||
        !host.loadBundle(bundle, &error) ||
        (settingsFile.isEmpty() && !options.queue.isEmpty() &&
         !pdehost::loadUserDefaults(host, destination, &error))) {
        err << "pdehost: " << error << '\n';
        return 1;
    }

    pdehost::ActionScript script(host, out, options.queue);
    if (!script.run(options.actions, &error)) {
        out.flush();
        err << "pdehost: " << error << '\n';
        return 1;
    }
    if (!settingsFile.isEmpty() && !pdehost::storeSettings(settingsFile, host.settings(), &error)) {
        err << "pdehost: " << error << '\n';
        return 1;
    }
    return 0;
}
