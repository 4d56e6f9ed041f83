#include "host/ScriptedActions.h"

#include "host/ProfileWindowActions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

namespace pdehost {

namespace {

bool takesArgument(const QString& action)
{
    return action == QLatin1String("set") || action == QLatin1String("screenshot") ||
           profileWindowActionTakesArgument(action);
}

bool isControl(QWidget* w)
{
    return !w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")) &&
           (qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractButton*>(w));
}

}  // namespace

QStringList ScriptedActions::names()
{
    return QStringList{"keys", "view", "show", "restore", "save", "print", "summary", "state", "set NAME=VALUE",
                       "options", "dump", "screenshot FILE.png"} +
           profileWindowActionNames();
}

QList<QWidget*> panelControls(QWidget* view)
{
    QList<QWidget*> controls;
    if (!view)
        return controls;
    for (QWidget* w : view->findChildren<QWidget*>())
        if (isControl(w))
            controls.append(w);
    return controls;
}

bool ScriptedActions::run(const QStringList& actions, QString* error)
{
    for (int i = 0; i < actions.size(); ++i) {
        const QString& action = actions[i];
        QString argument;
        if (takesArgument(action)) {
            if (i + 1 >= actions.size()) {
                *error = QStringLiteral("%1 needs an argument").arg(action);
                return false;
            }
            argument = actions[++i];
        }
        // The rest of the script runs inside the profile window's modal session.
        if (action == QLatin1String("profiles")) {
            const QStringList rest = actions.mid(i + 1);
            return openProfileWindowAndRun(view(error), [this, rest](QString* e) { return run(rest, e); }, error);
        }
        if (!runOne(action, argument, error))
            return false;
    }
    return true;
}

QWidget* ScriptedActions::view(QString* error)
{
    if (!view_)
        view_ = host_.panel()->panelView();
    if (!view_)
        *error = QStringLiteral("the panel has no view (its UI description did not load)");
    return view_;
}

bool ScriptedActions::runOne(const QString& action, const QString& argument, QString* error)
{
    rx::PDEPanel* panel = host_.panel();
    if (action == QLatin1String("keys")) {
        for (const QString& key : panel->supportedPPDOptionKeys())
            out_ << key << '\n';
    } else if (action == QLatin1String("view")) {
        view_ = panel->panelView();
        if (!view_) {
            *error = QStringLiteral("the panel has no view (its UI description did not load)");
            return false;
        }
    } else if (action == QLatin1String("show")) {
        panel->willShow();
    } else if (action == QLatin1String("restore")) {
        panel->restoreValuesAndReturnError(nullptr);
    } else if (action == QLatin1String("save")) {
        panel->saveValuesAndReturnError(nullptr);
    } else if (action == QLatin1String("print")) {
        panel->shouldPrint();
    } else if (action == QLatin1String("summary")) {
        const QVariantMap summary = panel->summaryInfo();
        for (const QString& name : summary.value(QString::fromLatin1(rx::kSummaryDisplayOrder)).toStringList())
            out_ << name << '\t' << summary.value(name).toString() << '\n';
    } else if (action == QLatin1String("state")) {
        if (!view(error))
            return false;
        printState();
    } else if (action == QLatin1String("set")) {
        return setControl(argument, error);
    } else if (action == QLatin1String("options")) {
        for (const auto& [key, value] : host_.settings().stringEntries())
            out_ << QString::fromStdString(key) << '=' << QString::fromStdString(value) << '\n';
    } else if (action == QLatin1String("dump")) {
        out_ << QString::fromStdString(host_.settings().toXml());
    } else if (isProfileWindowAction(action)) {
        if (!runProfileWindowAction(action, argument, out_, error))
            return false;
    } else if (action == QLatin1String("screenshot")) {
        // The profile window while it is open, else the panel.
        QWidget* w = openProfileWindow();
        if (!w)
            w = view(error);
        if (!w)
            return false;
        if (w->size().isEmpty() || w->size() == QSize(640, 480))
            w->adjustSize();
        if (!w->grab().save(argument, "PNG")) {
            *error = QStringLiteral("cannot write screenshot %1").arg(argument);
            return false;
        }
    } else {
        *error = QStringLiteral("unknown action \"%1\"").arg(action);
        return false;
    }
    out_.flush();
    return true;
}

void ScriptedActions::printState()
{
    for (QWidget* w : panelControls(view_)) {
        QString value;
        QStringList items;
        if (auto* menu = qobject_cast<QComboBox*>(w)) {
            value = QString::number(menu->currentIndex());
            for (int i = 0; i < menu->count(); ++i)
                items << menu->itemText(i);
        } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
            value = box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
            items << box->text();
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            value = QStringLiteral("-");
            items << button->text();
        }
        out_ << w->objectName() << '\t' << value << '\t'
             << (w->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled")) << '\t'
             << items.join(QLatin1Char('|')) << '\n';
    }
}

bool ScriptedActions::setControl(const QString& assignment, QString* error)
{
    const qsizetype eq = assignment.indexOf(QLatin1Char('='));
    const QString name = eq < 0 ? assignment : assignment.left(eq);
    const QString value = eq < 0 ? QString() : assignment.mid(eq + 1);
    QWidget* root = view(error);
    if (!root)
        return false;
    QWidget* w = root->findChild<QWidget*>(name);
    if (!w || !isControl(w)) {
        *error = QStringLiteral("no control named \"%1\"").arg(name);
        return false;
    }
    if (!w->isEnabled()) {
        *error = QStringLiteral("%1 is disabled").arg(name);
        return false;
    }
    bool ok = true;
    if (auto* menu = qobject_cast<QComboBox*>(w)) {
        const int index = value.toInt(&ok);
        if (!ok || index < 0 || index >= menu->count()) {
            *error = QStringLiteral("%1 has no item %2 (it has %3)").arg(name, value).arg(menu->count());
            return false;
        }
        menu->setCurrentIndex(index);
        emit menu->activated(index);
    } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
        const int state = value.toInt(&ok);
        if (!ok || (state != 0 && state != 1)) {
            *error = QStringLiteral("%1 takes 0 or 1").arg(name);
            return false;
        }
        if (box->isChecked() != (state == 1))
            box->click();
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->click();
    }
    return true;
}

}  // namespace pdehost
