#pragma once

#include "core/appliances/ApplianceBook.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include <vector>

// The address book as the logon page lists it: one row per appliance, texts shown as plain
// text. The rows are the book's order; ApplianceBookFilter sorts and filters them.
class ApplianceBookModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column : int { kName, kAddress, kGroup, kLastSeen, kColumnCount };
    // The text each column sorts by: the group first, then the name, under the Group column.
    static constexpr int kSortRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    void setAppliances(std::vector<qv::appliances::Appliance> appliances);
    const qv::appliances::Appliance& appliance(int row) const { return m_appliances.at(row); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<qv::appliances::Appliance> m_appliances;
};

// The find box's filter over every column and the note, without regard to case, and the sort
// of ApplianceBookModel::kSortRole.
class ApplianceBookFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit ApplianceBookFilter(QObject* parent = nullptr);
    void setFindText(const QString& text);
    // The model's row of a row of the view.
    int bookRow(const QModelIndex& index) const { return mapToSource(index).row(); }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QString m_find;
};
