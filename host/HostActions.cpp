#include "host/HostActions.h"

#include "host/CupsPrinter.h"
#include "host/ScriptedActions.h"

#include <QFileInfo>

namespace pdehost {

namespace {

const QString kPrinter = QStringLiteral("printer");
const QString kSubmit = QStringLiteral("submit");

// Actions that take the next word as their argument: those whose usage
// entry names one ("set NAME=VALUE").
QStringList actionsWithArgument()
{
    QStringList out{kSubmit};
    for (const QString& entry : ScriptedActions::names())
        if (entry.contains(QLatin1Char(' ')))
            out << entry.section(QLatin1Char(' '), 0, 0);
    return out;
}

}  // namespace

HostActions::HostActions(PanelHost& host, QTextStream& out, QString queue)
    : host_(host), out_(out), queue_(std::move(queue))
{
}

QStringList HostActions::names()
{
    return ScriptedActions::names() << kPrinter << QStringLiteral("submit FILE");
}

bool HostActions::run(const QStringList& actions, QString* error)
{
    const QStringList withArgument = actionsWithArgument();
    ScriptedActions panelActions(host_, out_);
    QStringList pending;
    for (int i = 0; i < actions.size(); ++i) {
        const QString& action = actions[i];
        const bool takesArgument = withArgument.contains(action);
        if (takesArgument && i + 1 >= actions.size()) {
            *error = QStringLiteral("%1 needs an argument").arg(action);
            return false;
        }
        const QString argument = takesArgument ? actions[i + 1] : QString();
        if (action != kPrinter && action != kSubmit) {
            pending << action;
            if (takesArgument)
                pending << argument;
        } else {
            if (!panelActions.run(pending, error))
                return false;
            pending.clear();
            if (!runHostAction(action, argument, error))
                return false;
        }
        if (takesArgument)
            ++i;
    }
    return panelActions.run(pending, error);
}

bool HostActions::runHostAction(const QString& action, const QString& argument, QString* error)
{
    if (action == kPrinter) {
        const rx::Printer* printer = host_.session().currentPrinter();
        if (!printer) {
            *error = QStringLiteral("the print session has no printer");
            return false;
        }
        out_ << QString::fromStdString(printer->identifier) << '\t' << QString::fromStdString(printer->deviceUri)
             << '\n';
    } else {
        if (queue_.isEmpty()) {
            *error = QStringLiteral("submit needs a CUPS queue: give --queue NAME");
            return false;
        }
        if (!QFileInfo(argument).isFile()) {
            *error = QStringLiteral("submit: no file %1").arg(argument);
            return false;
        }
        const int job = submitJob(queue_, argument, QFileInfo(argument).fileName(), host_.settings().stringEntries(),
                                  error);
        if (job <= 0)
            return false;
        out_ << "job\t" << queue_ << '-' << job << '\n';
    }
    out_.flush();
    return true;
}

}  // namespace pdehost
