#include "access/CBlacklistDlg.h"

#include "CGlobalData.h"
#include "CodePage.h"
#include "Commands.h"
#include "ControlIds.h"
#include "Prompt.h"
#include "QtText.h"
#include "Requests.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace bl = qv::blacklist;

namespace {

// The list rows are 15 pixels high, as on every list of the program.
constexpr int kRowHeight = 15;

template <size_t N>
QTableWidget* makeList(int id, const QString& name, const std::array<bl::Column, N>& columns) {
    auto* list = new QTableWidget(0, static_cast<int>(N));
    qv::setControl(list, id, name);
    QStringList captions;
    for (const bl::Column& column : columns)
        captions << qv::fromUtf8(column.caption);
    list->setHorizontalHeaderLabels(captions);
    for (size_t i = 0; i < N; ++i)
        list->setColumnWidth(static_cast<int>(i), columns[i].width);
    list->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->horizontalHeader()->setHighlightSections(false);
    list->verticalHeader()->setVisible(false);
    list->verticalHeader()->setMinimumSectionSize(kRowHeight);
    list->verticalHeader()->setDefaultSectionSize(kRowHeight);
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->setShowGrid(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setWordWrap(false);
    return list;
}

template <size_t N>
void setRow(QTableWidget* list, int row, const std::array<std::string, N>& texts) {
    for (size_t column = 0; column < N; ++column) {
        auto* item = new QTableWidgetItem(qv::fromUtf8(texts[column]));
        item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        list->setItem(row, static_cast<int>(column), item);
    }
}

QPushButton* makeButton(int id, const QString& caption, const char* name) {
    auto* button = new QPushButton(caption);
    qv::setControl(button, id, caption);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QLineEdit* makeEdit(int id, const QString& caption, const char* name) {
    auto* edit = new QLineEdit;
    qv::setControl(edit, id, caption);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

} // namespace

CBlacklistDlg::CBlacklistDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(QStringLiteral("Blacklist IP"), store, prompt, parent),
      m_edits(prompt, store.blockIpTable, store.blockIpCount,
              {bl::kKeepAfterLogon, bl::kKeepAfterReread, bl::kDiscardOnLeave}) {
    // One form with English captions for both languages.
    m_blacklist = makeList(1090, QStringLiteral("Blacklist"), bl::kBlacklistColumns);
    m_blacklist->setObjectName(QStringLiteral("blacklist"));
    m_blockList = makeList(1091, QStringLiteral("Block IP List"), bl::kBlockListColumns);
    m_blockList->setObjectName(QStringLiteral("blockList"));

    m_addSelected =
        makeButton(1099, QStringLiteral("Add Selected Items to Block IP List"), "addSelected");
    m_clearAll = makeButton(1098, QStringLiteral("Clear All"), "clearAll");
    m_addAddress = makeEdit(1092, QStringLiteral("Address to add"), "addAddress");
    m_add = makeButton(1093, QStringLiteral("Add"), "add");
    m_editAddress = makeEdit(1096, QStringLiteral("IP Address"), "editAddress");
    m_edit = makeButton(1097, QStringLiteral("Edit"), "edit");
    m_delete = makeButton(1094, QStringLiteral("Delete"), "delete");
    m_apply = makeButton(1095, QStringLiteral("Apply"), "apply");

    m_unappliedMarker = new QLabel(qv::uiText(bl::kChangesNotApplied));
    m_unappliedMarker->setObjectName(QStringLiteral("unappliedMarker"));
    m_unappliedMarker->setStyleSheet(QStringLiteral("color: #b00020; font-weight: bold;"));
    m_unappliedMarker->setVisible(false);

    auto* blacklistButtons = new QHBoxLayout;
    blacklistButtons->addStretch();
    blacklistButtons->addWidget(m_addSelected);
    blacklistButtons->addWidget(m_clearAll);

    auto* blockLabel = new QLabel(QStringLiteral("Block IP List"));
    blockLabel->setBuddy(m_blockList);
    auto* editLabel = new QLabel(QStringLiteral("IP Address"));
    editLabel->setBuddy(m_editAddress);

    auto* blockControls = new QGridLayout;
    blockControls->addWidget(m_addAddress, 0, 0, 1, 2);
    blockControls->addWidget(m_add, 0, 2);
    blockControls->addWidget(editLabel, 1, 0);
    blockControls->addWidget(m_editAddress, 1, 1);
    blockControls->addWidget(m_edit, 1, 2);
    blockControls->addWidget(m_delete, 2, 2);
    blockControls->setRowStretch(3, 1);
    blockControls->addWidget(m_unappliedMarker, 4, 0, 1, 2, Qt::AlignRight);
    blockControls->addWidget(m_apply, 4, 2);

    auto* blockRow = new QHBoxLayout;
    blockRow->addWidget(m_blockList, 1);
    blockRow->addLayout(blockControls, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->addWidget(m_blacklist, 3);
    layout->addLayout(blacklistButtons);
    layout->addWidget(blockLabel);
    layout->addLayout(blockRow, 2);

    connect(m_add, &QPushButton::clicked, this, &CBlacklistDlg::onAdd);
    connect(m_edit, &QPushButton::clicked, this, &CBlacklistDlg::onEdit);
    connect(m_delete, &QPushButton::clicked, this, &CBlacklistDlg::onDelete);
    connect(m_addSelected, &QPushButton::clicked, this, &CBlacklistDlg::onAddSelected);
    connect(m_apply, &QPushButton::clicked, this, &CBlacklistDlg::onApply);
    connect(m_clearAll, &QPushButton::clicked, this, &CBlacklistDlg::onClearAll);
    connect(m_blacklist, &QTableWidget::currentCellChanged, this,
            [this](int row) { onBlacklistRowChanged(row); });
    connect(m_blockList, &QTableWidget::currentCellChanged, this,
            [this](int row) { onBlockRowChanged(row); });

    dropEnterAndEscape();
}

void CBlacklistDlg::refreshBlacklist() {
    const qv::CGlobalData& s = store();
    const int count =
        s.blacklist ? std::clamp<int32_t>(s.blacklistCount, 0, qv::BlacklistEntries::kSlots) : 0;
    const int codePage = qv::systemCodePage();
    m_rebuilding = true;
    m_blacklist->clearSelection();
    m_blacklist->setCurrentItem(nullptr);
    m_blacklist->clearContents();
    m_blacklist->setRowCount(count);
    for (int row = 0; row < count; ++row)
        setRow(m_blacklist, row,
               bl::blacklistRowTexts(s.blacklist->entry(static_cast<size_t>(row)), row, codePage));
    m_rebuilding = false;
    m_blacklistCurrentRow = -1;
    m_blacklist->viewport()->update();
}

void CBlacklistDlg::refreshBlockList() {
    if (m_edits.takeFresh())
        rebuildBlockList();
}

void CBlacklistDlg::applyResult(int32_t value) {
    m_edits.confirmed(value == qv::result::kSuccess);
    updateMarker();
}

bool CBlacklistDlg::confirmLeave() {
    const qv::EditsOnLeave answer = m_edits.confirmLeave();
    if (answer == qv::EditsOnLeave::Discarded)
        rebuildBlockList();
    return answer != qv::EditsOnLeave::Stay;
}

void CBlacklistDlg::linkEnded() {
    m_edits.linkEnded();
}

void CBlacklistDlg::rebuildBlockList() {
    const qv::CGlobalData& s = store();
    const int count = qv::usedSlots<qv::BlockIpTable>(s.blockIpCount);
    const int codePage = qv::systemCodePage();
    m_rebuilding = true;
    m_blockList->clearSelection();
    m_blockList->setCurrentItem(nullptr);
    m_blockList->clearContents();
    m_blockList->setRowCount(count);
    for (int row = 0; row < count; ++row)
        setRow(m_blockList, row, bl::blockRowTexts(s.blockIpTable, row, codePage));
    m_rebuilding = false;
    m_blockCurrentRow = -1;
    m_blockList->viewport()->update();
    updateMarker();
}

void CBlacklistDlg::updateMarker() {
    m_unappliedMarker->setVisible(m_edits.unapplied());
}

void CBlacklistDlg::noteEdit() {
    m_edits.noteEdit();
    rebuildBlockList();
}

bool CBlacklistDlg::accepted(const bl::Verdict& verdict) {
    if (verdict.kind == bl::Verdict::Kind::Refused)
        prompt().notice(verdict.stringId != 0 ? qv::uiText(verdict.stringId)
                                              : qv::fromUtf8(verdict.fixedText));
    return verdict.ok();
}

std::vector<int> CBlacklistDlg::selectedRows(const QTableWidget* list) {
    std::vector<int> rows;
    for (const QModelIndex& index : list->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CBlacklistDlg::onAdd() {
    qv::CGlobalData& s = store();
    const bl::Address address =
        bl::addressFromUtf8(qv::toUtf8(m_addAddress->text()), qv::systemCodePage());
    const bl::Verdict verdict = bl::validateAdd(s.blockIpTable, s.blockIpCount, address);
    if (!accepted(verdict)) {
        // A text too short to be an address also redraws the list.
        if (verdict.fixedText == bl::kEnterAddressText)
            rebuildBlockList();
        return;
    }
    bl::addAddress(s.blockIpTable, s.blockIpCount, address.ansi);
    noteEdit();
}

void CBlacklistDlg::onEdit() {
    qv::CGlobalData& s = store();
    const bool anySelected = !selectedRows(m_blockList).empty();
    const bl::Address address =
        bl::addressFromUtf8(qv::toUtf8(m_editAddress->text()), qv::systemCodePage());
    if (!accepted(bl::validateEdit(s.blockIpTable, s.blockIpCount, anySelected, m_blockCurrentRow,
                                   address)))
        return;
    bl::editAddress(s.blockIpTable, s.blockIpCount, m_blockCurrentRow, address.ansi);
    noteEdit();
}

void CBlacklistDlg::onDelete() {
    qv::CGlobalData& s = store();
    const std::vector<int> rows = selectedRows(m_blockList);
    if (!accepted(bl::validateDelete(s.blockIpCount, rows)))
        return;
    const qv::BlockIpTable beforeTable = s.blockIpTable;
    const int32_t beforeCount = s.blockIpCount;
    if (!prompt().question(qv::fromUtf8(bl::kDeleteQuestionText)))
        return;
    // A table that arrived while the question was open replaced the rows that were chosen.
    if (!qv::sameEntries(beforeTable, beforeCount, s.blockIpTable, s.blockIpCount))
        return;
    bl::deleteRows(s.blockIpTable, s.blockIpCount, rows);
    noteEdit();
}

void CBlacklistDlg::onAddSelected() {
    qv::CGlobalData& s = store();
    if (s.blockIpCount >= bl::kMaxEntries || !s.blacklist)
        return;
    const int32_t entries = std::clamp<int32_t>(s.blacklistCount, 0, qv::BlacklistEntries::kSlots);
    std::vector<std::string> addresses;
    for (int row : selectedRows(m_blacklist))
        if (row < entries)
            addresses.push_back(s.blacklist->entry(static_cast<size_t>(row)).ip());
    bl::addSelected(s.blockIpTable, s.blockIpCount, addresses);
    noteEdit();
}

void CBlacklistDlg::onApply() {
    qv::CGlobalData& s = store();
    if (!s.isConnected())
        return;
    if (s.send(qv::request::writeBlockIps(s.blockIpCount, s.blockIpTable)))
        m_edits.sent();
}

void CBlacklistDlg::onClearAll() {
    if (!prompt().question(qv::fromUtf8(bl::kClearQuestionText)))
        return;
    qv::CGlobalData& s = store();
    if (s.isConnected())
        s.send(qv::request::clearBlacklist());
}

void CBlacklistDlg::onBlacklistRowChanged(int row) {
    if (m_rebuilding)
        return;
    m_blacklistCurrentRow = row;
    if (row < 0) {
        m_addAddress->clear();
        return;
    }
    if (const QTableWidgetItem* ip = m_blacklist->item(row, 1))
        m_addAddress->setText(ip->text());
}

void CBlacklistDlg::onBlockRowChanged(int row) {
    if (m_rebuilding)
        return;
    m_blockCurrentRow = row;
    if (row < 0)
        return;
    if (const QTableWidgetItem* ip = m_blockList->item(row, 1))
        m_editAddress->setText(ip->text());
}
