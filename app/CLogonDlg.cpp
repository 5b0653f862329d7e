#include "app/CLogonDlg.h"

#include "link/CGlobalData.h"
#include "link/CMySocket.h"
#include "link/Requests.h"
#include "link/Wipe.h"
#include "pages/ControlFactory.h"
#include "pages/ControlIds.h"
#include "pages/KeyboardAccess.h"
#include "pages/Prompt.h"
#include "pages/QtText.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

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

    auto* group = new QGroupBox;
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(40, 36, 40, 36);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(12);
    addField(grid, 0, kServerAddressLabel, m_address);
    addField(grid, 1, kAdminIdLabel, m_id);
    addField(grid, 2, kPasswordLabel, m_password);
    grid->addWidget(m_login, 3, 1, Qt::AlignRight);

    m_returnStatus = new QLabel;
    qv::setControl(m_returnStatus, kReturnStatus, qv::uiText(StringId::ReturnStatusName));
    m_returnStatus->setObjectName(QStringLiteral("returnStatus"));
    // It names the address as it was typed or given on the command line.
    m_returnStatus->setTextFormat(Qt::PlainText);
    m_returnStatus->setWordWrap(true);
    m_returnStatus->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(60, 60, 60, 60);
    layout->addWidget(group);
    layout->addWidget(m_returnStatus);
    layout->addStretch();

    controls::setTabOrder(this, {m_address, m_id, m_password, m_login});
}

CLogonDlg::~CLogonDlg() {
    finishConnect();
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

void CLogonDlg::Logon() {
    if (m_connecting)
        return;
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
    m_connectThread = std::thread([this, link, sink, target, id, password, address] {
        const bool ok = link->Connect(sink, target);
        QMetaObject::invokeMethod(
            this, [this, ok, id, password, address] { connectFinished(ok, id, password, address); },
            Qt::QueuedConnection);
    });
}

void CLogonDlg::connectFinished(bool ok, const std::string& id,
                                const std::shared_ptr<const Secret>& password,
                                const QString& address) {
    finishConnect();
    m_connecting = false;
    m_login->setEnabled(true);
    if (ok && store().link) {
        sendLogon(id, *password);
        return;
    }
    prompt().notice(qv::uiText(StringId::ConnectFailedBefore) + address +
                    qv::uiText(StringId::ConnectFailedAfter));
}

bool CLogonDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return CPageDlg::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!isEnterOrEscape(key))
        return CPageDlg::eventFilter(watched, event);
    if (key->key() != Qt::Key_Escape) {
        if (watched == m_id)
            m_password->setFocus();
        else if (watched == m_password)
            Logon();
    }
    return true;
}
