// pdehost's actions that need the printing system. The action table
// (ActionTable.cpp) names them.
#pragma once

#include "host/ActionTable.h"

namespace pdehost {

// Prints the current printer's identifier and device URI.
bool hostPrinter(ActionScript& script, const Action& action, const QString& argument, QString* error);

// Prints `file` on the script's queue as one job whose options are the print
// settings' top-level string entries; prints "job<TAB>QUEUE-ID".
bool hostSubmit(ActionScript& script, const Action& action, const QString& file, QString* error);

}  // namespace pdehost
