#pragma once

#include "link/NetworkConfigRecord.h"
#include "pages/CPageDlg.h"

#include <map>
#include <optional>

class QLineEdit;
class QPushButton;

// Page 1: the product summary (versions, MAC address, DDNS host name, limits). Read-only: every
// field comes from the configuration record of reply 2 and from the limits in the store.
class CInfoDlg : public CPageDlg {
    Q_OBJECT
public:
    enum ControlId : int {
        kFirmwareNumber = 1010, // kept hidden
        kDeviceName = 1011,
        kSoftwareVersion = 1012,
        kCompany = 1013,
        kDdnsHost = 1014,
        kEmail = 1015,
        kMacAddress = 1016,
        kMaxCenterIds = 1017,
        kMaxSchedules = 1018,
        kMaxStandby = 1019,
        kScheduleWindow = 1052, // opens the IO schedule window; hidden
        kBackup = 1053,
        kRestore = 1054,
    };

    CInfoDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    // The product summary, which the window shows when it arrives.
    void requestContent() override;

    // Shows the configuration record of reply 2. The dispatcher has copied the record's IO
    // scheduler flag and its schedule and standby limits into the store before; the limits
    // shown are the store's.
    void fill(const qv::NetworkConfigRecord& record);
    // The record of the last reply 2, if one arrived.
    const std::optional<qv::NetworkConfigRecord>& record() const { return m_record; }

Q_SIGNALS:
    // The hidden schedule button asks the main window to show its IO schedule window over the
    // summary; there is one such window.
    void scheduleWindowRequested();
    // Backup... and Restore...: the main window runs them over its link.
    void backupRequested();
    void restoreRequested();

private:
    void setupControls();

    std::map<ControlId, QLineEdit*> m_fields;
    QPushButton* m_schedule;
    QPushButton* m_backup;
    QPushButton* m_restore;
    std::optional<qv::NetworkConfigRecord> m_record;
};
