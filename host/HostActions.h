// The action list of a pdehost run: the panel's scripted actions, plus the
// actions that need the printing system:
//   printer       prints the current printer's identifier and device URI
//   submit FILE   prints FILE on the queue as one job whose options are the
//                 print settings' top-level string entries; prints the job id
#pragma once

#include "host/PanelHost.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace pdehost {

class HostActions {
public:
    // `queue` is the queue jobs go to; empty when the printer was given by hand.
    HostActions(PanelHost& host, QTextStream& out, QString queue);

    // Runs the actions in order; false with a message at the first failure.
    bool run(const QStringList& actions, QString* error);

    // Names of every action, for the usage text.
    static QStringList names();

private:
    bool runHostAction(const QString& action, const QString& argument, QString* error);

    PanelHost& host_;
    QTextStream& out_;
    QString queue_;
};

}  // namespace pdehost
