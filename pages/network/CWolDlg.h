#pragma once

#include "CPageDlg.h"

// Page 4: the Wake-on-LAN targets.
class CWolDlg : public CPageDlg {
    Q_OBJECT
public:
    CWolDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    // Rebuilds the list from the store's Wake-on-LAN table (after reply 6).
    void refresh();
};
