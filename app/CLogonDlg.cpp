#include "app/CLogonDlg.h"

#include "app/ApplianceBookPanel.h"
#include "core/appliances/Keyring.h"
#include "core/network/InfoRules.h"
#include "link/CGlobalData.h"
#include "link/CMySocket.h"
#include "link/CodePage.h"
#include "link/NetworkConfigRecord.h"
#include "link/Requests.h"
#include "link/Wipe.h"
#include "pages/ControlFactory.h"
#include "pages/ControlIds.h"
#include "pages/KeyboardAccess.h"
#include "pages/Prompt.h"
#include "pages/QtText.h"
#include "res/Message.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

using qv::StringId;
namespace controls = qv::controls;

namespace {

// A row of the logon box: the label, right-aligned, that names the box beside it.
void addField(QGridLayout* grid, int row, int labelId, QLineEdit* edit) {
    auto* label = new QLabel(edit->accessibleName());
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    qv::setControl(label, labelId, label->text());
    edit->setMinimumWidth(260);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
}

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool isEnterOrEscape(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
           key->key() == Qt::Key_Escape;
}

} // namespace

CLogonDlg::CLogonDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(qv::uiText(StringId::LogonTitle), store, prompt, parent, qv::kLogonPageBand) {
    setupControls();
    connect(m_login, &QPushButton::clicked, this, &CLogonDlg::Logon);
    // Enter and Escape never close or cancel the page, wherever the focus is on it.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void CLogonDlg::setupControls() {
    m_address =
        controls::lineEdit(kServerAddress, qv::uiText(StringId::ServerAddress), "serverAddress");
    m_id = controls::lineEdit(kAdminId, qv::uiText(StringId::AdminId), "adminId");
    m_password = controls::passwordEdit(kPassword, qv::uiText(StringId::Password), "password");
    m_login = controls::button(kLogin, qv::uiText(StringId::Login), "login");
    m_savePassword =
        controls::checkBox(kSavePassword, qv::uiText(StringId::BookSavePassword), "savePassword");
    m_book = new ApplianceBookPanel(prompt(), m_address, m_id);

    auto* group = new QGroupBox;
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(40, 16, 40, 16);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(8);
    addField(grid, 0, kServerAddressLabel, m_address);
    addField(grid, 1, kAdminIdLabel, m_id);
    addField(grid, 2, kPasswordLabel, m_password);
    auto* loginRow = new QHBoxLayout;
    loginRow->addWidget(m_savePassword);
    loginRow->addStretch();
    loginRow->addWidget(m_login);
    grid->addLayout(loginRow, 3, 1);

    m_returnStatus = new QLabel;
    qv::setControl(m_returnStatus, kReturnStatus, qv::uiText(StringId::ReturnStatusName));
    m_returnStatus->setObjectName(QStringLiteral("returnStatus"));
    // It names the address as it was typed or given on the command line.
    m_returnStatus->setTextFormat(Qt::PlainText);
    m_returnStatus->setWordWrap(true);
    m_returnStatus->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(60, 30, 60, 12);
    layout->addWidget(group);
    layout->addWidget(m_returnStatus);
    layout->addWidget(m_book, 1);

    controls::setTabOrder(
        this, {m_address, m_id, m_password, m_savePassword, m_login, m_book->firstControl()});
    connect(m_book, &ApplianceBookPanel::chosen, this, &CLogonDlg::applianceChosen);
    connect(m_book, &ApplianceBookPanel::removed, this,
            [this](const qv::appliances::Appliance& removed) {
                const std::string name = removed.name;
                const std::string address = removed.address;
                m_keyring.run(
                    this, [name, address] { return qv::appliances::clearPassword(name, address); },
                    [](const qv::appliances::KeyringResult&) {});
            });
}

CLogonDlg::~CLogonDlg() {
    abandonConnect();
}

void CLogonDlg::setServerAddress(const QString& address) {
    m_address->setText(address);
}

void CLogonDlg::clearCredentials() {
    m_id->clear();
    m_password->clear();
}

CLogonDlg::Secret::~Secret() {
    qv::wipe(bytes);
}

void CLogonDlg::forgetPassword() {
    // The copy taken here shares the box's buffer: overwriting it overwrites the box's text
    // before the box lets the buffer go. Text set from a literal lives in the program itself,
    // not in a buffer of the box's own, and is left alone.
    QString typed = m_password->text();
    if (typed.data_ptr().isMutable())
        qv::wipeBytes(const_cast<QChar*>(typed.constData()),
                      static_cast<size_t>(typed.size()) * sizeof(QChar));
    m_password->clear();
}

std::shared_ptr<const CLogonDlg::Secret> CLogonDlg::passwordBytes() const {
    // As toAnsiLimited, with every buffer on the way wiped.
    QByteArray utf8 = m_password->text().toUtf8();
    const int codePage = qv::systemCodePage();
    std::string ansi = qv::utf8ToAnsi(
        std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())), codePage);
    qv::wipe(utf8);
    auto secret = std::make_shared<Secret>();
    secret->bytes = qv::cutAnsi(ansi, kMaxPasswordBytes, codePage);
    qv::wipe(ansi);
    return secret;
}

void CLogonDlg::sendLogon(const std::string& id, const Secret& password) {
    qv::Frame frame = qv::request::logon(id, password.bytes);
    store().link->Send(frame);
    qv::wipe(frame.payload);
}

void CLogonDlg::showReturnStatus(const QString& text) {
    m_returnStatus->setText(text);
    m_returnStatus->setAccessibleDescription(text);
    m_returnStatus->setVisible(!text.isEmpty());
}

void CLogonDlg::focusFirstField() {
    if (m_address->text().isEmpty())
        m_address->setFocus();
    else if (m_id->text().isEmpty())
        m_id->setFocus();
    else
        m_password->setFocus();
}

void CLogonDlg::finishConnect() {
    if (m_connectThread.joinable())
        m_connectThread.join();
}

void CLogonDlg::abandonConnect() {
    if (!m_connectThread.joinable())
        return;
    m_connecting = false;
    // A cut ends the attempt under way; one made a moment before the attempt began is not kept,
    // so it is repeated until the attempt has ended.
    if (qv::CMySocket* link = store().link.get())
        while (!m_connectEnded.load()) {
            link->Interrupt();
            std::this_thread::sleep_for(qv::kConnectCancelCheck / 5);
        }
    m_connectThread.join();
}

void CLogonDlg::Logon() {
    if (m_connecting)
        return;
    // The appliance's texts, the password among them, are in the code page its entry names.
    m_targetAddress = m_address->text().trimmed();
    m_targetId = m_id->text();
    m_target = m_book->entryForAddress(m_targetAddress);
    m_koreanOffered = false;
    qv::setApplianceCodePage(m_target ? qv::appliances::effectiveCodePage(*m_target) : 0);
    // The request's fields hold 31 and 63 bytes; longer input is cut at a character boundary.
    const std::string id = qv::toAnsiLimited(m_id->text(), kMaxIdBytes);
    const std::shared_ptr<const Secret> password = passwordBytes();
    const QString address = m_address->text();

    if (!store().link)
        store().link = std::make_unique<qv::CMySocket>();
    if (store().link->connected()) {
        sendLogon(id, *password);
        return;
    }

    // The connection is made on a worker thread: a silent address takes the link's whole
    // time-out, and the window must not freeze meanwhile.
    finishConnect();
    m_connecting = true;
    m_login->setEnabled(false);
    qv::CMySocket* link = store().link.get();
    qv::EventSink* sink = m_sink;
    const std::string target = qv::toUtf8(address);
    m_connectEnded = false;
    m_connectThread = std::thread([this, link, sink, target, id, password, address] {
        const bool ok = link->Connect(sink, target);
        m_connectEnded = true;
        QMetaObject::invokeMethod(
            this, [this, ok, id, password, address] { connectFinished(ok, id, password, address); },
            Qt::QueuedConnection);
    });
}

void CLogonDlg::connectFinished(bool ok, const std::string& id,
                                const std::shared_ptr<const Secret>& password,
                                const QString& address) {
    finishConnect();
    if (!m_connecting)
        return; // given up: the window is closing
    m_connecting = false;
    m_login->setEnabled(true);
    if (ok && store().link) {
        sendLogon(id, *password);
        return;
    }
    prompt().notice(qv::uiText(StringId::ConnectFailedBefore) + address +
                    qv::uiText(StringId::ConnectFailedAfter));
}

void CLogonDlg::applianceChosen(const qv::appliances::Appliance& appliance) {
    m_address->setText(fromUtf8(appliance.address));
    m_id->setText(fromUtf8(appliance.adminId));
    forgetPassword();
    const std::string name = appliance.name;
    const std::string address = appliance.address;
    struct Found {
        qv::appliances::KeyringResult result;
        std::string password;
        Found() = default;
        Found(Found&& other) noexcept
            : result(std::move(other.result)), password(std::move(other.password)) {}
        ~Found() { qv::wipe(password); }
    };
    m_keyring.run(
        this,
        [name, address] {
            Found found;
            found.result = qv::appliances::lookupPassword(name, address, found.password);
            return found;
        },
        [this, name](Found found) {
            if (found.result.ok()) {
                m_password->setText(QString::fromUtf8(
                    found.password.data(), static_cast<qsizetype>(found.password.size())));
                Logon();
                return;
            }
            if (const std::optional<qv::Message> why = found.result.message())
                prompt().notice(QString::fromStdString(qv::format(*why)));
            showReturnStatus(qv::uiText(StringId::BookPasswordNeeded).arg(fromUtf8(name)));
            m_password->setFocus();
        });
}

void CLogonDlg::logonAccepted() {
    auto password = std::make_shared<qv::WipedText>();
    if (m_savePassword->isChecked()) {
        QByteArray typed = m_password->text().toUtf8();
        password->text.assign(typed.constData(), static_cast<size_t>(typed.size()));
        qv::wipe(typed);
    }
    // Asked once the logon's own handling is over, never inside it.
    QTimer::singleShot(0, this, [this, password] { offerToKeep(password); });
}

void CLogonDlg::offerToKeep(const std::shared_ptr<qv::WipedText>& password) {
    // A book in use, or a password to keep, is what makes the offer worth a question.
    const bool offer = !password->text.empty() || m_book->hasEntries();
    const QString id = m_targetId;
    if (!m_target && offer && m_book->usable()) {
        const QString name = m_book->nameFor(m_targetAddress);
        if (prompt().question(qv::uiText(StringId::BookOfferAdd).arg(name)) &&
            m_book->addLoggedOn(m_targetAddress, id))
            m_target = m_book->entryForAddress(m_targetAddress);
    } else if (m_target && fromUtf8(m_target->adminId) != id && m_book->usable()) {
        if (prompt().question(
                qv::uiText(StringId::BookOfferUpdate).arg(fromUtf8(m_target->name), id)) &&
            m_book->updateAdminId(m_target->name, id))
            m_target = m_book->entryForAddress(m_targetAddress);
    }
    if (m_target && !password->text.empty())
        savePassword(*m_target, password);
}

void CLogonDlg::savePassword(const qv::appliances::Appliance& appliance,
                             const std::shared_ptr<qv::WipedText>& password) {
    const std::string name = appliance.name;
    const std::string address = appliance.address;
    m_keyring.run(
        this,
        [name, address, password] {
            return qv::appliances::storePassword(name, address, password->text);
        },
        [this](const qv::appliances::KeyringResult& result) {
            if (const std::optional<qv::Message> why = result.message())
                prompt().notice(QString::fromStdString(qv::format(*why)));
        });
}

void CLogonDlg::summaryArrived(const qv::NetworkConfigRecord& record) {
    if (!m_target)
        return;
    qv::appliances::LastSeen seen;
    seen.when = QDateTime::currentDateTimeUtc()
                    .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"))
                    .toStdString();
    seen.softwareVersion = qv::ansiToUtf8(
        qv::info::softwareVersionAnsi(record.softwareVersion(), record.versionNote()));
    seen.serial = qv::ansiToUtf8(record.macText());
    m_book->recordSeen(m_target->name, seen);
}

void CLogonDlg::textsArrived(const std::vector<std::string>& texts) {
    if (!m_target || m_koreanOffered || qv::appliances::effectiveCodePage(*m_target) == 949 ||
        std::none_of(texts.begin(), texts.end(),
                     [](const std::string& text) { return qv::readsAsKorean(text); }))
        return;
    m_koreanOffered = true;
    const std::string name = m_target->name;
    QTimer::singleShot(0, this, [this, name] {
        if (!m_target || m_target->name != name ||
            !prompt().question(qv::uiText(StringId::BookOfferKorean).arg(fromUtf8(name))))
            return;
        m_book->setCodePage(name, 949);
        m_target = m_book->entryForAddress(m_targetAddress);
        qv::setApplianceCodePage(949);
        Q_EMIT codePageChanged();
    });
}

bool CLogonDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return CPageDlg::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!isEnterOrEscape(key))
        return CPageDlg::eventFilter(watched, event);
    if (key->key() != Qt::Key_Escape) {
        if (m_book->isList(watched))
            m_book->chooseCurrent();
        else if (watched == m_id)
            m_password->setFocus();
        else if (watched == m_password)
            Logon();
    }
    return true;
}
