// The profile window's table: a Qt item model over the controller's current
// list (the data source), and the selection model that refuses selection
// changes while the edit area is adding or editing an entry.
#pragma once

#include <QAbstractTableModel>
#include <QItemSelectionModel>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

class ProfileControl;

// Columns in the order of ProfileControl::kColumnIdentifiers. The header's
// Qt::UserRole gives a column's identifier.
class ProfileTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ProfileTableModel(ProfileControl* control, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The list behind the model changed as a whole.
    void reload();

private:
    ProfileControl* control_;
};

class ProfileSelectionModel : public QItemSelectionModel {
    Q_OBJECT
public:
    ProfileSelectionModel(ProfileControl* control, QAbstractItemModel* model);

    void select(const QModelIndex& index, QItemSelectionModel::SelectionFlags command) override;
    void select(const QItemSelection& selection, QItemSelectionModel::SelectionFlags command) override;

private:
    bool allowed() const;
    ProfileControl* control_;
};

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
