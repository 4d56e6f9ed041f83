// pdehost's actions: one table of every action a script may name (its name,
// the argument it takes, its help text and its handler) and the one parser
// that runs a script against it. The handlers live beside what they drive:
// the panel (ScriptedActions), the profile window (ProfileWindowActions) and
// the printing system (HostActions).
#pragma once

#include "host/PanelHost.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <span>

class QWidget;

namespace pdehost {

class ActionScript;
struct Action;

// Runs one action with its argument (empty for an action that takes none).
// False with a message when the action failed.
using ActionHandler = bool (*)(ActionScript& script, const Action& action, const QString& argument, QString* error);

struct Action {
    const char* name;
    const char* argument;  // what the argument is, as the usage shows it; null: the action takes none
    const char* help;
    ActionHandler handler;
    const char* control = nullptr;  // the object name the handler acts on, where one handler serves several actions
    bool enclosesRest = false;      // the actions after it run inside it (a modal session); the handler runs them
};

// Every action, in the order the usage lists them.
std::span<const Action> actionTable();

// The action of that name; null when there is none.
const Action* findAction(const QString& name);

// One line per action: its name, its argument and its help text.
QString actionHelp();

// One run of a script: the host it drives, where it prints, the queue jobs
// go to, and the panel's view once an action loaded it.
class ActionScript {
public:
    // `queue` is empty when the printer was given by hand.
    ActionScript(PanelHost& host, QTextStream& out, QString queue);

    // Runs the words as actions in order; an action that takes an argument
    // takes the next word. False with a message at the first failure.
    bool run(const QStringList& words, QString* error);

    // The words after the action running now, for an action that encloses them.
    const QStringList& rest() const { return rest_; }

    PanelHost& host() const { return host_; }
    QTextStream& out() const { return out_; }
    const QString& queue() const { return queue_; }

    // The panel's view, loaded on first use; null with a message when the
    // panel has none. `reload` asks the panel again even when one is known.
    QWidget* view(QString* error, bool reload = false);

private:
    PanelHost& host_;
    QTextStream& out_;
    QString queue_;
    QWidget* view_ = nullptr;
    QStringList rest_;
};

}  // namespace pdehost
