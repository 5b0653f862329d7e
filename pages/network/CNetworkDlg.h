#pragma once

#include "CPageDlg.h"
#include "NetworkConfigRecord.h"

#include <optional>

// Page 5: network and DDNS settings, saved with a reboot.
class CNetworkDlg : public CPageDlg {
    Q_OBJECT
public:
    CNetworkDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    // Takes the configuration record of reply 8.
    void load(const qv::NetworkConfigRecord& record);
    // The record of the last reply 8, if one arrived.
    const std::optional<qv::NetworkConfigRecord>& record() const { return m_record; }

private:
    std::optional<qv::NetworkConfigRecord> m_record;
};
