#include "access/CCenteridDlg.h"

#include "CGlobalData.h"
#include "CodePage.h"
#include "Commands.h"
#include "ControlIds.h"
#include "Prompt.h"
#include "QtText.h"
#include "Requests.h"

#include <QCheckBox>
#include <QComboBox>
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

namespace cid = qv::centerid;

namespace {

QString pick(const char* english, const char* korean) {
    return QString::fromUtf8(qv::systemLanguage() == qv::Language::Korean ? korean : english);
}

// The list rows are 15 pixels high, as on every list of the program.
constexpr int kRowHeight = 15;

} // namespace

CCenteridDlg::CCenteridDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(QStringLiteral("Center ID Management"), store, prompt, parent),
      m_edits(prompt, store.centerIdTable, store.centerIdCount,
              {cid::kKeepAfterLogon, cid::kKeepAfterReread, cid::kDiscardOnLeave}) {
    m_list = new QTableWidget(0, static_cast<int>(cid::kColumns.size()));
    qv::setControl(m_list, 1013, QStringLiteral("Center IDs"));
    m_list->setObjectName(QStringLiteral("centerIdList"));
    QStringList captions;
    for (const cid::Column& column : cid::kColumns)
        captions << qv::fromUtf8(column.caption);
    m_list->setHorizontalHeaderLabels(captions);
    for (size_t i = 0; i < cid::kColumns.size(); ++i)
        m_list->setColumnWidth(static_cast<int>(i), cid::kColumns[i].width);
    m_list->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->verticalHeader()->setVisible(false);
    m_list->verticalHeader()->setMinimumSectionSize(kRowHeight);
    m_list->verticalHeader()->setDefaultSectionSize(kRowHeight);
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->setShowGrid(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);

    auto makeEdit = [](int id, const QString& caption, const char* name) {
        auto* edit = new QLineEdit;
        qv::setControl(edit, id, caption);
        edit->setObjectName(QString::fromLatin1(name));
        return edit;
    };
    m_id = makeEdit(1016, QStringLiteral("ID"), "centerId");
    m_password = makeEdit(1018, QStringLiteral("Password"), "centerPassword");
    m_password->setEchoMode(QLineEdit::Password);
    m_name = makeEdit(1019, QStringLiteral("Name"), "centerName");

    m_group = new QComboBox;
    qv::setControl(m_group, 1041, QStringLiteral("Group"));
    m_group->setObjectName(QStringLiteral("centerGroup"));
    for (int group = 1; group <= cid::kGroupCount; ++group)
        m_group->addItem(QString::number(group));
    m_group->setCurrentIndex(-1);

    auto makeCheck = [](int id, const QString& caption, const char* name) {
        auto* box = new QCheckBox(caption);
        qv::setControl(box, id, caption);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    m_superUser = makeCheck(1042, QStringLiteral("Super User"), "superUser");
    m_prohibitFileTransfer =
        makeCheck(1043, pick("Prohibit file transfer ", "파일전송 금지"), "prohibitFileTransfer");
    m_prohibitLogDeletion =
        makeCheck(1044, pick("Prohibit log deletion", "로그삭제 금지"), "prohibitLogDeletion");

    auto makeButton = [](int id, const QString& caption, const char* name) {
        auto* button = new QPushButton(caption);
        qv::setControl(button, id, caption);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        return button;
    };
    m_add = makeButton(1014, pick("Add", "추가"), "add");
    m_edit = makeButton(1020, pick("Edit", "수정"), "edit");
    m_del = makeButton(1015, pick("Del", "삭제"), "del");
    m_apply = makeButton(1017, pick("Apply", "적 용"), "apply");

    m_unappliedMarker = new QLabel(qv::uiText(cid::kChangesNotApplied));
    m_unappliedMarker->setObjectName(QStringLiteral("unappliedMarker"));
    m_unappliedMarker->setStyleSheet(QStringLiteral("color: #b00020; font-weight: bold;"));
    m_unappliedMarker->setVisible(false);

    auto* inputs = new QGridLayout;
    auto addLabelled = [inputs](int row, int column, const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption);
        label->setBuddy(field);
        inputs->addWidget(label, row, column);
        inputs->addWidget(field, row, column + 1);
    };
    addLabelled(0, 0, QStringLiteral("ID"), m_id);
    addLabelled(0, 2, QStringLiteral("Password"), m_password);
    addLabelled(1, 0, QStringLiteral("Name"), m_name);
    addLabelled(1, 2, QStringLiteral("Group"), m_group);
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
    buttons->addWidget(m_unappliedMarker);
    buttons->addWidget(m_apply);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->addWidget(m_list, 1);
    layout->addLayout(inputs);
    layout->addLayout(buttons);

    connect(m_add, &QPushButton::clicked, this, &CCenteridDlg::onAdd);
    connect(m_edit, &QPushButton::clicked, this, &CCenteridDlg::onEdit);
    connect(m_del, &QPushButton::clicked, this, &CCenteridDlg::onDel);
    connect(m_apply, &QPushButton::clicked, this, &CCenteridDlg::onApply);
    connect(m_list, &QTableWidget::itemSelectionChanged, this, &CCenteridDlg::onSelectionChanged);
    connect(m_password, &QLineEdit::textChanged, this, &CCenteridDlg::onPasswordChanged);

    dropEnterAndEscape();
}

void CCenteridDlg::refresh() {
    if (m_edits.takeFresh())
        rebuildList();
}

void CCenteridDlg::applyResult(int32_t value) {
    m_edits.confirmed(value == qv::result::kSuccess);
    updateMarker();
}

bool CCenteridDlg::confirmLeave() {
    const qv::EditsOnLeave answer = m_edits.confirmLeave();
    if (answer == qv::EditsOnLeave::Discarded) {
        rebuildList();
        clearInputs();
    }
    return answer != qv::EditsOnLeave::Stay;
}

void CCenteridDlg::linkEnded() {
    m_edits.linkEnded();
}

void CCenteridDlg::rebuildList() {
    const qv::CGlobalData& s = store();
    const int count = std::clamp<int32_t>(s.centerIdCount, 0, cid::kSlots);
    const int codePage = qv::systemCodePage();
    m_list->clearContents();
    m_list->setRowCount(count);
    for (int row = 0; row < count; ++row) {
        const auto texts =
            cid::rowTexts(s.centerIdTable.entry(static_cast<size_t>(row)), row, codePage);
        for (size_t column = 0; column < texts.size(); ++column) {
            auto* item = new QTableWidgetItem(qv::fromUtf8(texts[column]));
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            m_list->setItem(row, static_cast<int>(column), item);
        }
    }
    m_list->viewport()->update();
    updateMarker();
}

void CCenteridDlg::updateMarker() {
    m_unappliedMarker->setVisible(m_edits.unapplied());
}

void CCenteridDlg::clearInputs() {
    m_id->clear();
    m_password->clear();
    m_name->clear();
    m_superUser->setChecked(false);
    m_group->setCurrentIndex(-1);
}

int CCenteridDlg::selectedRow() const {
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
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

bool CCenteridDlg::accepted(const cid::Verdict& verdict) {
    if (verdict.kind == cid::Verdict::Kind::Refused)
        prompt().notice(verdict.stringId != 0 ? qv::uiText(verdict.stringId)
                                              : qv::fromUtf8(verdict.fixedText));
    return verdict.ok();
}

void CCenteridDlg::noteEdit() {
    m_edits.noteEdit();
    rebuildList();
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
    const int row = selectedRow() >= 0 ? m_currentRow : -1;
    const cid::Input input = readInputs();
    if (!accepted(
            cid::validateEdit(s.centerIdTable, s.centerIdCount, row, input, qv::systemCodePage())))
        return;
    cid::editEntry(s.centerIdTable, s.centerIdCount, row, input);
    noteEdit();
}

void CCenteridDlg::onDel() {
    qv::CGlobalData& s = store();
    const int row = selectedRow() >= 0 ? m_currentRow : -1;
    if (!accepted(cid::validateDelete(s.centerIdCount, row)))
        return;
    cid::deleteEntry(s.centerIdTable, s.centerIdCount, row);
    noteEdit();
    clearInputs();
}

void CCenteridDlg::onApply() {
    qv::CGlobalData& s = store();
    if (!s.isConnected())
        return;
    if (s.send(qv::request::writeCenterIds(s.centerIdCount, s.centerIdTable)))
        m_edits.sent();
}

void CCenteridDlg::onSelectionChanged() {
    const int row = selectedRow();
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
    prompt().notice(qv::uiText(cid::kDollarNotPermitted));
    m_password->clear();
}
