#pragma once

#include "CPageDlg.h"

// Page 10: the blacklist that the appliance reports and the firewall's Block IP list.
class CBlacklistDlg : public CPageDlg {
    Q_OBJECT
public:
    CBlacklistDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    // Rebuild the upper list from the store's blacklist entries (reply 27) and the lower list
    // from the store's Block IP table (reply 29).
    void refreshBlacklist();
    void refreshBlockList();
};
