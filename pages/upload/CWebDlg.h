#pragma once

#include "CPageDlg.h"

// Page 9: the web page archive upload.
class CWebDlg : public CPageDlg {
    Q_OBJECT
public:
    CWebDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);
};
