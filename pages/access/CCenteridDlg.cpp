#include "pages/access/CCenteridDlg.h"

#include "link/CGlobalData.h"
#include "link/CodePage.h"
#include "link/Requests.h"
#include "pages/ControlFactory.h"
#include "pages/KeyboardAccess.h"
#include "pages/ListFilter.h"
#include "pages/Prompt.h"
#include "pages/QtText.h"
#include "pages/StoreTableModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace cid = qv::centerid;

using qv::StringId;

namespace {
// The Name column in the rules' columns.
constexpr int kNameColumn = 3;

// The application's style, but a combo box's list opens below it as a plain list that keeps
// its visible-row limit, instead of over the box as a menu of every item.
class ListBelowStyle : public QProxyStyle {
public:
    explicit ListBelowStyle(QObject* owner) { setParent(owner); }
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};
} // namespace

CCenteridDlg::CCenteridDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CTablePageDlg(qv::uiText(StringId::CenterIdTitle), store, prompt,
                    std::make_unique<qv::UnappliedEdits<qv::CenterIdTable>>(
                        prompt, store.centerIdTable, store.centerIdCount,
                        qv::UnappliedEditsQuestions{qv::StringId::CenterIdKeepAfterLogon,
                                                    qv::StringId::CenterIdKeepAfterReread,
                                                    qv::StringId::CenterIdDiscardOnLeave}),
                    qv::uiText(qv::StringId::ChangesNotApplied), StringId::CenterIdSet, parent) {
    m_model = new StoreTableModel(
        modelColumns(cid::kColumns),
        [this] { return qv::usedSlots<qv::CenterIdTable>(this->store().centerIdCount); },
        [this](int row) {
            const qv::CenterIdEntry entry =
                this->store().centerIdTable.entry(static_cast<size_t>(row));
            return modelRow(cid::rowTexts(entry, row, qv::systemCodePage()));
        },
        this);
    setupControls();
    connect(m_add, &QPushButton::clicked, this, &CCenteridDlg::onAdd);
    connect(m_edit, &QPushButton::clicked, this, &CCenteridDlg::onEdit);
    connect(m_del, &QPushButton::clicked, this, &CCenteridDlg::onDel);
    connect(m_apply, &QPushButton::clicked, this, [this] { apply(); });
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CCenteridDlg::onSelectionChanged);
    connect(m_password, &QLineEdit::textChanged, this, &CCenteridDlg::onPasswordChanged);
    dropEnterAndEscape();
}

void CCenteridDlg::setupControls() {
    namespace make = qv::controls;
    m_list = make::listView(kList, qv::uiText(StringId::CenterIdList), "centerIdList");
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_find = make::findBox(kFind, "centerIdFind");
    ListFilter::attach(m_model, m_list, m_find);
    // Names are the longest texts of a row: their column takes the room the others leave.
    m_list->horizontalHeader()->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
    m_id = make::lineEdit(kId, qv::uiText(StringId::CenterIdLabelId), "centerId");
    m_password = make::passwordEdit(kPassword, qv::uiText(StringId::CenterIdLabelPassword),
                                    "centerPassword");
    m_name = make::lineEdit(kName, qv::uiText(StringId::CenterIdLabelName), "centerName");
    m_group = make::comboBox(kGroup, qv::uiText(StringId::CenterIdLabelGroup), "centerGroup");
    for (int group = 1; group <= cid::kGroupCount; ++group)
        m_group->addItem(QString::number(group));
    m_group->setCurrentIndex(-1);
    // The groups run long: a page of them at a time, with a scroll bar for the rest. Styles
    // that open a combo box's list over the whole screen ignore the limit unless told not to.
    m_group->setMaxVisibleItems(20);
    m_group->setStyle(new ListBelowStyle(m_group));
    m_superUser = make::checkBox(kSuperUser, qv::uiText(StringId::CenterIdSuperUser), "superUser");
    m_prohibitFileTransfer =
        make::checkBox(kProhibitFileTransfer, qv::uiText(StringId::CenterIdProhibitFileTransfer),
                       "prohibitFileTransfer");
    m_prohibitLogDeletion =
        make::checkBox(kProhibitLogDeletion, qv::uiText(StringId::CenterIdProhibitLogDeletion),
                       "prohibitLogDeletion");
    m_add = make::button(kAdd, qv::uiText(StringId::TableAdd), "add");
    m_edit = make::button(kEdit, qv::uiText(StringId::TableEdit), "edit");
    m_del = make::button(kDel, qv::uiText(StringId::TableDel), "del");
    m_apply = make::button(kApply, qv::uiText(StringId::TableApply), "apply");

    auto* inputs = new QGridLayout;
    auto addLabelled = [inputs](int row, int column, const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption);
        label->setBuddy(field);
        inputs->addWidget(label, row, column);
        inputs->addWidget(field, row, column + 1);
    };
    addLabelled(0, 0, m_id->accessibleName(), m_id);
    addLabelled(0, 2, m_password->accessibleName(), m_password);
    addLabelled(1, 0, m_name->accessibleName(), m_name);
    addLabelled(1, 2, m_group->accessibleName(), m_group);
    auto* checks = new QHBoxLayout;
    checks->addWidget(m_superUser);
    checks->addWidget(m_prohibitFileTransfer);
    checks->addWidget(m_prohibitLogDeletion);
    checks->addStretch();
    inputs->addLayout(checks, 2, 0, 1, 4);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_edit);
    buttons->addWidget(m_del);
    buttons->addStretch();
    buttons->addWidget(unappliedMarker());
    buttons->addWidget(m_apply);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->addWidget(m_find, 0, Qt::AlignRight);
    layout->addWidget(m_list, 1);
    layout->addLayout(inputs);
    layout->addLayout(buttons);

    make::setTabOrder(this, {m_find, m_list, m_id, m_password, m_name, m_group, m_superUser,
                             m_prohibitFileTransfer, m_prohibitLogDeletion, m_add, m_edit, m_del,
                             m_apply});
}

void CCenteridDlg::reloadTable() {
    m_model->reload();
}

void CCenteridDlg::clearInputs() {
    m_id->clear();
    m_password->clear();
    m_name->clear();
    m_superUser->setChecked(false);
    m_group->setCurrentIndex(-1);
}

cid::Input CCenteridDlg::readInputs() const {
    cid::Input input = cid::inputFromUtf8(qv::toUtf8(m_id->text()), qv::toUtf8(m_password->text()),
                                          qv::toUtf8(m_name->text()), qv::systemCodePage());
    if (m_group->currentIndex() >= 0)
        input.groupIndex = m_group->currentIndex();
    input.superUser = m_superUser->isChecked();
    input.prohibitFileTransfer = m_prohibitFileTransfer->isChecked();
    input.prohibitLogDeletion = m_prohibitLogDeletion->isChecked();
    return input;
}

void CCenteridDlg::onAdd() {
    qv::CGlobalData& s = store();
    const cid::Input input = readInputs();
    if (!accepted(cid::validateAdd(s.centerIdTable, s.centerIdCount, input, qv::systemCodePage())))
        return;
    cid::addEntry(s.centerIdTable, s.centerIdCount, input);
    noteEdit();
    clearInputs();
}

void CCenteridDlg::onEdit() {
    qv::CGlobalData& s = store();
    const int row = qv::selectedStoreRow(m_list) >= 0 ? m_currentRow : -1;
    const cid::Input input = readInputs();
    if (!accepted(
            cid::validateEdit(s.centerIdTable, s.centerIdCount, row, input, qv::systemCodePage())))
        return;
    cid::editEntry(s.centerIdTable, s.centerIdCount, row, input);
    noteEdit();
}

void CCenteridDlg::onDel() {
    qv::CGlobalData& s = store();
    const RowDeletion rules{
        [&s](int row) { return cid::validateDelete(s.centerIdCount, row); },
        [&s](int row) { cid::deleteEntry(s.centerIdTable, s.centerIdCount, row); },
        [&s](const std::vector<int>& rows) {
            return cid::validateDeleteRows(s.centerIdCount, rows);
        },
        [&s](const std::vector<int>& rows) {
            cid::deleteRows(s.centerIdTable, s.centerIdCount, rows);
        },
        StringId::CenterIdDeleteSeveral};
    const int row = qv::selectedStoreRow(m_list) >= 0 ? m_currentRow : -1;
    if (deleteChosen(qv::storeRows(m_list), row, rules))
        clearInputs();
}

void CCenteridDlg::requestContent() {
    sendIfConnected(qv::request::readCenterIds());
}

qv::Frame CCenteridDlg::applyRequest() const {
    const qv::CGlobalData& s = store();
    return qv::request::writeCenterIds(s.centerIdCount, s.centerIdTable);
}

void CCenteridDlg::onSelectionChanged() {
    const int row = qv::selectedStoreRow(m_list);
    if (row < 0)
        return;
    m_currentRow = row;
    const cid::Input input =
        cid::inputFromEntry(store().centerIdTable.entry(static_cast<size_t>(row)));
    m_id->setText(qv::fromAnsi(input.id));
    m_loadingRow = true;
    m_password->setText(qv::fromAnsi(input.password));
    m_loadingRow = false;
    m_name->setText(qv::fromAnsi(input.name));
    m_superUser->setChecked(input.superUser);
    m_prohibitLogDeletion->setChecked(input.prohibitLogDeletion);
    m_prohibitFileTransfer->setChecked(input.prohibitFileTransfer);
    // A stored group outside 1..50 leaves the choice as it was.
    if (input.groupIndex)
        m_group->setCurrentIndex(*input.groupIndex);
}

void CCenteridDlg::onPasswordChanged(const QString& text) {
    // Only the last character is looked at: a '$' inside pasted text is not caught. A stored
    // password shown by choosing a row is not the operator's typing and is not refused.
    if (m_loadingRow || !cid::endsWithDollar(qv::toUtf8(text)))
        return;
    prompt().notice(qv::uiText(qv::StringId::CenterIdPasswordDollar));
    m_password->clear();
}
