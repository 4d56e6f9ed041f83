#include "host/HostActions.h"

#include "host/CupsPrinter.h"
#include "host/UserDefaults.h"

#include <QFileInfo>

namespace pdehost {

namespace {

// The script's destination; false with a message when the printer was given
// by hand.
bool destinationOf(const ActionScript& script, const Action& action, Destination* out, QString* error)
{
    if (script.queue().isEmpty()) {
        *error = QStringLiteral("%1 needs a CUPS queue: give --queue NAME").arg(QLatin1String(action.name));
        return false;
    }
    *out = parseDestination(script.queue());
    return true;
}

bool prepareJob(ActionScript& script, QString* error)
{
    if (!script.host().prepareJob()) {
        *error = QStringLiteral("the Color Options panel stopped the job");
        return false;
    }
    return true;
}

// The instance NAME of the script's queue; false with a message for a name
// an instance cannot have.
bool instanceOf(const ActionScript& script, const Action& action, const QString& name, Destination* out,
                QString* error)
{
    if (!destinationOf(script, action, out, error))
        return false;
    if (!plausibleQueueName(name)) {
        *error = QStringLiteral("\"%1\" cannot name an instance").arg(name);
        return false;
    }
    out->instance = name;
    return true;
}

}  // namespace

bool hostPrinter(ActionScript& script, const Action&, const QString&, QString* error)
{
    const rx::Printer* printer = script.host().session().currentPrinter();
    if (!printer) {
        *error = QStringLiteral("the print session has no printer");
        return false;
    }
    script.out() << QString::fromStdString(printer->identifier) << '\t' << QString::fromStdString(printer->deviceUri)
                 << '\n';
    return true;
}

bool hostSubmit(ActionScript& script, const Action& action, const QString& file, QString* error)
{
    Destination destination;
    if (!destinationOf(script, action, &destination, error))
        return false;
    if (!QFileInfo(file).isFile()) {
        *error = QStringLiteral("submit: no file %1").arg(file);
        return false;
    }
    if (!prepareJob(script, error))
        return false;
    const int job = submitJob(destination.queue, file, QFileInfo(file).fileName(),
                              script.host().settings().stringEntries(), error);
    if (job <= 0)
        return false;
    script.out() << "job\t" << destination.queue << '-' << job << '\n';
    return true;
}

bool hostDefaults(ActionScript& script, const Action& action, const QString&, QString* error)
{
    Destination destination;
    return destinationOf(script, action, &destination, error) && prepareJob(script, error) &&
           saveUserDefaults(script.host(), destination, error);
}

bool hostInstance(ActionScript& script, const Action& action, const QString& name, QString* error)
{
    Destination destination;
    return instanceOf(script, action, name, &destination, error) && prepareJob(script, error) &&
           saveUserDefaults(script.host(), destination, error);
}

bool hostSystemDefaults(ActionScript& script, const Action& action, const QString&, QString* error)
{
    Destination destination;
    return destinationOf(script, action, &destination, error) && prepareJob(script, error) &&
           saveSystemDefaults(script.host(), destination.queue, error);
}

bool hostInstanceRemove(ActionScript& script, const Action& action, const QString& name, QString* error)
{
    Destination destination;
    return instanceOf(script, action, name, &destination, error) && removeInstance(destination, error);
}

}  // namespace pdehost
