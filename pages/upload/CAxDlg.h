#pragma once

#include "CPageDlg.h"

// Page 8: the ActiveX start page upload.
class CAxDlg : public CPageDlg {
    Q_OBJECT
public:
    CAxDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);
};
