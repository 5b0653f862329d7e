#pragma once

#include "core/network/NetworkRules.h"
#include "link/NetworkConfigRecord.h"
#include "pages/CPageDlg.h"

#include <QStringList>

#include <optional>

class IpAddressEdit;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Page 5: network and DDNS settings. The network half is saved with a reboot, after the page has
// shown what will change and whether the change cuts this client off; the DDNS half and the NTP
// server go to the appliance one button at a time. Every check is in NetworkRules.
class CNetworkDlg : public CPageDlg {
    Q_OBJECT
public:
    enum ControlId : int {
        kDdnsId = 1025,
        kDdnsCheck = 1026,
        kMacRegistration = 1027,
        kEmail = 1028,
        kMac = 1029,
        kSaveAndReboot = 1030,
        kAddress = 1031,
        kGateway = 1032,
        kNetMask = 1033,
        kLinkPort = 1034,
        kDataPort = 1035,
        kConfigPort = 1036,
        kDdnsRegistration = 1037,
        kCompany = 1038,
        kWebPort = 1039,
        kNtpServer = 1040,
        kNtpRegistration = 1041,
        kDhcp = 1048,
        kUpnp = 1049,
        kLinkPortNote = 1077,
        kDataPortNote = 1078,
        kConfigPortNote = 1079,
        kWebPortNote = 1080,
        kDdnsSuffix = 1090, // the DDNS domain beside the DDNS ID
    };

    CNetworkDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    // The network record, which load() shows.
    void requestContent() override;

    // Takes the configuration record of reply 8 and overwrites every field with it.
    void load(const qv::NetworkConfigRecord& record);
    // The record of the last reply 8, if one arrived.
    const std::optional<qv::NetworkConfigRecord>& record() const { return m_record; }

    // Asks before values typed but not sent (or answered No) are thrown away; false keeps the
    // page. Discarding shows the appliance's record again.
    bool confirmLeave() override;
    // True while a field differs from what the appliance last sent or what went out since.
    bool hasUnappliedChanges() const;

Q_SIGNALS:
    // Save & Reboot went out and this client closed its link: the appliance is to be found
    // again at `host` and `port`.
    void applianceRebooting(const QString& host, quint16 port);

private:
    void setupControls();
    void onDhcpToggled(bool checked);
    void onUpnpToggled(bool checked);
    void onSaveAndReboot();
    void onDdnsCheck();
    void onMacRegistration();
    void onDdnsRegistration();
    void onNtpRegistration();

    qv::network::SettingsInput readSettings() const;
    qv::network::DdnsInput readDdns() const;
    // Shows a refusal; true when there was one.
    bool refused(const std::optional<qv::network::Refusal>& refusal);
    // Asks before Save & Reboot with the change and its warnings; false when nothing is to go.
    bool confirmChange(const qv::network::Settings& settings, QString& nextHost);
    void setAddressesEnabled(bool enabled);
    // Every field a button sends, as typed: addresses, DHCP, ports, UPNP, then the DDNS ID,
    // e-mail and company, then the NTP server.
    QStringList fieldStates() const;
    void updateMarker();
    // The fields from `first` on (to `last`) went out: they count as applied.
    void markSent(int first, int last);

    IpAddressEdit* m_address;
    IpAddressEdit* m_netMask;
    IpAddressEdit* m_gateway;
    QCheckBox* m_dhcp;
    QCheckBox* m_upnp;
    QLineEdit* m_linkPort;
    QLineEdit* m_dataPort;
    QLineEdit* m_configPort;
    QLineEdit* m_webPort;
    QPushButton* m_saveAndReboot;
    QLineEdit* m_mac;
    QPushButton* m_macRegistration;
    QLineEdit* m_ddnsId;
    QPushButton* m_ddnsCheck;
    QLineEdit* m_email;
    QLineEdit* m_company;
    QPushButton* m_ddnsRegistration;
    QLineEdit* m_ntpServer;
    QPushButton* m_ntpRegistration;
    std::optional<qv::NetworkConfigRecord> m_record;
    QLabel* m_marker;
    // fieldStates() as the appliance last sent them or as they last went out.
    QStringList m_applied;
};
