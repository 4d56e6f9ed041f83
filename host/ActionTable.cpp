#include "host/ActionTable.h"

#include "host/HostActions.h"
#include "host/ProfileWindowActions.h"
#include "host/ScriptedActions.h"

#include <algorithm>

namespace pdehost {

namespace {

// Every action a script may name. The usage and --help are printed from it;
// the parser takes an argument exactly for the rows that name one.
const Action kActions[] = {
    {"keys", nullptr, "list the PPD options the panel handles", panelKeys},
    {"view", nullptr, "ask the panel for its view", panelLoadView},
    {"show", nullptr, "tell the panel it is shown", panelShow},
    {"restore", nullptr, "restore the panel from the print settings", panelRestore},
    {"save", nullptr, "save the panel to the print settings", panelSave},
    {"print", nullptr, "let the panel prepare printing (the Quick Color preset)", panelPrint},
    {"summary", nullptr, "print the panel's summary", panelSummary},
    {"state", nullptr, "print each control: name, value, enabled, items", panelState},
    {"set", "NAME=VALUE", "select a pop-up item, set a check box or press a button as a user would", panelSet},
    {"options", nullptr, "print the print settings' job options", printOptions},
    {"dump", nullptr, "print the print settings as a property list", printDump},
    {"screenshot", "FILE.png", "save the profile window while open, else the panel", takeScreenshot},
    {"printer", nullptr, "print the printer's identifier and device URI", hostPrinter},
    {"submit", "FILE", "run the print hook, then print FILE on the queue with the job options", hostSubmit},
    {"defaults", nullptr, "run the print hook, then save the colour options as my defaults of the queue",
     hostDefaults},
    {"instance", "NAME", "run the print hook, then save the colour options as my printer QUEUE/NAME", hostInstance},
    {"instance-remove", "NAME", "remove my printer QUEUE/NAME", hostInstanceRemove},
    {"system-defaults", nullptr, "run the print hook, then make the colour options the queue's defaults on the server",
     hostSystemDefaults},
    {"profiles", nullptr, "press the profile management button; the actions after it run inside the window",
     profilesOpen, nullptr, true},
    {"profiles-class", "0|1|2", "show the RGB, SIM or DST list", profilesChoose, "_profileMenu"},
    {"profiles-select", "ROW", "select a row (-1 clears)", profilesSelect},
    {"profiles-toggle", "ROW", "toggle the row's check box", profilesToggle},
    {"profiles-add", nullptr, "press Add", profilesPress, "_addButton"},
    {"profiles-edit", nullptr, "press Edit", profilesPress, "_editButton"},
    {"profiles-delete", nullptr, "press Delete", profilesPress, "_deleteButton"},
    {"profiles-filename", "TEXT", "type the file name, key by key", profilesType, "_fileNameEdit"},
    {"profiles-name", "TEXT", "type the profile name, key by key", profilesType, "_profileNameEdit"},
    {"profiles-location", "0|1", "choose disk or card", profilesChoose, "_locationMenu"},
    {"profiles-browse", "FILE", "choose FILE in the open panel", profilesBrowse, "_browse"},
    {"profiles-ok", nullptr, "press the edit area's OK", profilesPress, "_localOK"},
    {"profiles-cancel", nullptr, "press the edit area's Cancel", profilesPress, "_localCancel"},
    {"profiles-window-ok", nullptr, "press the window's OK", profilesPress, "_windowOK"},
    {"profiles-window-cancel", nullptr, "press the window's Cancel", profilesPress, "_windowCancel"},
    {"profiles-rows", nullptr, "print the rows: icon, file name, profile name, location, check box", profilesRows},
    {"profiles-state", nullptr, "print the window's controls", profilesState},
};

QString usageOf(const Action& a)
{
    return a.argument ? QStringLiteral("%1 %2").arg(QLatin1String(a.name), QLatin1String(a.argument))
                      : QString::fromLatin1(a.name);
}

}  // namespace

std::span<const Action> actionTable()
{
    return kActions;
}

const Action* findAction(const QString& name)
{
    const auto* found = std::find_if(std::begin(kActions), std::end(kActions),
                                     [&](const Action& a) { return name == QLatin1String(a.name); });
    return found == std::end(kActions) ? nullptr : found;
}

QString actionHelp()
{
    QString text;
    for (const Action& a : kActions)
        text += QStringLiteral("  %1  %2\n").arg(usageOf(a), -28).arg(QLatin1String(a.help));
    return text;
}

ActionScript::ActionScript(PanelHost& host, QTextStream& out, QString queue)
    : host_(host), out_(out), queue_(std::move(queue))
{
}

bool ActionScript::run(const QStringList& words, QString* error)
{
    for (qsizetype i = 0; i < words.size(); ++i) {
        const Action* action = findAction(words[i]);
        if (!action) {
            *error = QStringLiteral("unknown action \"%1\"").arg(words[i]);
            return false;
        }
        if (action->argument && i + 1 >= words.size()) {
            *error = QStringLiteral("%1 needs an argument (%2)").arg(words[i], QLatin1String(action->argument));
            return false;
        }
        const QString argument = action->argument ? words[++i] : QString();
        rest_ = words.mid(i + 1);
        const bool ok = action->handler(*this, *action, argument, error);
        out_.flush();
        if (!ok || action->enclosesRest)
            return ok;
    }
    return true;
}

QWidget* ActionScript::view(QString* error, bool reload)
{
    if (!view_ || reload)
        view_ = host_.panel()->panelView();
    if (!view_)
        *error = QStringLiteral("the panel has no view (its UI description did not load)");
    return view_;
}

}  // namespace pdehost
