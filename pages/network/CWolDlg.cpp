#include "pages/network/CWolDlg.h"

#include "link/CGlobalData.h"
#include "link/CodePage.h"
#include "link/Requests.h"
#include "pages/ControlFactory.h"
#include "pages/KeyboardAccess.h"
#include "pages/ListFilter.h"
#include "pages/Prompt.h"
#include "pages/QtText.h"
#include "pages/StoreTableModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace wol = qv::wol;

using qv::StringId;

namespace {

QString fileMessage(qv::StringId id, const QString& path) {
    return qv::uiText(id).arg(QDir::toNativeSeparators(path));
}

} // namespace

CWolDlg::CWolDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CTablePageDlg(qv::uiText(StringId::WolTitle), store, prompt,
                    std::make_unique<qv::UnappliedEdits<qv::WolTable>>(
                        prompt, store.wolTable, store.wolCount,
                        qv::UnappliedEditsQuestions{qv::StringId::WolKeepAfterLogon,
                                                    qv::StringId::WolKeepAfterReread,
                                                    qv::StringId::WolDiscardOnLeave}),
                    qv::uiText(qv::StringId::ChangesNotApplied), StringId::WolSet, parent) {
    // Every entry gets its row, also one whose text has no form in the code page: a row left
    // out would make every later row name the wrong slot for Edit and Delete.
    m_model = new StoreTableModel(
        modelColumns(wol::kColumns),
        [this] { return qv::usedSlots<qv::WolTable>(this->store().wolCount); },
        [this](int row) {
            return modelRow(
                wol::rowTexts(this->store().wolTable.entry(static_cast<size_t>(row)), row));
        },
        this);
    setupControls();
    connect(m_add, &QPushButton::clicked, this, &CWolDlg::onAdd);
    connect(m_edit, &QPushButton::clicked, this, &CWolDlg::onEdit);
    connect(m_delete, &QPushButton::clicked, this, &CWolDlg::onDelete);
    connect(m_apply, &QPushButton::clicked, this, [this] { apply(); });
    connect(m_export, &QPushButton::clicked, this, &CWolDlg::onExport);
    connect(m_import, &QPushButton::clicked, this, &CWolDlg::onImport);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CWolDlg::onSelectionChanged);
    dropEnterAndEscape();
}

void CWolDlg::setupControls() {
    namespace make = qv::controls;
    m_list = make::listView(kList, qv::uiText(StringId::WolList), "wolList");
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The last column is kept empty at no width.
    m_list->horizontalHeader()->setMinimumSectionSize(0);
    m_find = make::findBox(kFind, "wolFind");
    ListFilter::attach(m_model, m_list, m_find);
    const QString nameCaption = qv::uiText(StringId::WolLabelName);
    m_name = make::lineEdit(kName, nameCaption, "wolName");
    m_mac = make::lineEdit(kMac, qv::uiText(StringId::WolLabelMac), "wolMac");
    m_add = make::button(kAdd, qv::uiText(StringId::TableAdd), "add");
    m_edit = make::button(kEdit, qv::uiText(StringId::TableEdit), "edit");
    m_delete = make::button(kDelete, qv::uiText(StringId::TableDelete), "delete");
    m_apply = make::button(kApply, qv::uiText(StringId::TableApply), "apply");
    // Export and import serve operators in every language, so both layouts carry them.
    m_export = make::button(kExport, qv::uiText(StringId::WolExport), "exportCsv");
    m_import = make::button(kImport, qv::uiText(StringId::WolImport), "importCsv");

    auto* inputs = new QGridLayout;
    auto* nameLabel = new QLabel(nameCaption);
    nameLabel->setBuddy(m_name);
    auto* macLabel = new QLabel(qv::uiText(StringId::WolLabelMac));
    macLabel->setBuddy(m_mac);
    auto* examples = new QLabel(qv::uiText(StringId::WolMacExamples));
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
    applyRow->addWidget(unappliedMarker());
    applyRow->addWidget(m_apply);

    auto* help = new QLabel(qv::uiText(StringId::WolHelp));
    help->setObjectName(QStringLiteral("wolHelp"));
    help->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->addWidget(m_find, 0, Qt::AlignRight);
    layout->addWidget(m_list, 1);
    layout->addLayout(inputs);
    layout->addLayout(edits);
    layout->addLayout(applyRow);
    layout->addWidget(help);

    make::setTabOrder(this, {m_find, m_list, m_name, m_mac, m_add, m_edit, m_delete, m_export,
                             m_import, m_apply});
}

void CWolDlg::reloadTable() {
    m_model->reload();
}

void CWolDlg::clearInputs() {
    m_name->clear();
    m_mac->clear();
}

wol::Input CWolDlg::readInputs() const {
    return wol::Input{qv::toUtf8(m_name->text()), qv::toUtf8(m_mac->text())};
}

void CWolDlg::onAdd() {
    qv::CGlobalData& s = store();
    const wol::Input input = readInputs();
    if (!accepted(wol::validateAdd(s.wolCount, input)))
        return;
    wol::addEntry(s.wolTable, s.wolCount, input);
    noteEdit();
    clearInputs();
}

void CWolDlg::onEdit() {
    qv::CGlobalData& s = store();
    const int row = qv::selectedStoreRow(m_list) >= 0 ? m_currentRow : -1;
    const wol::Input input = readInputs();
    if (!accepted(wol::validateEdit(s.wolCount, row, input)))
        return;
    wol::editEntry(s.wolTable, s.wolCount, row, input);
    noteEdit();
    clearInputs();
}

void CWolDlg::onDelete() {
    qv::CGlobalData& s = store();
    const RowDeletion rules{
        [&s](int row) { return wol::validateDelete(s.wolCount, row); },
        [&s](int row) { wol::deleteEntry(s.wolTable, s.wolCount, row); },
        [&s](const std::vector<int>& rows) { return wol::validateDeleteRows(s.wolCount, rows); },
        [&s](const std::vector<int>& rows) { wol::deleteRows(s.wolTable, s.wolCount, rows); },
        StringId::WolDeleteSeveral};
    const int row = qv::selectedStoreRow(m_list) >= 0 ? m_currentRow : -1;
    if (deleteChosen(qv::storeRows(m_list), row, rules))
        clearInputs();
}

void CWolDlg::requestContent() {
    sendIfConnected(qv::request::readWol());
}

qv::Frame CWolDlg::applyRequest() const {
    const qv::CGlobalData& s = store();
    return qv::request::writeWol(s.wolCount, s.wolTable);
}

void CWolDlg::onExport() {
    const qv::CGlobalData& s = store();
    if (!accepted(wol::validateExport(s.wolCount)))
        return;
    // Spreadsheets on the administrators' desks read the code page; a list with a name it
    // cannot hold goes to UTF-8 with the operator's word rather than not at all.
    const int codePage = qv::systemCodePage();
    wol::CsvEncoding encoding = wol::CsvEncoding::CodePage;
    if (const int row = wol::firstRowOutsideCodePage(s.wolTable, s.wolCount, codePage); row >= 0) {
        if (!prompt().question(qv::uiText(StringId::WolExportAsUtf8).arg(row + 1)))
            return;
        encoding = wol::CsvEncoding::Utf8;
    }
    const wol::ExportResult csv = wol::exportCsv(s.wolTable, s.wolCount, codePage, encoding);
    if (!csv.ok()) {
        prompt().notice(qv::uiText(qv::StringId::WolExportNotConvertible).arg(csv.badRow + 1));
        return;
    }
    std::optional<QString> chosen = prompt().saveFileName(
        qv::qtFileFilter(qv::uiText(StringId::WolExportFilter)), QStringLiteral("wol.csv"),
        qv::uiText(StringId::ChooseWolExportTitle));
    if (!chosen || chosen->isEmpty())
        return;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".csv");
        // The chooser asked about the name as typed, not about this one.
        if (QFileInfo::exists(path) &&
            !prompt().question(fileMessage(StringId::WolReplaceFile, path), qv::DefaultAnswer::No))
            return;
    }
    // Written aside and put in place whole, so a failed write leaves an existing file as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(csv.text.data(), static_cast<qint64>(csv.text.size())) !=
            static_cast<qint64>(csv.text.size()) ||
        !file.commit()) {
        prompt().notice(fileMessage(qv::StringId::WolFileNotWritten, path));
    }
}

void CWolDlg::onImport() {
    std::optional<QString> chosen =
        prompt().openFileName(qv::qtFileFilter(qv::uiText(StringId::WolImportFilter)),
                              qv::uiText(StringId::ChooseWolImportTitle));
    if (!chosen || chosen->isEmpty())
        return;
    // The list is replaced only by what a file yields: a file that cannot be read, or that
    // holds nothing to import, leaves the list as it is.
    QFile file(*chosen);
    if (!file.open(QIODevice::ReadOnly)) {
        prompt().notice(fileMessage(qv::StringId::WolFileNotRead, *chosen));
        return;
    }
    const QByteArray bytes = file.read(static_cast<qint64>(wol::kMaxImportFileBytes) + 1);
    const bool readFailed = file.error() != QFileDevice::NoError;
    file.close();
    if (readFailed) {
        prompt().notice(fileMessage(qv::StringId::WolFileNotRead, *chosen));
        return;
    }
    if (static_cast<size_t>(bytes.size()) > wol::kMaxImportFileBytes) {
        prompt().notice(fileMessage(qv::StringId::WolFileTooLarge, *chosen));
        return;
    }
    const wol::ImportResult result =
        wol::parseCsv(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
                      qv::systemCodePage());
    if (!result.ok()) {
        prompt().notice(qv::uiText(*result.error).arg(result.errorLine));
        return;
    }
    if (result.entries.empty()) {
        prompt().notice(fileMessage(qv::StringId::WolFileHasNoEntries, *chosen));
        return;
    }
    qv::CGlobalData& s = store();
    wol::replaceEntries(s.wolTable, s.wolCount, result.entries);
    noteEdit();
    clearInputs();
    if (result.limited)
        prompt().notice(qv::uiText(qv::StringId::WolImportLimited));
}

void CWolDlg::onSelectionChanged() {
    const int row = qv::selectedStoreRow(m_list);
    if (row < 0)
        return;
    m_currentRow = row;
    const qv::WolEntry entry = store().wolTable.entry(static_cast<size_t>(row));
    m_name->setText(qv::fromUtf8(entry.nameUtf8()));
    m_mac->setText(qv::fromUtf8(entry.macUtf8()));
}
