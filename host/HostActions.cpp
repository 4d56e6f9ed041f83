#include "host/HostActions.h"

#include "host/CupsPrinter.h"

#include <QFileInfo>

namespace pdehost {

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

bool hostSubmit(ActionScript& script, const Action&, const QString& file, QString* error)
{
    if (script.queue().isEmpty()) {
        *error = QStringLiteral("submit needs a CUPS queue: give --queue NAME");
        return false;
    }
    if (!QFileInfo(file).isFile()) {
        *error = QStringLiteral("submit: no file %1").arg(file);
        return false;
    }
    const int job = submitJob(script.queue(), file, QFileInfo(file).fileName(),
                              script.host().settings().stringEntries(), error);
    if (job <= 0)
        return false;
    script.out() << "job\t" << script.queue() << '-' << job << '\n';
    return true;
}

}  // namespace pdehost
