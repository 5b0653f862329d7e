#include "app/ApplianceBookPanel.h"

#include "app/ApplianceBookModel.h"
#include "link/CodePage.h"
#include "pages/ControlFactory.h"
#include "pages/ControlIds.h"
#include "pages/KeyboardAccess.h"
#include "pages/Prompt.h"
#include "pages/QtText.h"
#include "res/Message.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QUrl>

#include <utility>

using qv::StringId;
using qv::appliances::Appliance;
namespace controls = qv::controls;

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toUtf8(const QString& text) {
    return text.trimmed().toUtf8().toStdString();
}

QString messageText(const qv::Message& message) {
    return QString::fromStdString(qv::format(message));
}

// The code pages an entry may name, 0 standing for the system's.
constexpr int kCodePages[] = {0, 949, 1252, qv::kUtf8CodePage};

QString codePageCaption(int codePage) {
    switch (codePage) {
    case 0:
        return qv::uiText(StringId::BookCodePageSystem).arg(qv::ambientCodePage());
    case 949:
        return qv::uiText(StringId::BookCodePageKorean);
    case 1252:
        return qv::uiText(StringId::BookCodePageWestern);
    default:
        return QStringLiteral("65001 UTF-8");
    }
}

} // namespace

ApplianceBookPanel::ApplianceBookPanel(qv::Prompt& prompt, QLineEdit* address, QLineEdit* adminId,
                                       QWidget* parent)
    : QGroupBox(qv::uiText(StringId::BookTitle), parent), m_prompt(prompt), m_address(address),
      m_adminId(adminId) {
    setupControls();
    load();
}

ApplianceBookPanel::~ApplianceBookPanel() = default;

void ApplianceBookPanel::setupControls() {
    m_model = new ApplianceBookModel(this);
    m_filter = new ApplianceBookFilter(this);
    m_filter->setSourceModel(m_model);

    m_find = controls::findBox(kFind, "bookFind");
    m_list = controls::listView(kList, qv::uiText(StringId::BookTitle), "bookList");
    m_list->setModel(m_filter);
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(ApplianceBookModel::kGroup, Qt::AscendingOrder);
    m_list->horizontalHeader()->setStretchLastSection(true);
    // The list takes the room the logon page leaves, never more: the window keeps its size.
    m_list->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    m_list->setMinimumHeight(90);
    m_list->setColumnWidth(ApplianceBookModel::kName, 150);
    m_list->setColumnWidth(ApplianceBookModel::kAddress, 150);
    m_list->setColumnWidth(ApplianceBookModel::kGroup, 110);

    m_name = controls::lineEdit(kName, qv::uiText(StringId::BookName), "bookName");
    m_group = controls::comboBox(kGroup, qv::uiText(StringId::BookGroup), "bookGroup");
    // Marked as sized, since the layout places it: made editable unsized, Qt first measures it for
    // a size of its own.
    m_group->resize(m_group->size());
    m_group->setEditable(true);
    m_group->setMaxVisibleItems(20);
    m_codePage = controls::comboBox(kCodePage, qv::uiText(StringId::BookCodePage), "bookCodePage");
    for (const int codePage : kCodePages)
        m_codePage->addItem(codePageCaption(codePage), codePage);
    m_note = controls::lineEdit(kNote, qv::uiText(StringId::BookNote), "bookNote");
    m_add = controls::button(kAdd, qv::uiText(StringId::TableAdd), "bookAdd");
    m_edit = controls::button(kEdit, qv::uiText(StringId::TableEdit), "bookEdit");
    m_remove = controls::button(kRemove, qv::uiText(StringId::TableDelete), "bookRemove");
    m_state = new QLabel;
    qv::setControl(m_state, kBookState, qv::uiText(StringId::BookTitle));
    m_state->setTextFormat(Qt::PlainText);
    m_state->setWordWrap(true);
    m_state->hide();

    auto* fields = new QGridLayout;
    const auto addField = [fields](int row, int column, QWidget* field) {
        auto* label = new QLabel(field->accessibleName());
        label->setBuddy(field);
        fields->addWidget(label, row, column * 2);
        fields->addWidget(field, row, column * 2 + 1);
    };
    addField(0, 0, m_name);
    addField(0, 1, m_group);
    addField(1, 0, m_codePage);
    addField(1, 1, m_note);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_add);
    buttons->addWidget(m_edit);
    buttons->addWidget(m_remove);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_find);
    layout->addWidget(m_list, 1);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addWidget(m_state);

    connect(m_find, &QLineEdit::textChanged, m_filter, &ApplianceBookFilter::setFindText);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ApplianceBookPanel::selectionChanged);
    connect(m_list, &QTableView::doubleClicked, this, &ApplianceBookPanel::chooseCurrent);
    connect(m_add, &QPushButton::clicked, this, &ApplianceBookPanel::add);
    connect(m_edit, &QPushButton::clicked, this, &ApplianceBookPanel::edit);
    connect(m_remove, &QPushButton::clicked, this, &ApplianceBookPanel::remove);
}

QWidget* ApplianceBookPanel::firstControl() const {
    return m_find;
}

bool ApplianceBookPanel::isList(const QObject* widget) const {
    return widget == m_list || widget == m_list->viewport();
}

void ApplianceBookPanel::chooseCurrent() {
    if (const std::optional<Appliance> entry = selected())
        Q_EMIT chosen(*entry);
}

void ApplianceBookPanel::load() {
    m_usable = false;
    // The place qvctl uses too: $XDG_CONFIG_HOME/QVSetting, %APPDATA%\QVSetting on Windows.
    std::optional<qv::Message> noPlace;
    if (const std::optional<std::string> path = qv::appliances::defaultBookPath(&noPlace))
        m_path = *path;
    if (m_path.empty()) {
        m_state->setText(noPlace ? messageText(*noPlace) : QString());
    } else {
        qv::appliances::LoadResult loaded = qv::appliances::loadBook(m_path);
        if (loaded.ok()) {
            m_book = std::move(*loaded.book);
            m_usable = true;
        } else if (loaded.error) {
            m_state->setText(messageText(*loaded.error));
        }
    }
    m_state->setVisible(!m_usable);
    for (QWidget* change : {static_cast<QWidget*>(m_add), static_cast<QWidget*>(m_edit),
                            static_cast<QWidget*>(m_remove)})
        change->setEnabled(m_usable);
    showBook();
}

// Writes `changed` and takes it as the book only once it is kept.
bool ApplianceBookPanel::store(const qv::appliances::ApplianceBook& changed) {
    if (!m_usable)
        return false;
    if (const std::optional<qv::Message> failed = qv::appliances::saveBook(changed, m_path)) {
        m_prompt.notice(messageText(*failed));
        return false;
    }
    m_book = changed;
    return true;
}

void ApplianceBookPanel::showBook(const QString& selectName) {
    m_model->setAppliances(m_book.appliances());
    const QString group = m_group->currentText();
    m_group->clear();
    for (const std::string& name : m_book.groups())
        m_group->addItem(fromUtf8(name));
    m_group->setEditText(group);
    if (selectName.isEmpty())
        return;
    for (int row = 0; row < m_filter->rowCount(); ++row) {
        const QModelIndex index = m_filter->index(row, ApplianceBookModel::kName);
        if (index.data().toString() == selectName) {
            m_list->setCurrentIndex(index);
            m_list->scrollTo(index);
        }
    }
}

std::optional<Appliance> ApplianceBookPanel::selected() const {
    const QModelIndex current = m_list->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return m_model->appliance(m_filter->bookRow(current));
}

void ApplianceBookPanel::selectionChanged() {
    const std::optional<Appliance> entry = selected();
    if (!entry)
        return;
    m_name->setText(fromUtf8(entry->name));
    m_group->setEditText(fromUtf8(entry->group));
    const int codePage = m_codePage->findData(entry->codePage);
    if (codePage >= 0) {
        m_codePage->setCurrentIndex(codePage);
    } else {
        m_codePage->addItem(QString::number(entry->codePage), entry->codePage);
        m_codePage->setCurrentIndex(m_codePage->count() - 1);
    }
    m_note->setText(fromUtf8(entry->note));
    m_address->setText(fromUtf8(entry->address));
    m_adminId->setText(fromUtf8(entry->adminId));
}

Appliance ApplianceBookPanel::fromFields() const {
    Appliance entry;
    entry.name = toUtf8(m_name->text());
    entry.address = toUtf8(m_address->text());
    entry.adminId = toUtf8(m_adminId->text());
    entry.group = toUtf8(m_group->currentText());
    entry.codePage = m_codePage->currentData().toInt();
    entry.note = toUtf8(m_note->text());
    return entry;
}

void ApplianceBookPanel::add() {
    qv::appliances::ApplianceBook changed = m_book;
    const Appliance entry = fromFields();
    if (const std::optional<qv::Message> refused = changed.add(entry)) {
        m_prompt.notice(messageText(*refused));
        return;
    }
    if (store(changed))
        showBook(fromUtf8(entry.name));
}

void ApplianceBookPanel::edit() {
    const std::optional<Appliance> entry = selected();
    if (!entry) {
        m_prompt.notice(qv::uiText(StringId::BookNoneSelected));
        return;
    }
    qv::appliances::ApplianceBook changed = m_book;
    const Appliance edited = fromFields();
    if (const std::optional<qv::Message> refused = changed.edit(entry->name, edited)) {
        m_prompt.notice(messageText(*refused));
        return;
    }
    if (store(changed))
        showBook(fromUtf8(edited.name));
}

void ApplianceBookPanel::remove() {
    const std::optional<Appliance> entry = selected();
    if (!entry) {
        m_prompt.notice(qv::uiText(StringId::BookNoneSelected));
        return;
    }
    if (!m_prompt.question(qv::uiText(StringId::BookRemoveAsk).arg(fromUtf8(entry->name)),
                           qv::DefaultAnswer::No))
        return;
    qv::appliances::ApplianceBook changed = m_book;
    if (const std::optional<qv::Message> refused = changed.remove(entry->name)) {
        m_prompt.notice(messageText(*refused));
        return;
    }
    if (store(changed)) {
        showBook();
        Q_EMIT removed(*entry);
    }
}

std::optional<Appliance> ApplianceBookPanel::entryForAddress(const QString& address) const {
    const std::string wanted = toUtf8(address);
    for (const Appliance& entry : m_book.appliances())
        if (entry.address == wanted)
            return entry;
    return std::nullopt;
}

QString ApplianceBookPanel::nameFor(const QString& address) const {
    if (!m_name->text().trimmed().isEmpty() && !m_book.find(toUtf8(m_name->text())))
        return m_name->text().trimmed();
    const QString trimmed = address.trimmed();
    const qsizetype colon = trimmed.lastIndexOf(QLatin1Char(':'));
    return colon > 0 ? trimmed.left(colon) : trimmed;
}

bool ApplianceBookPanel::addLoggedOn(const QString& address, const QString& adminId) {
    Appliance entry = fromFields();
    entry.name = toUtf8(nameFor(address));
    entry.address = toUtf8(address);
    entry.adminId = toUtf8(adminId);
    // The address names the appliance; a taken name gets its port too.
    if (m_book.find(entry.name))
        entry.name = entry.address;
    qv::appliances::ApplianceBook changed = m_book;
    if (const std::optional<qv::Message> refused = changed.add(entry)) {
        m_prompt.notice(messageText(*refused));
        return false;
    }
    if (!store(changed))
        return false;
    showBook(fromUtf8(entry.name));
    return true;
}

bool ApplianceBookPanel::updateAdminId(const std::string& name, const QString& adminId) {
    const Appliance* entry = m_book.find(name);
    if (!entry)
        return false;
    Appliance edited = *entry;
    edited.adminId = toUtf8(adminId);
    qv::appliances::ApplianceBook changed = m_book;
    if (const std::optional<qv::Message> refused = changed.edit(name, edited)) {
        m_prompt.notice(messageText(*refused));
        return false;
    }
    if (!store(changed))
        return false;
    showBook(fromUtf8(name));
    return true;
}

void ApplianceBookPanel::setCodePage(const std::string& name, int codePage) {
    const Appliance* entry = m_book.find(name);
    if (!entry)
        return;
    Appliance edited = *entry;
    edited.codePage = codePage;
    qv::appliances::ApplianceBook changed = m_book;
    if (!changed.edit(name, edited) && store(changed))
        showBook(fromUtf8(name));
}

void ApplianceBookPanel::recordSeen(const std::string& name, const qv::appliances::LastSeen& seen) {
    const std::optional<Appliance> current = selected();
    qv::appliances::ApplianceBook changed = m_book;
    if (!changed.recordSeen(name, seen) && store(changed))
        showBook(current ? fromUtf8(current->name) : QString());
}
