#include "pages/access/CBlacklistDlg.h"

#include "link/CGlobalData.h"
#include "link/CodePage.h"
#include "link/Requests.h"
#include "pages/ControlFactory.h"
#include "pages/KeyboardAccess.h"
#include "pages/ListFilter.h"
#include "pages/Prompt.h"
#include "pages/QtText.h"
#include "pages/StoreTableModel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace bl = qv::blacklist;

using qv::StringId;

namespace {

int blacklistRows(const qv::CGlobalData& s) {
    return s.blacklist ? std::clamp<int32_t>(s.blacklistCount, 0, qv::BlacklistEntries::kSlots) : 0;
}

} // namespace

CBlacklistDlg::CBlacklistDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CTablePageDlg(qv::uiText(StringId::BlacklistTitle), store, prompt,
                    std::make_unique<qv::UnappliedEdits<qv::BlockIpTable>>(
                        prompt, store.blockIpTable, store.blockIpCount,
                        qv::UnappliedEditsQuestions{qv::StringId::BlockIpKeepAfterLogon,
                                                    qv::StringId::BlockIpKeepAfterReread,
                                                    qv::StringId::BlockIpDiscardOnLeave}),
                    qv::uiText(qv::StringId::ChangesNotApplied), StringId::BlockIpListChanged,
                    parent) {
    m_blacklistModel = new StoreTableModel(
        modelColumns(bl::kBlacklistColumns), [this] { return blacklistRows(this->store()); },
        [this](int row) {
            return modelRow(
                bl::blacklistRowTexts(this->store().blacklist->entry(static_cast<size_t>(row)), row,
                                      qv::systemCodePage()));
        },
        this);
    m_blockModel = new StoreTableModel(
        modelColumns(bl::kBlockListColumns),
        [this] { return qv::usedSlots<qv::BlockIpTable>(this->store().blockIpCount); },
        [this](int row) {
            return modelRow(
                bl::blockRowTexts(this->store().blockIpTable, row, qv::systemCodePage()));
        },
        this);
    setupControls();
    connect(m_add, &QPushButton::clicked, this, &CBlacklistDlg::onAdd);
    connect(m_edit, &QPushButton::clicked, this, &CBlacklistDlg::onEdit);
    connect(m_delete, &QPushButton::clicked, this, &CBlacklistDlg::onDelete);
    connect(m_addSelected, &QPushButton::clicked, this, &CBlacklistDlg::onAddSelected);
    connect(m_apply, &QPushButton::clicked, this, [this] { apply(); });
    connect(m_clearAll, &QPushButton::clicked, this, &CBlacklistDlg::onClearAll);
    connect(m_blacklist->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                onBlacklistRowChanged(qv::storeRow(m_blacklist, current));
            });
    connect(m_blockList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                onBlockRowChanged(qv::storeRow(m_blockList, current));
            });
    dropEnterAndEscape();
}

void CBlacklistDlg::setupControls() {
    namespace make = qv::controls;
    // One form with English captions for both languages.
    m_blacklist = make::listView(kBlacklist, qv::uiText(StringId::BlacklistList), "blacklist");
    m_blacklist->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_blacklistFind = make::findBox(kBlacklistFind, "blacklistFind");
    ListFilter::attach(m_blacklistModel, m_blacklist, m_blacklistFind);
    m_blockList = make::listView(kBlockList, qv::uiText(StringId::BlockIpList), "blockList");
    m_blockList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_blockListFind = make::findBox(kBlockListFind, "blockListFind");
    ListFilter::attach(m_blockModel, m_blockList, m_blockListFind);

    m_addSelected =
        make::button(kAddSelected, qv::uiText(StringId::BlacklistAddSelected), "addSelected");
    m_clearAll = make::button(kClearAll, qv::uiText(StringId::BlacklistClearAll), "clearAll");
    m_addAddress =
        make::lineEdit(kAddAddress, qv::uiText(StringId::BlockIpAddressToAdd), "addAddress");
    m_add = make::button(kAdd, qv::uiText(StringId::BlockIpAdd), "add");
    m_editAddress =
        make::lineEdit(kEditAddress, qv::uiText(StringId::BlockIpLabelAddress), "editAddress");
    m_edit = make::button(kEdit, qv::uiText(StringId::BlockIpEdit), "edit");
    m_delete = make::button(kDelete, qv::uiText(StringId::BlockIpDelete), "delete");
    m_apply = make::button(kApply, qv::uiText(StringId::BlockIpApply), "apply");

    auto* blacklistButtons = new QHBoxLayout;
    blacklistButtons->addWidget(m_blacklistFind);
    blacklistButtons->addStretch();
    blacklistButtons->addWidget(m_addSelected);
    blacklistButtons->addWidget(m_clearAll);

    auto* blockLabel = new QLabel(qv::uiText(StringId::BlockIpList));
    blockLabel->setBuddy(m_blockList);
    auto* editLabel = new QLabel(qv::uiText(StringId::BlockIpLabelAddress));
    editLabel->setBuddy(m_editAddress);
    auto* addLabel = new QLabel(qv::uiText(StringId::BlockIpAddressToAdd));
    addLabel->setBuddy(m_addAddress);

    auto* blockControls = new QGridLayout;
    blockControls->addWidget(addLabel, 0, 0);
    blockControls->addWidget(m_addAddress, 0, 1);
    blockControls->addWidget(m_add, 0, 2);
    blockControls->addWidget(editLabel, 1, 0);
    blockControls->addWidget(m_editAddress, 1, 1);
    blockControls->addWidget(m_edit, 1, 2);
    blockControls->addWidget(m_delete, 2, 2);
    blockControls->setRowStretch(3, 1);
    blockControls->addWidget(unappliedMarker(), 4, 0, 1, 2, Qt::AlignRight);
    blockControls->addWidget(m_apply, 4, 2);

    // The Block IP list under its caption and its Find box, the controls beside it.
    auto* blockColumn = new QVBoxLayout;
    blockColumn->addWidget(blockLabel);
    blockColumn->addWidget(m_blockListFind);
    blockColumn->addWidget(m_blockList, 1);
    auto* blockRow = new QHBoxLayout;
    blockRow->addLayout(blockColumn, 1);
    blockRow->addLayout(blockControls, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->addWidget(m_blacklist, 3);
    layout->addLayout(blacklistButtons);
    layout->addLayout(blockRow, 2);

    // The blacklist and its buttons, then the Block IP list and the controls beside it.
    make::setTabOrder(this,
                      {m_blacklist, m_blacklistFind, m_addSelected, m_clearAll, m_blockListFind,
                       m_blockList, m_addAddress, m_add, m_editAddress, m_edit, m_delete, m_apply});
}

void CBlacklistDlg::blacklistArrived() {
    reloadUnselected(m_blacklistModel, m_blacklist);
    m_blacklistCurrentRow = -1;
}

void CBlacklistDlg::reloadTable() {
    reloadUnselected(m_blockModel, m_blockList);
    m_blockCurrentRow = -1;
}

void CBlacklistDlg::reloadUnselected(StoreTableModel* model, QTableView* view) {
    m_rebuilding = true;
    view->clearSelection();
    view->setCurrentIndex({});
    model->reload();
    m_rebuilding = false;
}

void CBlacklistDlg::onAdd() {
    qv::CGlobalData& s = store();
    const bl::Address address =
        bl::addressFromUtf8(qv::toUtf8(m_addAddress->text()), qv::systemCodePage());
    const bl::Verdict verdict = bl::validateAdd(s.blockIpTable, s.blockIpCount, address);
    if (!accepted(verdict)) {
        // A text too short to be an address also redraws the list.
        if (verdict.stringId == qv::StringId::BlockIpEnterExactly)
            reloadTable();
        return;
    }
    if (!confirmBlocking(address.ansi))
        return;
    bl::addAddress(s.blockIpTable, s.blockIpCount, address.ansi);
    // Ready for the next address, as on the center ID page.
    m_addAddress->clear();
    noteEdit();
}

void CBlacklistDlg::onEdit() {
    qv::CGlobalData& s = store();
    const bool anySelected = !qv::storeRows(m_blockList).empty();
    const bl::Address address =
        bl::addressFromUtf8(qv::toUtf8(m_editAddress->text()), qv::systemCodePage());
    if (!accepted(bl::validateEdit(s.blockIpTable, s.blockIpCount, anySelected, m_blockCurrentRow,
                                   address)))
        return;
    if (!confirmBlocking(address.ansi))
        return;
    bl::editAddress(s.blockIpTable, s.blockIpCount, m_blockCurrentRow, address.ansi);
    noteEdit();
}

void CBlacklistDlg::onDelete() {
    qv::CGlobalData& s = store();
    const std::vector<int> rows = qv::storeRows(m_blockList);
    deleteAfterAsking(bl::validateDelete(s.blockIpCount, rows),
                      qv::uiText(qv::StringId::BlockIpDeleteQuestion),
                      [&s, &rows] { bl::deleteRows(s.blockIpTable, s.blockIpCount, rows); });
}

void CBlacklistDlg::onAddSelected() {
    qv::CGlobalData& s = store();
    if (s.blockIpCount >= bl::kMaxEntries || !s.blacklist)
        return;
    const int32_t entries = std::clamp<int32_t>(s.blacklistCount, 0, qv::BlacklistEntries::kSlots);
    std::vector<std::string> addresses;
    for (int row : qv::storeRows(m_blacklist))
        if (row < entries)
            addresses.push_back(s.blacklist->entry(static_cast<size_t>(row)).ip());
    if (const int own = bl::firstLockingOut(addresses, s.localAddress());
        own >= 0 && !confirmBlocking(addresses[static_cast<size_t>(own)]))
        return;
    bl::addSelected(s.blockIpTable, s.blockIpCount, addresses);
    noteEdit();
}

// The firewall drops this client's own connection once it blocks the address the client comes
// from, and the operator could no longer undo it from here: that address is asked about first.
bool CBlacklistDlg::confirmBlocking(const std::string& address) {
    const std::string own = store().localAddress();
    if (!bl::locksOut(address, own))
        return true;
    return prompt().question(
        qv::uiText(qv::StringId::BlockIpLocksOut).arg(QString::fromStdString(own)),
        qv::DefaultAnswer::No);
}

void CBlacklistDlg::requestContent() {
    sendIfConnected(qv::request::readBlacklist());
}

qv::Frame CBlacklistDlg::applyRequest() const {
    const qv::CGlobalData& s = store();
    return qv::request::writeBlockIps(s.blockIpCount, s.blockIpTable);
}

void CBlacklistDlg::onClearAll() {
    if (!prompt().question(qv::uiText(qv::StringId::BlacklistClearQuestion), qv::DefaultAnswer::No))
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
    const qv::CGlobalData& s = store();
    if (row < blacklistRows(s))
        m_addAddress->setText(qv::fromUtf8(qv::ansiToUtf8(
            s.blacklist->entry(static_cast<size_t>(row)).ip(), qv::systemCodePage())));
}

void CBlacklistDlg::onBlockRowChanged(int row) {
    if (m_rebuilding)
        return;
    m_blockCurrentRow = row;
    if (row < 0)
        return;
    const qv::CGlobalData& s = store();
    if (row < qv::usedSlots<qv::BlockIpTable>(s.blockIpCount))
        m_editAddress->setText(qv::fromUtf8(qv::ansiToUtf8(
            s.blockIpTable.address(static_cast<size_t>(row)), qv::systemCodePage())));
}
