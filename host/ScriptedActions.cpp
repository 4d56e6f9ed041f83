#include "host/ScriptedActions.h"

#include "host/ProfileWindowActions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

namespace pdehost {

namespace {

bool isControl(QWidget* w)
{
    return !w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")) &&
           (qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractButton*>(w));
}

}  // namespace

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

bool panelKeys(ActionScript& script, const Action&, const QString&, QString*)
{
    for (const QString& key : script.host().panel()->supportedPPDOptionKeys())
        script.out() << key << '\n';
    return true;
}

bool panelLoadView(ActionScript& script, const Action&, const QString&, QString* error)
{
    return script.view(error, true) != nullptr;
}

bool panelShow(ActionScript& script, const Action&, const QString&, QString*)
{
    script.host().panel()->willShow();
    return true;
}

bool panelRestore(ActionScript& script, const Action&, const QString&, QString*)
{
    script.host().panel()->restoreValuesAndReturnError(nullptr);
    return true;
}

bool panelSave(ActionScript& script, const Action&, const QString&, QString*)
{
    script.host().panel()->saveValuesAndReturnError(nullptr);
    return true;
}

bool panelPrint(ActionScript& script, const Action&, const QString&, QString*)
{
    script.host().panel()->shouldPrint();
    return true;
}

bool panelSummary(ActionScript& script, const Action&, const QString&, QString*)
{
    const QVariantMap summary = script.host().panel()->summaryInfo();
    for (const QString& name : summary.value(QString::fromLatin1(rx::kSummaryDisplayOrder)).toStringList())
        script.out() << name << '\t' << summary.value(name).toString() << '\n';
    return true;
}

bool printOptions(ActionScript& script, const Action&, const QString&, QString*)
{
    for (const auto& [key, value] : script.host().settings().stringEntries())
        script.out() << QString::fromStdString(key) << '=' << QString::fromStdString(value) << '\n';
    return true;
}

bool printDump(ActionScript& script, const Action&, const QString&, QString*)
{
    script.out() << QString::fromStdString(script.host().settings().toXml());
    return true;
}

bool takeScreenshot(ActionScript& script, const Action&, const QString& file, QString* error)
{
    QWidget* w = openProfileWindow();
    if (!w)
        w = script.view(error);
    if (!w)
        return false;
    if (w->size().isEmpty() || w->size() == QSize(640, 480))
        w->adjustSize();
    if (!w->grab().save(file, "PNG")) {
        *error = QStringLiteral("cannot write screenshot %1").arg(file);
        return false;
    }
    return true;
}

bool panelState(ActionScript& script, const Action&, const QString&, QString* error)
{
    QWidget* view = script.view(error);
    if (!view)
        return false;
    QTextStream& out = script.out();
    for (QWidget* w : panelControls(view)) {
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
        out << w->objectName() << '\t' << value << '\t'
            << (w->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled")) << '\t'
            << items.join(QLatin1Char('|')) << '\n';
    }
    return true;
}

bool panelSet(ActionScript& script, const Action&, const QString& assignment, QString* error)
{
    const qsizetype eq = assignment.indexOf(QLatin1Char('='));
    const QString name = eq < 0 ? assignment : assignment.left(eq);
    const QString value = eq < 0 ? QString() : assignment.mid(eq + 1);
    QWidget* root = script.view(error);
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
