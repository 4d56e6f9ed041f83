// pdehost: a print-dialog host for the Color Options plug-in. It loads the
// plug-in bundle through the extension protocol and drives its panel with a
// list of actions run in order.
#include "host/PanelHost.h"
#include "host/ScriptedActions.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>

namespace {

void usage(QTextStream& err)
{
    err << "usage: pdehost --ppd FILE [--printer-id ID] [--device-uri URI] [--settings FILE] [--bundle DIR] ACTION...\n"
        << "actions: " << pdehost::ScriptedActions::names().join(QStringLiteral(", ")) << '\n';
}

struct Options {
    QString ppd, printerId = QStringLiteral("rx8240"), deviceUri, settings, bundle;
    QStringList actions;
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
        } else if (a.startsWith(QLatin1String("--"))) {
            *error = QStringLiteral("unknown option %1").arg(a);
            return false;
        } else {
            o->actions.append(a);
        }
    }
    if (o->ppd.isEmpty()) {
        *error = QStringLiteral("no printer: give --ppd FILE");
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY") &&
        !qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    Options options;
    QString error;
    if (!parse(app.arguments(), &options, &error)) {
        err << "pdehost: " << error << '\n';
        usage(err);
        return 2;
    }

    pdehost::PanelHost host;
    if (!options.settings.isEmpty() && QFileInfo::exists(options.settings) &&
        !host.settings().readFile(options.settings.toStdString())) {
        err << "pdehost: cannot read print settings " << options.settings << '\n';
        return 1;
    }
    host.setPrinter(rx::Printer{options.printerId.toStdString(), options.deviceUri.toStdString()});
    const QString bundle = options.bundle.isEmpty() ? pdehost::defaultBundleDirectory() : options.bundle;
    if (!host.openPpd(options.ppd, &error) || !host.loadBundle(bundle, &error)) {
        err << "pdehost: " << error << '\n';
        return 1;
    }

    pdehost::ScriptedActions actions(host, out);
    if (!actions.run(options.actions, &error)) {
        out.flush();
        err << "pdehost: " << error << '\n';
        return 1;
    }
    if (!options.settings.isEmpty() && !host.settings().writeFile(options.settings.toStdString())) {
        err << "pdehost: cannot write print settings " << options.settings << '\n';
        return 1;
    }
    return 0;
}
