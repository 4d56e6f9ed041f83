#include "host/ProfileWindowActions.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

namespace pdehost {

namespace {

const char* const kWindowName = "_profileManagementWindow";
const char* const kManageButton = "button_ManageProfile";
const QString kNotOpen = QStringLiteral("the profile window is not open (run \"profiles\" first)");

template <typename T>
T* windowControl(const char* name, QString* error)
{
    QWidget* window = openProfileWindow();
    if (!window) {
        *error = kNotOpen;
        return nullptr;
    }
    T* w = window->findChild<T*>(QString::fromLatin1(name));
    if (!w)
        *error = QStringLiteral("the profile window has no control named \"%1\"").arg(QLatin1String(name));
    return w;
}

template <typename T>
T* enabledControl(const char* name, QString* error)
{
    T* w = windowControl<T>(name, error);
    if (w && !w->isEnabled()) {
        *error = QStringLiteral("%1 is disabled").arg(QLatin1String(name));
        return nullptr;
    }
    return w;
}

bool parseIndex(const QString& text, int* out, QString* error)
{
    bool ok = false;
    *out = text.toInt(&ok);
    if (!ok)
        *error = QStringLiteral("\"%1\" is not a number").arg(text);
    return ok;
}

int columnOf(const QAbstractItemModel* model, const char* identifier)
{
    for (int c = 0; c < model->columnCount(); ++c)
        if (model->headerData(c, Qt::Horizontal, Qt::UserRole).toString() == QLatin1String(identifier))
            return c;
    return -1;
}

// Replaces the field's text by typing: select all, erase, one key per character.
void typeInto(QLineEdit* field, const QString& text)
{
    field->selectAll();
    QKeyEvent erase(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QCoreApplication::sendEvent(field, &erase);
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(i, n));
        QCoreApplication::sendEvent(field, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text.mid(i, n));
        QCoreApplication::sendEvent(field, &release);
        i += n;
    }
}

bool chooseInMenu(const char* name, const QString& argument, QString* error)
{
    auto* menu = enabledControl<QComboBox>(name, error);
    int index = 0;
    if (!menu || !parseIndex(argument, &index, error))
        return false;
    if (index < 0 || index >= menu->count()) {
        *error = QStringLiteral("%1 has no item %2 (it has %3)").arg(QLatin1String(name), argument).arg(menu->count());
        return false;
    }
    menu->setCurrentIndex(index);
    emit menu->activated(index);
    return true;
}

QTableView* table(QString* error)
{
    return windowControl<QTableView>("_profileTableView", error);
}

bool rowOf(QTableView* view, const QString& argument, int* row, QString* error)
{
    if (!parseIndex(argument, row, error))
        return false;
    if (*row < -1 || *row >= view->model()->rowCount()) {
        *error = QStringLiteral("the table has no row %1 (it has %2)").arg(argument).arg(view->model()->rowCount());
        return false;
    }
    return true;
}

}  // namespace

bool profilesBrowse(ActionScript&, const Action& action, const QString& file, QString* error)
{
    auto* button = enabledControl<QPushButton>(action.control, error);
    if (!button)
        return false;
    if (!QFileInfo(file).isFile()) {
        *error = QStringLiteral("no file %1 to choose").arg(file);
        return false;
    }
    bool answered = false;
    QObject guard;
    QTimer::singleShot(0, &guard, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* panel = qobject_cast<QFileDialog*>(w);
            if (!panel || !panel->isVisible())
                continue;
            panel->selectFile(QFileInfo(file).absoluteFilePath());
            QMetaObject::invokeMethod(panel, "accept");
            if (panel->isVisible())
                panel->reject();
            answered = true;
            return;
        }
    });
    button->click();
    if (!answered) {
        *error = QStringLiteral("Browse showed no open panel");
        return false;
    }
    return true;
}

namespace {

void printRows(QTableView* view, QTextStream& out)
{
    const QAbstractItemModel* model = view->model();
    const int icon = columnOf(model, "icon");
    const int box = columnOf(model, "inmenu");
    const QModelIndexList selected = view->selectionModel() ? view->selectionModel()->selectedRows() : QModelIndexList();
    for (int r = 0; r < model->rowCount(); ++r) {
        out << r << '\t' << (model->index(r, icon).data(Qt::DecorationRole).isNull() ? "-" : "icon");
        for (const char* id : {"filename", "profilename", "location"})
            out << '\t' << model->index(r, columnOf(model, id)).data().toString();
        out << '\t' << (model->index(r, box).data(Qt::CheckStateRole).toInt() == Qt::Checked ? '1' : '0');
        out << (selected.contains(model->index(r, 0)) ? "\tselected" : "") << '\n';
    }
}

void printState(QWidget* window, QTextStream& out)
{
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (!name.startsWith(QLatin1Char('_')))
            continue;
        QString value;
        if (auto* menu = qobject_cast<QComboBox*>(w))
            value = QString::number(menu->currentIndex());
        else if (auto* field = qobject_cast<QLineEdit*>(w))
            value = field->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            value = button->text();
        else
            continue;
        out << name << '\t' << (w->isEnabled() ? "enabled" : "disabled") << '\t' << value << '\n';
    }
}

}  // namespace

QWidget* openProfileWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(kWindowName) && w->isVisible())
            return w;
    return nullptr;
}

bool profilesOpen(ActionScript& script, const Action&, const QString&, QString* error)
{
    QWidget* panelView = script.view(error);
    auto* button = panelView ? panelView->findChild<QPushButton*>(QString::fromLatin1(kManageButton)) : nullptr;
    if (!button) {
        if (panelView)
            *error = QStringLiteral("the panel has no %1").arg(QLatin1String(kManageButton));
        return false;
    }
    if (!button->isEnabled()) {
        *error = QStringLiteral("%1 is disabled (the profile list cannot be written)").arg(QLatin1String(kManageButton));
        return false;
    }
    bool opened = false;
    bool ok = false;
    const QStringList rest = script.rest();
    QObject guard;
    QTimer::singleShot(0, &guard, [&] {
        QWidget* window = openProfileWindow();
        if (!window)
            return;
        opened = true;
        ok = script.run(rest, error);
        // A script that leaves the window open cancels it.
        if (auto* dialog = qobject_cast<QDialog*>(openProfileWindow()))
            dialog->reject();
    });
    button->click();
    if (!opened) {
        *error = QStringLiteral("the profile window did not open");
        return false;
    }
    return ok;
}

bool profilesPress(ActionScript&, const Action& action, const QString&, QString* error)
{
    auto* button = enabledControl<QPushButton>(action.control, error);
    if (!button)
        return false;
    button->click();
    return true;
}

bool profilesChoose(ActionScript&, const Action& action, const QString& index, QString* error)
{
    return chooseInMenu(action.control, index, error);
}

bool profilesType(ActionScript&, const Action& action, const QString& text, QString* error)
{
    auto* field = enabledControl<QLineEdit>(action.control, error);
    if (!field)
        return false;
    typeInto(field, text);
    return true;
}

bool profilesRows(ActionScript& script, const Action&, const QString&, QString* error)
{
    QTableView* view = table(error);
    if (!view)
        return false;
    printRows(view, script.out());
    return true;
}

bool profilesSelect(ActionScript&, const Action&, const QString& argument, QString* error)
{
    QTableView* view = table(error);
    int row = 0;
    if (!view || !rowOf(view, argument, &row, error))
        return false;
    if (row < 0)
        view->clearSelection();
    else
        view->selectRow(row);
    return true;
}

bool profilesToggle(ActionScript&, const Action&, const QString& argument, QString* error)
{
    QTableView* view = table(error);
    int row = 0;
    if (!view || !rowOf(view, argument, &row, error))
        return false;
    if (row < 0) {
        *error = QStringLiteral("profiles-toggle needs a row");
        return false;
    }
    QAbstractItemModel* model = view->model();
    const QModelIndex box = model->index(row, columnOf(model, "inmenu"));
    const bool checked = box.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    model->setData(box, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    return true;
}

bool profilesState(ActionScript& script, const Action&, const QString&, QString* error)
{
    QWidget* window = openProfileWindow();
    if (!window) {
        *error = kNotOpen;
        return false;
    }
    printState(window, script.out());
    return true;
}

}  // namespace pdehost
