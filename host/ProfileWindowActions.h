// pdehost's actions on the profile management window. The host reaches the
// window only as a user would: through the panel's profile management button
// and the window's controls, found by object name among the application's
// windows. The window is modal, so the actions that follow "profiles" run
// inside its modal session; a script that leaves the window open has it
// cancelled at the end.
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>

class QWidget;

namespace pdehost {

// "profiles" and the "profiles-..." actions, for the usage text.
QStringList profileWindowActionNames();
// True for the "profiles-..." actions that act on the open window.
bool isProfileWindowAction(const QString& action);
bool profileWindowActionTakesArgument(const QString& action);

// The profile management window while it is shown; null otherwise.
QWidget* openProfileWindow();

// Presses the panel's profile management button and, once the window is
// shown, runs `rest` inside its modal session. False with a message when the
// button is missing or disabled, the window did not open, or `rest` failed.
bool openProfileWindowAndRun(QWidget* panelView, const std::function<bool(QString*)>& rest, QString* error);

// Runs one "profiles-..." action on the open window.
bool runProfileWindowAction(const QString& action, const QString& argument, QTextStream& out, QString* error);

}  // namespace pdehost
