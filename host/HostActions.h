// pdehost's actions that need the printing system. The action table
// (ActionTable.cpp) names them. The script's queue is a destination, "QUEUE"
// or "QUEUE/INSTANCE"; those that save colour options run the print hook
// first (PanelHost::prepareJob), as a dialog's Print does.
#pragma once

#include "host/ActionTable.h"

namespace pdehost {

// Prints the current printer's identifier and device URI.
bool hostPrinter(ActionScript& script, const Action& action, const QString& argument, QString* error);

// Runs the print hook and prints `file` on the queue as one job whose
// options are the print settings' top-level string entries; prints
// "job<TAB>QUEUE-ID".
bool hostSubmit(ActionScript& script, const Action& action, const QString& file, QString* error);

// Runs the print hook and saves the colour options as the user's defaults of
// the script's destination.
bool hostDefaults(ActionScript& script, const Action& action, const QString& argument, QString* error);

// Runs the print hook and saves the colour options as the user's instance
// QUEUE/NAME, created when new.
bool hostInstance(ActionScript& script, const Action& action, const QString& name, QString* error);

// Runs the print hook and makes the colour options the queue's defaults on
// the server, as its administrator would; a clear message when the server
// does not allow it.
bool hostSystemDefaults(ActionScript& script, const Action& action, const QString& argument, QString* error);

// Removes the user's instance QUEUE/NAME.
bool hostInstanceRemove(ActionScript& script, const Action& action, const QString& name, QString* error);

}  // namespace pdehost
