#include "plugin/profilewindow/ProfileTableModel.h"

#include "plugin/options/PDECommon.h"
#include "plugin/profilewindow/ProfileControl.h"

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

namespace {
// Column titles: localisation keys; the icon and check box columns have none.
constexpr const char* kColumnTitles[] = {"", "File Name", "Profile Name", "Location", "Menu"};
}  // namespace

ProfileTableModel::ProfileTableModel(ProfileControl* control, QObject* parent)
    : QAbstractTableModel(parent), control_(control)
{
}

int ProfileTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : control_->numberOfRowsInTableView();
}

int ProfileTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ProfileControl::kColumnCount;
}

QVariant ProfileTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    return control_->tableViewObjectValue(index.column(), index.row(), role);
}

bool ProfileTableModel::setData(const QModelIndex& index, const QVariant&, int role)
{
    if (role != Qt::CheckStateRole ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    if (!control_->tableViewSetObjectValue(index.column(), index.row()))
        return false;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags ProfileTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == ProfileControl::columnOfIdentifier("inmenu"))
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant ProfileTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ProfileControl::kColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::UserRole)
        return QString::fromLatin1(ProfileControl::kColumnIdentifiers[section]);
    if (role == Qt::DisplayRole) {
        const char* key = kColumnTitles[section];
        if (!*key)
            return QString();
        return localizedOrKey(key);
    }
    return {};
}

void ProfileTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

ProfileSelectionModel::ProfileSelectionModel(ProfileControl* control, QAbstractItemModel* model)
    : QItemSelectionModel(model, control), control_(control)
{
}

bool ProfileSelectionModel::allowed() const
{
    return control_->internalSelection_ || control_->selectionShouldChangeInTableView();
}

void ProfileSelectionModel::select(const QModelIndex& index, QItemSelectionModel::SelectionFlags command)
{
    if (allowed())
        QItemSelectionModel::select(index, command);
}

void ProfileSelectionModel::select(const QItemSelection& selection, QItemSelectionModel::SelectionFlags command)
{
    if (allowed())
        QItemSelectionModel::select(selection, command);
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
