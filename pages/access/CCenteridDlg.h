#pragma once

#include "CPageDlg.h"

// Page 3: the center IDs, the operator accounts that the relay server admits.
class CCenteridDlg : public CPageDlg {
    Q_OBJECT
public:
    CCenteridDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    // Rebuilds the list from the store's center ID table (after reply 4).
    void refresh();
};
