#pragma once

#include "CPageDlg.h"
#include "NetworkConfigRecord.h"

#include <optional>

// Page 1: the product summary (versions, MAC address, DDNS host name, limits).
class CInfoDlg : public CPageDlg {
    Q_OBJECT
public:
    CInfoDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    // Takes the configuration record of reply 2.
    void fill(const qv::NetworkConfigRecord& record);
    // The record of the last reply 2, if one arrived.
    const std::optional<qv::NetworkConfigRecord>& record() const { return m_record; }

private:
    std::optional<qv::NetworkConfigRecord> m_record;
};
