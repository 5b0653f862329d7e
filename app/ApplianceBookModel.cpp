#include "app/ApplianceBookModel.h"

#include "pages/QtText.h"

using qv::StringId;

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "2026-12-10 03:15, 4.12": when, and the software version it reported.
QString lastSeenText(const qv::appliances::LastSeen& seen) {
    QString when = fromUtf8(seen.when);
    when.replace(QLatin1Char('T'), QLatin1Char(' '));
    if (when.endsWith(QLatin1Char('Z')))
        when.chop(1);
    if (when.size() > 16)
        when.truncate(16);
    if (seen.softwareVersion.empty())
        return when;
    return when + QStringLiteral(", ") + fromUtf8(seen.softwareVersion);
}

} // namespace

void ApplianceBookModel::setAppliances(std::vector<qv::appliances::Appliance> appliances) {
    beginResetModel();
    m_appliances = std::move(appliances);
    endResetModel();
}

int ApplianceBookModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_appliances.size());
}

int ApplianceBookModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ApplianceBookModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const qv::appliances::Appliance& entry = m_appliances[static_cast<size_t>(index.row())];
    if (role == kSortRole) {
        switch (index.column()) {
        case kGroup:
            // Appliances without a group come after the named groups.
            return QString((entry.group.empty() ? QStringLiteral("\x02") : QStringLiteral("\x01")) +
                           fromUtf8(entry.group).toCaseFolded() + QLatin1Char('\x01') +
                           fromUtf8(entry.name).toCaseFolded());
        case kLastSeen:
            return fromUtf8(entry.lastSeen.when);
        default:
            return data(index, Qt::DisplayRole).toString().toCaseFolded();
        }
    }
    if (role == Qt::ToolTipRole && !entry.note.empty())
        return fromUtf8(entry.note);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case kName:
        return fromUtf8(entry.name);
    case kAddress:
        return fromUtf8(entry.address);
    case kGroup:
        return fromUtf8(entry.group);
    case kLastSeen:
        return lastSeenText(entry.lastSeen);
    default:
        return {};
    }
}

QVariant ApplianceBookModel::headerData(int section, Qt::Orientation orientation,
                                        int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case kName:
        return qv::uiText(StringId::BookName);
    case kAddress:
        return qv::uiText(StringId::BookAddress);
    case kGroup:
        return qv::uiText(StringId::BookGroup);
    case kLastSeen:
        return qv::uiText(StringId::BookLastSeen);
    default:
        return {};
    }
}

ApplianceBookFilter::ApplianceBookFilter(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(ApplianceBookModel::kSortRole);
}

void ApplianceBookFilter::setFindText(const QString& text) {
    m_find = text.trimmed();
    invalidateFilter();
}

bool ApplianceBookFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    const QString& wanted = m_find;
    if (wanted.isEmpty())
        return true;
    const auto* book = static_cast<const ApplianceBookModel*>(sourceModel());
    for (int column = 0; column < ApplianceBookModel::kColumnCount; ++column) {
        const QString text = book->index(sourceRow, column, sourceParent).data().toString();
        if (text.contains(wanted, Qt::CaseInsensitive))
            return true;
    }
    const std::string& note = book->appliance(sourceRow).note;
    return fromUtf8(note).contains(wanted, Qt::CaseInsensitive);
}
