// pdehost's actions on the profile management window. The host reaches the
// window only as a user would: through the panel's profile management button
// and the window's controls, found by object name among the application's
// windows. The window is modal, so the actions that follow "profiles" run
// inside its modal session; a script that leaves the window open has it
// cancelled at the end. The action table (ActionTable.cpp) names them; where
// one handler serves several actions, the action's `control` names the
// window's control it acts on.
#pragma once

#include "host/ActionTable.h"

class QWidget;

namespace pdehost {

// The profile management window while it is shown; null otherwise.
QWidget* openProfileWindow();

// "profiles": presses the panel's profile management button and, once the
// window is shown, runs the rest of the script inside its modal session.
// False with a message when the button is missing or disabled, the window
// did not open, or the rest failed.
bool profilesOpen(ActionScript& script, const Action& action, const QString& argument, QString* error);

// Presses the button `action.control`.
bool profilesPress(ActionScript& script, const Action& action, const QString& argument, QString* error);
// Selects item `index` of the menu `action.control`.
bool profilesChoose(ActionScript& script, const Action& action, const QString& index, QString* error);
// Types `text` into the field `action.control`, key by key.
bool profilesType(ActionScript& script, const Action& action, const QString& text, QString* error);
// Chooses `file` in the open panel that the Browse button `action.control` runs.
bool profilesBrowse(ActionScript& script, const Action& action, const QString& file, QString* error);
// Prints the table: row, icon, file name, profile name, location, check box.
bool profilesRows(ActionScript& script, const Action& action, const QString& argument, QString* error);
// Selects the table's row (-1 clears the selection).
bool profilesSelect(ActionScript& script, const Action& action, const QString& row, QString* error);
// Toggles the row's check box.
bool profilesToggle(ActionScript& script, const Action& action, const QString& row, QString* error);
// Prints each named control of the window: name, enabled state, value.
bool profilesState(ActionScript& script, const Action& action, const QString& argument, QString* error);

}  // namespace pdehost
