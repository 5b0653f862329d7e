#include "CLogonDlg.h"

#include "CGlobalData.h"
#include "CMySocket.h"
#include "ControlFactory.h"
#include "ControlIds.h"
#include "Prompt.h"
#include "QtText.h"
#include "Requests.h"

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
    m_returnStatus->setWordWrap(true);
    m_returnStatus->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(60, 60, 60, 60);
    layout->addWidget(group);
    layout->addWidget(m_returnStatus);
    layout->addStretch();
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

void CLogonDlg::forgetPassword() {
    m_password->clear();
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
    const std::string password = qv::toAnsiLimited(m_password->text(), kMaxPasswordBytes);
    const QString address = m_address->text();

    if (!store().link)
        store().link = std::make_unique<qv::CMySocket>();
    if (store().link->connected()) {
        store().link->Send(qv::request::logon(id, password));
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

void CLogonDlg::connectFinished(bool ok, const std::string& id, const std::string& password,
                                const QString& address) {
    finishConnect();
    m_connecting = false;
    m_login->setEnabled(true);
    if (ok && store().link) {
        store().link->Send(qv::request::logon(id, password));
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
