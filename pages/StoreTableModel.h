#pragma once

// A list over one of the store's tables: its rows are the table's used slots (the count limited
// to the slots), its cells the rules' row texts. The model reads the store when a view asks, so
// a list of 2048 rows costs what its visible rows cost; no text is kept per cell. Row r of the
// model is slot r of the table, so a selection names a slot directly.

#include "pages/QtText.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <utility>

class QTableView;

class StoreTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString caption;
        int width; // pixels
    };
    // The number of rows the table holds now; read on every reload.
    using RowCount = std::function<int()>;
    // The texts of one row, one per column.
    using RowTexts = std::function<QStringList(int row)>;
    // A row's answer for a role other than its texts (its colours, say), taken from the row's
    // entry in the store; an invalid value leaves the role to the model.
    using RowRole = std::function<QVariant(int row, int role)>;

    StoreTableModel(QList<Column> columns, RowCount rowCount, RowTexts rowTexts,
                    QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The table in the store changed: rows past the new count go, new ones come at the end,
    // and every remaining row is read again. A selected row that still exists stays selected.
    void reload();

    // Asks `rowRole` first for every role but the texts, so a page styles a row by what its
    // entry holds rather than by reading the row's text back.
    void setRowRole(RowRole rowRole) { m_rowRole = std::move(rowRole); }

    // Shows the model in `view` with the columns' widths, through `proxy` when one is given.
    void attach(QTableView* view, QAbstractItemModel* proxy = nullptr);
    // Sets the columns' widths in `view`: the appliance's widths, widened where the caption
    // would be cut. The page calls it again when it is shown, once fonts and the sort indicator
    // are final.
    void fitColumns(QTableView* view) const;
    // The store model behind `view`, through a filter if there is one; nullptr for another.
    static const StoreTableModel* behind(const QTableView* view);

private:
    const QStringList& textsOf(int row) const;

    QList<Column> m_columns;
    RowCount m_readRowCount;
    RowTexts m_rowTexts;
    RowRole m_rowRole;
    int m_rows = 0;
    // A view asks for one cell at a time, a row's cells one after another: the last row's texts
    // are kept until it asks for another row or the table changes.
    mutable std::optional<int> m_cachedRow;
    mutable QStringList m_cachedTexts;
};

// The rules' column list (caption's string id, width) as the model's columns.
template <class RuleColumns>
QList<StoreTableModel::Column> modelColumns(const RuleColumns& columns) {
    QList<StoreTableModel::Column> result;
    for (const auto& column : columns)
        result.append({qv::uiText(column.caption), column.width});
    return result;
}

// The rules' row texts (UTF-8) as one row of the model.
template <class RuleTexts> QStringList modelRow(const RuleTexts& texts) {
    QStringList row;
    for (const std::string& text : texts)
        row.append(QString::fromStdString(text));
    return row;
}
