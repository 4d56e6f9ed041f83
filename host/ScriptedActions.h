// pdehost's actions: each drives the panel through the extension protocol, or
// its controls as a user would, and prints what it reads.
#pragma once

#include "host/PanelHost.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace pdehost {

class ScriptedActions {
public:
    ScriptedActions(PanelHost& host, QTextStream& out) : host_(host), out_(out) {}

    // Runs the actions in order; false with a message at the first failure.
    // An action that takes an argument takes the next word ("set NAME=VALUE",
    // "screenshot FILE").
    bool run(const QStringList& actions, QString* error);

    // Names of the actions, for the usage text.
    static QStringList names();

private:
    bool runOne(const QString& action, const QString& argument, QString* error);
    QWidget* view(QString* error);
    bool setControl(const QString& assignment, QString* error);
    void printState();

    PanelHost& host_;
    QTextStream& out_;
    QWidget* view_ = nullptr;
};

// Controls of the panel in display order: pop-ups, check boxes and buttons
// that have an object name.
QList<QWidget*> panelControls(QWidget* view);

}  // namespace pdehost
