#include "pages/network/CNetworkDlg.h"

#include "core/network/InfoRules.h"
#include "link/CGlobalData.h"
#include "link/CMySocket.h"
#include "link/CodePage.h"
#include "link/Requests.h"
#include "pages/ControlFactory.h"
#include "pages/ControlIds.h"
#include "pages/DigitsValidator.h"
#include "pages/IpAddressEdit.h"
#include "pages/KeyboardAccess.h"
#include "pages/Prompt.h"
#include "pages/QtText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <vector>

namespace net = qv::network;
namespace controls = qv::controls;
using qv::StringId;

namespace {

// Ports are typed as digits; five of them hold every port (and 65536 to 99999, which the
// rules refuse with a message).
QLineEdit* portEdit(int id, StringId label, const char* objectName) {
    QLineEdit* edit = controls::lineEdit(id, qv::uiText(label), objectName);
    edit->setValidator(new DigitsValidator(5, edit));
    edit->setMaxLength(5);
    edit->setMaximumWidth(80);
    return edit;
}

IpAddressEdit* addressEdit(int id, StringId label, const char* objectName) {
    auto* edit = new IpAddressEdit;
    qv::setControl(edit, id, qv::uiText(label));
    edit->setObjectName(QString::fromLatin1(objectName));
    return edit;
}

QLabel* note(int id, StringId text) {
    auto* label = new QLabel(qv::uiText(text));
    qv::setControl(label, id, label->text());
    return label;
}

// A label in the grid that names the control beside it.
void addLabelled(QGridLayout* grid, int row, QWidget* control) {
    auto* label = new QLabel(control->accessibleName());
    label->setBuddy(control);
    grid->addWidget(label, row, 0);
    grid->addWidget(control, row, 1);
}

} // namespace

CNetworkDlg::CNetworkDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(qv::uiText(StringId::NetworkTitle), store, prompt, parent) {
    setupControls();
    // The boxes follow their state, not the mouse: a key, a click and a screen reader's toggle
    // action all go through toggled. A reply that loads the page sets them without a signal.
    connect(m_dhcp, &QCheckBox::toggled, this, &CNetworkDlg::onDhcpToggled);
    connect(m_upnp, &QCheckBox::toggled, this, &CNetworkDlg::onUpnpToggled);
    connect(m_saveAndReboot, &QPushButton::clicked, this, &CNetworkDlg::onSaveAndReboot);
    connect(m_ddnsCheck, &QPushButton::clicked, this, &CNetworkDlg::onDdnsCheck);
    connect(m_macRegistration, &QPushButton::clicked, this, &CNetworkDlg::onMacRegistration);
    connect(m_ddnsRegistration, &QPushButton::clicked, this, &CNetworkDlg::onDdnsRegistration);
    connect(m_ntpRegistration, &QPushButton::clicked, this, &CNetworkDlg::onNtpRegistration);
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::textChanged, this, &CNetworkDlg::updateMarker);
    for (QCheckBox* box : {m_dhcp, m_upnp})
        connect(box, &QCheckBox::toggled, this, &CNetworkDlg::updateMarker);
    dropEnterAndEscape();
}

void CNetworkDlg::setupControls() {
    m_address = addressEdit(kAddress, StringId::NetworkLabelAddress, "ipAddress");
    m_netMask = addressEdit(kNetMask, StringId::NetworkLabelNetMask, "netMask");
    m_gateway = addressEdit(kGateway, StringId::NetworkLabelGateway, "gateway");
    m_dhcp = controls::checkBox(kDhcp, qv::uiText(StringId::Dhcp), "dhcp");
    m_linkPort = portEdit(kLinkPort, StringId::NetworkLabelLinkPort, "linkPort");
    m_dataPort = portEdit(kDataPort, StringId::NetworkLabelDataPort, "dataPort");
    m_configPort = portEdit(kConfigPort, StringId::NetworkLabelConfigPort, "configPort");
    m_configPort->setReadOnly(true);
    m_configPort->setText(QString::number(net::kConfigPort));
    m_webPort = portEdit(kWebPort, StringId::NetworkLabelWebPort, "webPort");
    m_upnp = controls::checkBox(kUpnp, qv::uiText(StringId::Upnp), "upnp");
    m_saveAndReboot =
        controls::button(kSaveAndReboot, qv::uiText(StringId::SaveAndReboot), "saveAndReboot");

    auto* network = new QGroupBox(qv::uiText(StringId::NetworkGroup));
    auto* grid = new QGridLayout(network);
    addLabelled(grid, 0, m_address);
    addLabelled(grid, 1, m_netMask);
    addLabelled(grid, 2, m_gateway);
    grid->addWidget(m_dhcp, 0, 2, Qt::AlignLeft);
    const struct {
        QLineEdit* edit;
        int noteId;
        StringId noteText;
    } ports[] = {{m_linkPort, kLinkPortNote, StringId::LinkPortDefault},
                 {m_dataPort, kDataPortNote, StringId::DataPortDefault},
                 {m_configPort, kConfigPortNote, StringId::ConfigPortDefault},
                 {m_webPort, kWebPortNote, StringId::WebPortDefault}};
    int row = 3;
    for (const auto& port : ports) {
        addLabelled(grid, row, port.edit);
        grid->addWidget(note(port.noteId, port.noteText), row++, 2);
    }
    grid->addWidget(m_upnp, row, 1, Qt::AlignLeft);
    grid->addWidget(m_saveAndReboot, row, 2, Qt::AlignRight);
    grid->setColumnStretch(3, 1);

    m_mac = controls::lineEdit(kMac, qv::uiText(StringId::NetworkLabelMac), "macText");
    m_mac->setReadOnly(true);
    m_macRegistration = controls::button(kMacRegistration, qv::uiText(StringId::MacRegistration),
                                         "macRegistration");
    m_ddnsId = controls::lineEdit(kDdnsId, qv::uiText(StringId::NetworkLabelDdns), "ddnsId");
    m_ddnsId->setAlignment(Qt::AlignRight);
    m_ddnsCheck = controls::button(kDdnsCheck, qv::uiText(StringId::DdnsCheck), "ddnsCheck");
    m_email = controls::lineEdit(kEmail, qv::uiText(StringId::NetworkLabelEmail), "email");
    m_company = controls::lineEdit(kCompany, qv::uiText(StringId::NetworkLabelCompany), "company");
    m_ddnsRegistration = controls::button(kDdnsRegistration, qv::uiText(StringId::DdnsRegistration),
                                          "ddnsRegistration");
    auto* suffix = new QLabel(qv::fromUtf8(qv::info::kDdnsDomainSuffix));
    qv::setControl(suffix, kDdnsSuffix, suffix->text());

    auto* ddns = new QGroupBox(qv::uiText(StringId::DdnsGroup));
    auto* ddnsGrid = new QGridLayout(ddns);
    addLabelled(ddnsGrid, 0, m_mac);
    ddnsGrid->addWidget(m_macRegistration, 0, 3);
    addLabelled(ddnsGrid, 1, m_ddnsId);
    ddnsGrid->addWidget(suffix, 1, 2);
    ddnsGrid->addWidget(m_ddnsCheck, 1, 3);
    addLabelled(ddnsGrid, 2, m_email);
    addLabelled(ddnsGrid, 3, m_company);
    ddnsGrid->addWidget(m_ddnsRegistration, 3, 3);
    ddnsGrid->setColumnStretch(1, 1);

    m_ntpServer =
        controls::lineEdit(kNtpServer, qv::uiText(StringId::NetworkLabelNtpAddress), "ntpServer");
    m_ntpRegistration = controls::button(
        kNtpRegistration, qv::uiText(StringId::NtpServerRegistration), "ntpServerReg");
    auto* ntp = new QGroupBox(qv::uiText(StringId::NtpGroup));
    auto* ntpGrid = new QGridLayout(ntp);
    addLabelled(ntpGrid, 0, m_ntpServer);
    ntpGrid->addWidget(m_ntpRegistration, 0, 2);
    ntpGrid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 28, 16, 12);
    layout->addWidget(network);
    layout->addWidget(ddns);
    layout->addWidget(ntp);
    m_marker = controls::unappliedMarker(qv::uiText(StringId::ChangesNotApplied));
    layout->addWidget(m_marker, 0, Qt::AlignRight);
    layout->addStretch();

    // Down the network box (each address field by field), then the DDNS box row by row, then
    // the NTP server.
    std::vector<QWidget*> tabOrder;
    for (const IpAddressEdit* address : {m_address, m_netMask, m_gateway})
        for (int field = 0; field < 4; ++field)
            tabOrder.push_back(address->field(field));
    tabOrder.insert(tabOrder.end(),
                    {m_dhcp, m_linkPort, m_dataPort, m_configPort, m_webPort, m_upnp,
                     m_saveAndReboot, m_mac, m_macRegistration, m_ddnsId, m_ddnsCheck, m_email,
                     m_company, m_ddnsRegistration, m_ntpServer, m_ntpRegistration});
    controls::setTabOrder(this, tabOrder);
}

void CNetworkDlg::load(const qv::NetworkConfigRecord& record) {
    m_record = record;
    m_ddnsId->setText(qv::fromAnsi(record.ddnsId()));
    m_email->setText(qv::fromAnsi(record.email()));
    m_ntpServer->setText(qv::fromAnsi(record.ntpServer()));
    m_mac->setText(qv::fromUtf8(qv::info::macText(record.mac())));
    m_company->setText(qv::fromUtf8(qv::info::companyText(record.companyUtf8())));
    const net::Settings settings = net::settingsFromRecord(record);
    m_linkPort->setText(QString::number(settings.linkPort));
    m_dataPort->setText(QString::number(settings.dataPort));
    m_webPort->setText(QString::number(settings.webPort));
    m_address->setAddress(settings.address);
    m_gateway->setAddress(settings.gateway);
    m_netMask->setAddress(settings.netMask);
    {
        const QSignalBlocker quietDhcp(m_dhcp);
        const QSignalBlocker quietUpnp(m_upnp);
        m_dhcp->setChecked(settings.dhcp);
        m_upnp->setChecked(settings.upnp);
    }
    setAddressesEnabled(!settings.dhcp);
    m_applied = fieldStates();
    updateMarker();
}

namespace {
// Where the DDNS fields and the NTP server start in fieldStates().
constexpr int kFirstDdnsField = 8;
constexpr int kNtpField = 11;
} // namespace

QStringList CNetworkDlg::fieldStates() const {
    QStringList states;
    for (const IpAddressEdit* edit : {m_address, m_netMask, m_gateway}) {
        const auto typed = edit->typedAddress();
        states << (typed ? qv::fromUtf8(net::dottedText(*typed)) : QString());
    }
    states << QString::number(m_dhcp->isChecked()) << m_linkPort->text() << m_dataPort->text()
           << m_webPort->text() << QString::number(m_upnp->isChecked());
    states << m_ddnsId->text() << m_email->text() << m_company->text() << m_ntpServer->text();
    return states;
}

bool CNetworkDlg::hasUnappliedChanges() const {
    // Before the appliance's record there is nothing to compare with, and nothing to send.
    return m_record && fieldStates() != m_applied;
}

void CNetworkDlg::updateMarker() {
    m_marker->setVisible(hasUnappliedChanges());
}

void CNetworkDlg::markSent(int first, int last) {
    const QStringList now = fieldStates();
    for (int i = first; i <= last && i < m_applied.size(); ++i)
        m_applied[i] = now[i];
    updateMarker();
}

bool CNetworkDlg::confirmLeave() {
    if (!hasUnappliedChanges())
        return true;
    if (!prompt().question(qv::uiText(StringId::NetworkDiscardOnLeave), qv::DefaultAnswer::No))
        return false;
    load(*m_record);
    return true;
}

void CNetworkDlg::setAddressesEnabled(bool enabled) {
    for (IpAddressEdit* edit : {m_address, m_netMask, m_gateway})
        edit->setEnabled(enabled);
}

void CNetworkDlg::onDhcpToggled(bool checked) {
    setAddressesEnabled(!checked);
    if (checked)
        return;
    // Under DHCP the controls hold 0.0.0.0 as placeholders; left there, they would read as a
    // static address the appliance cannot be reached at. Real addresses stay as they are.
    for (IpAddressEdit* edit : {m_address, m_netMask, m_gateway})
        if (edit->typedAddress() == IpAddressEdit::Address{})
            edit->clear();
}

void CNetworkDlg::onUpnpToggled(bool checked) {
    if (checked)
        prompt().notice(qv::uiText(StringId::UpnpWarning));
}

net::SettingsInput CNetworkDlg::readSettings() const {
    net::SettingsInput input;
    input.address = m_address->typedAddress();
    input.netMask = m_netMask->typedAddress();
    input.gateway = m_gateway->typedAddress();
    input.dhcp = m_dhcp->isChecked();
    input.linkPort = qv::toUtf8(m_linkPort->text());
    input.dataPort = qv::toUtf8(m_dataPort->text());
    input.webPort = qv::toUtf8(m_webPort->text());
    input.upnp = m_upnp->isChecked();
    return input;
}

net::DdnsInput CNetworkDlg::readDdns() const {
    return net::DdnsInput{qv::toUtf8(m_ddnsId->text()), qv::toUtf8(m_mac->text()),
                          qv::toUtf8(m_email->text()), qv::toUtf8(m_company->text())};
}

bool CNetworkDlg::refused(const std::optional<net::Refusal>& refusal) {
    if (refusal)
        prompt().notice(qv::fromUtf8(net::refusalText(*refusal)));
    return refusal.has_value();
}

bool CNetworkDlg::confirmChange(const net::Settings& settings, QString& nextHost) {
    if (!m_record) {
        prompt().notice(qv::uiText(StringId::NetworkNoRecord));
        return false;
    }
    const qv::CMySocket& link = *store().link;
    const std::optional<net::LinkView> view = net::linkViewOf(link.endpoints());
    const net::ChangePreview preview = net::previewChange(net::settingsFromRecord(*m_record),
                                                          settings, m_record->ipAddress(), view);
    const QString text = qv::linesText(net::previewLines(preview, settings, view));
    if (preview.unchanged()) {
        prompt().notice(text);
        return false;
    }
    // A change that cuts this client off offers No first, so Enter does not lose the link.
    const qv::DefaultAnswer first =
        preview.warnings.empty() ? qv::DefaultAnswer::Yes : qv::DefaultAnswer::No;
    if (!prompt().question(
            text + QStringLiteral("\n\n") + qv::uiText(StringId::NetworkRebootQuestion), first))
        return false;
    nextHost = preview.nextAddress ? qv::fromUtf8(net::dottedText(*preview.nextAddress))
                                   : qv::fromUtf8(link.host());
    return true;
}

void CNetworkDlg::onSaveAndReboot() {
    const net::SettingsVerdict verdict = net::checkSettings(readSettings());
    if (refused(verdict.refusal))
        return;
    if (!store().isConnected())
        return;
    QString nextHost;
    if (!confirmChange(verdict.settings, nextHost))
        return;
    const auto port = static_cast<quint16>(store().link->port());
    // A send that fails has closed the link already, and the appliance has not the settings.
    if (!store().send(qv::request::saveNetworkAndReboot(net::saveRecord(verdict.settings))))
        return;
    markSent(0, kFirstDdnsField - 1);
    // The appliance reboots without an answer; the link is ended here rather than left to time
    // out, and the end of the link brings the logon page back as for any disconnection.
    store().link->Close();
    Q_EMIT applianceRebooting(nextHost, port);
}

void CNetworkDlg::onDdnsCheck() {
    net::DdnsWire wire;
    if (refused(net::checkDdnsCheck(readDdns(), qv::systemCodePage(), wire)))
        return;
    store().send(qv::request::checkDdns(wire.ddnsId, wire.macText));
}

void CNetworkDlg::onMacRegistration() {
    net::DdnsWire wire;
    if (refused(net::checkMacRegistration(readDdns(), qv::systemCodePage(), wire)))
        return;
    store().send(qv::request::registerMac(wire.macText));
}

void CNetworkDlg::onDdnsRegistration() {
    net::DdnsWire wire;
    if (refused(net::checkDdnsRegistration(readDdns(), qv::systemCodePage(), wire)))
        return;
    if (store().send(qv::request::registerDdns(net::ddnsRegistrationRecord(wire))))
        markSent(kFirstDdnsField, kNtpField - 1);
}

void CNetworkDlg::onNtpRegistration() {
    std::string wire;
    if (refused(net::checkNtpServer(qv::toUtf8(m_ntpServer->text()), qv::systemCodePage(), wire)))
        return;
    if (store().send(qv::request::setNtpServer(wire)))
        markSent(kNtpField, kNtpField);
}

void CNetworkDlg::requestContent() {
    sendIfConnected(qv::request::readNetwork());
}
