#include "network/CWolDlg.h"

#include "CGlobalData.h"
#include "CodePage.h"
#include "Commands.h"
#include "ControlIds.h"
#include "Prompt.h"
#include "QtText.h"
#include "Requests.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace wol = qv::wol;

namespace {

bool korean() {
    return qv::systemLanguage() == qv::Language::Korean;
}

QString pick(const char* english, const char* korean) {
    return QString::fromUtf8(::korean() ? korean : english);
}

// The list rows are 15 pixels high, as on every list of the program.
constexpr int kRowHeight = 15;

const char* const kEnglishHelp =
    "- Wake-on-LAN (WOL) is an Ethernet or Token ring computer networking standard that allows a "
    "computer to be turned on or awakened by a network message.\n"
    "- Quorvel MY is the WOL message distributor on its local network.\n"
    "- Name is the alias of a computer, and MAC is a unique identifier assigned to \n"
    "network interfaces of a PC\n"
    "- You can get MAC in command prompt by typing \"ipconfig /all\".";
const char* const kKoreanHelp =
    "- WOL(Wake-on-LAN)은 네트워크 메시지로 컴퓨터를 켜거나 깨우는 이더넷/토큰링 네트워크 "
    "표준입니다.\n"
    "- Quorvel MY는 자신이 속한 로컬 네트워크에 WOL 메시지를 보내는 장비입니다.\n"
    "- 이름은 컴퓨터의 별칭이며, 공백 없이 입력하세요. MAC은 PC의 네트워크 인터페이스에 부여된 "
    "고유 식별자입니다.\n"
    "- MAC은 명령 프롬프트에서 \"ipconfig /all\"을 입력하면 확인할 수 있습니다.";

QString fileMessage(int id, const QString& path) {
    return qv::uiText(id).arg(QDir::toNativeSeparators(path));
}

} // namespace

CWolDlg::CWolDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(QStringLiteral("Wake On Lan"), store, prompt, parent),
      m_edits(prompt, store.wolTable, store.wolCount,
              {wol::kKeepAfterLogon, wol::kKeepAfterReread, wol::kDiscardOnLeave}) {
    m_list = new QTableWidget(0, static_cast<int>(wol::kColumns.size()));
    qv::setControl(m_list, 1021, QStringLiteral("Wake-on-LAN targets"));
    m_list->setObjectName(QStringLiteral("wolList"));
    QStringList captions;
    for (const wol::Column& column : wol::kColumns)
        captions << qv::fromUtf8(column.caption);
    m_list->setHorizontalHeaderLabels(captions);
    m_list->horizontalHeader()->setMinimumSectionSize(0);
    m_list->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    for (size_t i = 0; i < wol::kColumns.size(); ++i)
        m_list->setColumnWidth(static_cast<int>(i), wol::kColumns[i].width);
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
    const QString nameCaption = pick("Name", "이름");
    m_name = makeEdit(1020, nameCaption, "wolName");
    m_mac = makeEdit(1018, QStringLiteral("MAC"), "wolMac");

    auto makeButton = [](int id, const QString& caption, const char* name) {
        auto* button = new QPushButton(caption);
        qv::setControl(button, id, caption);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        return button;
    };
    m_add = makeButton(1022, pick("Add", "추가"), "add");
    m_edit = makeButton(1025, pick("Edit", "수정"), "edit");
    m_delete = makeButton(1023, pick("Delete", "삭제"), "delete");
    m_apply = makeButton(1024, pick("Apply", "적 용"), "apply");
    // Export and import serve operators in every language, so both layouts carry them.
    m_export = makeButton(1026, pick("Export", "내보내기"), "exportCsv");
    m_import = makeButton(1027, pick("Import", "불러오기"), "importCsv");

    m_unappliedMarker = new QLabel(qv::uiText(wol::kChangesNotApplied));
    m_unappliedMarker->setObjectName(QStringLiteral("unappliedMarker"));
    m_unappliedMarker->setStyleSheet(QStringLiteral("color: #b00020; font-weight: bold;"));
    m_unappliedMarker->setVisible(false);

    auto* inputs = new QGridLayout;
    auto* nameLabel = new QLabel(nameCaption);
    nameLabel->setBuddy(m_name);
    auto* macLabel = new QLabel(QStringLiteral("MAC"));
    macLabel->setBuddy(m_mac);
    auto* examples = new QLabel(QStringLiteral("ex) ab:39:22:44:12:aa\n  ab-39-22-44-12-aa"));
    examples->setObjectName(QStringLiteral("macExamples"));
    inputs->addWidget(nameLabel, 0, 0);
    inputs->addWidget(m_name, 0, 1);
    inputs->addWidget(macLabel, 1, 0);
    inputs->addWidget(m_mac, 1, 1);
    inputs->addWidget(examples, 2, 1);
    // Names and MAC texts are short: the fields are sized for them rather than the page.
    m_name->setMinimumWidth(280);
    m_mac->setMinimumWidth(280);
    inputs->setColumnStretch(2, 1);

    auto* edits = new QHBoxLayout;
    edits->addWidget(m_add);
    edits->addWidget(m_edit);
    edits->addWidget(m_delete);
    edits->addStretch();
    edits->addWidget(m_export);
    edits->addWidget(m_import);

    auto* applyRow = new QHBoxLayout;
    applyRow->addStretch();
    applyRow->addWidget(m_unappliedMarker);
    applyRow->addWidget(m_apply);

    auto* help = new QLabel(QString::fromUtf8(korean() ? kKoreanHelp : kEnglishHelp));
    help->setObjectName(QStringLiteral("wolHelp"));
    help->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->addWidget(m_list, 1);
    layout->addLayout(inputs);
    layout->addLayout(edits);
    layout->addLayout(applyRow);
    layout->addWidget(help);

    connect(m_add, &QPushButton::clicked, this, &CWolDlg::onAdd);
    connect(m_edit, &QPushButton::clicked, this, &CWolDlg::onEdit);
    connect(m_delete, &QPushButton::clicked, this, &CWolDlg::onDelete);
    connect(m_apply, &QPushButton::clicked, this, &CWolDlg::onApply);
    connect(m_export, &QPushButton::clicked, this, &CWolDlg::onExport);
    connect(m_import, &QPushButton::clicked, this, &CWolDlg::onImport);
    connect(m_list, &QTableWidget::itemSelectionChanged, this, &CWolDlg::onSelectionChanged);

    dropEnterAndEscape();
}

void CWolDlg::refresh() {
    if (m_edits.takeFresh())
        rebuildList();
}

void CWolDlg::applyResult(int32_t value) {
    m_edits.confirmed(value == qv::result::kSuccess);
    updateMarker();
}

bool CWolDlg::confirmLeave() {
    const qv::EditsOnLeave answer = m_edits.confirmLeave();
    if (answer == qv::EditsOnLeave::Discarded) {
        rebuildList();
        clearInputs();
    }
    return answer != qv::EditsOnLeave::Stay;
}

void CWolDlg::linkEnded() {
    m_edits.linkEnded();
}

void CWolDlg::rebuildList() {
    const qv::CGlobalData& s = store();
    const int count = qv::usedSlots<qv::WolTable>(s.wolCount);
    m_list->clearContents();
    m_list->setRowCount(count);
    // Every entry gets its row, also one whose text has no form in the code page: a row left
    // out would make every later row name the wrong slot for Edit and Delete.
    for (int row = 0; row < count; ++row) {
        const auto texts = wol::rowTexts(s.wolTable.entry(static_cast<size_t>(row)), row);
        for (size_t column = 0; column < texts.size(); ++column) {
            auto* item = new QTableWidgetItem(qv::fromUtf8(texts[column]));
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            m_list->setItem(row, static_cast<int>(column), item);
        }
    }
    m_list->viewport()->update();
    updateMarker();
}

void CWolDlg::updateMarker() {
    m_unappliedMarker->setVisible(m_edits.unapplied());
}

void CWolDlg::clearInputs() {
    m_name->clear();
    m_mac->clear();
}

int CWolDlg::selectedRow() const {
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

wol::Input CWolDlg::readInputs() const {
    return wol::inputFromUtf8(qv::toUtf8(m_name->text()), qv::toUtf8(m_mac->text()),
                              qv::systemCodePage());
}

bool CWolDlg::accepted(const wol::Verdict& verdict) {
    if (verdict.kind == wol::Verdict::Kind::Refused)
        prompt().notice(verdict.stringId != 0 ? qv::uiText(verdict.stringId)
                                              : qv::fromUtf8(verdict.fixedText));
    return verdict.ok();
}

void CWolDlg::noteEdit() {
    m_edits.noteEdit();
    rebuildList();
}

void CWolDlg::onAdd() {
    qv::CGlobalData& s = store();
    const int codePage = qv::systemCodePage();
    const wol::Input input = readInputs();
    if (!accepted(wol::validateAdd(s.wolCount, input, codePage)))
        return;
    wol::addEntry(s.wolTable, s.wolCount, input, codePage);
    noteEdit();
    clearInputs();
}

void CWolDlg::onEdit() {
    qv::CGlobalData& s = store();
    const int codePage = qv::systemCodePage();
    const int row = selectedRow() >= 0 ? m_currentRow : -1;
    const wol::Input input = readInputs();
    if (!accepted(wol::validateEdit(s.wolCount, row, input, codePage)))
        return;
    wol::editEntry(s.wolTable, s.wolCount, row, input, codePage);
    noteEdit();
    clearInputs();
}

void CWolDlg::onDelete() {
    qv::CGlobalData& s = store();
    const int row = selectedRow() >= 0 ? m_currentRow : -1;
    if (!accepted(wol::validateDelete(s.wolCount, row)))
        return;
    wol::deleteEntry(s.wolTable, s.wolCount, row);
    noteEdit();
    clearInputs();
}

void CWolDlg::onApply() {
    qv::CGlobalData& s = store();
    if (!s.isConnected())
        return;
    if (s.send(qv::request::writeWol(s.wolCount, s.wolTable)))
        m_edits.sent();
}

void CWolDlg::onExport() {
    const qv::CGlobalData& s = store();
    if (!accepted(wol::validateExport(s.wolCount)))
        return;
    const wol::ExportResult csv = wol::exportCsv(s.wolTable, s.wolCount, qv::systemCodePage());
    if (!csv.ok()) {
        prompt().notice(qv::uiText(wol::kExportNotConvertible).arg(csv.badRow + 1));
        return;
    }
    std::optional<QString> chosen = prompt().saveFileName(
        qv::qtFileFilter(QStringLiteral("WOL File(*.csv)|*.csv||")), QStringLiteral("wol.csv"));
    if (!chosen || chosen->isEmpty())
        return;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    // Written aside and put in place whole, so a failed write leaves an existing file as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(csv.text.data(), static_cast<qint64>(csv.text.size())) !=
            static_cast<qint64>(csv.text.size()) ||
        !file.commit()) {
        prompt().notice(fileMessage(wol::kFileNotWritten, path));
    }
}

void CWolDlg::onImport() {
    std::optional<QString> chosen =
        prompt().openFileName(qv::qtFileFilter(QStringLiteral("CSV|*.csv|All(*.*)|*.*|")));
    if (!chosen || chosen->isEmpty())
        return;
    // The list is replaced only by what a file yields: a file that cannot be read, or that
    // holds nothing to import, leaves the list as it is.
    QFile file(*chosen);
    if (!file.open(QIODevice::ReadOnly)) {
        prompt().notice(fileMessage(wol::kFileNotRead, *chosen));
        return;
    }
    const QByteArray bytes = file.read(static_cast<qint64>(wol::kMaxImportFileBytes) + 1);
    const bool readFailed = file.error() != QFileDevice::NoError;
    file.close();
    if (readFailed) {
        prompt().notice(fileMessage(wol::kFileNotRead, *chosen));
        return;
    }
    if (static_cast<size_t>(bytes.size()) > wol::kMaxImportFileBytes) {
        prompt().notice(fileMessage(wol::kFileTooLarge, *chosen));
        return;
    }
    const wol::ImportResult result =
        wol::parseCsv(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
                      qv::systemCodePage());
    if (!result.ok()) {
        prompt().notice(qv::uiText(result.error).arg(result.errorLine));
        return;
    }
    if (result.entries.empty()) {
        prompt().notice(fileMessage(wol::kFileHasNoEntries, *chosen));
        return;
    }
    qv::CGlobalData& s = store();
    wol::replaceEntries(s.wolTable, s.wolCount, result.entries);
    noteEdit();
    clearInputs();
    if (result.limited)
        prompt().notice(qv::uiText(wol::kImportLimited));
}

void CWolDlg::onSelectionChanged() {
    const int row = selectedRow();
    if (row < 0)
        return;
    m_currentRow = row;
    const QTableWidgetItem* name = m_list->item(row, 1);
    const QTableWidgetItem* mac = m_list->item(row, 2);
    if (name == nullptr || mac == nullptr)
        return; // the row is being rebuilt
    m_name->setText(name->text());
    m_mac->setText(mac->text());
}
