#include "pages/StoreTableModel.h"

#include "pages/QtText.h"

#include <QAbstractProxyModel>
#include <QHeaderView>
#include <QTableView>

#include <algorithm>

#include <utility>

StoreTableModel::StoreTableModel(QList<Column> columns, RowCount rowCount, RowTexts rowTexts,
                                 QObject* parent)
    : QAbstractTableModel(parent), m_columns(std::move(columns)),
      m_readRowCount(std::move(rowCount)), m_rowTexts(std::move(rowTexts)) {
    m_rows = std::max(0, m_readRowCount());
}

int StoreTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int StoreTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

namespace {

// The list shows some of the relay server's fixed Korean texts in both languages; the English
// window tells what they mean in a tooltip and to screen readers.
QVariant meaningOf(const QString& text) {
    if (qv::systemLanguage() != qv::Language::English)
        return {};
    using qv::StringId;
    static const std::pair<StringId, StringId> kMeanings[] = {
        {StringId::CenterIdProhibited, StringId::MeaningProhibited},
        {StringId::CenterIdAllowed, StringId::MeaningAllowed},
        {StringId::CenterIdColumnLogDeletion, StringId::MeaningLogDeletion},
        {StringId::CenterIdColumnFileTransfer, StringId::MeaningFileTransfer},
    };
    for (const auto& [fixed, meaning] : kMeanings)
        if (text == qv::uiText(fixed))
            return qv::uiText(meaning);
    return {};
}

} // namespace

QVariant StoreTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (m_rowRole && role != Qt::DisplayRole && index.row() < m_readRowCount()) {
        if (QVariant answer = m_rowRole(index.row(), role); answer.isValid())
            return answer;
    }
    switch (role) {
    case Qt::DisplayRole: {
        const QStringList& texts = textsOf(index.row());
        return index.column() < texts.size() ? texts[index.column()] : QString();
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return meaningOf(data(index, Qt::DisplayRole).toString());
    default:
        return {};
    }
}

QVariant StoreTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_columns[section].caption;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    if (role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole)
        return meaningOf(m_columns[section].caption);
    return {};
}

void StoreTableModel::reload() {
    m_cachedRow.reset();
    const int rows = std::max(0, m_readRowCount());
    if (rows < m_rows) {
        beginRemoveRows({}, rows, m_rows - 1);
        m_rows = rows;
        endRemoveRows();
    } else if (rows > m_rows) {
        beginInsertRows({}, m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    }
    if (m_rows > 0 && !m_columns.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(m_rows - 1, columnCount() - 1));
}

void StoreTableModel::attach(QTableView* view, QAbstractItemModel* proxy) {
    view->setModel(proxy != nullptr ? proxy : this);
    fitColumns(view);
}

void StoreTableModel::fitColumns(QTableView* view) const {
    // A font larger than the one the widths were made for, or a longer Korean caption, still
    // shows the whole header; the sort arrow may cover a caption's end, as it does at the
    // appliance's widths. A column of no width stays hidden.
    QHeaderView* header = view->horizontalHeader();
    const bool arrow = header->isSortIndicatorShown();
    header->setSortIndicatorShown(false);
    for (int column = 0; column < m_columns.size(); ++column) {
        const int width = m_columns[column].width;
        view->setColumnWidth(column,
                             width > 0 ? std::max(width, header->sectionSizeHint(column)) : 0);
    }
    header->setSortIndicatorShown(arrow);
}

const StoreTableModel* StoreTableModel::behind(const QTableView* view) {
    const QAbstractItemModel* model = view->model();
    if (const auto* proxy = qobject_cast<const QAbstractProxyModel*>(model))
        model = proxy->sourceModel();
    return qobject_cast<const StoreTableModel*>(model);
}

const QStringList& StoreTableModel::textsOf(int row) const {
    if (m_cachedRow != row) {
        // The store may hold fewer rows than the view until reload() (a question about a fresh
        // table runs the event loop in between): such a row reads as empty, never past the table.
        m_cachedTexts = row < m_readRowCount() ? m_rowTexts(row) : QStringList();
        m_cachedRow = row;
    }
    return m_cachedTexts;
}
