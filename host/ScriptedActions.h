// pdehost's actions on the panel: each drives it through the extension
// protocol, or its controls as a user would, and prints what it reads. The
// action table (ActionTable.cpp) names them.
#pragma once

#include "host/ActionTable.h"

#include <QList>

class QWidget;

namespace pdehost {

bool panelKeys(ActionScript& script, const Action& action, const QString& argument, QString* error);
bool panelLoadView(ActionScript& script, const Action& action, const QString& argument, QString* error);
bool panelShow(ActionScript& script, const Action& action, const QString& argument, QString* error);
bool panelRestore(ActionScript& script, const Action& action, const QString& argument, QString* error);
bool panelSave(ActionScript& script, const Action& action, const QString& argument, QString* error);
bool panelPrint(ActionScript& script, const Action& action, const QString& argument, QString* error);
bool panelSummary(ActionScript& script, const Action& action, const QString& argument, QString* error);
bool panelState(ActionScript& script, const Action& action, const QString& argument, QString* error);
// "NAME=VALUE": selects item VALUE of a pop-up, sets a check box to 0 or 1,
// or presses a button (VALUE not read).
bool panelSet(ActionScript& script, const Action& action, const QString& assignment, QString* error);
bool printOptions(ActionScript& script, const Action& action, const QString& argument, QString* error);
bool printDump(ActionScript& script, const Action& action, const QString& argument, QString* error);
// The profile window while it is open, else the panel, as a PNG file.
bool takeScreenshot(ActionScript& script, const Action& action, const QString& file, QString* error);

// Controls of the panel in display order: pop-ups, check boxes and buttons
// that have an object name.
QList<QWidget*> panelControls(QWidget* view);

}  // namespace pdehost
